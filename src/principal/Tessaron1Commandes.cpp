// Commandes de la fenêtre principale : boutons de gauche, raccourcis, zone de notification,
// réduction et restauration, bascule de la relève et des filtres, menu de fermeture, veille.
#include "IconeTray.h"
#include "Tessaron1.h"
#include "Veille.h"
#include "donnees/Chaines.h"
#include "donnees/Cp1252.h"
#include "moteur/pop3/ClientPop3.h"

#include <QAction>
#include <QApplication>
#include <QBoxLayout>
#include <QClipboard>
#include <QCloseEvent>
#include <QCursor>
#include <QDesktopServices>
#include <QFileInfo>
#include <QGridLayout>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QProcess>
#include <QScreen>
#include <QShortcut>
#include <QToolButton>
#include <QTreeView>
#include <QUrl>

namespace {

QToolButton* bouton(QWidget* parent, const QString& texte, const QString& bulle) {
    auto* b = new QToolButton(parent);
    b->setText(texte);
    b->setToolTip(bulle);
    b->setStatusTip(bulle);
    b->setAutoRaise(false);
    b->setMinimumWidth(28);
    return b;
}

} // namespace

void TForm1::construireCommandes(QGridLayout* disposition) {
    auto* aide = bouton(this, QStringLiteral("?"), QStringLiteral("<F1> = Aide"));
    connect(aide, &QToolButton::clicked, this, [this] {
        DonnerFocusListeMessages();
        afficherAideEnLigne();
    });
    auto* messagerie =
        bouton(this, QStringLiteral("@"), QStringLiteral("Lance le client de messagerie <Ctrl>L"));
    connect(messagerie, &QToolButton::clicked, this, [this] { LancerClientMessagerie(); });
    boutonFiltres_ = bouton(this, QStringLiteral("Filtres"), QStringLiteral("Filtres activés/désactivés"));
    boutonFiltres_->setCheckable(true);
    boutonFiltres_->setChecked(etat_.Parametres.FiltresActifs);
    connect(boutonFiltres_, &QToolButton::clicked, this, [this](bool enfonce) { BasculerFiltres(enfonce); });
    boutonScrutation_ =
        bouton(this, QStringLiteral("Relève"),
               QStringLiteral("Active (F8) / Désactive (F7) le recensement programmé des boîtes"));
    boutonScrutation_->setCheckable(true);
    boutonScrutation_->setChecked(true);
    connect(boutonScrutation_, &QToolButton::clicked, this,
            [this](bool enfonce) { BasculerScrutation(enfonce); });
    const struct {
        const char* texte;
        const char* bulle;
        int onglet;
    } gestionnaire[] = {{"Exp.", "Filtres par expéditeur <F2>", 0},
                        {"Sujet", "Filtres par sujet <Maj><F2>", 1},
                        {"Dest.", "Filtres par destinataire <Ctrl><F2>", 2},
                        {"Hist.", "Historique des rejets et suppressions <F9>", 5}};
    boutonVider_ =
        bouton(this, QStringLiteral("Vider"), QStringLiteral("Vide la liste des messages <Ctrl> V"));
    boutonVider_->setEnabled(false);
    connect(boutonVider_, &QToolButton::clicked, this, [this] { ViderListe(); });
    std::vector<QToolButton*> boutons = {aide, messagerie, boutonFiltres_, boutonScrutation_};
    for (const auto& g : gestionnaire) {
        auto* b = bouton(this, QString::fromUtf8(g.texte), QString::fromUtf8(g.bulle));
        const int onglet = g.onglet;
        connect(b, &QToolButton::clicked, this, [this, onglet] { ouvrirGestionnaireFiltres(onglet); });
        boutons.push_back(b);
    }
    boutons.push_back(boutonVider_);
    // Sous le bouton "Interroger" (première ligne), trois boutons par ligne : le panneau est bas.
    constexpr int kParLigne = 3;
    for (std::size_t i = 0; i < boutons.size(); ++i) {
        boutons[i]->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        disposition->addWidget(boutons[i], 1 + static_cast<int>(i) / kParLigne,
                               static_cast<int>(i) % kParLigne);
    }
    disposition->setRowStretch(1 + (static_cast<int>(boutons.size()) + kParLigne - 1) / kParLigne, 1);
}

