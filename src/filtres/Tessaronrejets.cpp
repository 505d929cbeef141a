// Fenêtre des filtres : construction, onglets et panneaux, géométrie, boutons actifs, touches.
#include "Tessaronrejets.h"
#include "filtres/Tessaron6.h"

#include "ModeleHistorique.h"
#include "ModeleListeFiltres.h"
#include "moteur/EtatProgramme.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStackedWidget>
#include <QTabBar>
#include <QTreeView>
#include <QVBoxLayout>

namespace {

// Largeurs de conception des colonnes : motif, [À / Cc,] Avant, Pendant, Effectués ; la dernière
// colonne ("Rejeté/Accepté") est cachée.
constexpr int kLargeurMotif = 380;
constexpr int kLargeurLettre = 50;
constexpr int kLargeurPendant = 60;
constexpr int kLargeurEffectues = 65;

QLabel* caseLettre(QWidget* parent, const QString& lettre, const QString& bulle) {
    auto* c = new QLabel(lettre, parent);
    c->setFrameShape(QFrame::Box);
    c->setAlignment(Qt::AlignCenter);
    c->setFixedWidth(18);
    c->setToolTip(bulle);
    return c;
}

// Une suite "Légende :" puis une case par lettre, chacune avec sa bulle.
void ajouterLettres(QHBoxLayout* ligne, QWidget* parent, const QString& legende,
                    std::initializer_list<std::pair<const char*, const char*>> lettres) {
    if (!legende.isEmpty()) ligne->addWidget(new QLabel(legende, parent));
    for (const auto& [lettre, bulle] : lettres)
        ligne->addWidget(caseLettre(parent, QString::fromUtf8(lettre), QString::fromUtf8(bulle)));
}

QLabel* legendeCouleur(QWidget* parent, const QString& texte, const QColor& couleur) {
    auto* l = new QLabel(texte, parent);
    l->setTextFormat(Qt::PlainText);
    QPalette palette = l->palette();
    palette.setColor(QPalette::WindowText, couleur);
    l->setPalette(palette);
    return l;
}

QPushButton* bouton(QWidget* parent, const QString& texte, const QString& bulle) {
    auto* b = new QPushButton(texte, parent);
    b->setToolTip(bulle);
    b->setAutoDefault(false);
    // Jamais plus étroit que son texte : la rangée de boutons tient dans la largeur minimale.
    b->setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Fixed);
    return b;
}

} // namespace

TFormRejets::TFormRejets(EtatProgramme& etat, FichierIni& ini, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint), etat_(etat),
      edition_(std::make_unique<EditionFiltre>(etat, ini, this)) {
    setWindowTitle(QStringLiteral("Tessaron - Gestion des filtres"));
    setMinimumSize(640, 480);
    Modificateurs = [] { return QGuiApplication::queryKeyboardModifiers(); };
    // L'aide de l'éditeur passe par celle de la fenêtre.
    edition_->Dialogue().SurAide = [this](const std::string& sujet) {
        if (SurAide) SurAide(sujet);
    };

    ListesFiltres& listes = etat_.Listes;
    ListeFiltres* filtres[] = {&listes.ListeExpediteurs, &listes.ListeSujets, &listes.ListeDestinataires};
    for (int k = 0; k < 3; ++k)
        modelesFiltres_[static_cast<std::size_t>(k)] = new ModeleListeFiltres(*filtres[k], k, this);
    modeleHisto_ = new ModeleHistorique(listes.Historique, this);

    auto* disposition = new QVBoxLayout(this);
    onglets_ = new QTabBar(this);
    for (const char* titre :
         {"Par expéditeur", "Par sujet", "Par destinataire", "Réponse", "Exp. inexistant", "Historique"})
        onglets_->addTab(QString::fromUtf8(titre));
    onglets_->setExpanding(false);
    disposition->addWidget(onglets_);
    disposition->addWidget(construirePanneauLettres());
    disposition->addWidget(construirePanneauHistorique());
    pages_ = new QStackedWidget(this);
    for (int k = 0; k < 3; ++k)
        pages_->addWidget(construirePageFiltres(k));
    // Les panneaux de la réponse et de l'expéditeur inexistant viendront occuper ces deux pages.
    pages_->addWidget(new QWidget(pages_));
    pages_->addWidget(new QWidget(pages_));
    pages_->addWidget(construirePageHistorique());
    disposition->addWidget(pages_, 1);
    disposition->addWidget(construirePanneauBas());
    construireMenuListe();
    construireRaccourcis();
    RelireOptions();

    connect(onglets_, &QTabBar::currentChanged, this, &TFormRejets::TabControl1Change);
    TabControl1Change(0);
}

