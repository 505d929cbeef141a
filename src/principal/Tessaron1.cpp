#include "Tessaron1.h"

#include "BarreEtat.h"
#include "IconeTray.h"
#include "JournalDebug.h"
#include "ModeleTableau.h"
#include "TriMessages.h"
#include "dialogues/Tessaron3.h"
#include "dialogues/Tessaron7.h"
#include "donnees/Chaines.h"
#include "donnees/Cp1252.h"
#include "donnees/FichiersListes.h"
#include "filtres/Tessaronrejets.h"
#include "moteur/ChargerBoites.h"
#include "moteur/MaintenanceBoites.h"
#include "moteur/VoirMessage.h"
#include "moteur/pop3/ClientPop3.h"
#include "moteur/pop3/ContexteSsl.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QSplitter>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace {

QTreeView* creerVueListe(QWidget* parent, ModeleTableau* modele) {
    auto* vue = new QTreeView(parent);
    vue->setRootIsDecorated(false);
    vue->setUniformRowHeights(true);
    vue->setAllColumnsShowFocus(true);
    vue->setEditTriggers(QAbstractItemView::NoEditTriggers);
    vue->setModel(modele);
    return vue;
}

// Largeurs de conception des colonnes ; -1 garde la largeur par défaut.
void appliquerLargeurs(QTreeView* vue, std::initializer_list<int> largeurs) {
    int colonne = 0;
    for (int largeur : largeurs) {
        if (largeur >= 0) vue->setColumnWidth(colonne, largeur);
        ++colonne;
    }
}

} // namespace

TForm1::TForm1(DossierDonnees dossier, QWidget* parent)
    : QMainWindow(parent), dossier_(std::move(dossier)),
      ini_(dossier_.fichierIni()), contexte_{etat_, boites_, messages_, *this} {
    setWindowTitle(QStringLiteral("Tessaron"));
    etat_.ContexteSsl = CreerContexteSsl();
    // Port SMTP des sondes d'existence des expéditeurs : 25, sauf pour des essais locaux.
    const int portSonde = qEnvironmentVariableIntValue("TESSARON_PORT_SONDE_SMTP");
    if (portSonde > 0 && portSonde < 65536) etat_.PortSondeSmtp = portSonde;
    const int portReponse = qEnvironmentVariableIntValue("TESSARON_PORT_REPONSE_SMTP");
    if (portReponse > 0 && portReponse < 65536) etat_.PortReponseSmtp = portReponse;
    scrutation_ = std::make_unique<Scrutation>(contexte_);
    etat_.Parametres = LireParametresGlobaux(ini_);
    construireBarreEtat();
    construireListes();
    construireRaccourcis();
    chargerDonnees();
    creerVisionneuse();
    creerFenetreInterception();
    creerGestionnaireFiltres();
    construireTray();
    appliquerEtatScrutation();
    if (!IconeTray::Disponible()) EcrireStatut(0, Chaine(90402));
    // Ctrl enfoncé au démarrage : pas de vérification des actualités pendant cette exécution.
    if (QGuiApplication::queryKeyboardModifiers() & Qt::ControlModifier) etat_.VerifActualitesFaite = true;
    QApplication::setQuitOnLastWindowClosed(false);
}

void TForm1::creerVisionneuse() {
    form3_ = new TForm3(etat_.Parametres.NbLigMsg, this);
    form3_->UtiliserFichierIni(&ini_);
    form3_->SurDefaut = [this](int nbLignes) { etat_.Parametres.NbLigMsg = nbLignes; };
    form3_->SurVoir = [this](int nbLignes) { lireMessage(false, nbLignes, true); };
    form3_->SurSupprimer = [this](bool sansConfirmation) { SupprimerMessagesSelectionnes(sansConfirmation); };
    form3_->SelectionEstLeMessage = [this](const std::string& uidl) {
        const QModelIndexList selection = listeMessages_->selectionModel()->selectedRows();
        return selection.size() == 1 && messages_.Ligne(selection.first().row()).Colonnes[ColUidl] == uidl;
    };
}

int TForm1::ligneMessageSelectionnee() const {
    const QModelIndexList selection = listeMessages_->selectionModel()->selectedRows();
    return selection.size() == 1 ? selection.first().row() : -1;
}

void TForm1::VoirMessageSelectionne(bool entete) {
    if (ligneMessageSelectionnee() < 0) return;
    lireMessage(entete, form3_->NbLignes(), false);
}