void TForm1::construireTray() {
    tray_ = new IconeTray(this);
    menuTray_ = new QMenu(this);
    menuTray_->addAction(QStringLiteral("&Interroger tout"), this, [this] { scrutation_->Button1Click(); });
    QAction* restaurer = menuTray_->addAction(QStringLiteral("&Restaurer"), this, [this] { Restaurer(); });
    menuTray_->setDefaultAction(restaurer);
    menuTray_->addAction(QStringLiteral("&Plein écran"), this, [this] { PleinEcran(); });
    entreeScrutation_ =
        menuTray_->addAction(ChaineQ(1055), this, [this] { BasculerScrutation(!etat_.ScrutationActive); });
    menuTray_->addSeparator();
    menuTray_->addAction(QStringLiteral("&Quitter"), this, [this] {
        quitter_ = true;
        close();
    });
    tray_->DefinirMenu(menuTray_);
    connect(tray_, &IconeTray::Clic, this, [this] { Restaurer(); });
    tray_->Montrer();
    construireMenuFermeture();
    veille_ = new Veille(this);
    connect(veille_, &Veille::Changement, this, &TForm1::ChangementVeille);
    qApp->installEventFilter(this);
}

void TForm1::construireMenuFermeture() {
    menuFermeture_ = new QMenu(this);
    QAction* reduire = menuFermeture_->addAction(QStringLiteral("&Réduire (dans le SysTray)"), this,
                                                 [this] { Reduire(false); });
    reduire->setShortcut(QKeySequence(Qt::Key_Escape));
    entreeReduireProtege_ = menuFermeture_->addAction(QStringLiteral("Réduire avec &Mot de Passe"), this,
                                                      [this] { Reduire(true); });
    entreeReduireProtege_->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_Escape));
    entreeReduireProtege_->setEnabled(!etat_.MotDePasseDemarrage.empty());
    QAction* quitter = menuFermeture_->addAction(QStringLiteral("&Quitter"), this, [this] {
        quitter_ = true;
        close();
    });
    quitter->setShortcut(QKeySequence(Qt::ALT | Qt::Key_F4));
}

void TForm1::construireRaccourcis() {
    const auto raccourci = [this](QKeySequence touches, auto action) {
        auto* r = new QShortcut(touches, this);
        r->setContext(Qt::ApplicationShortcut);
        connect(r, &QShortcut::activated, this, action);
    };
    raccourci(QKeySequence(Qt::Key_Escape), [this] { Reduire(false); });
    raccourci(QKeySequence(Qt::SHIFT | Qt::Key_Escape),
              [this] { Reduire(entreeReduireProtege_ && entreeReduireProtege_->isEnabled()); });
    raccourci(QKeySequence(Qt::CTRL | Qt::Key_V), [this] { ViderListe(); });
    raccourci(QKeySequence(Qt::Key_F1), [this] { afficherAideEnLigne(); });
    raccourci(QKeySequence(Qt::Key_F2), [this] { ouvrirGestionnaireFiltres(0); });
    raccourci(QKeySequence(Qt::SHIFT | Qt::Key_F2), [this] { ouvrirGestionnaireFiltres(1); });
    raccourci(QKeySequence(Qt::CTRL | Qt::Key_F2), [this] { ouvrirGestionnaireFiltres(2); });
    raccourci(QKeySequence(Qt::Key_F5), [this] { scrutation_->Button1Click(); });
    raccourci(QKeySequence(Qt::Key_F7), [this] { BasculerScrutation(false); });
    raccourci(QKeySequence(Qt::Key_F8), [this] { BasculerScrutation(true); });
    raccourci(QKeySequence(Qt::Key_F9), [this] { ouvrirGestionnaireFiltres(5); });
    raccourci(QKeySequence(Qt::Key_F12), [this] { listeMessages_->setFocus(); });
    raccourci(QKeySequence(Qt::CTRL | Qt::Key_L), [this] { LancerClientMessagerie(); });
}

