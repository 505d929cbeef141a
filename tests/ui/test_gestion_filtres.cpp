// Fenêtre de gestion des filtres hors écran : colonnes et panneaux par onglet, couleurs des
// lignes, boutons actifs, suppression par groupe puis ligne par ligne, recherche (F3, depuis la
// dernière ligne), "Trouver ce filtre", champ de l'expéditeur, fermeture (Alt, élagage de
// l'historique), nombres de conservation, règles globales, tri par en-tête, menu de l'historique,
// impression dans un PDF.
#include "TextePdf.h"
#include "donnees/Chaines.h"
#include "donnees/FichierIni.h"
#include "donnees/Historique.h"
#include "filtres/ModeleListeFiltres.h"
#include "filtres/Tessaronrejets.h"
#include "moteur/EtatProgramme.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <QWidgetAction>
#include <algorithm>
#include <deque>
#include <functional>
#include <memory>
#include <optional>

namespace {

const std::string NB = "\xA0";
const std::string PARTIEL = "\xB6";
const std::string MOTS = "\xA7";

structFiltre filtre(const std::string& motif, const std::string& compteur = "") {
    return {motif, "", "g", "N ", compteur, false};
}

structHisto histo(const std::string& exp, const std::string& sujet = "Sujet",
                  const std::string& a = "moi@ici.fr", const std::string& cc = "",
                  const std::string& boite = "Perso") {
    return {FormaterDateHeure(std::time(nullptr)), exp, sujet, a, cc, boite};
}

struct Boite {
    QString titre, texte;
    QMessageBox::Icon icone;
    QMessageBox::StandardButton defaut;
};
struct Invite {
    QString titre, etiquette, valeur;
};

// Répond, dans l'ordre, aux fenêtres modales qui s'ouvrent (boîtes de message, invites,
// éditeur) ; note ce qu'elles montraient. Une fenêtre sans réponse prévue est fermée et comptée.
class Guichet : public QObject {
public:
    Guichet() {
        connect(&minuteur_, &QTimer::timeout, this, &Guichet::examiner);
        minuteur_.start(5);
        qApp->installEventFilter(this);
    }
    ~Guichet() override { qApp->removeEventFilter(this); }
    void Repondre(QMessageBox::StandardButton bouton) {
        reponses_.push_back([this, bouton](QWidget* w) {
            auto* boite = qobject_cast<QMessageBox*>(w);
            if (!boite) return fermer(w);
            boites.push_back({boite->windowTitle(), boite->text(), boite->icon(),
                              boite->standardButton(boite->defaultButton())});
            boite->button(bouton)->click();
        });
    }
    // Une saisie dans l'invite ; nullopt : "Annuler".
    void Saisir(std::optional<QString> texte) {
        reponses_.push_back([this, texte](QWidget* w) {
            auto* invite = qobject_cast<QInputDialog*>(w);
            if (!invite) return fermer(w);
            invites.push_back({invite->windowTitle(), invite->labelText(), invite->textValue()});
            if (!texte) return invite->reject();
            invite->setTextValue(*texte);
            invite->accept();
        });
    }
    // Une fenêtre modale quelconque, fermée par "Annuler" ; son nom de classe est noté.
    void Annuler() {
        reponses_.push_back([this](QWidget* w) {
            classes.push_back(QString::fromLatin1(w->metaObject()->className()));
            titres.push_back(w->windowTitle());
            QMetaObject::invokeMethod(w, "reject");
        });
    }
    bool Fini() const { return reponses_.empty() && inattendues == 0; }

    std::vector<Boite> boites;
    std::vector<Invite> invites;
    std::vector<QString> classes, titres;
    int inattendues = 0;

private:
    // Une fenêtre déjà servie qui est encore ouverte attend la fin de sa réponse ; une fenêtre
    // réutilisée (l'éditeur) est servie de nouveau à chaque ouverture.
    bool eventFilter(QObject* objet, QEvent* evenement) override {
        if (evenement->type() == QEvent::Hide)
            std::erase_if(servies_, [objet](const QPointer<QWidget>& w) { return !w || w == objet; });
        return false;
    }
    void examiner() {
        QWidget* w = QApplication::activeModalWidget();
        if (!w || std::find(servies_.begin(), servies_.end(), w) != servies_.end()) return;
        servies_.emplace_back(w);
        if (reponses_.empty()) return fermer(w);
        const auto reponse = std::move(reponses_.front());
        reponses_.pop_front();
        reponse(w);
    }
    void fermer(QWidget* w) {
        ++inattendues;
        QMetaObject::invokeMethod(w, "reject");
    }