TFormRejets::~TFormRejets() = default;

QTreeView* TFormRejets::creerVue(ModeleListe* modele, bool plusieurs) {
    auto* vue = new QTreeView(this);
    vue->setRootIsDecorated(false);
    vue->setUniformRowHeights(true);
    vue->setAllColumnsShowFocus(true);
    vue->setEditTriggers(QAbstractItemView::NoEditTriggers);
    vue->setSelectionBehavior(QAbstractItemView::SelectRows);
    vue->setSelectionMode(plusieurs ? QAbstractItemView::ExtendedSelection
                                    : QAbstractItemView::SingleSelection);
    vue->setModel(modele);
    vue->header()->setStretchLastSection(false);
    vue->header()->setSectionsClickable(true);
    vue->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(vue->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { actualiserBoutons(); });
    return vue;
}

QWidget* TFormRejets::construirePageFiltres(int onglet) {
    auto* page = new QWidget(this);
    auto* disposition = new QVBoxLayout(page);
    disposition->setContentsMargins(0, 0, 0, 0);
    ModeleListeFiltres* modele = modelesFiltres_[static_cast<std::size_t>(onglet)];
    QTreeView* vue = creerVue(modele, true);
    vuesFiltres_[static_cast<std::size_t>(onglet)] = vue;
    const bool avecChamp = modele->Liste().AvecChamp;
    std::vector<int> largeurs = {kLargeurMotif};
    if (avecChamp) largeurs.push_back(kLargeurLettre);
    largeurs.insert(largeurs.end(), {kLargeurLettre, kLargeurPendant, kLargeurEffectues});
    for (std::size_t c = 0; c < largeurs.size(); ++c)
        vue->setColumnWidth(static_cast<int>(c), largeurs[c]);
    vue->setColumnHidden(modele->columnCount() - 1, true);
    connect(vue->header(), &QHeaderView::sectionClicked, this,
            [this, onglet](int colonne) { ListView1ColumnClick(onglet, colonne); });
    connect(vue, &QTreeView::doubleClicked, this, [this] { BtnModifierClick(); });
    connect(vue, &QTreeView::customContextMenuRequested, this,
            [this, onglet](const QPoint& position) { ouvrirMenuListe(onglet, position); });
    disposition->addWidget(vue, 1);
    QWidget* options = onglet == OngletExpediteurs ? construireOptionsExpediteur()
                       : onglet == OngletSujets    ? construireOptionsSujet()
                                                   : construireOptionsDestinataires();
    disposition->addWidget(options);
    return page;
}

