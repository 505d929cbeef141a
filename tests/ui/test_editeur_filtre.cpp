// Éditeur de filtre hors écran : test immédiat, groupes actifs selon rejet, ami et action,
// modes selon l'onglet, contrôle du motif à la fermeture, "Dé&faut", et les créations et
// modifications de lignes qui passent par lui.
#include "donnees/Cp1252.h"
#include "donnees/FichierIni.h"
#include "filtres/EditionFiltre.h"
#include "filtres/Tessaron6.h"
#include "moteur/EtatProgramme.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <functional>
#include <vector>

Q_DECLARE_METATYPE(OrigineCreation)

namespace {

// La marque Partiel : en octets Windows-1252 dans les lignes, en UTF-8 dans les textes Qt.
#define PARTIEL_1252 "\xB6"
#define PARTIEL "¶"

const QColor kVertOui(0, 128, 0);
const QColor kRougeNon(255, 0, 0);

// Lance `action` une fois la boucle modale du dialogue en route, puis `ouvrir`, qui le montre.
// Une garde le ferme si l'action ne l'a pas fait, pour que le test ne reste pas bloqué.
template <typename Ouvrir>
auto pendantLeDialogue(QDialog& dialogue, std::function<void()> action, Ouvrir ouvrir) {
    QTimer::singleShot(0, &dialogue, [&dialogue, action = std::move(action)] {
        QVERIFY(dialogue.isVisible());
        action();
    });
    QTimer garde;
    garde.setSingleShot(true);
    QObject::connect(&garde, &QTimer::timeout, &dialogue, [&dialogue] {
        QTest::qFail("l'éditeur est resté ouvert", __FILE__, __LINE__);
        dialogue.done(QDialog::Rejected);
    });
    garde.start(20000);
    return ouvrir();
}

QColor couleur(const QWidget* w, QPalette::ColorRole role) {
    return w->palette().color(role);
}

// Ce que l'éditeur fait entendre et montrer.
struct Temoins {
    int bips = 0;
    QStringList messages;
    QList<QMessageBox::Icon> icones;
    void brancher(TForm6& f) {
        f.Bip = [this] { ++bips; };
        f.Message = [this](QMessageBox::Icon icone, const QString& texte) {
            icones << icone;
            messages << texte;
        };
    }
};

// La vue d'une liste, réduite à ce que l'édition lui demande.
struct VueEnregistree {
    int avant = 0;
    int apres = 0;
    std::vector<int> montrees;
    VueListeFiltres vue() {
        return {[this] { ++avant; }, [this] { ++apres; }, [this](int ligne) { montrees.push_back(ligne); }};
    }
};

structFiltre filtre(std::string motif, std::string avant, std::string pendant, std::string effectues,
                    bool ami = false, std::string champ = "") {
    return {std::move(motif),   std::move(champ),     std::move(avant),
            std::move(pendant), std::move(effectues), ami};
}

QStringList motifs(const ListeFiltres& liste) {
    QStringList resultat;
    for (const structFiltre& l : liste.Lignes)
        resultat << depuisCp1252(l.Motif);
    return resultat;
}

// Un programme minimal : l'état, un fichier de paramètres vide et l'édition sur eux.
struct Banc {
    QTemporaryDir dossier;
    EtatProgramme etat;
    FichierIni ini{dossier.filePath(QStringLiteral("Tessaron.ini"))};
    EditionFiltre edition{etat, ini, nullptr};
    Temoins temoins;
    VueEnregistree vue;
    Banc() { temoins.brancher(edition.Dialogue()); }
    TForm6& f() { return edition.Dialogue(); }
    ResultatEdition creer(int onglet, std::function<void()> action,
                          OrigineCreation origine = OrigineCreation::Gestionnaire,
                          const std::string& texte = "") {
        const VueListeFiltres v = vue.vue();
        return pendantLeDialogue(f(), std::move(action),
                                 [&] { return edition.Creer(onglet, origine, texte, v); });
    }
    ResultatEdition modifier(int onglet, int ligne, std::function<void()> action) {
        const VueListeFiltres v = vue.vue();
        return pendantLeDialogue(f(), std::move(action), [&] { return edition.Modifier(onglet, ligne, v); });
    }
};

} // namespace