// Toute touche arrête d'abord une animation de l'icône en cours.
bool TForm1::eventFilter(QObject* objet, QEvent* evenement) {
    if ((evenement->type() == QEvent::KeyPress || evenement->type() == QEvent::ShortcutOverride) && tray_ &&
        tray_->Anime())
        ActualiserIconeTray();
    return QMainWindow::eventFilter(objet, evenement);
}

void TForm1::changeEvent(QEvent* evenement) {
    if (evenement->type() == QEvent::ActivationChange) ActualiserIconeTray();
    QMainWindow::changeEvent(evenement);
}

void TForm1::afficherAideEnLigne() {
    QDesktopServices::openUrl(QUrl(QStringLiteral("https://tessaron.fr/aide")));
}

void TForm1::Reduire(bool avecMotDePasse) {
    if (avecMotDePasse) reduitProtege_ = true;
    // Sans zone de notification, la fenêtre est seulement réduite pour rester accessible.
    if (IconeTray::Disponible())
        hide();
    else
        showMinimized();
}

// Invite masquée (titre 1001) ; vrai quand la réponse est le mot de passe de démarrage.
bool TForm1::demanderMotDePasse(int texte, QWidget* parent) {
    bool ok = false;
    const QString saisi =
        QInputDialog::getText(parent, ChaineQ(1001), ChaineQ(texte), QLineEdit::Password, QString(), &ok);
    return ok && !saisi.isEmpty() && versCp1252(saisi) == etat_.MotDePasseDemarrage;
}

void TForm1::Restaurer() {
    if (reduitProtege_) {
        if (!demanderMotDePasse(1050, this)) {
            QApplication::beep();
            return;
        }
        reduitProtege_ = false;
    }
    showNormal();
    raise();
    activateWindow();
    if (messages_.Nombre() > 0 && listeMessages_->isEnabled()) {
        listeMessages_->setFocus();
        listeMessages_->setCurrentIndex(listeMessages_->model()->index(0, 0));
    }
}

void TForm1::PleinEcran() {
    if (const QScreen* ecran = screen()) setGeometry(ecran->geometry());
    Restaurer();
}

void TForm1::AutreInstance() {
    EcrireDebug(3180, "D\xE9"
                      "but Autre Instance Tessaron");
    if (etat_.ScrutationActive)
        Restaurer();
    else
        BasculerScrutation(true);
}

void TForm1::DefinirClientMessagerie(const ClientMessagerie& client) {
    clientBureau_ = client;
    if (commandeMessagerie_.empty()) commandeMessagerie_ = client.executable;
}

void TForm1::LancerClientMessagerie() {
    // Ctrl+Alt : ce que le bureau dit du gestionnaire des liens mailto part au presse-papier, et
    // un message au support est préparé pour l'y coller.
    const Qt::KeyboardModifiers touches = QGuiApplication::queryKeyboardModifiers();
    if ((touches & Qt::ControlModifier) && (touches & Qt::AltModifier)) {
        QApplication::clipboard()->setText(depuisCp1252(TexteDiagnosticMessagerie(clientBureau_)));
        QDesktopServices::openUrl(
            QUrl(ChaineQ(10561) + QString::fromLatin1(kVersionProgramme) + ChaineQ(10562)));
        return;
    }
    DonnerFocusListeMessages();
    const QString commande = depuisCp1252(commandeMessagerie_);
    // Un chemin de fichier existant (même avec des espaces) est lancé tel quel ; sinon la
    // commande est découpée en programme et arguments.
    QStringList morceaux =
        QFileInfo::exists(commande) ? QStringList{commande} : QProcess::splitCommand(commande);
    const QString programme = morceaux.isEmpty() ? QString() : morceaux.takeFirst();
    if (programme.isEmpty() || !QProcess::startDetached(programme, morceaux))
        QMessageBox::warning(this, windowTitle(), ChaineQ(1057) + commande + u'"');
}