QWidget* TFormRejets::construirePanneauLettres() {
    panneauLettres_ = new QWidget(this);
    auto* disposition = new QVBoxLayout(panneauLettres_);
    disposition->setContentsMargins(0, 0, 0, 0);
    auto* lettres = new QHBoxLayout;
    ajouterLettres(lettres, panneauLettres_, QStringLiteral("Avant :"),
                   {{"R", "Rejeter d'office sans rien demander"},
                    {"d", "Demander avant mais détruire si pas d'action"},
                    {"g", "Demander avant mais garder si pas d'action"},
                    {"c", "Comptabiliser seulement. Pas de rejet."}});
    lettres->addSpacing(12);
    ajouterLettres(lettres, panneauLettres_, QStringLiteral("Pendant :"),
                   {{"N", "Ne pas répondre"},
                    {"o", "Répondre en tant que PostMaster"},
                    {"v", "Répondre avec l'adresse de réception"},
                    {"s", "Répondre avec l'adresse spécifique"}});
    lettres->addSpacing(6);
    ajouterLettres(lettres, panneauLettres_, QString(),
                   {{"a", "Inclure le destinataire principal dans la réponse"},
                    {"c", "Inclure le destinataire en copie dans la réponse"},
                    {"x", "Inclure tous les destinataires dans la réponse"}});
    lettresDestinataires_ = new QWidget(panneauLettres_);
    auto* champs = new QHBoxLayout(lettresDestinataires_);
    champs->setContentsMargins(12, 0, 0, 0);
    ajouterLettres(champs, lettresDestinataires_, QStringLiteral("A / Cc :"),
                   {{"A", "Destinataire principal"},
                    {"C", "Destinataire en copie"},
                    {"L", "L'un ou l'autre des destinataires"}});
    lettres->addWidget(lettresDestinataires_);
    lettres->addStretch();
    disposition->addLayout(lettres);
    disposition->addWidget(
        legendeCouleur(panneauLettres_, QStringLiteral("  Les libellés en pourpre sont de type \"partiel\""),
                       ModeleListeFiltres::CouleurMotif(std::string(1, kMarquePartiel))));
    legendeMotsMultiples_ = legendeCouleur(
        panneauLettres_, QStringLiteral("Les libellés en bleu sont de type \"mots multiples\""),
        ModeleListeFiltres::CouleurMotif(std::string(1, kMarqueMotsMultiples)));
    disposition->addWidget(legendeMotsMultiples_);
    return panneauLettres_;
}

QWidget* TFormRejets::construirePanneauBas() {
    panneauBas_ = new QWidget(this);
    auto* d = new QHBoxLayout(panneauBas_);
    d->setContentsMargins(0, 0, 0, 0);
    d->setSpacing(4);
    btnCreer_ = bouton(panneauBas_, QStringLiteral("Créer"), QStringLiteral("Créer"));
    btnModifier_ = bouton(panneauBas_, QStringLiteral("Modifier"), QStringLiteral("Modifier"));
    btnSupprimer_ = bouton(panneauBas_, QStringLiteral("Supprimer"), QStringLiteral("Supprimer"));
    btnExcel_ = bouton(panneauBas_, QStringLiteral("Excel"), QStringLiteral("Import/Export Excel"));
    btnExcel_->setEnabled(false); // l'échange avec un tableur n'est pas encore là
    btnRechercher_ = bouton(panneauBas_, QStringLiteral("Chercher"),
                            QStringLiteral("Recherche un élément dans la liste <F3>"));
    btnImprimer_ = bouton(panneauBas_, QStringLiteral("Imprimer"),
                          QStringLiteral("Imprime la liste sur l'imprimante par défaut"));
    btnRaz_ = bouton(panneauBas_, QStringLiteral("Zéro"),
                     QStringLiteral("Met à zéro les compteurs de rejets effectués"));
    btnAide_ = bouton(panneauBas_, QStringLiteral("Aide"), QStringLiteral("<F1> = Aide"));
    btnFermer_ = bouton(panneauBas_, QStringLiteral("Fermer"),
                        QStringLiteral("Si <Alt> , sauvegarde les listes sur disque immédiatement"));
    for (QPushButton* b :
         {btnCreer_, btnModifier_, btnSupprimer_, btnExcel_, btnRechercher_, btnImprimer_, btnRaz_})
        d->addWidget(b);
    d->addStretch();
    d->addWidget(btnAide_);
    d->addWidget(btnFermer_);
    connect(btnCreer_, &QPushButton::clicked, this, &TFormRejets::BtnCreerClick);
    connect(btnModifier_, &QPushButton::clicked, this, &TFormRejets::BtnModifierClick);
    connect(btnSupprimer_, &QPushButton::clicked, this, &TFormRejets::BtnSupprimerClick);
    connect(btnRechercher_, &QPushButton::clicked, this, [this] { Rechercher(true); });
    connect(btnImprimer_, &QPushButton::clicked, this, &TFormRejets::BtnImprimerClick);
    connect(btnRaz_, &QPushButton::clicked, this, &TFormRejets::BtnRemiseAZeroClick);
    connect(btnAide_, &QPushButton::clicked, this, &TFormRejets::BtnAideClick);
    connect(btnFermer_, &QPushButton::clicked, this, &TFormRejets::BtnFermerClick);
    return panneauBas_;
}

