// Fenêtre des filtres, onglet de l'historique : légendes et nombre de rejets, liste, menu du
// clic droit (copies, "Trouver ce filtre"), vidage et élagage à la fermeture.
#include "Tessaronrejets.h"
#include "filtres/MenuMotifRouge.h"

#include "ModeleHistorique.h"
#include "donnees/Chaines.h"
#include "donnees/Cp1252.h"
#include "moteur/EtatProgramme.h"

#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QShortcut>
#include <QTreeView>
#include <QVBoxLayout>
#include <QWidgetAction>
#include <ctime>

namespace {

constexpr int kLargeursHistorique[] = {130, 220, 220, 150, 150, 100};
constexpr int kLargeurMaxColonne = 2000;

// Le titre du menu : en gras sur la couleur des titres, ni sélectionnable ni grisé.
QWidgetAction* titreMenu(QMenu* menu) {
    auto* titre = new QLabel(QStringLiteral("COPIER DANS LE PRESSE-PAPIER"), menu);
    QFont gras = titre->font();
    gras.setBold(true);
    titre->setFont(gras);
    titre->setAlignment(Qt::AlignCenter);
    titre->setContentsMargins(6, 3, 6, 3);
    titre->setAutoFillBackground(true);
    QPalette palette = titre->palette();
    for (QPalette::ColorGroup groupe : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(groupe, QPalette::Window, palette.color(QPalette::Active, QPalette::Highlight));
        palette.setColor(groupe, QPalette::WindowText,
                         palette.color(QPalette::Active, QPalette::HighlightedText));
    }
    titre->setPalette(palette);
    auto* action = new QWidgetAction(menu);
    action->setDefaultWidget(titre);
    action->setEnabled(false);
    menu->addAction(action);
    return action;
}

} // namespace

// ---------------------------------------------------------------- construction

QWidget* TFormRejets::construirePanneauHistorique() {
    panneauHisto_ = new QWidget(this);
    auto* d = new QHBoxLayout(panneauHisto_);
    d->setContentsMargins(0, 0, 0, 0);
    auto* legendes = new QVBoxLayout;
    const struct {
        const char* texte;
        CouleurHisto couleur;
    } lignes[] = {
        {"Les éléments en rouge sont ceux qui ont provoqué le rejet (filtre utilisé)", CouleurHisto::Rouge},
        {"Les destinataires en bleu ne sont pas autorisés [pour chaque boîte]", CouleurHisto::Bleu},
        {"Les destinataires en vert sont en copie cachée [pour chaque boîte]", CouleurHisto::Vert}};
    for (const auto& l : lignes) {
        auto* legende = new QLabel(QString::fromUtf8(l.texte), panneauHisto_);
        QPalette palette = legende->palette();
        palette.setColor(QPalette::WindowText, ModeleHistorique::Couleur(l.couleur));
        legende->setPalette(palette);
        legendes->addWidget(legende);
    }
    d->addLayout(legendes);
    d->addStretch();
    nombreRejets_ = new QLabel(panneauHisto_);
    d->addWidget(nombreRejets_, 0, Qt::AlignBottom);
    return panneauHisto_;
}

QWidget* TFormRejets::construirePageHistorique() {
    auto* page = new QWidget(this);
    auto* d = new QVBoxLayout(page);
    d->setContentsMargins(0, 0, 0, 0);
    vueHisto_ = creerVue(modeleHisto_, false);
    const auto& largeursEnregistrees = etat_.Parametres.ColHist;
    for (int c = 0; c < 6; ++c) {
        const int enregistree = largeursEnregistrees[static_cast<std::size_t>(c)];
        vueHisto_->setColumnWidth(c, enregistree > 0 ? std::min(enregistree, kLargeurMaxColonne)
                                                     : kLargeursHistorique[c]);
    }
    connect(vueHisto_->header(), &QHeaderView::sectionClicked, this,
            [this](int colonne) { ListView1ColumnClick(OngletHistorique, colonne); });
    connect(vueHisto_, &QTreeView::customContextMenuRequested, this, &TFormRejets::ouvrirMenuHistorique);
    const struct {
        QKeySequence touches;
        int colonne;
    } copies[] = {{QKeySequence(Qt::CTRL | Qt::Key_C), 1},
                  {QKeySequence(Qt::CTRL | Qt::Key_S), 2},
                  {QKeySequence(Qt::CTRL | Qt::Key_P), 3},
                  {QKeySequence(Qt::CTRL | Qt::Key_I), 4}};
    for (const auto& c : copies) {
        auto* raccourci = new QShortcut(c.touches, vueHisto_);
        raccourci->setContext(Qt::WidgetShortcut);
        const int colonne = c.colonne;
        connect(raccourci, &QShortcut::activated, this, [this, colonne] { copierCellule(colonne); });
    }
    d->addWidget(vueHisto_, 1);
    d->addWidget(construireConservation());
    return page;
}