// La bascule de la relève, quelle que soit son origine (menu, bouton, F7, F8, second lancement).
void TForm1::BasculerScrutation(bool active) {
    if (active == etat_.ScrutationActive) {
        boutonScrutation_->setChecked(active); // déjà dans cet état : rien d'autre à faire
        return;
    }
    etat_.ScrutationActive = active;
    if (!active) etat_.ArretDepuisInterception = false;
    appliquerEtatScrutation();
    if (!active) {
        EcrireStatut(0, Chaine(1010));
        listeMessages_->setFocus();
        return;
    }
    if (etat_.Parametres.RecenseDemar)
        scrutation_->Recensement();
    else
        EcrireStatut(0, Chaine(1100));
}

void TForm1::appliquerEtatScrutation() {
    const bool active = etat_.ScrutationActive;
    entreeScrutation_->setText(ChaineQ(active ? 1055 : 1054));
    boutonScrutation_->setChecked(active);
    boutonScrutation_->setToolTip(ChaineQ(active ? 1106 : 1107));
    const QString titre = active ? QStringLiteral("Tessaron") : QStringLiteral("Tessaron") + ChaineQ(1110);
    setWindowTitle(titre);
    tray_->Animer(false);
    tray_->Bulle(titre);
    if (!IconeErreurBoite()) tray_->Image(active ? (messages_.Nombre() > 0 ? 1 : 0) : 2);
    listeBoites_->viewport()->update();
}

void TForm1::BasculerFiltres(bool actifs) {
    etat_.Parametres.FiltresActifs = actifs;
    boutonFiltres_->setChecked(actifs);
    const std::string bulle =
        actifs ? Chaine(1105) + Chaine(etat_.Parametres.FromReturnPath == 1 ? 10012 : 10011) : Chaine(1104);
    boutonFiltres_->setToolTip(depuisCp1252(bulle));
    EcrireStatut(0, bulle);
    AfficherEtatFiltres();
}

void TForm1::ActualiserIconeTray() {
    if (IconeErreurBoite()) return;
    tray_->Animer(false);
    tray_->Image(etat_.ScrutationActive ? (messages_.Nombre() > 0 ? 1 : 0) : 2);
}

void TForm1::ViderListe() {
    messages_.Vider();
    EcrireStatut(0, "");
    AfficherEtatFiltres();
    tray_->Bulle(windowTitle());
    tray_->Animer(false);
    tray_->Image(etat_.ScrutationActive ? 0 : 2);
    for (int i = 0; i < boites_.Nombre(); ++i) {
        if (boites_.Ligne(i).Colonnes[ColNbMsg].empty()) continue;
        boites_.ChangerColonne(i, ColNbMsg, "");
        FocaliserBoite(i);
    }
    listeMessages_->setFocus();
    boutonVider_->setEnabled(false);
}

void TForm1::ChangementVeille(bool miseEnVeille) {
    QApplication::beep();
    if (miseEnVeille) {
        EcrireStatut(0, Chaine(90405));
        EcrireStatut(0, Chaine(90403));
        etat_.MoteurOccupe = true;
        for (int i = 0; i < boites_.Nombre(); ++i) {
            ClientPop3* client = boites_.BoiteDeLigne(i)->Client;
            if (!client->Connected()) continue;
            client->AbortSync();
            client->QuitSync();
        }
    } else {
        EcrireStatut(0, Chaine(90404));
        etat_.MoteurOccupe = false;
    }
}

void TForm1::closeEvent(QCloseEvent* evenement) {
    // Le bouton de fermeture ouvre le menu de fermeture ; Alt enfoncé ferme pour de bon.
    const bool alt = QGuiApplication::queryKeyboardModifiers() & Qt::AltModifier;
    if (!quitter_ && !alt && evenement->spontaneous()) {
        evenement->ignore();
        menuFermeture_->popup(QCursor::pos());
        return;
    }
    FermerProgramme();
    evenement->accept();
    QApplication::quit();
}