void TFormRejets::construireMenuListe() {
    menuListe_ = new QMenu(this);
    // Les touches sont montrées dans le menu ; ce sont les raccourcis de la fenêtre qui agissent.
    const auto entree = [this](const QString& texte, QKeySequence touche, void (TFormRejets::*commande)()) {
        QAction* a = menuListe_->addAction(texte + u'\t' + touche.toString(QKeySequence::NativeText));
        connect(a, &QAction::triggered, this, commande);
        return a;
    };
    entreeCreer_ = entree(QStringLiteral("Créer"), QKeySequence(Qt::Key_Insert), &TFormRejets::BtnCreerClick);
    entreeSupprimer_ =
        entree(QStringLiteral("Supprimer"), QKeySequence(Qt::Key_Delete), &TFormRejets::BtnSupprimerClick);
    entreeModifier_ =
        entree(QStringLiteral("Modifier"), QKeySequence(Qt::Key_Return), &TFormRejets::BtnModifierClick);
}

void TFormRejets::construireRaccourcis() {
    // Les touches de la fenêtre passent avant celles des listes (Ctrl+Pg.préc. n'y fait pas défiler).
    const auto raccourci = [this](QKeySequence touches, auto action) {
        auto* r = new QShortcut(touches, this);
        r->setContext(Qt::WindowShortcut);
        connect(r, &QShortcut::activated, this, action);
        return r;
    };
    raccourci(QKeySequence(Qt::CTRL | Qt::Key_PageUp), [this] { OngletVoisin(-1); });
    raccourci(QKeySequence(Qt::CTRL | Qt::Key_PageDown), [this] { OngletVoisin(1); });
    raccourci(QKeySequence(Qt::Key_F3), [this] { Rechercher(false); });
    raccourci(QKeySequence(Qt::CTRL | Qt::Key_F), [this] { Rechercher(true); });
    raccourci(QKeySequence(Qt::Key_F1), [this] {
        if (SurAide) SurAide("gestion_filtres");
    });
    raccourci(QKeySequence(Qt::Key_Escape), [this] { BtnFermerClick(); });
    raccourcisFiltres_ = {raccourci(QKeySequence(Qt::Key_Insert), [this] { BtnCreerClick(); }),
                          raccourci(QKeySequence(Qt::Key_Delete), [this] { BtnSupprimerClick(); }),
                          raccourci(QKeySequence(Qt::Key_Return), [this] { BtnModifierClick(); }),
                          raccourci(QKeySequence(Qt::Key_Enter), [this] { BtnModifierClick(); })};
}

// ---------------------------------------------------------------- montrer, géométrie

void TFormRejets::Montrer(int onglet) {
    appliquerGeometrieInitiale();
    onglet = std::clamp(onglet, 0, NbOnglets - 1);
    // Même onglet : il est tout de même remis en place (légendes selon le délai, boutons).
    if (onglets_->currentIndex() != onglet)
        onglets_->setCurrentIndex(onglet);
    else
        TabControl1Change(onglet);
    if (isMinimized())
        showNormal();
    else
        show();
    raise();
    activateWindow();
    donnerFocusListe();
}

void TFormRejets::showEvent(QShowEvent* evenement) {
    appliquerGeometrieInitiale();
    QWidget::showEvent(evenement);
}

