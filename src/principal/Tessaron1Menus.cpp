// Menu contextuel de la liste des messages : lecture, suppression sur le serveur, copies,
// réponse, filtre d'une cellule, client de messagerie, vidage et sélection complète.
#include "IconeTray.h"
#include "Tessaron1.h"
#include "donnees/Chaines.h"
#include "donnees/Cp1252.h"
#include "filtres/MenuMotifRouge.h"
#include "moteur/ActionsMessages.h"
#include "moteur/SuppressionMessages.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QHeaderView>
#include <QMenu>
#include <QMessageBox>
#include <QShortcut>
#include <QStyle>
#include <QTreeView>
#include <QUrl>

namespace {

// Une entrée avec son raccourci et, sauf SP_CustomBase, une image prise parmi celles du style.
QAction* entree(QMenu& menu, const QString& texte, const QKeySequence& touches, bool actif,
                QStyle::StandardPixmap image = QStyle::SP_CustomBase) {
    QAction* action = menu.addAction(texte);
    if (image != QStyle::SP_CustomBase) action->setIcon(menu.style()->standardIcon(image));
    action->setShortcut(touches);
    action->setEnabled(actif);
    return action;
}

} // namespace

std::vector<int> TForm1::lignesMessagesSelectionnees() const {
    std::vector<int> lignes;
    for (const QModelIndex& index : listeMessages_->selectionModel()->selectedRows())
        lignes.push_back(index.row());
    std::sort(lignes.begin(), lignes.end());
    return lignes;
}

void TForm1::construireRaccourcisMessages() {
    const auto raccourci = [this](QKeySequence touches, auto action) {
        auto* r = new QShortcut(touches, listeMessages_);
        r->setContext(Qt::WidgetShortcut);
        connect(r, &QShortcut::activated, this, action);
    };
    raccourci(QKeySequence(Qt::Key_Delete), [this] { SupprimerMessagesSelectionnes(false); });
    raccourci(QKeySequence(Qt::CTRL | Qt::Key_C), [this] { copierCellule(EntreeCopie::Expediteur); });
    raccourci(QKeySequence(Qt::CTRL | Qt::Key_S), [this] { copierCellule(EntreeCopie::Sujet); });
    raccourci(QKeySequence(Qt::CTRL | Qt::Key_P),
              [this] { copierCellule(EntreeCopie::DestinatairePrincipal); });
    raccourci(QKeySequence(Qt::CTRL | Qt::Key_I), [this] { copierCellule(EntreeCopie::DestinataireCopie); });
    raccourci(QKeySequence(Qt::CTRL | Qt::Key_R), [this] { repondre(); });
    raccourci(QKeySequence(Qt::CTRL | Qt::Key_J), [this] { ajouterFiltreDuMessage(false); });
    raccourci(QKeySequence(Qt::CTRL | Qt::Key_A), [this] { faireAmiDuMessage(); });
    raccourci(QKeySequence(Qt::CTRL | Qt::Key_K), [this] { ajouterFiltreDuMessage(true); });
    listeMessages_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(listeMessages_, &QTreeView::customContextMenuRequested, this, &TForm1::ouvrirMenuMessages);
}

void TForm1::SupprimerMessagesSelectionnes(bool sansConfirmation) {
    DemandeSuppression demande;
    demande.Lignes = lignesMessagesSelectionnees();
    demande.SansConfirmation = sansConfirmation;
    SupprimerMessages(contexte_, *scrutation_, demande);
}

void TForm1::copierCellule(EntreeCopie quoi) {
    const std::vector<int> lignes = lignesMessagesSelectionnees();
    if (lignes.size() != 1) return;
    const std::string texte = TexteCopie(messages_.Ligne(lignes.front()), quoi);
    if (!texte.empty() || quoi == EntreeCopie::Expediteur)
        QApplication::clipboard()->setText(depuisCp1252(texte));
}

void TForm1::repondre() {
    const std::vector<int> lignes = lignesMessagesSelectionnees();
    if (lignes.size() != 1) return;
    QDesktopServices::openUrl(QUrl(QString::fromStdString(LienReponse(messages_.Ligne(lignes.front())))));
}