// Lecture puis affichage ; une ligne qui n'est plus fidèle au serveur fait prévenir et
// interroger de nouveau sa boîte.
bool TForm1::lireMessage(bool entete, int nbLignes, bool relecture) {
    const int ligne = ligneMessageSelectionnee();
    if (ligne < 0) return false;
    const ResultatVoir r =
        VoirMessage(contexte_, ligne, entete ? ModeVoir::Entete : ModeVoir::Texte, nbLignes);
    if (r.Etat == EtatVoir::Occupe) return false;
    if (r.ListeARafraichir()) {
        SignalerListePerimee();
        scrutation_->Timer1Timer(OrigineScrutation::MenuBoite, r.LigneBoite);
        return false;
    }
    if (relecture)
        form3_->Remplir(r);
    else
        form3_->Montrer(r);
    DonnerFocusListeMessages();
    return true;
}

void TForm1::creerFenetreInterception() {
    form7_ = new TForm7(etat_.Parametres.DelaiRejeterGarder, this);
    form7_->SurInterrompre = [this] { scrutation_->BtnInterrompreClick(); };
    form7_->SurArretScrutation = [this](bool enfonce) {
        etat_.ArretDepuisInterception = enfonce;
        etat_.ScrutationActive = !enfonce;
        EcrireStatut(0, Chaine(enfonce ? 1010 : 1100));
    };
}

TForm1::~TForm1() {
    disconnect(sortieListeBoites_);
    // Les vues et leurs modèles lisent les listes : ils partent avant elles (les enfants Qt
    // ne seraient détruits qu'après les membres).
    qApp->removeEventFilter(this);
    boites_.RetirerObservateur(modeleBoites_);
    messages_.RetirerObservateur(modeleMessages_);
    delete formRejets_;
    delete form7_;
    delete takeCentralWidget();
    delete modeleBoites_;
    delete modeleMessages_;
}

QVariant TForm1::styleMessage(int ligne, int colonne, int role) const {
    const LigneMessage& m = messages_.Ligne(ligne);
    switch (role) {
    case Qt::TextAlignmentRole:
        return colonne == ColTaille ? QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter) : QVariant();
    case Qt::DecorationRole:
        return colonne == 0 ? QVariant(icones_.Message(m.Icone)) : QVariant();
    case Qt::BackgroundRole:
        return ligne % 2 == 1 ? QVariant(QColor(248, 248, 187)) : QVariant();
    case Qt::ForegroundRole:
    case Qt::FontRole: {
        // Les messages de la boîte sélectionnée dans la liste des boîtes : violet et gras.
        const int boite = ligneBoiteSelectionnee();
        if (boite < 0 || m.Colonnes[ColBoiteOrigine] != boites_.Ligne(boite).Caption()) return {};
        if (role == Qt::ForegroundRole) return QColor(128, 0, 128);
        QFont gras = QApplication::font();
        gras.setBold(true);
        return gras;
    }
    default:
        return {};
    }
}

void TForm1::trierMessages(int colonne) {
    if (!ColonneTriable(colonne, messages_.Nombre())) return;
    ordreDecroissant_ = colonne == colonneTri_ ? !ordreDecroissant_ : false;
    colonneTri_ = colonne;
    const bool decroissant = ordreDecroissant_;
    messages_.Trier([colonne, decroissant](const LigneMessage& a, const LigneMessage& b) {
        return decroissant ? AvantDansColonne(b, a, colonne) : AvantDansColonne(a, b, colonne);
    });
    listeMessages_->header()->setSortIndicator(colonne,
                                               decroissant ? Qt::DescendingOrder : Qt::AscendingOrder);
    listeMessages_->header()->setSortIndicatorShown(true);
}

void TForm1::AppliquerCouleurListes(std::uint32_t couleur) {
    // Une couleur système (0xFF0000nn) laisse les couleurs du thème ; sinon 0x00BBGGRR.
    QColor fond;
    if ((couleur & 0xFF000000u) == 0)
        fond = QColor(static_cast<int>(couleur & 0xFF), static_cast<int>((couleur >> 8) & 0xFF),
                      static_cast<int>((couleur >> 16) & 0xFF));
    for (QTreeView* vue : {listeBoites_, listeMessages_}) {
        QPalette palette = QApplication::palette(vue);
        if (fond.isValid()) palette.setColor(QPalette::Base, fond);
        vue->setPalette(palette);
    }
    formRejets_->AppliquerCouleur(fond);
}