class TestEditeurFiltre : public QObject {
    Q_OBJECT

private slots:
    void testImmediat_data() {
        QTest::addColumn<int>("onglet");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("frappe"); // tapé dans le motif
        QTest::addColumn<QString>("essai");
        QTest::addColumn<QString>("indicateur");
        QTest::newRow("exact, étoiles") << 0 << 0 << "*CASINO*"
                                        << "un casino ici"
                                        << "Oui";
        QTest::newRow("exact, l'étoile vaut au moins un caractère") << 0 << 0 << "*casino*"
                                                                    << "casino"
                                                                    << "Non";
        QTest::newRow("partiel, sans égard à la casse") << 0 << 1 << "casino"
                                                        << "Le CASINO"
                                                        << "Oui";
        QTest::newRow("mots multiples, dans le désordre") << 1 << 2 << "prix gratuit"
                                                          << "gratuit, le prix"
                                                          << "Oui";
        QTest::newRow("mots multiples, un mot manque") << 1 << 2 << "prix gratuit"
                                                       << "le prix"
                                                       << "Non";
        QTest::newRow("mot seulement") << 1 << 3 << "cat"
                                       << "cats and cat"
                                       << "Non";
        QTest::newRow("motif vide") << 0 << 0 << ""
                                    << "casino"
                                    << "Non";
        QTest::newRow("texte d'essai vide : rien") << 0 << 1 << "casino"
                                                   << ""
                                                   << "";
    }

    void testImmediat() {
        QFETCH(int, onglet);
        QFETCH(int, mode);
        QFETCH(QString, frappe);
        QFETCH(QString, essai);
        QFETCH(QString, indicateur);

        const ContexteCorrespondance ctx;
        TForm6 f(ctx);
        f.ReglerOnglet(onglet);
        f.show();
        const QPalette normale = f.Echantillon()->palette();
        f.BoutonMode(mode)->click();
        // Le motif reprend le focus, curseur à la fin.
        QCOMPARE(f.focusWidget(), f.Motif());
        QTest::keyClicks(f.Motif(), frappe);
        QCOMPARE(f.Motif()->text(), frappe.toLower());
        QTest::keyClicks(f.Echantillon(), essai);

        static const char* const marques[] = {"", "¶", "§", "~"};
        QCOMPARE(f.Marque()->text(), QString::fromUtf8(marques[mode]));
        QCOMPARE(f.BoutonOk()->isEnabled(), !frappe.isEmpty());
        QCOMPARE(f.Indicateur()->text(), indicateur);
        const QColor fond = couleur(f.Echantillon(), QPalette::Base);
        if (indicateur.isEmpty()) {
            QCOMPARE(fond, normale.color(QPalette::Base));
        } else {
            const bool oui = indicateur == QStringLiteral("Oui");
            QCOMPARE(couleur(f.Indicateur(), QPalette::WindowText), oui ? kVertOui : kRougeNon);
            QCOMPARE(fond, oui ? QColor(128, 255, 128) : QColor(255, 128, 128));
        }

        // Vider le texte d'essai efface le verdict, quel que soit le motif.
        f.Echantillon()->clear();
        QCOMPARE(f.Indicateur()->text(), QString());
        QCOMPARE(couleur(f.Echantillon(), QPalette::Base), normale.color(QPalette::Base));
    }

    void modesSelonLOnglet_data() {
        QTest::addColumn<int>("onglet");
        QTest::addColumn<int>("modes");
        QTest::addColumn<bool>("deuxColonnes");
        QTest::addColumn<bool>("champ");
        QTest::newRow("expéditeurs") << 0 << 2 << false << false;
        QTest::newRow("sujets") << 1 << 4 << true << false;
        QTest::newRow("destinataires") << 2 << 3 << false << true;
    }

    void modesSelonLOnglet() {
        QFETCH(int, onglet);
        QFETCH(int, modes);
        QFETCH(bool, deuxColonnes);
        QFETCH(bool, champ);

        const ContexteCorrespondance ctx;
        TForm6 f(ctx);
        f.ReglerOnglet(1);
        f.BoutonMode(3)->click(); // "Partiel Mot seulement", offert sur les sujets seulement
        f.ReglerOnglet(onglet);
        f.show();
        for (int i = 0; i < 4; ++i)
            QCOMPARE(f.BoutonMode(i)->isVisible(), i < modes);
        QCOMPARE(f.BoutonMode(2)->x() > f.BoutonMode(0)->x(), deuxColonnes);
        QCOMPARE(f.GroupeChamp()->isVisible(), champ);
        QCOMPARE(f.Mode(), modes == 4 ? 3 : 1);
        QCOMPARE(f.Marque()->text(), modes == 4 ? QStringLiteral("~") : QStringLiteral("¶"));
    }