void TForm1::ouvrirMenuMessages(const QPoint& position) {
    ActualiserIconeTray();
    const std::vector<int> lignes = lignesMessagesSelectionnees();
    const EtatMenuMessages e = EtatMenu(messages_, lignes, etat_.Parametres.ToutSelectionner);
    MenuMotifRouge menu(this);
    QAction* voir = entree(menu, QStringLiteral("&Affiche le début du message"), QKeySequence(Qt::Key_Return),
                           e.VoirTexte, QStyle::SP_FileDialogContentsView);
    menu.setDefaultAction(voir);
    connect(voir, &QAction::triggered, this, [this] { VoirMessageSelectionne(false); });
    connect(entree(menu, QStringLiteral("Affiche l'&entête du message"), QKeySequence(Qt::CTRL | Qt::Key_E),
                   e.VoirEntete, QStyle::SP_FileDialogInfoView),
            &QAction::triggered, this, [this] { VoirMessageSelectionne(true); });
    // La fenêtre d'analyse du contenu n'existe pas encore : l'entrée reste grisée.
    entree(menu, QStringLiteral("Analyse ce message (pièces jointes)"), QKeySequence(Qt::CTRL | Qt::Key_N),
           false, QStyle::SP_FileDialogDetailedView);
    connect(entree(menu, ChaineQ(e.LegendeSupprimer), QKeySequence(Qt::Key_Delete), e.Supprimer,
                   QStyle::SP_TrashIcon),
            &QAction::triggered, this, [this] { SupprimerMessagesSelectionnes(false); });
    menu.addSeparator();
    QMenu* copie = menu.addMenu(QStringLiteral("Copie dans le Presse-Papier"));
    copie->setEnabled(e.Copie);
    const struct {
        const char* texte;
        QKeySequence touches;
        bool actif;
        EntreeCopie quoi;
    } copies[] = {{"L'expéditeur", QKeySequence(Qt::CTRL | Qt::Key_C), e.Copie, EntreeCopie::Expediteur},
                  {"Le sujet", QKeySequence(Qt::CTRL | Qt::Key_S), e.CopieSujet, EntreeCopie::Sujet},
                  {"Le destinataire principal", QKeySequence(Qt::CTRL | Qt::Key_P), e.CopieDestinataire,
                   EntreeCopie::DestinatairePrincipal},
                  {"Le destinataire en copie", QKeySequence(Qt::CTRL | Qt::Key_I), e.CopieCopie,
                   EntreeCopie::DestinataireCopie}};
    for (const auto& c : copies) {
        const EntreeCopie quoi = c.quoi;
        connect(entree(*copie, QString::fromUtf8(c.texte), c.touches, c.actif), &QAction::triggered, this,
                [this, quoi] { copierCellule(quoi); });
    }
    connect(entree(menu, QStringLiteral("&Répond à l'expéditeur du message"),
                   QKeySequence(Qt::CTRL | Qt::Key_R), e.Repondre, QStyle::SP_ArrowBack),
            &QAction::triggered, this, [this] { repondre(); });
    connect(entree(menu, QStringLiteral("A&joute l'expéditeur à la liste des filtres"),
                   QKeySequence(Qt::CTRL | Qt::Key_J), e.AjouterExpediteur, QStyle::SP_DialogNoButton),
            &QAction::triggered, this, [this] { ajouterFiltreDuMessage(false); });
    connect(entree(menu, QStringLiteral("Faire de cet expéditeur un Ami"), QKeySequence(Qt::CTRL | Qt::Key_A),
                   e.FaireAmi, QStyle::SP_DialogYesButton),
            &QAction::triggered, this, [this] { faireAmiDuMessage(); });
    connect(entree(menu, QStringLiteral("Ajoute le sujet à la liste des filtres"),
                   QKeySequence(Qt::CTRL | Qt::Key_K), e.AjouterSujet, QStyle::SP_DialogNoButton),
            &QAction::triggered, this, [this] { ajouterFiltreDuMessage(true); });
    const QModelIndex cellule = listeMessages_->indexAt(position);
    if (cellule.isValid()) {
        const auto motif = MotifDeCellule(
            messages_.Ligne(cellule.row()).Colonnes[static_cast<std::size_t>(cellule.column())],
            cellule.column());
        if (motif) {
            QAction* trouver = menu.AjouterEntreeMotif(ChaineQ(1108), depuisCp1252(motif->Motif));
            const int liste = motif->Liste;
            const std::string texte = motif->Motif;
            connect(trouver, &QAction::triggered, this,
                    [this, liste, texte] { trouverFiltre(liste, texte); });
        }
    }
    menu.addSeparator();
    connect(entree(menu, QStringLiteral("&Lance le client de messagerie"), QKeySequence(Qt::CTRL | Qt::Key_L),
                   e.LancerClient, QStyle::SP_ComputerIcon),
            &QAction::triggered, this, [this] { LancerClientMessagerie(); });
    menu.addSeparator();
    connect(entree(menu, QStringLiteral("&Vide la liste"), QKeySequence(Qt::CTRL | Qt::Key_V), e.Vider,
                   QStyle::SP_DialogResetButton),
            &QAction::triggered, this, [this] { ViderListe(); });
    if (e.ToutSelectionnerVisible)
        connect(entree(menu, QStringLiteral("Tout sélectionner"), QKeySequence(), e.ToutSelectionner),
                &QAction::triggered, this, [this] { listeMessages_->selectAll(); });
    menu.exec(listeMessages_->viewport()->mapToGlobal(position));
}