QStringList TForm1::entetesMessages() const {
    QStringList entetes;
    for (int k = 0; k < NbColonnesMessage; ++k)
        entetes << ChaineQ(k == 1 ? (etat_.Parametres.FromReturnPath == 0 ? 10011 : 10012) : 10000 + k);
    return entetes;
}

QStringList TForm1::entetesBoites() const {
    QStringList entetes;
    for (int k = 0; k < NbColonnesBoite; ++k)
        entetes << (k < 6 ? ChaineQ(20000 + k) : QString());
    return entetes;
}

void TForm1::construireListes() {
    modeleBoites_ = new ModeleTableau(
        {[this] { return boites_.Nombre(); },
         [this](int l, int c) -> const std::string& {
             return boites_.Ligne(l).Colonnes[static_cast<std::size_t>(c)];
         },
         [this](int l, int c, int role) -> QVariant {
             if (role == Qt::TextAlignmentRole && (c == ColIntervalle || c == ColNbMsg))
                 return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
             if (role == Qt::DecorationRole && c == 0) return icones_.Boite(boites_.Ligne(l).Icone);
             // Relève coupée : toute la liste en gris, sans style par ligne.
             if (!etat_.ScrutationActive)
                 return role == Qt::ForegroundRole
                            ? QVariant(QApplication::palette().color(QPalette::Disabled, QPalette::Text))
                            : QVariant();
             const LigneBoite& ligne = boites_.Ligne(l);
             if (role == Qt::FontRole && ligne.Donnees && ligne.Donnees->Demarrage) {
                 QFont gras = QApplication::font();
                 gras.setBold(true);
                 return gras;
             }
             if (c != ColNbMsg || ligne.Colonnes[ColNbMsg].empty()) return {};
             if (role == Qt::ForegroundRole && ligne.Colonnes[ColNbMsg] == Chaine(1013))
                 return QColor(Qt::red);
             if (role == Qt::BackgroundRole && ligne.Colonnes[ColNbMsg] != Chaine(1013))
                 return QColor(255, 238, 255);
             return {};
         }},
        entetesBoites(), this);
    boites_.AjouterObservateur(modeleBoites_);
    modeleMessages_ =
        new ModeleTableau({[this] { return messages_.Nombre(); },
                           [this](int l, int c) -> const std::string& {
                               return messages_.Ligne(l).Colonnes[static_cast<std::size_t>(c)];
                           },
                           [this](int l, int c, int role) -> QVariant { return styleMessage(l, c, role); }},
                          entetesMessages(), this);
    messages_.AjouterObservateur(modeleMessages_);

    auto* central = new QWidget(this);
    auto* disposition = new QVBoxLayout(central);
    separateur_ = new QSplitter(Qt::Vertical, central);
    auto* separateur = separateur_;
    auto* groupe = new QGroupBox(separateur);
    groupeBoites_ = groupe;
    auto* dispositionBoites = new QHBoxLayout(groupe);
    button1_ = new QPushButton(QStringLiteral("Interroger"), groupe);
    button1_->setToolTip(QStringLiteral("Interroge toutes les boîtes immédiatement <F5>"));
    connect(button1_, &QPushButton::clicked, this, [this] { scrutation_->Button1Click(); });
    listeBoites_ = creerVueListe(groupe, modeleBoites_);
    appliquerLargeurs(listeBoites_, {150, 70, 65, -1, -1, 100});
    listeBoites_->setColumnHidden(ColTypeRejet, true);
    listeBoites_->setColumnHidden(ColNatureRejet, true);
    connect(listeBoites_, &QTreeView::doubleClicked, this,
            [this] { scrutation_->Timer1Timer(OrigineScrutation::ListeBoites, ligneBoiteSelectionnee()); });
    auto* commandes = new QGridLayout;
    commandes->setSpacing(2);
    commandes->addWidget(button1_, 0, 0, 1, 3);
    construireCommandes(commandes);
    dispositionBoites->addLayout(commandes);
    auto* boutonsGauche = new QVBoxLayout;
    auto* colonneDebug = new QVBoxLayout;
    construireBoutonsBoites(boutonsGauche, colonneDebug);
    boutonsGauche->addStretch();
    colonneDebug->addWidget(journal_->Etiquette());
    colonneDebug->addStretch();
    dispositionBoites->addLayout(boutonsGauche);
    dispositionBoites->addWidget(listeBoites_);
    dispositionBoites->addLayout(colonneDebug);

    // Le panneau des boîtes ne descend pas sous 138 pixels, la zone des messages garde au moins 100.
    groupe->setMinimumHeight(kHauteurMinBoites);
    separateur->setChildrenCollapsible(false);
    connect(separateur, &QSplitter::splitterMoved, this, [this] { SeparateurDeplace(); });
    auto* basse = new QWidget(separateur);
    basse->setMinimumHeight(kHauteurMinMessages);
    auto* dispositionMessages = new QVBoxLayout(basse);
    dispositionMessages->setContentsMargins(0, 0, 0, 0);
    titreMessages_ = new QLabel(basse);
    listeMessages_ = creerVueListe(basse, modeleMessages_);
    listeMessages_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    appliquerLargeurs(listeMessages_, {54, 150, 240, 120, -1, 200, 200, -1, 100, 100});
    listeMessages_->setColumnHidden(ColUidl, true);
    listeMessages_->header()->setSectionsClickable(true);
    connect(listeMessages_->header(), &QHeaderView::sectionClicked, this, &TForm1::trierMessages);
    connect(listeMessages_, &QTreeView::doubleClicked, this, [this] { VoirMessageSelectionne(false); });
    construireRaccourcisMessages();
    listeBoites_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(listeBoites_, &QTreeView::customContextMenuRequested, this, &TForm1::ouvrirMenuBoites);
    // Entrée : début du message ; Ctrl+E : son en-tête (quand la liste a le focus).
    for (const auto& [touches, entete] :
         {std::pair{QKeySequence(Qt::Key_Return), false}, std::pair{QKeySequence(Qt::Key_Enter), false},
          std::pair{QKeySequence(Qt::CTRL | Qt::Key_E), true}}) {
        auto* raccourci = new QShortcut(touches, listeMessages_);
        raccourci->setContext(Qt::WidgetShortcut);
        const bool modeEntete = entete;
        connect(raccourci, &QShortcut::activated, this,
                [this, modeEntete] { VoirMessageSelectionne(modeEntete); });
    }
    // Un clic dans la liste arrête l'animation de l'icône (sans examen des erreurs).
    connect(listeMessages_, &QTreeView::clicked, this, [this] {
        tray_->Animer(false);
        tray_->Image(etat_.ScrutationActive ? (messages_.Nombre() > 0 ? 1 : 0) : 2);
    });
    dispositionMessages->addWidget(titreMessages_);
    dispositionMessages->addWidget(listeMessages_);
    disposition->addWidget(separateur);
    setCentralWidget(central);
}