    QTimer minuteur_;
    std::vector<QPointer<QWidget>> servies_;
    std::deque<std::function<void(QWidget*)>> reponses_;
};

QString texteCellule(QTreeView* vue, int ligne, int colonne, int role = Qt::DisplayRole) {
    return vue->model()->index(ligne, colonne).data(role).toString();
}

std::vector<int> lignesChoisies(QTreeView* vue) {
    std::vector<int> lignes;
    for (const QModelIndex& i : vue->selectionModel()->selectedRows())
        lignes.push_back(i.row());
    std::sort(lignes.begin(), lignes.end());
    return lignes;
}

void choisir(QTreeView* vue, std::initializer_list<int> lignes) {
    vue->selectionModel()->clearSelection();
    for (int l : lignes)
        vue->selectionModel()->select(vue->model()->index(l, 0),
                                      QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

// Après une fenêtre modale, la plateforme hors écran ne rend pas la main à la fenêtre : les
// raccourcis de fenêtre attendent qu'elle soit de nouveau active.
bool reactiver(QWidget& fenetre, QWidget* focus = nullptr) {
    fenetre.activateWindow();
    if (!QTest::qWaitForWindowActive(&fenetre)) return false;
    if (!focus) return true;
    // Les raccourcis suivent le widget qui a le focus : on attend qu'il l'ait vraiment.
    focus->setFocus();
    return QTest::qWaitFor([focus] { return focus->hasFocus(); });
}

std::vector<std::string> motifs(const ListeFiltres& liste) {
    std::vector<std::string> m;
    for (const structFiltre& f : liste.Lignes)
        m.push_back(f.Motif);
    return m;
}

} // namespace

class TestGestionFiltres : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dossier_;
    std::unique_ptr<FichierIni> ini_;
    std::unique_ptr<EtatProgramme> etat_;
    std::unique_ptr<TFormRejets> f_;

    ListesFiltres& listes() { return etat_->Listes; }

    // La fenêtre sur les listes déjà remplies, montrée et active sur cet onglet.
    void ouvrir(int onglet = 0) {
        f_ = std::make_unique<TFormRejets>(*etat_, *ini_);
        f_->ListesChargees();
        f_->Montrer(onglet);
        QVERIFY(QTest::qWaitForWindowActive(f_.get()));
    }

private slots:
    void init() {
        ini_ = std::make_unique<FichierIni>(dossier_.filePath(QStringLiteral("Tessaron.ini")));
        etat_ = std::make_unique<EtatProgramme>();
        auto& l = etat_->Listes;
        l.ListeExpediteurs.Lignes = {filtre("a@x.fr", "3"), filtre(PARTIEL + "promo", "10"),
                                     filtre("c@x.fr", "2"), filtre(MOTS + "prix bas", "")};
        l.ListeExpediteurs.Lignes[2].Ami = true;
        l.ListeSujets.Lignes = {filtre(PARTIEL + "casino"), filtre("loterie")};
        l.ListeDestinataires.Lignes = {{"moi@ici.fr", "C", "R", "oa", "1", false}};
    }
    void cleanup() {
        f_.reset();
        etat_.reset();
        ini_.reset();
    }

    void fenetreColonnesEtBulles() {
        etat_->Parametres.ColHist = {0, 300, -5, 0, 0, 5000};
        ouvrir();
        TFormRejets& f = *f_;
        QCOMPARE(f.windowTitle(), QStringLiteral("Tessaron - Gestion des filtres"));
        QVERIFY(f.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QCOMPARE(f.minimumSize(), QSize(640, 480));
        QStringList onglets;
        for (int k = 0; k < f.Onglets()->count(); ++k)
            onglets << f.Onglets()->tabText(k);
        QCOMPARE(onglets, (QStringList{"Par expéditeur", "Par sujet", "Par destinataire", "Réponse",
                                       "Exp. inexistant", "Historique"}));
        const auto entetes = [](QTreeView* vue) {
            QStringList e;
            for (int c = 0; c < vue->model()->columnCount(); ++c)
                e << vue->model()->headerData(c, Qt::Horizontal).toString();
            return e;
        };
        QCOMPARE(entetes(f.Vue(0)),
                 (QStringList{"Expéditeurs", "Avant", "Pendant", "Effectués", "Rejeté/Accepté"}));
        QCOMPARE(entetes(f.Vue(1)),
                 (QStringList{"Sujets", "Avant", "Pendant", "Effectués", "Rejeté/Accepté"}));
        QCOMPARE(entetes(f.Vue(2)),
                 (QStringList{"Destinataires", "À / Cc", "Avant", "Pendant", "Effectués", "Rejeté/Accepté"}));
        QCOMPARE(entetes(f.Vue(5)), (QStringList{"Date - Heure", "Expéditeur", "Sujet", "Destinataire(s)",
                                                 "Destinataire(s) en copie", "Boîte"}));
        for (int k : {0, 1, 2}) {
            QTreeView* vue = f.Vue(k);
            const int derniere = vue->model()->columnCount() - 1;
            QVERIFY(vue->isColumnHidden(derniere));
            QCOMPARE(vue->columnWidth(0), 380);
            QCOMPARE(vue->columnWidth(derniere - 2), 60);
            QCOMPARE(vue->columnWidth(derniere - 1), 65);
            QCOMPARE(vue->selectionMode(), QAbstractItemView::ExtendedSelection);
            QCOMPARE(texteCellule(vue, 0, derniere), QStringLiteral("R"));
        }
        QVERIFY(!f.Vue(3));
        QCOMPARE(f.Vue(5)->selectionMode(), QAbstractItemView::SingleSelection);
        // ColHist : 0 ou moins garde la largeur de conception ; une largeur démesurée est bornée.
        const int largeurs[] = {130, 300, 220, 150, 150, 2000};
        for (int c = 0; c < 6; ++c)
            QCOMPARE(f.Vue(5)->columnWidth(c), largeurs[c]);

        using C = TFormRejets::Commande;
        const std::pair<C, const char*> bulles[] = {
            {C::Creer, "Créer"},
            {C::ImportExport, "Import/Export Excel"},
            {C::Rechercher, "Recherche un élément dans la liste <F3>"},
            {C::Imprimer, "Imprime la liste sur l'imprimante par défaut"},
            {C::RemiseAZero, "Met à zéro les compteurs de rejets effectués"},
            {C::Vider, "Vide l'historique"},
            {C::Exporter, "Exporter la liste au format  Excel"},
            {C::Aide, "<F1> = Aide"},
            {C::Fermer, "Si <Alt> , sauvegarde les listes sur disque immédiatement"}};
        for (const auto& [commande, bulle] : bulles)
            QCOMPARE(f.Bouton(commande)->toolTip(), QString::fromUtf8(bulle));
        QVERIFY(!f.Bouton(C::ImportExport)->isEnabled());
        QVERIFY(!f.Bouton(C::Exporter)->isEnabled());
    }

    void geometrieALaPremiereApparition() {
        ParametresGlobaux& p = etat_->Parametres;
        p.RejTop = 30;
        p.RejLeft = 40;
        p.RejWidth = 700;
        p.RejHeight = 300; // sous le minimum de 480
        f_ = std::make_unique<TFormRejets>(*etat_, *ini_);
        QVERIFY(!f_->AEteMontree());
        f_->Montrer(5);
        QVERIFY(QTest::qWaitForWindowExposed(f_.get()));
        QVERIFY(f_->AEteMontree());
        QCOMPARE(f_->geometry(), QRect(40, 30, 700, 480));
        QCOMPARE(f_->OngletCourant(), 5);

        f_->resize(800, 600);
        f_->Vue(5)->setColumnWidth(2, 333);
        f_->MemoriserGeometrie();
        QCOMPARE(p.RejLeft, 40);
        QCOMPARE(p.RejTop, 30);
        QCOMPARE(p.RejWidth, 800);
        QCOMPARE(p.RejHeight, 600);
        QCOMPARE(p.ColHist[2], 333);
        QCOMPARE(p.ColHist[0], 130);

        // Jamais montrée : la géométrie enregistrée ne bouge pas, les colonnes sont notées.
        TFormRejets cachee(*etat_, *ini_);
        p.RejTop = 7;
        cachee.MemoriserGeometrie();
        QCOMPARE(p.RejTop, 7);
        QVERIFY(!cachee.AEteMontree());
    }

    void panneauxEtOngletsVoisins() {
        ouvrir();
        TFormRejets& f = *f_;
        const struct {
            int onglet;
            bool lettres, motsMultiples, historique, bas;
        } cas[] = {{0, true, false, false, true},   {1, true, true, false, true},
                   {2, true, true, false, true},    {3, false, false, false, false},
                   {4, false, false, false, false}, {5, false, false, true, true}};
        for (const auto& c : cas) {
            f.Onglets()->setCurrentIndex(c.onglet);
            QCOMPARE(f.PanneauLettres()->isVisible(), c.lettres);
            QCOMPARE(f.LegendeMotsMultiples()->isVisible(), c.motsMultiples);
            QCOMPARE(f.PanneauHistorique()->isVisible(), c.historique);
            QCOMPARE(f.PanneauBas()->isVisible(), c.bas);
            if (QTreeView* vue = f.Vue(c.onglet)) QTRY_VERIFY(vue->hasFocus());
        }
        // Ctrl+Pg.suiv. depuis la dernière revient à la première, même quand la liste a le focus.
        QTreeView* historique = f.Vue(5);
        f.Onglets()->setCurrentIndex(5);
        QTest::keyClick(historique, Qt::Key_PageDown, Qt::ControlModifier);
        QCOMPARE(f.OngletCourant(), 0);
        QTreeView* expediteurs = f.Vue(0);
        expediteurs->setCurrentIndex(expediteurs->model()->index(1, 0));
        QTest::keyClick(expediteurs, Qt::Key_PageUp, Qt::ControlModifier);
        QCOMPARE(f.OngletCourant(), 5);
        QCOMPARE(expediteurs->currentIndex().row(), 1); // la liste n'a pas défilé
        QTest::keyClick(historique, Qt::Key_PageUp, Qt::ControlModifier);
        QCOMPARE(f.OngletCourant(), 4);
    }

    void couleursDesLignesEtDesMotifs() {
        listes().ListeSujets.Lignes.push_back(filtre("~mot"));
        listes().ListeDestinataires.Lignes.push_back({MOTS + "liste diffusion", "L", "d", "N ", "", false});
        auto& h = listes().Historique.Lignes;
        h = {histo("a@casino.com" + NB + "(" + PARTIEL + "casino)" + NB + NB),
             histo("b@x.fr", "Sujet", "->" + NB + "intrus@ici.fr", "=>" + NB + "cache@ici.fr"),
             histo("c@x.fr\xB7"), histo("d@x.fr", "Offre", "moi@ici.fr", "x@y.fr", "Perso" + NB)};
        ouvrir();
        TFormRejets& f = *f_;
        const QColor fonds[] = {{255, 238, 255}, {221, 255, 255}, {255, 235, 204}};
        for (int k = 0; k < 3; ++k) {
            const QAbstractItemModel* m = f.Vue(k)->model();
            QVERIFY(!m->index(0, 1).data(Qt::BackgroundRole).isValid());
            QCOMPARE(m->index(1, 1).data(Qt::BackgroundRole).value<QColor>(), fonds[k]);
            QVERIFY(!m->index(0, 0).data(Qt::DecorationRole).value<QIcon>().isNull());
        }
        const QAbstractItemModel* exp = f.Vue(0)->model();
        QCOMPARE(exp->index(1, 0).data(Qt::ForegroundRole).value<QColor>(), QColor(255, 0, 255)); // ¶
        QCOMPARE(exp->index(3, 0).data(Qt::ForegroundRole).value<QColor>(), QColor(0, 0, 255));   // §
        QVERIFY(!exp->index(0, 0).data(Qt::ForegroundRole).isValid());                            // exact
        QVERIFY(!exp->index(1, 1).data(Qt::ForegroundRole).isValid()); // seule la cellule du motif
        QVERIFY(!f.Vue(1)->model()->index(2, 0).data(Qt::ForegroundRole).isValid()); // "~"
        // Ami et rejet n'ont pas la même image.
        QVERIFY(exp->index(2, 0).data(Qt::DecorationRole).value<QIcon>().cacheKey() !=
                exp->index(0, 0).data(Qt::DecorationRole).value<QIcon>().cacheKey());

        const QAbstractItemModel* hm = f.Vue(5)->model();
        const auto couleur = [hm](int l, int c) {
            return hm->index(l, c).data(Qt::ForegroundRole).value<QColor>();
        };
        QCOMPARE(couleur(0, 1), QColor(255, 0, 0));
        QVERIFY(!couleur(0, 2).isValid());
        QCOMPARE(couleur(1, 3), QColor(0, 0, 255));
        QCOMPARE(couleur(1, 4), QColor(0, 128, 0));
        QCOMPARE(couleur(2, 1), QColor(128, 0, 128));
        for (int c = 0; c < 6; ++c)
            QCOMPARE(couleur(3, c), QColor(128, 128, 0));
        QCOMPARE(hm->index(1, 0).data(Qt::BackgroundRole).value<QColor>(), QColor(238, 238, 238));
        QVERIFY(!hm->index(2, 0).data(Qt::BackgroundRole).isValid());

        // Fond des listes : une couleur choisie, ou celui du thème (couleur invalide).
        f.AppliquerCouleur(QColor(200, 220, 240));
        for (int k : {0, 1, 2, 5})
            QCOMPARE(f.Vue(k)->palette().color(QPalette::Base), QColor(200, 220, 240));
        f.AppliquerCouleur(QColor());
        for (int k : {0, 1, 2, 5})
            QCOMPARE(f.Vue(k)->palette().color(QPalette::Base),
                     QApplication::palette(f.Vue(k)).color(QPalette::Base));
    }

    void boutonsSelonLaListeEtLaSelection() {
        listes().ListeSujets.Lignes.clear();
        ouvrir(1);
        TFormRejets& f = *f_;
        using C = TFormRejets::Commande;
        const auto actifs = [&f](std::initializer_list<C> commandes) {
            std::vector<bool> etats;
            for (C c : commandes)
                etats.push_back(f.Bouton(c)->isEnabled());
            return etats;
        };
        QCOMPARE(actifs({C::Creer, C::Rechercher, C::Imprimer, C::RemiseAZero, C::Supprimer, C::Modifier}),
                 (std::vector<bool>{true, false, false, false, false, false}));
        f.Onglets()->setCurrentIndex(0);
        QCOMPARE(actifs({C::Rechercher, C::Imprimer, C::RemiseAZero, C::Supprimer, C::Modifier}),
                 (std::vector<bool>{true, true, true, false, false}));
        choisir(f.Vue(0), {1});
        QCOMPARE(actifs({C::Supprimer, C::Modifier}), (std::vector<bool>{true, true}));
        QVERIFY(f.EntreeMenuListe(C::Modifier)->isEnabled());
        choisir(f.Vue(0), {1, 2});
        QCOMPARE(actifs({C::Supprimer, C::Modifier}), (std::vector<bool>{true, false}));
        QVERIFY(f.EntreeMenuListe(C::Supprimer)->isEnabled());
        QVERIFY(!f.EntreeMenuListe(C::Modifier)->isEnabled());

        // Historique vide : "Vider" suit la recherche, le nombre de rejets est caché.
        f.Onglets()->setCurrentIndex(5);
        QVERIFY(!f.Bouton(C::Vider)->isEnabled());
        QVERIFY(!f.Bouton(C::Rechercher)->isEnabled());
        QVERIFY(!f.NombreRejets()->isVisible());
        QVERIFY(!f.Bouton(C::Creer)->isVisible());
        // Le moteur ajoute une ligne puis demande le rafraîchissement.
        listes().Historique.Lignes.insert(listes().Historique.Lignes.begin(), histo("a@x.fr"));
        f.Rafraichir();
        QVERIFY(f.Bouton(C::Vider)->isEnabled());
        QVERIFY(f.Bouton(C::Rechercher)->isEnabled());
        QVERIFY(f.NombreRejets()->isVisible());
        QCOMPARE(f.NombreRejets()->text(), ChaineQ(3019) + QStringLiteral("1"));
        QCOMPARE(f.Vue(5)->model()->rowCount(), 1);
    }

    void suppressionParGroupeOuLigneParLigne_data() {
        QTest::addColumn<bool>("groupe");
        QTest::newRow("Non au groupe : trois questions") << false;
        QTest::newRow("Oui au groupe : tout part") << true;
    }
    void suppressionParGroupeOuLigneParLigne() {
        QFETCH(bool, groupe);
        ouvrir();
        TFormRejets& f = *f_;
        choisir(f.Vue(0), {0, 1, 3});
        Guichet g;
        if (groupe) {
            g.Repondre(QMessageBox::Yes);
        } else {
            g.Repondre(QMessageBox::No);
            for (auto r : {QMessageBox::Yes, QMessageBox::No, QMessageBox::Yes})
                g.Repondre(r);
        }
        QTest::keyClick(f.Vue(0), Qt::Key_Delete);
        QVERIFY(g.Fini());
        QCOMPARE(g.boites.front().texte, QStringLiteral("Supprimer les 3 filtres sélectionnés ?"));
        for (const Boite& b : g.boites) {
            QCOMPARE(b.titre, QStringLiteral("Suppression d'un filtre"));
            QCOMPARE(b.icone, QMessageBox::Warning);
            QCOMPARE(b.defaut, QMessageBox::No);
        }
        const ListeFiltres& liste = listes().ListeExpediteurs;
        if (groupe) {
            QCOMPARE(g.boites.size(), std::size_t{1});
            QCOMPARE(motifs(liste), (std::vector<std::string>{"c@x.fr"}));
        } else {
            QCOMPARE(g.boites.size(), std::size_t{4});
            QCOMPARE(g.boites[1].texte, QStringLiteral("Supprimer le filtre 'a@x.fr' ?"));
            QCOMPARE(g.boites[2].texte, QStringLiteral("Supprimer le filtre '¶promo' ?"));
            QCOMPARE(g.boites[3].texte, QStringLiteral("Supprimer le filtre '§prix bas' ?"));
            QCOMPARE(motifs(liste), (std::vector<std::string>{PARTIEL + "promo", "c@x.fr"}));
        }
        QVERIFY(liste.Modifiee);
        QCOMPARE(f.Vue(0)->model()->rowCount(), static_cast<int>(liste.Lignes.size()));
        QCOMPARE(f.focusWidget(), f.Vue(0));

        // Sans sélection, la commande ne fait rien.
        Guichet rien;
        f.BtnSupprimerClick();
        QVERIFY(rien.Fini());
    }

    void rechercheF3Puis() {
        listes().ListeExpediteurs.Lignes = {filtre("un"), filtre("promo1"), filtre("deux"), filtre("PROMO2"),
                                            filtre("trois")};
        ouvrir();
        TFormRejets& f = *f_;
        QTreeView* vue = f.Vue(0);
        Guichet g;
        g.Saisir(QString()); // une saisie vide redemande
        g.Saisir(QStringLiteral("Promo"));
        QTest::keyClick(vue, Qt::Key_F3); // rien n'a encore été cherché : F3 demande
        QVERIFY(g.Fini());
        QCOMPARE(g.invites.size(), std::size_t{2});
        QCOMPARE(g.invites[0].titre, QStringLiteral("Tessaron - Rechercher un élément de la liste"));
        QCOMPARE(g.invites[0].etiquette,
                 QStringLiteral("Rechercher dans la liste (F3 rechercher suivant) :"));
        QCOMPARE(g.invites[0].valeur, QString());
        // Sans sélection, la première ligne est prise pour la sélection : on part de la deuxième.
        QCOMPARE(lignesChoisies(vue), std::vector<int>{1});
        QCOMPARE(f.focusWidget(), vue);
        QVERIFY(reactiver(f));
        QTest::keyClick(vue, Qt::Key_F3); // cherche encore sans demander
        QVERIFY(g.Fini());
        QCOMPARE(lignesChoisies(vue), std::vector<int>{3});
        // Ctrl+F redemande, avec le dernier texte ; Annuler ne change rien.
        g.Saisir(std::nullopt);
        QTest::keyClick(vue, Qt::Key_F, Qt::ControlModifier);
        QVERIFY(g.Fini());
        QCOMPARE(g.invites.back().valeur, QStringLiteral("Promo"));
        QCOMPARE(lignesChoisies(vue), std::vector<int>{3});
        QVERIFY(reactiver(f));
        // Plus rien après : la sélection reste, sans reprendre au début.
        QTest::keyClick(vue, Qt::Key_F3);
        QCOMPARE(lignesChoisies(vue), std::vector<int>{3});
        QCOMPARE(f.focusWidget(), vue);
    }

    // 100 000 lignes, motifs très longs, faits de jokers seulement ou de caractères d'expressions
    // régulières : tri par chaque sorte de colonne, recherche et suppression vont au bout.
    void grandeListeEtMotifsExtremes() {
        auto& lignes = listes().ListeExpediteurs.Lignes;
        lignes.clear();
        for (int i = 0; i < 100000; ++i)
            lignes.push_back(filtre("exp" + std::to_string(i) + "@x.fr", std::to_string(i % 97)));
        lignes[10].Motif = std::string(1000, 'a');
        lignes[20].Motif = "*?#\xB5*";
        lignes[30].Motif = PARTIEL + "(.*)[a-z]+$^";
        ouvrir();
        TFormRejets& f = *f_;
        QTreeView* vue = f.Vue(0);
        QCOMPARE(vue->model()->rowCount(), 100000);
        for (int colonne : {3, 0, 0})
            emit vue->header()->sectionClicked(colonne);
        QCOMPARE(lignes.size(), std::size_t(100000));

        Guichet g;
        g.Saisir(QStringLiteral("(.*)[A-Z]+$^"));
        f.Bouton(TFormRejets::Commande::Rechercher)->click();
        QVERIFY(g.Fini());
        const std::vector<int> trouve = lignesChoisies(vue);
        QCOMPARE(trouve.size(), std::size_t(1));
        QCOMPARE(lignes[static_cast<std::size_t>(trouve.front())].Motif, PARTIEL + "(.*)[a-z]+$^");

        g.Repondre(QMessageBox::Yes);
        f.Bouton(TFormRejets::Commande::Supprimer)->click();
        QVERIFY(g.Fini());
        QCOMPARE(vue->model()->rowCount(), 99999);
    }

    void rechercheDepuisLaDerniereLigne() {
        listes().ListeExpediteurs.Lignes = {filtre("promo1"), filtre("deux"), filtre("promo3")};
        ouvrir();
        TFormRejets& f = *f_;
        QTreeView* vue = f.Vue(0);
        choisir(vue, {2});
        Guichet g;
        g.Saisir(QStringLiteral("promo"));
        f.Bouton(TFormRejets::Commande::Rechercher)->click();
        QVERIFY(g.Fini());
        // La dernière ligne est cherchée de nouveau : elle correspond et reste choisie.
        QCOMPARE(lignesChoisies(vue), std::vector<int>{2});
        QVERIFY(reactiver(f));
        // Elle ne correspond pas : pas de retour à la première ligne, qui correspondrait.
        listes().ListeExpediteurs.Lignes[2].Motif = "trois";
        f.Rafraichir();
        QTest::keyClick(vue, Qt::Key_F3);
        QCOMPARE(lignesChoisies(vue), std::vector<int>{2});
        // Depuis l'avant-dernière ligne, la dernière est essayée.
        listes().ListeExpediteurs.Lignes[2].Motif = "promo3";
        choisir(vue, {1});
        QTest::keyClick(vue, Qt::Key_F3);
        QCOMPARE(lignesChoisies(vue), std::vector<int>{2});
    }

    void trouverCeFiltre() {
        listes().Historique.Lignes = {
            histo("a@x.fr", "Casino gratuit" + NB + "(" + PARTIEL + "casino)" + NB + NB),
            histo("b@x.fr" + NB + "(a@x.fr)" + NB + NB)};
        ouvrir(5);
        TFormRejets& f = *f_;
        QTreeView* historique = f.Vue(5);
        choisir(historique, {0});
        // Le filtre de sujet existe : il est choisi, première ligne comprise.
        {
            Guichet g;
            const auto menu = f.MenuHistorique(historique->model()->index(0, 2));
            QAction* trouver = menu->actions().last();
            QCOMPARE(trouver->text(), QStringLiteral("Trouver ¶casino"));
            QVERIFY(trouver->isEnabled());
            trouver->trigger();
            QVERIFY(g.Fini());
            QCOMPARE(f.OngletCourant(), 1);
            QCOMPARE(lignesChoisies(f.Vue(1)), std::vector<int>{0});
        }
        // Le filtre a été supprimé depuis : message, la première ligne reste choisie.
        listes().ListeSujets.Lignes.erase(listes().ListeSujets.Lignes.begin());
        f.Rafraichir();
        f.Onglets()->setCurrentIndex(5);
        {
            Guichet g;
            g.Repondre(QMessageBox::Ok);
            f.MenuHistorique(historique->model()->index(0, 2))->actions().last()->trigger();
            QVERIFY(g.Fini());
            QCOMPARE(g.boites.size(), std::size_t{1});
            QCOMPARE(g.boites[0].texte, QStringLiteral("\"¶casino\" n'existe plus"));
            QCOMPARE(f.OngletCourant(), 1);
            QCOMPARE(lignesChoisies(f.Vue(1)), std::vector<int>{0});
        }
        // Colonne de l'expéditeur -> liste des expéditeurs ; la date n'a pas de filtre.
        f.Onglets()->setCurrentIndex(5);
        f.MenuHistorique(historique->model()->index(1, 1))->actions().last()->trigger();
        QCOMPARE(f.OngletCourant(), 0);
        QCOMPARE(lignesChoisies(f.Vue(0)), std::vector<int>{0});
        const auto sansMotif = f.MenuHistorique(historique->model()->index(1, 0));
        QCOMPARE(sansMotif->actions().last()->text(), QStringLiteral("Trouver ce filtre"));
        QVERIFY(!sansMotif->actions().last()->isEnabled());
    }

    void menuDeLHistorique() {
        listes().Historique.Lignes = {histo("a@casino.com" + NB + "(" + PARTIEL + "casino)" + NB + NB,
                                            "Offre\xB7", "moi@ici.fr ", "copie@ici.fr")};
        ouvrir(5);
        TFormRejets& f = *f_;
        QTreeView* historique = f.Vue(5);
        const QModelIndex cellule = historique->model()->index(0, 1);
        {
            const auto menu = f.MenuHistorique(cellule);
            const QList<QAction*> entrees = menu->actions();
            auto* titre = qobject_cast<QWidgetAction*>(entrees.first());
            QVERIFY(titre);
            QVERIFY(!titre->isEnabled()); // ni choisi ni survolé
            auto* etiquette = qobject_cast<QLabel*>(titre->defaultWidget());
            QVERIFY(etiquette);
            QCOMPARE(etiquette->text(), QStringLiteral("COPIER DANS LE PRESSE-PAPIER"));
            QVERIFY(etiquette->font().bold());
            for (int k = 1; k <= 4; ++k)
                QVERIFY(!entrees[k]->isEnabled()); // aucune ligne choisie
        }
        choisir(historique, {0});
        const auto menu = f.MenuHistorique(cellule);
        const QList<QAction*> entrees = menu->actions();
        QCOMPARE(entrees[1]->text().section(u'\t', 0, 0), QStringLiteral("L'expéditeur"));
        QCOMPARE(entrees[4]->text().section(u'\t', 0, 0), QStringLiteral("Le destinataire en copie"));
        QVERIFY(entrees[5]->isSeparator());
        // Chaque copie perd une seule marque finale.
        const std::pair<int, QString> copies[] = {{1, QString::fromUtf8("a@casino.com\u00A0(¶casino)\u00A0")},
                                                  {2, QStringLiteral("Offre")},
                                                  {3, QStringLiteral("moi@ici.fr")},
                                                  {4, QStringLiteral("copie@ici.fr")}};
        for (const auto& [entree, attendu] : copies) {
            entrees[entree]->trigger();
            QCOMPARE(QApplication::clipboard()->text(), attendu);
        }
        QTest::keyClick(historique, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("Offre"));

        // "Trouver " puis le motif en rouge.
        QCOMPARE(entrees.last()->text(), QStringLiteral("Trouver ¶casino"));
        menu->popup(QPoint(0, 0));
        QVERIFY(QTest::qWaitForWindowExposed(menu.get()));
        const QImage image = menu->grab().toImage();
        menu->close();
        int rouges = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (const QColor p = image.pixelColor(x, y); p.red() > 180 && p.green() < 90 && p.blue() < 90)
                    ++rouges;
        QVERIFY2(rouges > 10, qPrintable(QString::number(rouges)));
    }

    void champExpediteurConfirme() {
        etat_->Parametres.FromReturnPath = 1;
        ouvrir();
        TFormRejets& f = *f_;
        QString legende = ChaineQ(10012);
        std::vector<int> annonces;
        f.LegendeColonneExpediteur = [&legende] { return legende; };
        f.SurChampExpediteur = [&](int valeur) {
            annonces.push_back(valeur);
            legende = ChaineQ(valeur == 1 ? 10012 : 10011);
        };
        QVERIFY(f.ChoixChampExpediteur(1)->isChecked());
        {
            Guichet g;
            g.Repondre(QMessageBox::No);
            f.ChoixChampExpediteur(0)->click();
            QVERIFY(g.Fini());
            QCOMPARE(g.boites.size(), std::size_t{1});
            QCOMPARE(g.boites[0].titre, QStringLiteral("Avertissement"));
            QCOMPARE(g.boites[0].texte,
                     QStringLiteral(
                         "Attention : tout changement de nature d'expéditeur peut avoir des\nconséquences "
                         "imprévues dans le comportement de vos filtres existants.\n\nVoulez-vous "
                         "poursuivre ?"));
            QCOMPARE(g.boites[0].icone, QMessageBox::Warning);
            QCOMPARE(g.boites[0].defaut, QMessageBox::No);
        }
        QVERIFY(f.ChoixChampExpediteur(1)->isChecked());
        QCOMPARE(etat_->Parametres.FromReturnPath, 1);
        QVERIFY(annonces.empty());
        QCOMPARE(legende, ChaineQ(10012));
        {
            Guichet g;
            g.Repondre(QMessageBox::Yes);
            f.ChoixChampExpediteur(0)->click();
            QVERIFY(g.Fini());
        }
        QCOMPARE(etat_->Parametres.FromReturnPath, 0);
        QCOMPARE(annonces, std::vector<int>{0});
        // La colonne porte déjà la légende du nouveau choix : pas de question.
        legende = ChaineQ(10012);
        Guichet g;
        f.ChoixChampExpediteur(1)->click();
        QVERIFY(g.Fini());
        QCOMPARE(etat_->Parametres.FromReturnPath, 1);
        QCOMPARE(annonces, (std::vector<int>{0, 1}));
    }

    void fermetureAvecOuSansAlt() {
        ouvrir();
        TFormRejets& f = *f_;
        int enregistrements = 0;
        Qt::KeyboardModifiers touches = Qt::AltModifier;
        f.SurEnregistrerListes = [&enregistrements, &f] {
            QVERIFY(f.isVisible()); // avant de cacher la fenêtre
            ++enregistrements;
        };
        f.Modificateurs = [&touches] { return touches; };
        f.Bouton(TFormRejets::Commande::Fermer)->click();
        QCOMPARE(enregistrements, 1);
        QVERIFY(!f.isVisible());
        touches = Qt::NoModifier;
        f.Montrer(0);
        QVERIFY(QTest::qWaitForWindowActive(&f));
        QTest::keyClick(f.Vue(0), Qt::Key_Escape);
        QVERIFY(!f.isVisible());
        QCOMPARE(enregistrements, 1);
        // La case de fermeture cache aussi, sans détruire.
        f.Montrer(1);
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        f.close();
        QVERIFY(!f.isVisible());
        QCOMPARE(f.OngletCourant(), 1);
    }

    void fermetureSurLHistoriqueElague_data() {
        QTest::addColumn<int>("onglet");
        QTest::addColumn<int>("lignes");
        QTest::newRow("historique : 10 lignes gardées") << 5 << 10;
        QTest::newRow("autre onglet : rien") << 0 << 15;
    }
    void fermetureSurLHistoriqueElague() {
        QFETCH(int, onglet);
        QFETCH(int, lignes);
        for (int i = 0; i < 15; ++i)
            listes().Historique.Lignes.push_back(histo("r" + std::to_string(i) + "@x.fr"));
        etat_->Parametres.NbHisto = 500;
        ouvrir(5);
        TFormRejets& f = *f_;
        // Un nombre en cours de saisie, sous le minimum, compte à la fermeture : relevé à 10.
        QSpinBox* nombre = f.ChampNombre();
        nombre->setFocus();
        nombre->selectAll();
        QTest::keyClicks(nombre, QStringLiteral("5"));
        QCOMPARE(nombre->cleanText(), QStringLiteral("5"));
        f.Onglets()->setCurrentIndex(onglet);
        f.BtnFermerClick();
        QCOMPARE(static_cast<int>(listes().Historique.Lignes.size()), lignes);
        QCOMPARE(f.Vue(5)->model()->rowCount(), lignes);
        QCOMPARE(listes().Historique.Modifiee, onglet == 5);
        if (onglet == 5) {
            QCOMPARE(etat_->Parametres.NbHisto, 10);
            QCOMPARE(nombre->value(), 10);
            QCOMPARE(f.NombreRejets()->text(), ChaineQ(3019) + QStringLiteral("10"));
        }
    }

    void nombresDeConservation() {
        etat_->Parametres.NbHisto = 3;          // ramené à 10
        etat_->Parametres.NbHistoDate = 123456; // ramené à 9999
        etat_->Parametres.HistoDateSav = false;
        ouvrir(5);
        TFormRejets& f = *f_;
        ParametresGlobaux& p = etat_->Parametres;
        QCOMPARE(f.ChampNombre()->value(), 10);
        QCOMPARE(f.ChampJours()->value(), 9999);
        QCOMPARE(p.NbHisto, 10);
        QCOMPARE(p.NbHistoDate, 9999);
        QVERIFY(f.CaseConserverNombre()->isChecked());
        QVERIFY(!f.CaseConserverJours()->isChecked());
        QCOMPARE(f.CaseConserverNombre()->text(), QStringLiteral("&Conserver les "));
        QCOMPARE(f.CaseConserverJours()->text(), QStringLiteral("Conserver les"));
        f.CaseConserverJours()->click();
        QVERIFY(p.HistoDateSav);

        QSpinBox* jours = f.ChampJours();
        jours->setFocus();
        const struct {
            const char* frappe;
            const char* texte;
            int valeur;
        } cas[] = {{"20", "20", 20},
                   {"abc", "", 20}, // des chiffres seulement
                   {"+7", "7", 20},
                   {"99999", "9999", 9999},
                   {"-5", "5", 9999}};
        for (const auto& c : cas) {
            jours->selectAll();
            QTest::keyClick(jours, Qt::Key_Delete);
            QTest::keyClicks(jours, QString::fromUtf8(c.frappe));
            QCOMPARE(jours->cleanText(), QString::fromUtf8(c.texte));
            QCOMPARE(p.NbHistoDate, c.valeur);
        }
        // "5" sous le minimum : la perte du focus le récrit à 10.
        f.Vue(5)->setFocus();
        QTRY_COMPARE(jours->cleanText(), QStringLiteral("10"));
        QCOMPARE(p.NbHistoDate, 10);
        // Les flèches restent dans les bornes.
        jours->setValue(9999);
        jours->stepUp();
        QCOMPARE(jours->value(), 9999);
        jours->setValue(10);
        jours->stepDown();
        QCOMPARE(jours->value(), 10);
    }

    void reglesGlobales() {
        ParametresGlobaux& p = etat_->Parametres;
        p.SujetVide = 7; // hors des choix : le défaut
        p.DestAVide = 0;
        p.DestPasArobase = 1;
        p.DelaiRejeterGarder = 30;
        ouvrir(1);
        TFormRejets& f = *f_;
        QComboBox* sujetVide = f.ChoixAction(TFormRejets::RegleSujetVide);
        QStringList libelles;
        for (int k = 0; k < sujetVide->count(); ++k)
            libelles << sujetVide->itemText(k);
        QCOMPARE(libelles, (QStringList{"Rejeter d'office", "Détruire au bout de 30s",
                                        "Garder au bout de 30s", "Garder toujours"}));
        QCOMPARE(sujetVide->currentIndex(), 3);
        QCOMPARE(p.SujetVide, 3);
        QCOMPARE(f.ChoixAction(TFormRejets::RegleDestAVide)->currentIndex(), 0);
        QCOMPARE(f.ChoixAction(TFormRejets::RegleDestPasArobase)->currentIndex(), 1);
        sujetVide->setCurrentIndex(1);
        QCOMPARE(p.SujetVide, 1);
        f.ChoixAction(TFormRejets::RegleDestPasArobase)->setCurrentIndex(2);
        QCOMPARE(p.DestPasArobase, 2);

        // Le délai change : libellés refaits sur les onglets 1 et 2, choix gardés.
        p.DelaiRejeterGarder = 45;
        f.Onglets()->setCurrentIndex(2);
        QCOMPARE(f.ChoixAction(TFormRejets::RegleDestAVide)->itemText(1),
                 QStringLiteral("Détruire au bout de 45s"));
        QCOMPARE(sujetVide->currentIndex(), 1);
        p.DelaiRejeterGarder = 60;
        f.DelaiChange();
        QCOMPARE(sujetVide->itemText(2), QStringLiteral("Garder au bout de 60s"));
        QCOMPARE(f.ChoixAction(TFormRejets::RegleDestPasArobase)->currentIndex(), 2);

        // La case de la règle expéditeur et sujet, légendée à chaque passage sur l'onglet 0.
        p.DelaiRejeterGarder = 20;
        f.Onglets()->setCurrentIndex(0);
        QCOMPARE(f.CaseExpEtSujet()->text(),
                 QStringLiteral("\"détruire au bout de 20s\", alors &Rejeter d'office"));
        QVERIFY(!f.CaseExpEtSujet()->isChecked());
        f.CaseExpEtSujet()->click();
        QVERIFY(p.ExpEtSujetDetruire);
    }

    void triParEnTete() {
        listes().ListeExpediteurs.Lignes = {filtre("b", "10"), filtre("A", "9"), filtre("c", " "),
                                            filtre("d", "12x")};
        ouvrir();
        TFormRejets& f = *f_;
        QTreeView* vue = f.Vue(0);
        choisir(vue, {1}); // "A"
        QHeaderView* entete = vue->header();
        emit entete->sectionClicked(3);
        QCOMPARE(motifs(listes().ListeExpediteurs), (std::vector<std::string>{"c", "d", "A", "b"}));
        QCOMPARE(lignesChoisies(vue), std::vector<int>{2}); // la ligne choisie suit
        QCOMPARE(texteCellule(vue, 0, 0), QStringLiteral("c"));
        emit entete->sectionClicked(3);
        QCOMPARE(motifs(listes().ListeExpediteurs), (std::vector<std::string>{"b", "A", "c", "d"}));
        QCOMPARE(entete->sortIndicatorOrder(), Qt::DescendingOrder);
        emit entete->sectionClicked(0);
        QCOMPARE(motifs(listes().ListeExpediteurs), (std::vector<std::string>{"A", "b", "c", "d"}));
        QCOMPARE(lignesChoisies(vue), std::vector<int>{0});
        QVERIFY(!listes().ListeExpediteurs.Modifiee);
    }

    void remiseAZeroEtVidage() {
        listes().Historique.Lignes = {histo("a@x.fr"), histo("b@x.fr")};
        ouvrir();
        TFormRejets& f = *f_;
        {
            Guichet g;
            g.Repondre(QMessageBox::No);
            g.Repondre(QMessageBox::Yes);
            f.BtnRemiseAZeroClick();
            QCOMPARE(listes().ListeExpediteurs.Lignes[0].Effectues, "3");
            f.BtnRemiseAZeroClick();
            QVERIFY(g.Fini());
            QCOMPARE(g.boites[0].titre, QStringLiteral("Effacement des compteurs"));
            QCOMPARE(g.boites[0].texte,
                     QStringLiteral("Mettre à zéro tous les compteurs de rejets de cette liste ?"));
            QCOMPARE(g.boites[0].defaut, QMessageBox::No);
        }
        for (const structFiltre& l : listes().ListeExpediteurs.Lignes)
            QCOMPARE(l.Effectues, std::string("0"));
        QVERIFY(listes().ListeExpediteurs.Modifiee);
        QCOMPARE(texteCellule(f.Vue(0), 1, 3), QStringLiteral("0"));

        f.Onglets()->setCurrentIndex(5);
        Guichet g;
        g.Repondre(QMessageBox::No);
        g.Repondre(QMessageBox::Yes);
        f.Bouton(TFormRejets::Commande::Vider)->click();
        QCOMPARE(listes().Historique.Lignes.size(), std::size_t{2});
        f.Bouton(TFormRejets::Commande::Vider)->click();
        QVERIFY(g.Fini());
        QCOMPARE(g.boites[0].titre, QStringLiteral("Effacement de l'historique"));
        QCOMPARE(g.boites[0].texte, QStringLiteral("Détruire l'historique des rejets ?"));
        QCOMPARE(g.boites[0].icone, QMessageBox::Warning);
        QVERIFY(listes().Historique.Lignes.empty());
        QVERIFY(listes().Historique.Modifiee);
        QVERIFY(!f.Bouton(TFormRejets::Commande::Vider)->isEnabled());
        QVERIFY(!f.NombreRejets()->isVisible());
    }

    void aide() {
        ouvrir(5);
        TFormRejets& f = *f_;
        std::vector<std::string> sujets;
        f.SurAide = [&sujets](const std::string& sujet) { sujets.push_back(sujet); };
        f.Bouton(TFormRejets::Commande::Aide)->click();
        QTest::keyClick(f.Vue(5), Qt::Key_F1);
        f.Onglets()->setCurrentIndex(2);
        f.Bouton(TFormRejets::Commande::Aide)->click();
        QCOMPARE(sujets, (std::vector<std::string>{"historique", "gestion_filtres", "gestion_filtres"}));
    }

    // Inser, Entrée, double clic et menu ouvrent l'éditeur sur les onglets des filtres seulement.
    void commandesDeLEditeur() {
        ouvrir();
        TFormRejets& f = *f_;
        QTreeView* vue = f.Vue(0);
        choisir(vue, {1});
        Guichet g;
        for (int k = 0; k < 5; ++k)
            g.Annuler();
        QVERIFY(reactiver(f, vue));
        QTest::keyClick(vue, Qt::Key_Insert);
        f.EntreeMenuListe(TFormRejets::Commande::Creer)->trigger();
        // L'éditeur retrie la liste même annulé : la ligne est choisie de nouveau avant chaque modification.
        choisir(vue, {1});
        QVERIFY(reactiver(f, vue));
        QTest::keyClick(vue, Qt::Key_Return);
        choisir(vue, {1});
        f.Bouton(TFormRejets::Commande::Modifier)->click();
        choisir(vue, {1});
        // Le double clic lui-même est l'affaire de Qt (ses horodatages simulés se confondent avec
        // les clics précédents quand la machine est chargée) : la vue annonce le double clic.
        emit vue->doubleClicked(vue->model()->index(1, 0));
        QVERIFY2(g.Fini(), qPrintable(QStringList(g.titres.begin(), g.titres.end()).join(u'|') +
                                      QString::number(g.inattendues)));
        QCOMPARE(g.classes, (std::vector<QString>(5, QStringLiteral("TForm6"))));
        for (int k = 0; k < 5; ++k)
            QVERIFY2(g.titres[static_cast<std::size_t>(k)].startsWith(
                         k < 2 ? QStringLiteral("Tessaron - Créer un ")
                               : QStringLiteral("Tessaron - Modifier un ")),
                     qPrintable(g.titres[static_cast<std::size_t>(k)]));
        // Sur l'historique, ni Inser ni Entrée n'ouvrent l'éditeur.
        f.Onglets()->setCurrentIndex(5);
        QVERIFY(reactiver(f));
        Guichet rien;
        QTest::keyClick(f.Vue(5), Qt::Key_Insert);
        QTest::keyClick(f.Vue(5), Qt::Key_Return);
        QVERIFY(rien.Fini());
    }

    void impressionDansUnPdf_data() {
        QTest::addColumn<int>("onglet");
        QTest::addColumn<QString>("travail");
        QTest::addColumn<QString>("titre");
        QTest::newRow("historique") << 5 << QStringLiteral("Tessaron Historique")
                                    << QStringLiteral("Tessaron - Historique des rejets");
        QTest::newRow("filtres") << 0 << QStringLiteral("Tessaron Filtres") << QString();
    }
    void impressionDansUnPdf() {
        QFETCH(int, onglet);
        QFETCH(QString, travail);
        QFETCH(QString, titre);
        for (int i = 0; i < 120; ++i)
            listes().Historique.Lignes.push_back(histo("exp" + std::to_string(i) + "@x.fr"));
        ouvrir(onglet);
        TFormRejets& f = *f_;
        const QString chemin = dossier_.filePath(QStringLiteral("liste.pdf"));
        QFile::remove(chemin);
        QString nomTravail;
        int preparations = 0;
        f.PreparerImprimante = [&](QPrinter& imprimante) {
            ++preparations;
            nomTravail = imprimante.docName();
            QCOMPARE(imprimante.pageLayout().orientation(), QPageLayout::Portrait);
            imprimante.setOutputFormat(QPrinter::PdfFormat);
            imprimante.setOutputFileName(chemin);
        };
        Guichet g;
        g.Repondre(QMessageBox::No);
        g.Repondre(QMessageBox::Yes);
        f.Bouton(TFormRejets::Commande::Imprimer)->click();
        QCOMPARE(preparations, 0);
        f.Bouton(TFormRejets::Commande::Imprimer)->click();
        QVERIFY(g.Fini());
        QCOMPARE(g.boites[0].titre, QStringLiteral("Impression de la liste"));
        QCOMPARE(g.boites[0].texte, QStringLiteral("Imprimer sur l'imprimante par défaut ?"));
        QCOMPARE(g.boites[0].defaut, QMessageBox::No);
        QCOMPARE(nomTravail, travail);
        QFile pdf(chemin);
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        const QByteArray octets = pdf.readAll();
        QVERIFY(octets.startsWith("%PDF"));
        QVERIFY(octets.size() > 1000);

        const QString texte = TextePdf(chemin);
        if (titre.isEmpty()) {
            QVERIFY(!texte.contains(QStringLiteral("Historique")));
            for (const char* attendu : {"Expéditeurs", "a@x.fr", "¶promo", "§prix bas"})
                QVERIFY2(texte.contains(QString::fromUtf8(attendu)), qPrintable(texte));
            QVERIFY(!texte.contains(QStringLiteral("Rejeté/Accepté"))); // colonne cachée
        } else {
            // 120 lignes : plusieurs pages, le titre en haut de chacune.
            QVERIFY2(texte.count(titre) >= 2, qPrintable(texte));
            for (const char* attendu : {"Date - Heure", "exp0@x.fr", "exp119@x.fr"})
                QVERIFY2(texte.contains(QString::fromUtf8(attendu)), qPrintable(texte));
        }
    }
};

QTEST_MAIN(TestGestionFiltres)
#include "test_gestion_filtres.moc"