    void amiEtRejetSurLeursFormes() {
        const ContexteCorrespondance ctx;
        TForm6 f(ctx);
        f.show();
        const auto formes = [&](const QColor& rejet, const QColor& ami) {
            for (QWidget* w : {f.FormeRejeter(), static_cast<QWidget*>(f.BoutonRejeter())})
                QCOMPARE(couleur(w, QPalette::Window), rejet);
            for (QWidget* w : {f.FormeAmi(), static_cast<QWidget*>(f.BoutonAmi())})
                QCOMPARE(couleur(w, QPalette::Window), ami);
        };
        QVERIFY(f.BoutonRejeter()->isChecked());
        formes(QColor(255, 160, 160), QColor(224, 255, 224));

        f.BoutonReponse(1)->click();
        QVERIFY(f.GroupeInclure()->isEnabled());
        QTest::mouseClick(f.BoutonAmi(), Qt::LeftButton);
        QVERIFY(f.Ami());
        formes(QColor(255, 224, 224), QColor(160, 255, 160));
        QVERIFY(!f.GroupeActions()->isEnabled());
        QVERIFY(!f.GroupeExecuter()->isEnabled());
        QVERIFY(!f.GroupeInclure()->isEnabled());

        QTest::mouseClick(f.BoutonRejeter(), Qt::LeftButton);
        formes(QColor(255, 160, 160), QColor(224, 255, 224));
        QVERIFY(f.GroupeActions()->isEnabled());
        QVERIFY(f.GroupeExecuter()->isEnabled());
        QVERIFY(f.GroupeInclure()->isEnabled()); // une réponse est choisie
    }

    void comptabiliserSeulementOteLaReponse() {
        const ContexteCorrespondance ctx;
        TForm6 f(ctx);
        f.show();
        f.BoutonAction(1)->click();
        QVERIFY(!f.GroupeInclure()->isEnabled()); // pas encore de réponse
        f.BoutonReponse(2)->click();
        QVERIFY(f.GroupeInclure()->isEnabled());
        f.BoutonInclure(3)->click();

        f.BoutonAction(3)->click();
        QCOMPARE(f.Choix().Reponse, 0);
        QCOMPARE(f.Choix().Inclure, 0);
        QVERIFY(!f.GroupeExecuter()->isEnabled());
        QVERIFY(!f.GroupeInclure()->isEnabled());

        f.BoutonAction(0)->click();
        QVERIFY(f.GroupeExecuter()->isEnabled());
        QVERIFY(!f.GroupeInclure()->isEnabled());
        f.BoutonReponse(3)->click();
        QVERIFY(f.GroupeInclure()->isEnabled());
    }

    void delaiDansLesActions() {
        const ContexteCorrespondance ctx;
        TForm6 f(ctx);
        f.ReglerDelai(45);
        QCOMPARE(f.BoutonAction(1)->text(),
                 QStringLiteral("Demander mais &détruire si pas d'action pendant 45 sec."));
        QCOMPARE(f.BoutonAction(2)->text(),
                 QStringLiteral("Demander mais &garder si pas d'action pendant 45 sec."));
    }