void TForm1::construireBarreEtat() {
    barre_ = new BarreEtat(this);
    setStatusBar(barre_);
    barre_->SetNbEvenements(etat_.Parametres.NbEvenements);
    barre_->CompteursDns = [this] {
        return std::pair{etat_.AdressesExistantes.size(), etat_.AdressesInexistantes.size()};
    };
    barre_->SurLigneHistorique = [this](const std::string& texte) { journal_->EchoStatut(texte); };
    connect(barre_->BtnInterrompre(), &QPushButton::clicked, this,
            [this] { scrutation_->BtnInterrompreClick(); });
    journal_ = new JournalDebug(etat_.Parametres.ModeDebug,
                                dossier_.dossier + QStringLiteral("/TessaronDebug.txt"), this);
    journal_->SurBulleTray = [this](const std::string& texte) { BulleIconeTray(texte); };
    journal_->SurTexteFichier = [this](const std::string& texte) { EcrireStatut(1, texte); };
    journal_->SurFinModeFichier = [this] { AfficherEtatFiltres(); };
    // Les bulles d'aide longues s'affichent dans le panneau 0 ; la barre revient une seconde après.
    minuteurAide_ = new QTimer(this);
    minuteurAide_->setInterval(1000);
    connect(minuteurAide_, &QTimer::timeout, this, [this] {
        minuteurAide_->stop();
        barre_->RetablirApresAide();
    });
}

bool TForm1::event(QEvent* evenement) {
    if (evenement->type() == QEvent::StatusTip) {
        afficherAide(static_cast<QStatusTipEvent*>(evenement)->tip());
        return true;
    }
    return QMainWindow::event(evenement);
}