// À la première apparition : position et taille enregistrées, ramenées sur l'écran quand elles
// sont absurdes (fenêtre hors de l'écran, taille nulle ou démesurée).
void TFormRejets::appliquerGeometrieInitiale() {
    if (montree_) return;
    montree_ = true;
    const ParametresGlobaux& p = etat_.Parametres;
    const QScreen* ecranCourant = screen() ? screen() : QGuiApplication::primaryScreen();
    const QRect ecran = ecranCourant ? ecranCourant->availableGeometry() : QRect(0, 0, 1920, 1080);
    const int largeur = (p.RejWidth <= 0 || p.RejWidth > 4 * ecran.width()) ? 640 : p.RejWidth;
    const int hauteur = (p.RejHeight <= 0 || p.RejHeight > 4 * ecran.height()) ? 478 : p.RejHeight;
    const int gauche =
        (p.RejLeft < ecran.left() - largeur + 50 || p.RejLeft > ecran.right() - 50) ? 10 : p.RejLeft;
    const int haut = (p.RejTop < ecran.top() || p.RejTop > ecran.bottom() - 50) ? 10 : p.RejTop;
    setGeometry(gauche, haut, std::max(largeur, minimumWidth()), std::max(hauteur, minimumHeight()));
}

void TFormRejets::MemoriserGeometrie() {
    ParametresGlobaux& p = etat_.Parametres;
    if (montree_) {
        const QRect normale = normalGeometry().isValid() ? normalGeometry() : geometry();
        p.RejTop = normale.top();
        p.RejLeft = normale.left();
        p.RejHeight = normale.height();
        p.RejWidth = normale.width();
    }
    for (std::size_t k = 0; k < p.ColHist.size(); ++k)
        p.ColHist[k] = vueHisto_->columnWidth(static_cast<int>(k));
}

void TFormRejets::closeEvent(QCloseEvent* evenement) {
    // La case de fermeture fait comme "Fermer", sans l'enregistrement immédiat.
    evenement->ignore();
    fermer(false);
}

// ---------------------------------------------------------------- onglets

int TFormRejets::OngletCourant() const {
    return onglets_->currentIndex();
}

QTreeView* TFormRejets::Vue(int onglet) const {
    if (onglet >= 0 && onglet < 3) return vuesFiltres_[static_cast<std::size_t>(onglet)];
    return onglet == OngletHistorique ? vueHisto_ : nullptr;
}

ModeleListe* TFormRejets::modele(int onglet) const {
    if (onglet >= 0 && onglet < 3) return modelesFiltres_[static_cast<std::size_t>(onglet)];
    return onglet == OngletHistorique ? modeleHisto_ : nullptr;
}

ListeFiltres* TFormRejets::listeFiltres(int onglet) const {
    if (onglet < 0 || onglet >= 3) return nullptr;
    return &modelesFiltres_[static_cast<std::size_t>(onglet)]->Liste();
}

void TFormRejets::OngletVoisin(int pas) {
    onglets_->setCurrentIndex((OngletCourant() + pas + NbOnglets) % NbOnglets);
}

void TFormRejets::TabControl1Change(int onglet) {
    pages_->setCurrentIndex(onglet);
    const bool filtres = onglet >= 0 && onglet < 3;
    const bool historique = onglet == OngletHistorique;
    panneauLettres_->setVisible(filtres);
    lettresDestinataires_->setVisible(onglet == OngletDestinataires);
    legendeMotsMultiples_->setVisible(onglet == OngletSujets || onglet == OngletDestinataires);
    panneauHisto_->setVisible(historique);
    panneauBas_->setVisible(filtres || historique);
    // L'historique n'a ni filtres à créer ou modifier, ni compteurs, ni échange avec un tableur.
    for (QPushButton* b : {btnCreer_, btnModifier_, btnSupprimer_, btnExcel_, btnRaz_})
        b->setVisible(filtres);
    for (QShortcut* r : raccourcisFiltres_)
        r->setEnabled(filtres);
    if (onglet == OngletExpediteurs) relibellerExpEtSujet();
    if (onglet == OngletSujets || onglet == OngletDestinataires) relibellerActions();
    actualiserBoutons();
    donnerFocusListe();
}

void TFormRejets::donnerFocusListe() {
    QTreeView* vue = vueVisible();
    if (vue && isVisible()) vue->setFocus();
}

