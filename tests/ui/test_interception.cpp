// Fenêtre d'interception hors écran : issues, décompte, "&Rejeter" grisé, Échap, étiquettes.
#include "dialogues/Tessaron7.h"
#include "donnees/Chaines.h"

#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <functional>
#include <vector>

namespace {

// Période du minuteur quand le test fait lui-même avancer le décompte : jamais atteinte.
constexpr int kJamais = 60 * 60 * 1000;

enum Maniere { Rejeter, Decompte, Garder, Ami, Interrompre, Fermeture };

DonneesInterception donnees(char action, int delai, int avantRejeter = 3) {
    DonneesInterception d;
    d.Titre = Chaine(7001) + "Perso";
    d.Raison = Chaine(1016);
    d.Filtre = "*@pub.exemple";
    d.Expediteur = "promo@pub.exemple";
    d.Sujet = "Offre";
    d.Destinataires = "jean@exemple.fr";
    d.Copie = Chaine(1097);
    d.Taille = "1.234" + Chaine(1019);
    d.Date = Chaine(1020) + "01/02/2024 10:11:12";
    d.Action = action;
    d.Delai = delai;
    d.DelaiAvantRejeterActif = avantRejeter;
    return d;
}

// Montre la fenêtre et exécute `action` une fois la boucle modale lancée. Une garde ferme la
// fenêtre si l'action échoue sans la fermer, pour que le test ne reste pas bloqué.
ResultatInterception intercepter(TForm7& f, const DonneesInterception& d, std::function<void()> action) {
    QTimer::singleShot(0, &f, std::move(action));
    QTimer garde;
    garde.setSingleShot(true);
    QObject::connect(&garde, &QTimer::timeout, &f, [&f] {
        QTest::qFail("la fenêtre est restée ouverte", __FILE__, __LINE__);
        f.done(QDialog::Rejected);
    });
    garde.start(20000);
    return f.Intercepter(d);
}

void avancer(TForm7& f, int tics) {
    for (int i = 0; i < tics; ++i)
        f.Timer1Timer();
}

QColor couleur(const QLabel* etiquette) {
    return etiquette->palette().color(QPalette::WindowText);
}

} // namespace

class TestInterception : public QObject {
    Q_OBJECT

private slots:
    void issues_data() {
        QTest::addColumn<char>("action");
        QTest::addColumn<int>("maniere");
        QTest::addColumn<int>("tics");
        QTest::addColumn<int>("secondes");
        QTest::addColumn<ResultatModal>("resultat");
        for (char action : {'d', 'g'}) {
            const auto ligne = [action](const char* nom) -> QTestData& {
                return QTest::addRow("%c %s", action, nom) << action;
            };
            ligne("rejeter") << int(Rejeter) << 3 << 0 << ResultatModal::Ok;
            ligne("décompte écoulé") << int(Decompte) << 0 << -1 << ResultatModal::Annuler;
            ligne("garder") << int(Garder) << 2 << 28 << ResultatModal::Oui;
            ligne("ami") << int(Ami) << 1 << 29 << ResultatModal::Oui;
            ligne("interrompre") << int(Interrompre) << 0 << 30 << ResultatModal::Oui;
            ligne("barre de titre") << int(Fermeture) << 5 << 25 << ResultatModal::Annuler;
        }
    }

    void issues() {
        QFETCH(char, action);
        QFETCH(int, maniere);
        QFETCH(int, tics);
        QFETCH(int, secondes);
        QFETCH(ResultatModal, resultat);

        TForm7 f(30);
        // Le décompte écoulé passe par le vrai minuteur, accéléré ; ailleurs le test compte.
        f.ReglerIntervalle(maniere == Decompte ? 5 : kJamais);
        std::vector<std::string> amis;
        int interruptions = 0;
        bool decompteArretePourAmi = false;
        f.SurAmi = [&](const std::string& expediteur) {
            amis.push_back(expediteur);
            decompteArretePourAmi = !f.DecompteActif();
        };
        f.SurInterrompre = [&] { ++interruptions; };

        const ResultatInterception r = intercepter(f, donnees(action, 30), [&] {
            avancer(f, tics);
            switch (maniere) {
            case Rejeter:
                QTest::mouseClick(f.BoutonRejeter(), Qt::LeftButton);
                break;
            case Garder:
                QTest::mouseClick(f.BoutonGarder(), Qt::LeftButton);
                break;
            case Ami:
                QTest::mouseClick(f.BoutonAmi(), Qt::LeftButton);
                break;
            case Interrompre:
                QTest::mouseClick(f.BoutonInterrompre(), Qt::LeftButton);
                break;
            case Fermeture:
                f.close();
                break;
            case Decompte:
                break;
            }
        });

        QCOMPARE(r.SecondesRestantes, secondes);
        QCOMPARE(r.Resultat, resultat);
        QVERIFY(!f.isVisible());
        QVERIFY(!f.DecompteActif());
        QCOMPARE(amis,
                 maniere == Ami ? std::vector<std::string>{"promo@pub.exemple"} : std::vector<std::string>{});
        QCOMPARE(decompteArretePourAmi, maniere == Ami);
        QCOMPARE(interruptions, maniere == Interrompre ? 1 : 0);
    }