void TForm1::afficherAide(const QString& aide) {
    if (aide.isEmpty() || aide == barre_->BtnDrapeau()->toolTip()) return;
    barre_->AfficherAide(aide);
    minuteurAide_->start();
}

// Ce que chaque boîte créée reçoit : la fenêtre pour parent de son client et de son minuteur,
// le contexte TLS du programme et l'interrogation à chaque tic.
ContexteCreationBoite TForm1::contexteCreationBoite() {
    ContexteCreationBoite creation;
    creation.proprietaire = this;
    creation.contexteSsl = &etat_.ContexteSsl;
    creation.surMinuteur = [this](ClientPop3* client) {
        scrutation_->Timer1Timer(OrigineScrutation::Minuteur, -1, client);
    };
    return creation;
}

void TForm1::chargerDonnees() {
    etat_.MotDePasseDemarrage = etat_.Parametres.Protege;
    if (!etat_.MotDePasseDemarrage.empty() && !demanderMotDePasse(1003, nullptr)) {
        // Refus : le programme s'arrête sans rien charger ni enregistrer.
        refuse_ = true;
        fermetureFaite_ = true;
        return;
    }
    ChargerBoites(ini_, etat_.MotDePasseDemarrage.empty() ? nullptr : &etat_.MotDePasseDemarrage, boites_,
                  etat_.SectionsBoites, contexteCreationBoite());
    etat_.Jokers.Charger(ini_);
    etat_.PreparerCorrespondance();
    legenderGroupeBoites();
    appliquerParametres();
    AfficherEtatFiltres();
}

// "%d boîte aux lettres" ou "%d boîtes aux lettres", puis l'invitation au clic droit.
void TForm1::legenderGroupeBoites() {
    const int n = boites_.Nombre();
    QString format = ChaineQ(n > 1 ? 1593 : 1592);
    format.replace(QStringLiteral("%d"), QString::number(n));
    groupeBoites_->setTitle(format + ChaineQ(1005));
}

void TForm1::appliquerParametres() {
    const ParametresGlobaux& p = etat_.Parametres;
    // Une géométrie absurde (nulle, négative, démesurée) ne doit pas rendre la fenêtre inaccessible.
    const QRect ecran = screen() ? screen()->availableGeometry() : QRect(0, 0, 1920, 1080);
    const int largeurFenetre =
        (p.Width < 200 || p.Width > 4 * ecran.width()) ? 640 : std::min(p.Width, ecran.width());
    const int hauteurFenetre =
        (p.Height < 150 || p.Height > 4 * ecran.height()) ? 478 : std::min(p.Height, ecran.height());
    const int gauche = p.Left > ecran.right() - 50 ? 10 : p.Left;
    const int haut = p.Top > ecran.bottom() - 50 ? 10 : p.Top;
    setGeometry(gauche, haut, largeurFenetre, hauteurFenetre);
    for (int n = 0; n < NbColonnesMessage; ++n) {
        const int largeur = p.Col[static_cast<std::size_t>(n)];
        // La colonne des identifiants reste cachée quelle que soit la largeur enregistrée.
        if (n != ColUidl && largeur >= 0) listeMessages_->setColumnWidth(n, std::min(largeur, 2000));
    }
    for (int n = 0; n < NbColonnesBoite; ++n) {
        const int largeur = p.Col[static_cast<std::size_t>(n + 10)];
        if (largeur >= 0 && n != ColTypeRejet && n != ColNatureRejet)
            listeBoites_->setColumnWidth(n, std::min(largeur, 2000));
    }
    separateur_->setSizes({std::max(p.HauteurBoites, 138), std::max(p.Height - p.HauteurBoites, 100)});
}

// Les valeurs que la fenêtre tient elle-même, relues avant l'enregistrement.
void TForm1::relireDisposition() {
    ParametresGlobaux& p = etat_.Parametres;
    const QRect normale = normalGeometry();
    p.PleinEcran = isMaximized();
    p.Top = normale.top();
    p.Left = normale.left();
    p.Width = normale.width();
    p.Height = normale.height();
    for (int n = 0; n < NbColonnesMessage; ++n)
        p.Col[static_cast<std::size_t>(n)] = listeMessages_->columnWidth(n);
    for (int n = 0; n < NbColonnesBoite; ++n)
        p.Col[static_cast<std::size_t>(n + 10)] = listeBoites_->columnWidth(n);
    const QList<int> tailles = separateur_->sizes();
    if (!tailles.isEmpty()) p.HauteurBoites = tailles.first();
    formRejets_->MemoriserGeometrie();
}

