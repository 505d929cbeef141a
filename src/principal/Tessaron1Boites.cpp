// Liste des boîtes : les six boutons qui l'encadrent et leur état selon la sélection, la
// sélection effacée quand le focus la quitte, et le séparateur qui règle la hauteur du panneau.
#include "Tessaron1.h"
#include "donnees/Chaines.h"
#include "moteur/MaintenanceBoites.h"

#include <QApplication>
#include <QBoxLayout>
#include <QMenu>
#include <QSplitter>
#include <QStyle>
#include <QToolButton>
#include <QTreeView>

#include <array>

namespace {

QToolButton* boutonBoite(QWidget* parent, QStyle::StandardPixmap image, const QString& bulle) {
    auto* b = new QToolButton(parent);
    b->setIcon(parent->style()->standardIcon(image));
    b->setFixedSize(25, 25);
    b->setToolTip(bulle);
    b->setStatusTip(bulle);
    return b;
}

} // namespace

void TForm1::construireBoutonsBoites(QBoxLayout* gauche, QBoxLayout* droite) {
    maintenance_ = std::make_unique<MaintenanceBoites>(contexte_, ini_, contexteCreationBoite());

    btnOrdre_ =
        boutonBoite(this, QStyle::SP_DialogSaveButton,
                    QStringLiteral("Enregistrer l'ordre actuel des boîtes pour le prochain redémarrage"));
    btnMonter_ = boutonBoite(this, QStyle::SP_ArrowUp, QStringLiteral("Déplace la boîte vers le haut"));
    btnDescendre_ = boutonBoite(this, QStyle::SP_ArrowDown, QStringLiteral("Déplace la boîte vers le bas"));
    btnCreer_ = boutonBoite(this, QStyle::SP_FileIcon, QStringLiteral("Créer une boîte"));
    btnSupprimer_ =
        boutonBoite(this, QStyle::SP_TrashIcon, QStringLiteral("Supprimer la boîte sélectionnée"));
    btnModifier_ = boutonBoite(this, QStyle::SP_FileDialogDetailedView,
                               QStringLiteral("Modifier la boîte sélectionnée"));
    for (QToolButton* b : {btnOrdre_, btnMonter_, btnDescendre_, btnSupprimer_, btnModifier_})
        b->setEnabled(false);
    connect(btnOrdre_, &QToolButton::clicked, this, [this] { maintenance_->SauverOrdreBoites(true); });
    connect(btnMonter_, &QToolButton::clicked, this, [this] { deplacerBoite(-1); });
    connect(btnDescendre_, &QToolButton::clicked, this, [this] { deplacerBoite(+1); });
    connect(btnCreer_, &QToolButton::clicked, this, [this] { ouvrirEditeurBoite(); });
    connect(btnSupprimer_, &QToolButton::clicked, this, [this] { ouvrirEditeurBoite(); });
    connect(btnModifier_, &QToolButton::clicked, this, [this] { ouvrirEditeurBoite(); });
    for (QToolButton* b : {btnOrdre_, btnMonter_, btnDescendre_})
        gauche->addWidget(b);
    for (QToolButton* b : {btnCreer_, btnSupprimer_, btnModifier_})
        droite->addWidget(b);
    connect(listeBoites_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { SelectionBoiteChangee(); });
    // Quitter la liste des boîtes efface sa sélection, sauf vers les quatre boutons qui s'en servent
    // (et le menu contextuel, qui agit sur elle).
    sortieListeBoites_ =
        connect(qApp, &QApplication::focusChanged, this, [this](QWidget* avant, QWidget* apres) {
            if (avant != listeBoites_ || apres == listeBoites_) return;
            if (apres && (QMenu::staticMetaObject.cast(apres) || apres == btnSupprimer_ ||
                          apres == btnModifier_ || apres == btnMonter_ || apres == btnDescendre_))
                return;
            listeBoites_->selectionModel()->clearSelection();
        });
}

void TForm1::SelectionBoiteChangee() {
    const int ligne = ligneBoiteSelectionnee();
    btnSupprimer_->setEnabled(ligne >= 0);
    btnModifier_->setEnabled(ligne >= 0);
    if (ligne < 0) {
        btnMonter_->setEnabled(false);
        btnDescendre_->setEnabled(false);
    } else if (boites_.Nombre() > 1) {
        btnMonter_->setEnabled(ligne > 0);
        btnDescendre_->setEnabled(ligne < boites_.Nombre() - 1);
    }
    // Les messages de la boîte sélectionnée changent de couleur.
    listeMessages_->viewport()->update();
}

void TForm1::deplacerBoite(int sens) {
    const int ligne = ligneBoiteSelectionnee();
    if (ligne < 0) return;
    if (sens < 0)
        maintenance_->MonterBoite(ligne);
    else
        maintenance_->DescendreBoite(ligne);
}

void TForm1::ouvrirEditeurBoite() {
    // L'éditeur de boîtes n'existe pas encore : on le dit plutôt que de ne rien faire.
    EcrireStatut(0, Chaine(90407));
}

void TForm1::ActiverBoutonOrdre(bool actif) {
    btnOrdre_->setEnabled(actif);
}

// Le panneau des boîtes ne dépasse pas la hauteur utile moins 100 pixels et ne descend pas sous
// 138 ; la hauteur minimale de la fenêtre suit : panneau + cadre + 100.
void TForm1::SeparateurDeplace() {
    QList<int> tailles = separateur_->sizes();
    if (tailles.size() < 2) return;
    const int total = tailles[0] + tailles[1];
    const int haut =
        std::clamp(tailles[0], kHauteurMinBoites, std::max(kHauteurMinBoites, total - kHauteurMinMessages));
    if (haut != tailles[0]) separateur_->setSizes({haut, total - haut});
    const int horsSeparateur = height() - separateur_->height();
    setMinimumHeight(haut + horsSeparateur + kHauteurMinMessages);
}

QToolButton* TForm1::BoutonBoite(int index) const {
    const std::array<QToolButton*, 6> boutons = {btnOrdre_, btnMonter_,    btnDescendre_,
                                                 btnCreer_, btnSupprimer_, btnModifier_};
    return index >= 0 && index < 6 ? boutons[static_cast<std::size_t>(index)] : nullptr;
}