    void rejeterActifApresLeDelaiDeGarde_data() {
        QTest::addColumn<int>("delai");
        QTest::addColumn<int>("avantRejeter");
        QTest::addColumn<int>("ticsAvantActif"); // -1 : jamais tant que la fenêtre est ouverte
        QTest::newRow("réglages par défaut : actif à 27 s") << 30 << 3 << 3;
        QTest::newRow("une seconde") << 5 << 1 << 1;
        QTest::newRow("égal au délai") << 4 << 4 << -1;
        QTest::newRow("plus long que le délai") << 4 << 9 << -1;
    }

    void rejeterActifApresLeDelaiDeGarde() {
        QFETCH(int, delai);
        QFETCH(int, avantRejeter);
        QFETCH(int, ticsAvantActif);

        TForm7 f(delai);
        f.ReglerIntervalle(kJamais);
        const ResultatInterception r = intercepter(f, donnees('d', delai, avantRejeter), [&] {
            // Grisé dès l'ouverture, bien qu'il soit le bouton par défaut : un clic ne fait rien.
            QVERIFY(!f.BoutonRejeter()->isEnabled());
            QTest::mouseClick(f.BoutonRejeter(), Qt::LeftButton);
            QVERIFY(f.isVisible());
            for (int tic = 1; f.isVisible(); ++tic) {
                f.Timer1Timer();
                if (!f.isVisible()) break;
                QCOMPARE(f.SecondesRestantes(), delai - tic);
                QCOMPARE(f.Progression()->value(), tic);
                const bool actif = ticsAvantActif >= 0 && tic >= ticsAvantActif;
                QCOMPARE(f.BoutonRejeter()->isEnabled(), actif);
                if (!actif) continue;
                // Action d : "&Rejeter" redevient le bouton par défaut et prend le focus.
                QVERIFY(f.BoutonRejeter()->isDefault());
                QCOMPARE(f.focusWidget(), f.BoutonRejeter());
            }
        });
        QCOMPARE(r.SecondesRestantes, -1);
        QCOMPARE(r.Resultat, ResultatModal::Annuler);
    }

    void echapNeFermeRien() {
        TForm7 f(30);
        f.ReglerIntervalle(kJamais);
        const ResultatInterception r = intercepter(f, donnees('g', 30), [&] {
            QTest::keyClick(&f, Qt::Key_Escape);
            QTest::keyClick(f.focusWidget() ? f.focusWidget() : &f, Qt::Key_Escape);
            QVERIFY(f.isVisible());
            QVERIFY(f.DecompteActif());
            QTest::mouseClick(f.BoutonGarder(), Qt::LeftButton);
        });
        QCOMPARE(r.Resultat, ResultatModal::Oui);
    }

    void barreGardeLeMaximumDuLancement() {
        TForm7 f(30); // réglage au lancement ; il vaut 10 depuis
        f.ReglerIntervalle(kJamais);
        const ResultatInterception r = intercepter(f, donnees('d', 10), [&] {
            QCOMPARE(f.Progression()->maximum(), 30);
            QCOMPARE(f.Progression()->value(), 1);
            f.Timer1Timer();
            QCOMPARE(f.Progression()->value(), 30 - 9);
            QCOMPARE(f.Etiquette(TForm7::Champ::Defaut)->text(),
                     QStringLiteral("Par défaut, ce message sera supprimé au bout de 10 s"));
            avancer(f, 9);
        });
        QCOMPARE(r.SecondesRestantes, -1);
        QCOMPARE(f.Progression()->maximum(), 30);
    }