void TForm1::SauverParametres() {
    relireDisposition();
    if (!SauverParametresGlobaux(ini_, etat_.Parametres, kVersionProgramme))
        EcrireStatut(0, Chaine(90003) + versCp1252(ini_.chemin()));
    enregistrerListes();
}

// Listes modifiées et copies de sauvegarde ; la géométrie de la fenêtre des filtres n'est
// écrite que si elle a été montrée pendant cette exécution.
void TForm1::enregistrerListes() {
    const auto geometrie = [this] { SauverGeometrieFiltres(ini_, etat_.Parametres); };
    EnregistrerListes(etat_.Listes, dossier_.dossier, dossier_.nomBase, etat_.Parametres.NbFicSauv,
                      ini_.chemin(),
                      formRejets_->AEteMontree() ? std::function<void()>(geometrie) : std::function<void()>(),
                      [this](const std::string& texte) { EcrireStatut(1, texte); });
}

void TForm1::FermerProgramme() {
    if (fermetureFaite_) return;
    fermetureFaite_ = true;
    etat_.MoteurOccupe = true;
    if (!(QGuiApplication::queryKeyboardModifiers() & Qt::ShiftModifier)) SauverParametres();
}

void TForm1::DemarrageSuite() {
    // Premier argument contenant "icon" (sans égard à la casse) : démarrage dans la zone de notification.
    if (!dossier_.argumentsRestants.isEmpty() &&
        dossier_.argumentsRestants.first().toLower().contains(QStringLiteral("icon")))
        Reduire(false);
    else if (etat_.Parametres.PleinEcran)
        showMaximized();
    EcrireStatut(0, Chaine(1008));
    CurseurAttente(true);
    OublierSonsAbsents(etat_.Parametres,
                       [](const std::string& chemin) { return QFileInfo::exists(depuisCp1252(chemin)); });
    ChargerListes(
        etat_.Listes, dossier_.dossier, dossier_.nomBase,
        [this](const std::string& texte) { EcrireStatut(1, texte); },
        [this](const std::string& titre, const std::string& texte) {
            QMessageBox::critical(this, depuisCp1252(titre), depuisCp1252(texte));
        });
    formRejets_->ListesChargees();
    etat_.ServeurDNS = etat_.Parametres.IPDns;
    // Avec la vérification des expéditeurs active, les compteurs Ex/Inex s'affichent d'emblée.
    if (etat_.Parametres.RejetInex && !barre_->AfficheStatsDns()) barre_->BasculerStatsDns();
    BasculerFiltres(etat_.Parametres.FiltresActifs);
    AppliquerCouleurListes(etat_.Parametres.CouleurListes);
    SeparateurDeplace(); // hauteur minimale de la fenêtre selon le panneau des boîtes
    scrutation_->CreerMinuteurDemarrage(versCp1252(ini_.chemin()));
    scrutation_->LancerMinuteurDemarrage();
}

QComboBox* TForm1::HistoriqueEtat() const {
    return barre_->Historique();
}
QPushButton* TForm1::BtnInterrompre() const {
    return barre_->BtnInterrompre();
}
QString TForm1::TextePanneau(int numero) const {
    return barre_->TextePanneau(numero);
}

int TForm1::ligneBoiteSelectionnee() const {
    const QModelIndexList selection = listeBoites_->selectionModel()->selectedRows();
    return selection.isEmpty() ? -1 : selection.first().row();
}

void TForm1::EcrireStatut(int panneau, const std::string& texte) {
    barre_->EcrireStatut(panneau, texte);
}

void TForm1::EcrireDebug(int numero, const std::string& texte) {
    journal_->EcrireDebug(numero, texte);
}

void TForm1::AfficherEtatFiltres() {
    EcrireStatut(1, etat_.Parametres.FiltresActifs ? std::string(kVersionProgramme) : Chaine(1104));
}

void TForm1::AfficherEtatFichierDebug() {
    if (journal_->ModeFichier()) EcrireStatut(1, journal_->TexteTailleFichier());
}