    void controleALaFermeture_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("frappe");
        QTest::addColumn<QString>("message"); // vide : fermé par OK
        QTest::addColumn<QString>("motifGarde");
        QTest::newRow("étoile seule") << 0 << "*"
                                      << "Saisie non valide"
                                      << "*";
        QTest::newRow("joker en mots multiples")
            << 2 << "pri? gratuit"
            << "Joker non autorisé pour un filtre partiel\r\nou Mots Multiples"
            << "pri? gratuit";
        QTest::newRow("un seul mot") << 2 << "  prix "
                                     << "Les mots doivent être séparés par des espaces"
                                     << "prix";
        QTest::newRow("espaces resserrées") << 2 << "  prix   gratuit  "
                                            << ""
                                            << "prix gratuit";
    }

    void controleALaFermeture() {
        QFETCH(int, mode);
        QFETCH(QString, frappe);
        QFETCH(QString, message);
        QFETCH(QString, motifGarde);

        const ContexteCorrespondance ctx;
        TForm6 f(ctx);
        f.ReglerOnglet(1);
        Temoins temoins;
        temoins.brancher(f);
        const int code = pendantLeDialogue(
            f,
            [&] {
                f.BoutonMode(mode)->click();
                QTest::keyClicks(f.Motif(), frappe);
                QTest::mouseClick(f.BoutonOk(), Qt::LeftButton);
                QCOMPARE(f.Motif()->text(), motifGarde);
                if (message.isEmpty()) return;
                // Refusé : un bip, le message, et l'éditeur reste ouvert avec le motif tel quel.
                QVERIFY(f.isVisible());
                QCOMPARE(temoins.bips, 1);
                QCOMPARE(temoins.messages, QStringList{message});
                QCOMPARE(temoins.icones.value(0), QMessageBox::Warning);
                QTest::keyClick(&f, Qt::Key_Escape);
            },
            [&] { return f.exec(); });
        QCOMPARE(code, int(message.isEmpty() ? QDialog::Accepted : QDialog::Rejected));
        if (message.isEmpty()) QCOMPARE(temoins.bips, 0);
    }

    void defautEcritLesQuatreClesAussitot() {
        QTemporaryDir dossier;
        const QString chemin = dossier.filePath(QStringLiteral("Tessaron.ini"));
        FichierIni ini(chemin);
        ini.EcrireTexte("Tessaron", "Version", "x");
        const ContexteCorrespondance ctx;
        TForm6 f(ctx);
        f.UtiliserFichierIni(&ini);
        f.ReglerOnglet(1);
        Temoins temoins;
        temoins.brancher(f);
        std::vector<ChoixEditeur> rappels;
        f.SurDefaut = [&](const ChoixEditeur& c) { rappels.push_back(c); };
        f.show();
        f.BoutonMode(2)->click();
        f.BoutonAction(1)->click();
        f.BoutonReponse(3)->click();
        f.BoutonInclure(2)->click();
        QTest::mouseClick(f.BoutonDefaut(), Qt::LeftButton);

        // Relu du disque par un autre lecteur, l'éditeur encore ouvert.
        const FichierIni disque(chemin);
        QCOMPARE(disque.LireEntier("Tessaron", "TypeRejet", -1), 2);
        QCOMPARE(disque.LireEntier("Tessaron", "AvantRejet", -1), 1);
        QCOMPARE(disque.LireEntier("Tessaron", "ReponseRejet", -1), 3);
        QCOMPARE(disque.LireEntier("Tessaron", "ReponseInclure", -1), 2);
        QCOMPARE(disque.LireTexte("Tessaron", "Version", ""), std::string("x"));
        QCOMPARE(temoins.messages,
                 QStringList{QStringLiteral(
                     "Les valeurs par défaut pour la création de rejets ont bien été enregistrées")});
        QCOMPARE(rappels.size(), std::size_t{1});
        QCOMPARE(rappels[0].Action, 1);
        QVERIFY(f.isVisible());
    }

    void aideEtLiens() {
        const ContexteCorrespondance ctx;
        TForm6 f(ctx);
        Temoins temoins;
        temoins.brancher(f);
        QStringList sujets;
        f.SurAide = [&](const std::string& sujet) { sujets << QString::fromStdString(sujet); };
        f.show();
        QTest::mouseClick(f.LienJokers(), Qt::LeftButton);
        QTest::mouseClick(f.BoutonAide(), Qt::LeftButton);
        QTest::keyClick(&f, Qt::Key_F1);
        QCOMPARE(sujets, (QStringList{"jokers", "gestion_filtres", "gestion_filtres"}));
        QCOMPARE(couleur(f.LienJokers(), QPalette::WindowText), QColor(0, 0, 255));
        QVERIFY(f.LienJokers()->font().underline());

        QTest::mouseClick(f.LienReponse(), Qt::LeftButton);
        QCOMPARE(temoins.messages.size(), 1);
        QVERIFY(temoins.messages[0].startsWith(
            QStringLiteral("Ces paramètres nécéssitent que les options de l'onglet\r\"Réponse\"")));

        // Pas encore de gestionnaire des jokers perso : un bip seulement.
        QCOMPARE(f.BoutonJokers()->toolTip(), QStringLiteral("Gestion des jokers perso"));
        QTest::mouseClick(f.BoutonJokers(), Qt::LeftButton);
        QCOMPARE(temoins.bips, 1);
    }

    // ------------------------------------------------------------ créations et modifications

    void creerUnDoublonNAjouteRien() {
        Banc b;
        auto& liste = b.etat.Listes.ListeExpediteurs;
        liste.Lignes = {filtre("abc", "g", "N ", "1"), filtre("casino", "R", "N ", "4")};
        const ResultatEdition r = b.creer(0, [&] {
            QCOMPARE(b.f().windowTitle(),
                     QStringLiteral("Tessaron - Créer un Filtre par Expéditeur (ReturnPath)"));
            QCOMPARE(b.f().EtiquetteMotif()->text(), QStringLiteral("&Filtre par Expéditeur (ReturnPath)"));
            QVERIFY(!b.f().BoutonOk()->isEnabled());
            b.f().BoutonMode(1)->click();
            QTest::keyClicks(b.f().Motif(), QStringLiteral("casino"));
            QTest::mouseClick(b.f().BoutonOk(), Qt::LeftButton);
        });
        QVERIFY(r.Valide);
        QVERIFY(r.Rejeter);
        QCOMPARE(r.Ligne, -1);
        QCOMPARE(r.LigneDoublon, 1);
        QCOMPARE(b.temoins.bips, 1);
        QCOMPARE(b.temoins.messages, QStringList{QStringLiteral("\"casino\" est déjà dans la liste")});
        QCOMPARE(b.vue.montrees.front(), 1); // montrée avant le message
        QCOMPARE(motifs(liste), (QStringList{"abc", "casino"}));
        QVERIFY(!liste.Modifiee);
        QCOMPARE(b.vue.avant, b.vue.apres);
    }

    void creerAvecLesValeursParDefaut_data() {
        QTest::addColumn<int>("onglet");
        QTest::addColumn<QString>("motif");
        QTest::addColumn<QString>("champ");
        QTest::newRow("expéditeurs : Partiel au plus") << 0 << PARTIEL "pub"
                                                       << "";
        QTest::newRow("sujets") << 1 << "~pub"
                                << "";
        QTest::newRow("destinataires : Partiel, champ A") << 2 << PARTIEL "pub"
                                                          << "A";
    }

    void creerAvecLesValeursParDefaut() {
        QFETCH(int, onglet);
        QFETCH(QString, motif);
        QFETCH(QString, champ);

        Banc b;
        {
            LotEcritures lot(b.ini);
            for (const auto& [cle, valeur] :
                 {std::pair{"TypeRejet", 3}, {"AvantRejet", 0}, {"ReponseRejet", 1}, {"ReponseInclure", 3}})
                b.ini.EcrireEntier("Tessaron", cle, valeur);
        }
        ListeFiltres& liste = onglet == 0   ? b.etat.Listes.ListeExpediteurs
                              : onglet == 1 ? b.etat.Listes.ListeSujets
                                            : b.etat.Listes.ListeDestinataires;
        liste.Lignes = {filtre("zz", "g", "N ", "3", false, "C"), filtre("aa", "d", "oa", "", false, "L")};
        const ResultatEdition r = b.creer(onglet, [&] {
            QVERIFY(b.f().GroupeInclure()->isEnabled());
            QTest::keyClicks(b.f().Motif(), QStringLiteral("pub"));
            QTest::keyClick(b.f().Motif(), Qt::Key_Return);
        });
        QVERIFY(r.Valide);
        // La liste est triée ; la ligne rendue et montrée est la nouvelle.
        const QStringList apres = motifs(liste);
        QCOMPARE(apres.size(), 3);
        QVERIFY(apres.indexOf(QStringLiteral("aa")) < apres.indexOf(QStringLiteral("zz")));
        QCOMPARE(apres.value(r.Ligne), motif);
        QCOMPARE(b.vue.montrees, std::vector<int>{r.Ligne});
        const structFiltre& l = liste.Lignes[static_cast<std::size_t>(r.Ligne)];
        QCOMPARE(QString::fromStdString(l.Champ), champ);
        QCOMPARE(l.Avant, std::string("R"));
        QCOMPARE(l.Pendant, std::string("ox"));
        QCOMPARE(l.Effectues, std::string());
        QVERIFY(!l.Ami);
        QVERIFY(liste.Modifiee);
        QVERIFY(b.vue.avant >= 1);
        QCOMPARE(b.vue.avant, b.vue.apres);
    }

    void creerSelonLOrigine_data() {
        QTest::addColumn<int>("onglet");
        QTest::addColumn<OrigineCreation>("origine");
        QTest::addColumn<QString>("texte");
        QTest::addColumn<QString>("motif");
        QTest::addColumn<bool>("ami");
        QTest::newRow("ami") << 0 << OrigineCreation::Ami << "Jean Dupont <Jean.Dupont@Exemple.FR>"
                             << "jean.dupont@exemple.fr" << true;
        QTest::newRow("expéditeur") << 0 << OrigineCreation::AjoutExpediteur << "Promo <PROMO@Pub.fr>"
                                    << PARTIEL "promo@pub.fr" << false;
        QTest::newRow("sujet") << 1 << OrigineCreation::AjoutSujet << "Gagnez un PRIX"
                               << PARTIEL "gagnez un prix" << false;
    }

    void creerSelonLOrigine() {
        QFETCH(int, onglet);
        QFETCH(OrigineCreation, origine);
        QFETCH(QString, texte);
        QFETCH(QString, motif);
        QFETCH(bool, ami);

        Banc b;
        b.ini.EcrireEntier("Tessaron", "TypeRejet", 1); // sans effet sur un ami
        const ResultatEdition r = b.creer(
            onglet,
            [&] {
                const QString attendu = motif.startsWith(u'¶') ? motif.mid(1) : motif;
                QCOMPARE(b.f().Motif()->text(), attendu);
                QCOMPARE(b.f().Echantillon()->text(), attendu);
                QCOMPARE(b.f().Indicateur()->text(), QStringLiteral("Oui"));
                QCOMPARE(b.f().Ami(), ami);
                QCOMPARE(b.f().GroupeActions()->isEnabled(), !ami);
                QVERIFY(b.f().windowTitle().startsWith(QStringLiteral("Tessaron - Créer un Filtre par ")));
                QTest::mouseClick(b.f().BoutonOk(), Qt::LeftButton);
            },
            origine, texte.toStdString());
        QCOMPARE(r.Rejeter, !ami);
        QCOMPARE(r.Ligne, 0);
        const structFiltre& l =
            (onglet == 0 ? b.etat.Listes.ListeExpediteurs : b.etat.Listes.ListeSujets).Lignes.at(0);
        QCOMPARE(depuisCp1252(l.Motif), motif);
        QCOMPARE(l.Ami, ami);
        if (ami) {
            QCOMPARE(l.Avant, std::string(" "));
            QCOMPARE(l.Pendant, std::string(" "));
        }
    }

    void annulerUneCreationTrieQuandMeme() {
        Banc b;
        auto& liste = b.etat.Listes.ListeSujets;
        liste.Lignes = {filtre("zz", "g", "N ", ""), filtre("aa", "g", "N ", "")};
        const ResultatEdition r = b.creer(1, [&] {
            QTest::keyClicks(b.f().Motif(), QStringLiteral("casino"));
            QTest::mouseClick(b.f().BoutonAnnuler(), Qt::LeftButton);
        });
        QVERIFY(!r.Valide);
        QVERIFY(r.Rejeter);
        QCOMPARE(r.Ligne, -1);
        QCOMPARE(motifs(liste), (QStringList{"aa", "zz"}));
        QVERIFY(!liste.Modifiee);
        QVERIFY(b.vue.montrees.empty());
    }

    void modifier_data() {
        QTest::addColumn<int>("mode");       // -1 : inchangé
        QTest::addColumn<QString>("texte");  // vide : inchangé
        QTest::addColumn<QString>("motifs"); // la liste après, séparée par des espaces
        QTest::addColumn<QString>("effectues");
        QTest::addColumn<bool>("doublon");
        QTest::newRow("rien de changé") << -1 << ""
                                        << "abc poker " PARTIEL "casino"
                                        << "7" << false;
        QTest::newRow("mode seulement") << 0 << ""
                                        << "abc casino poker"
                                        << " " << false;
        QTest::newRow("texte déjà présent") << -1 << "poker"
                                            << "abc " PARTIEL "casino poker"
                                            << "7" << true;
        QTest::newRow("texte nouveau") << -1 << "roulette"
                                       << "abc poker " PARTIEL "roulette"
                                       << " " << false;
    }

    void modifier() {
        QFETCH(int, mode);
        QFETCH(QString, texte);
        QFETCH(QString, motifs);
        QFETCH(QString, effectues);
        QFETCH(bool, doublon);

        Banc b;
        auto& liste = b.etat.Listes.ListeSujets;
        liste.Lignes = {filtre("abc", "g", "N ", "1"), filtre(PARTIEL_1252 "casino", "d", "oa", "7"),
                        filtre("poker", "R", "N ", "")};
        const ResultatEdition r = b.modifier(1, 1, [&] {
            TForm6& f = b.f();
            QCOMPARE(f.windowTitle(), QStringLiteral("Tessaron - Modifier un Filtre par Sujet"));
            QCOMPARE(f.Marque()->text(), QStringLiteral("¶"));
            QCOMPARE(f.Motif()->text(), QStringLiteral("casino"));
            QCOMPARE(f.Echantillon()->text(), QStringLiteral("casino"));
            QVERIFY(f.BoutonAction(1)->isChecked());
            QVERIFY(f.BoutonReponse(1)->isChecked());
            QVERIFY(f.BoutonInclure(1)->isChecked());
            if (mode >= 0) f.BoutonMode(mode)->click();
            if (!texte.isEmpty()) f.Motif()->setText(texte);
            QTest::mouseClick(f.BoutonOk(), Qt::LeftButton);
        });
        QVERIFY(r.Valide);
        QCOMPARE(::motifs(liste).join(u' '), motifs);
        QCOMPARE(r.LigneDoublon, doublon ? 2 : -1);
        QCOMPARE(b.temoins.bips, doublon ? 1 : 0);
        QCOMPARE(b.temoins.messages.size(), doublon ? 1 : 0);
        QCOMPARE(liste.Modifiee, !doublon);
        const int ligne = doublon ? 1 : r.Ligne;
        QVERIFY(ligne >= 0);
        QCOMPARE(QString::fromStdString(liste.Lignes[static_cast<std::size_t>(ligne)].Effectues), effectues);
        QCOMPARE(liste.Lignes[static_cast<std::size_t>(ligne)].Pendant, std::string("oa"));
        QCOMPARE(b.vue.montrees, std::vector<int>{doublon ? 2 : r.Ligne});
    }

    void modifierUnAmiPuisAnnuler() {
        Banc b;
        auto& liste = b.etat.Listes.ListeExpediteurs;
        liste.Lignes = {filtre(PARTIEL_1252 "info", " ", " ", "12", true)};
        const ResultatEdition r = b.modifier(0, 0, [&] {
            TForm6& f = b.f();
            QVERIFY(f.Ami());
            QVERIFY(f.BoutonReponse(0)->isChecked());
            QVERIFY(f.BoutonInclure(0)->isChecked());
            QVERIFY(!f.GroupeActions()->isEnabled());
            QVERIFY(!f.GroupeExecuter()->isEnabled());
            QVERIFY(!f.GroupeInclure()->isEnabled());
            f.Motif()->setText(QStringLiteral("autre"));
            QTest::keyClick(&f, Qt::Key_Escape);
        });
        QVERIFY(!r.Valide);
        QVERIFY(!r.Rejeter);
        QCOMPARE(liste.Lignes[0].Motif, std::string(PARTIEL_1252 "info"));
        QVERIFY(!liste.Modifiee);
        QCOMPARE(b.vue.avant, 0);

        // Hors de la liste : rien, pas même l'éditeur.
        const ResultatEdition hors = b.edition.Modifier(0, 1, b.vue.vue());
        QVERIFY(!hors.Valide);
        QVERIFY(!b.f().isVisible());
    }
};

QTEST_MAIN(TestEditeurFiltre)
#include "test_editeur_filtre.moc"