// ---------------------------------------------------------------- état des commandes

void TFormRejets::actualiserBoutons() {
    const int onglet = OngletCourant();
    const ModeleListe* m = modele(onglet);
    const bool lignes = m && m->rowCount() > 0;
    for (QPushButton* b : {btnRechercher_, btnImprimer_, btnRaz_})
        b->setEnabled(lignes);
    btnVider_->setEnabled(modeleHisto_->rowCount() > 0);
    // Sélection comptée par plages, sans parcourir toutes les lignes choisies.
    int choisies = 0;
    if (onglet < 3 && m) {
        for (const QItemSelectionRange& plage : Vue(onglet)->selectionModel()->selection()) {
            choisies += plage.height();
            if (choisies > 1) break;
        }
    }
    btnSupprimer_->setEnabled(choisies >= 1);
    entreeSupprimer_->setEnabled(choisies >= 1);
    btnModifier_->setEnabled(choisies == 1);
    entreeModifier_->setEnabled(choisies == 1);
    actualiserNombreRejets();
}

QAbstractButton* TFormRejets::Bouton(Commande commande) const {
    switch (commande) {
    case Commande::Creer:
        return btnCreer_;
    case Commande::Modifier:
        return btnModifier_;
    case Commande::Supprimer:
        return btnSupprimer_;
    case Commande::ImportExport:
        return btnExcel_;
    case Commande::Rechercher:
        return btnRechercher_;
    case Commande::Imprimer:
        return btnImprimer_;
    case Commande::RemiseAZero:
        return btnRaz_;
    case Commande::Vider:
        return btnVider_;
    case Commande::Exporter:
        return btnExporter_;
    case Commande::Aide:
        return btnAide_;
    case Commande::Fermer:
        return btnFermer_;
    }
    return nullptr;
}

QAction* TFormRejets::EntreeMenuListe(Commande commande) const {
    switch (commande) {
    case Commande::Creer:
        return entreeCreer_;
    case Commande::Supprimer:
        return entreeSupprimer_;
    case Commande::Modifier:
        return entreeModifier_;
    default:
        return nullptr;
    }
}

// ---------------------------------------------------------------- listes

void TFormRejets::ListesChargees() {
    for (ModeleListeFiltres* m : modelesFiltres_)
        m->Recharger();
    modeleHisto_->Recharger();
    tris_ = {};
    for (QTreeView* vue : {vuesFiltres_[0], vuesFiltres_[1], vuesFiltres_[2], vueHisto_})
        vue->header()->setSortIndicatorShown(false);
    actualiserBoutons();
}

void TFormRejets::Rafraichir() {
    for (ModeleListeFiltres* m : modelesFiltres_)
        m->Actualiser();
    modeleHisto_->Actualiser();
    actualiserBoutons();
}

void TFormRejets::AppliquerCouleur(const QColor& fond) {
    // Une couleur invalide rend le fond du thème.
    for (QTreeView* vue : {vuesFiltres_[0], vuesFiltres_[1], vuesFiltres_[2], vueHisto_}) {
        QPalette palette = QApplication::palette(vue);
        if (fond.isValid()) palette.setColor(QPalette::Base, fond);
        vue->setPalette(palette);
    }
}

std::vector<int> TFormRejets::lignesSelectionnees(const QTreeView* vue) const {
    std::vector<int> lignes;
    if (!vue) return lignes;
    for (const QItemSelectionRange& plage : vue->selectionModel()->selection())
        for (int l = plage.top(); l <= plage.bottom(); ++l)
            lignes.push_back(l);
    std::sort(lignes.begin(), lignes.end());
    lignes.erase(std::unique(lignes.begin(), lignes.end()), lignes.end());
    return lignes;
}

void TFormRejets::selectionnerSeule(QTreeView* vue, int ligne) {
    if (!vue || ligne < 0 || ligne >= vue->model()->rowCount()) return;
    const QModelIndex cible = vue->model()->index(ligne, 0);
    vue->selectionModel()->setCurrentIndex(cible,
                                           QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    vue->scrollTo(cible);
}
