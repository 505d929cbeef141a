#include "ModeleHistorique.h"

#include "OperationsListes.h"
#include "donnees/Cp1252.h"

namespace {

constexpr int kNbColonnes = 6;

} // namespace

ModeleHistorique::ModeleHistorique(ListeHisto& historique, QObject* parent)
    : ModeleListe(parent), historique_(historique) {
    Recharger();
}

int ModeleHistorique::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kNbColonnes;
}

QColor ModeleHistorique::Couleur(CouleurHisto couleur) {
    switch (couleur) {
    case CouleurHisto::Rouge:
        return {255, 0, 0};
    case CouleurHisto::Vert:
        return {0, 128, 0};
    case CouleurHisto::Bleu:
        return {0, 0, 255};
    case CouleurHisto::Violet:
        return {128, 0, 128};
    case CouleurHisto::Olive:
        return {128, 128, 0};
    default:
        return {};
    }
}

QVariant ModeleHistorique::data(const QModelIndex& index, int role) const {
    if (!LigneValide(index)) return {};
    const structHisto& ligne = historique_.Lignes[static_cast<std::size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        return depuisCp1252(CelluleHisto(ligne, index.column()));
    case Qt::BackgroundRole:
        return index.row() % 2 == 1 ? QVariant(ModeleListeFiltres::FondAlterne(ListeIndexHistorique))
                                    : QVariant();
    case Qt::ForegroundRole: {
        const QColor couleur = Couleur(CouleurCellule(ligne, index.column()));
        return couleur.isValid() ? QVariant(couleur) : QVariant();
    }
    default:
        return {};
    }
}

QVariant ModeleHistorique::headerData(int section, Qt::Orientation orientation, int role) const {
    static const char* const entetes[kNbColonnes] = {
        "Date - Heure", "Expéditeur", "Sujet", "Destinataire(s)", "Destinataire(s) en copie", "Boîte"};
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < kNbColonnes)
        return QString::fromUtf8(entetes[section]);
    return QAbstractTableModel::headerData(section, orientation, role);
}