bool TForm1::IconeErreurBoite() {
    for (int i = 0; i < boites_.Nombre(); ++i) {
        if (boites_.Ligne(i).Colonnes[ColNbMsg] != Chaine(1013)) continue;
        tray_->Animer(false);
        tray_->Image(messages_.Nombre() > 0 ? 4 : 3);
        return true;
    }
    return false;
}

void TForm1::FocaliserBoite(int index) {
    if (!isVisible()) return;
    if (index >= 0 && index < boites_.Nombre())
        listeBoites_->selectionModel()->setCurrentIndex(modeleBoites_->index(index, 0),
                                                        QItemSelectionModel::NoUpdate);
    if (listeMessages_->isEnabled()) listeMessages_->setFocus();
}

void TForm1::ListeMessagesOccupee(bool occupee) {
    if (occupee)
        listeMessages_->setCursor(Qt::BusyCursor);
    else
        listeMessages_->unsetCursor();
    listeMessages_->setEnabled(!occupee);
}

void TForm1::DonnerFocusListeMessages() {
    if (listeMessages_->isEnabled() && listeMessages_->isVisible()) listeMessages_->setFocus();
}

void TForm1::AfficherInterrompre(bool visible) {
    barre_->BtnInterrompre()->setVisible(visible);
}

void TForm1::ActiverInterrompre(bool actif, const std::string& bulle) {
    barre_->BtnInterrompre()->setEnabled(actif);
    if (!bulle.empty()) barre_->BtnInterrompre()->setToolTip(depuisCp1252(bulle));
}

void TForm1::ActiverBoutonVider(bool actif) {
    boutonVider_->setEnabled(actif);
}

void TForm1::MontrerMessage(int index) {
    listeMessages_->scrollTo(modeleMessages_->index(index, 0));
}

void TForm1::CurseurAttente(bool attente) {
    if (attente) {
        if (!QApplication::overrideCursor()) QApplication::setOverrideCursor(Qt::BusyCursor);
    } else {
        while (QApplication::overrideCursor())
            QApplication::restoreOverrideCursor();
    }
}

void TForm1::Bip() {
    QApplication::beep();
}

void TForm1::Avertir(const std::string& texte) {
    QMessageBox::warning(this, windowTitle(), depuisCp1252(texte));
}

void TForm1::TitreDialogueParametres(const std::string&) {}

bool TForm1::Demander(const std::string& texte, const std::string& titre) {
    return QMessageBox::question(this, depuisCp1252(titre), depuisCp1252(texte),
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
}

void TForm1::SelectionnerBoite(int index) {
    if (index < 0 || index >= boites_.Nombre()) return;
    const QModelIndex cible = modeleBoites_->index(index, 0);
    listeBoites_->selectionModel()->setCurrentIndex(cible, QItemSelectionModel::ClearAndSelect |
                                                               QItemSelectionModel::Rows);
    listeBoites_->scrollTo(cible);
    listeBoites_->setFocus();
}

std::string TForm1::LegendeFenetre() {
    return versCp1252(windowTitle());
}

void TForm1::AnimerIconeTray(bool animer) {
    tray_->Animer(animer);
}
void TForm1::ImageIconeTray(int image) {
    tray_->Image(image);
}
void TForm1::BulleIconeTray(const std::string& texte) {
    tray_->Bulle(depuisCp1252(texte));
}

void TForm1::TitreListeMessages(const std::string& texte) {
    titreMessages_->setText(depuisCp1252(texte));
}

void TForm1::JouerSon(const std::string&, SonSysteme) {}

void TForm1::DemarrerVerificationActualites() {}

ResultatInterception TForm1::Intercepter(const DonneesInterception& donnees) {
    // L'interrogation générale et le double clic relâchent le bouton d'arrêt de la fenêtre.
    if (!etat_.ArretDepuisInterception) form7_->RelacherArret();
    return form7_->Intercepter(donnees);
}

void TForm1::BulleRejet(const std::string& titre, const std::string& texte) {
    tray_->Message(depuisCp1252(titre), depuisCp1252(texte));
}

void TForm1::Erreur(const std::string& texte) {
    QMessageBox::critical(this, windowTitle(), depuisCp1252(texte));
}

void TForm1::HistoriqueChange() {
    formRejets_->Rafraichir();
}
void TForm1::CompteursFiltresChanges() {
    formRejets_->Rafraichir();
}