    void etiquettesCouleursEtRaison() {
        TForm7 f(30);
        f.ReglerIntervalle(kJamais);
        const QColor normal = f.palette().color(QPalette::WindowText);
        using C = TForm7::Champ;

        DonneesInterception d = donnees('d', 30);
        d.Raison = Chaine(1017);
        d.Sujet = "\xe9t\xe9 <b>gratuit</b> & co";
        d.RougeSujet = true;
        d.RougeCopie = true;
        intercepter(f, d, [&] {
            QCOMPARE(f.windowTitle(), QStringLiteral("Tessaron - Interception d'un rejet sur Perso"));
            QCOMPARE(f.GroupeRaison()->title(), ChaineQ(1017));
            QCOMPARE(f.Etiquette(C::Rejet)->text(), QStringLiteral("*@pub.exemple"));
            QCOMPARE(couleur(f.Etiquette(C::Rejet)), QColor(128, 0, 128));
            QCOMPARE(f.Etiquette(C::Sujet)->text(), QStringLiteral("été <b>gratuit</b> & co"));
            QCOMPARE(f.Etiquette(C::Sujet)->textFormat(), Qt::PlainText);
            QCOMPARE(f.Etiquette(C::Copie)->text(), QStringLiteral("<Destinataire vide>"));
            QCOMPARE(f.Etiquette(C::Taille)->text(), QStringLiteral("1.234 octets."));
            QCOMPARE(f.Etiquette(C::Date)->text(), QStringLiteral("émis le 01/02/2024 10:11:12"));
            for (C champ :
                 {C::Rejet, C::Expediteur, C::Sujet, C::Destinataires, C::Copie, C::Taille, C::Date})
                QVERIFY(f.Etiquette(champ)->font().bold());
            QCOMPARE(couleur(f.Etiquette(C::Sujet)), QColor(Qt::red));
            QCOMPARE(couleur(f.Etiquette(C::Copie)), QColor(Qt::red));
            QCOMPARE(couleur(f.Etiquette(C::Expediteur)), normal);
            QCOMPARE(couleur(f.Etiquette(C::Destinataires)), normal);
            QCOMPARE(f.Etiquette(C::Question)->text(), QStringLiteral("Rejeter ce message ?"));
            f.close();
        });

        // Message suivant, d'action g, sans raison et avec l'expéditeur pour seule cause.
        d = donnees('g', 20);
        d.Raison.clear();
        d.RougeExpediteur = true;
        intercepter(f, d, [&] {
            QCOMPARE(f.GroupeRaison()->title(), ChaineQ(1017));
            QCOMPARE(couleur(f.Etiquette(C::Expediteur)), QColor(Qt::red));
            QCOMPARE(couleur(f.Etiquette(C::Sujet)), normal);
            QCOMPARE(couleur(f.Etiquette(C::Copie)), normal);
            QCOMPARE(f.Etiquette(C::Defaut)->text(),
                     QStringLiteral("Par défaut, ce message sera conservé au bout des 20 s"));
            QVERIFY(f.BoutonGarder()->isDefault());
            QVERIFY(!f.BoutonRejeter()->isDefault());
            QCOMPARE(f.focusWidget(), f.BoutonGarder());
            // Même une fois "&Rejeter" actif, le focus reste sur "&Garder".
            avancer(f, 3);
            QVERIFY(f.BoutonRejeter()->isEnabled());
            QCOMPARE(f.focusWidget(), f.BoutonGarder());
            f.close();
        });
    }

    void boutonArretBasculeSansFermer() {
        TForm7 f(30);
        f.ReglerIntervalle(kJamais);
        std::vector<bool> appels;
        f.SurArretScrutation = [&](bool enfonce) { appels.push_back(enfonce); };
        QCOMPARE(f.BoutonArret()->toolTip(), QStringLiteral("Désactive l'interrogation des boîtes"));
        const ResultatInterception r = intercepter(f, donnees('d', 30), [&] {
            for (int i = 0; i < 3; ++i)
                QTest::mouseClick(f.BoutonArret(), Qt::LeftButton);
            QVERIFY(f.ArretEnfonce());
            QVERIFY(f.isVisible());
            QVERIFY(f.DecompteActif());
            f.RelacherArret();
            QVERIFY(!f.ArretEnfonce());
            QTest::mouseClick(f.BoutonGarder(), Qt::LeftButton);
        });
        QCOMPARE(appels, (std::vector<bool>{true, false, true}));
        QCOMPARE(r.Resultat, ResultatModal::Oui);
    }
};

QTEST_MAIN(TestInterception)
#include "test_interception.moc"