void TForm1::SignalerListePerimee() {
    QMessageBox::warning(this, ChaineQ(1076), ChaineQ(1075));
}

// Menu de la liste des boîtes. Les fenêtres des paramètres, de la restauration, des jokers et
// de l'à-propos ne sont pas encore là : leurs entrées restent grisées.
void TForm1::ouvrirMenuBoites(const QPoint& position) {
    const int ligne = ligneBoiteSelectionnee();
    QMenu menu(this);
    QAction* interroger =
        entree(menu, QStringLiteral("Interroger cette boîte"), {}, ligne >= 0, QStyle::SP_BrowserReload);
    menu.setDefaultAction(interroger);
    connect(interroger, &QAction::triggered, this,
            [this, ligne] { scrutation_->Timer1Timer(OrigineScrutation::MenuBoite, ligne); });
    QMenu* filtres = menu.addMenu(QStringLiteral("Gérer les filtres"));
    const struct {
        const char* texte;
        QKeySequence touches;
        int onglet;
    } onglets[] = {{"Par expéditeur", QKeySequence(Qt::Key_F2), 0},
                   {"Par sujet", QKeySequence(Qt::SHIFT | Qt::Key_F2), 1},
                   {"Par destinataire", QKeySequence(Qt::CTRL | Qt::Key_F2), 2},
                   {"Réponse", QKeySequence(), 3},
                   {"Expéditeur Inexistant", QKeySequence(), 4},
                   {"Historique", QKeySequence(Qt::Key_F9), 5}};
    for (const auto& o : onglets) {
        const int onglet = o.onglet;
        connect(entree(*filtres, QString::fromUtf8(o.texte), o.touches, true), &QAction::triggered, this,
                [this, onglet] { ouvrirGestionnaireFiltres(onglet); });
    }
    const std::pair<const char*, QStyle::StandardPixmap> fenetres[] = {
        {"Paramètres", QStyle::SP_FileDialogDetailedView},
        {"Restauration", QStyle::SP_DialogResetButton},
        {"Jokers Perso", QStyle::SP_CustomBase}};
    for (const auto& [texte, image] : fenetres)
        entree(menu, QString::fromUtf8(texte), {}, false, image);
    menu.addSeparator();
    connect(entree(menu, QStringLiteral("Créer une boîte"), {}, true, QStyle::SP_FileIcon),
            &QAction::triggered, this, [this] { ouvrirEditeurBoite(); });
    connect(entree(menu, QStringLiteral("Supprimer cette boîte"), {}, ligne >= 0, QStyle::SP_TrashIcon),
            &QAction::triggered, this, [this] { ouvrirEditeurBoite(); });
    connect(entree(menu, QStringLiteral("Modifier cette boîte"), {}, ligne >= 0,
                   QStyle::SP_FileDialogContentsView),
            &QAction::triggered, this, [this] { ouvrirEditeurBoite(); });
    menu.addSeparator();
    entree(menu, QStringLiteral("A propos d'Tessaron"), {}, false, QStyle::SP_MessageBoxInformation);
    menu.exec(listeBoites_->viewport()->mapToGlobal(position));
}