void TFormRejets::actualiserNombreRejets() {
    const int nombre = modeleHisto_->rowCount();
    nombreRejets_->setText(ChaineQ(3019) + QString::number(nombre));
    nombreRejets_->setVisible(nombre > 0);
}

// ---------------------------------------------------------------- menu du clic droit

std::unique_ptr<QMenu> TFormRejets::MenuHistorique(const QModelIndex& cellule) {
    auto menu = std::make_unique<MenuMotifRouge>(this);
    titreMenu(menu.get());
    const bool choisie = !lignesSelectionnees(vueHisto_).empty();
    const struct {
        const char* texte;
        QKeySequence touches;
        int colonne;
    } copies[] = {{"L'expéditeur", QKeySequence(Qt::CTRL | Qt::Key_C), 1},
                  {"Le sujet", QKeySequence(Qt::CTRL | Qt::Key_S), 2},
                  {"Le destinataire principal", QKeySequence(Qt::CTRL | Qt::Key_P), 3},
                  {"Le destinataire en copie", QKeySequence(Qt::CTRL | Qt::Key_I), 4}};
    for (const auto& c : copies) {
        QAction* a = menu->addAction(QString::fromUtf8(c.texte) + u'\t' +
                                     c.touches.toString(QKeySequence::NativeText));
        a->setEnabled(choisie);
        const int colonne = c.colonne;
        connect(a, &QAction::triggered, this, [this, colonne] { copierCellule(colonne); });
    }
    menu->addSeparator();
    const int liste = cellule.isValid() ? ListeDeColonneHisto(cellule.column()) : -1;
    const std::optional<std::string> motif =
        liste >= 0 && cellule.row() < static_cast<int>(etat_.Listes.Historique.Lignes.size())
            ? MotifDeCelluleHisto(CelluleHisto(
                  etat_.Listes.Historique.Lignes[static_cast<std::size_t>(cellule.row())], cellule.column()))
            : std::nullopt;
    if (!motif) {
        menu->addAction(QStringLiteral("Trouver ce filtre"))->setEnabled(false);
        return menu;
    }
    QAction* trouver = menu->AjouterEntreeMotif(QStringLiteral("Trouver "), depuisCp1252(*motif));
    connect(trouver, &QAction::triggered, this, [this, liste, m = *motif] { TrouverFiltre(liste, m); });
    return menu;
}

void TFormRejets::ouvrirMenuHistorique(const QPoint& position) {
    const std::unique_ptr<QMenu> menu = MenuHistorique(vueHisto_->indexAt(position));
    menu->exec(vueHisto_->viewport()->mapToGlobal(position));
}

void TFormRejets::copierCellule(int colonne) {
    const std::vector<int> lignes = lignesSelectionnees(vueHisto_);
    const auto& historique = etat_.Listes.Historique.Lignes;
    if (lignes.empty() || static_cast<std::size_t>(lignes.front()) >= historique.size()) return;
    const std::string texte =
        TexteACopier(CelluleHisto(historique[static_cast<std::size_t>(lignes.front())], colonne));
    QApplication::clipboard()->setText(depuisCp1252(texte));
}

// ---------------------------------------------------------------- vidage, élagage

void TFormRejets::BtnViderClick() {
    if (demander(QMessageBox::Warning, QStringLiteral("Effacement de l'historique"),
                 QStringLiteral("Détruire l'historique des rejets ?")) == QMessageBox::No)
        return;
    modeleHisto_->AvantChangement();
    etat_.Listes.Historique.Lignes.clear();
    etat_.Listes.Historique.Modifiee = true;
    modeleHisto_->ApresChangement();
    actualiserBoutons();
    donnerFocusListe();
}

void TFormRejets::elaguerALaFermeture() {
    leverNombresConserves();
    const ParametresGlobaux& p = etat_.Parametres;
    ReglagesHistorique reglages;
    reglages.HistoNbLigSav = p.HistoNbLigSav;
    reglages.NbHisto = p.NbHisto;
    reglages.HistoDateSav = p.HistoDateSav;
    reglages.NbHistoDate = p.NbHistoDate;
    modeleHisto_->AvantChangement();
    ElaguerHistorique(etat_.Listes.Historique, reglages, std::time(nullptr));
    modeleHisto_->ApresChangement();
    actualiserBoutons();
}
