#include "ModeleTableau.h"

#include "donnees/Cp1252.h"

ModeleTableau::ModeleTableau(Acces acces, QStringList entetes, QObject* parent)
    : QAbstractTableModel(parent), acces_(std::move(acces)), entetes_(std::move(entetes)) {}

void ModeleTableau::changerEntete(int colonne, const QString& texte) {
    if (colonne < 0 || colonne >= entetes_.size()) return;
    entetes_[colonne] = texte;
    emit headerDataChanged(Qt::Horizontal, colonne, colonne);
}

int ModeleTableau::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : acces_.nombre();
}

int ModeleTableau::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(entetes_.size());
}

QVariant ModeleTableau::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= acces_.nombre()) return {};
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
        return depuisCp1252(acces_.cellule(index.row(), index.column()));
    return acces_.style ? acces_.style(index.row(), index.column(), role) : QVariant();
}

QVariant ModeleTableau::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < entetes_.size())
        return entetes_[section];
    return QAbstractTableModel::headerData(section, orientation, role);
}

void ModeleTableau::avantAjout(int premiere, int derniere) { beginInsertRows({}, premiere, derniere); }
void ModeleTableau::apresAjout() { endInsertRows(); }
void ModeleTableau::avantRetrait(int premiere, int derniere) { beginRemoveRows({}, premiere, derniere); }
void ModeleTableau::apresRetrait() { endRemoveRows(); }

void ModeleTableau::ligneChangee(int ligne) {
    emit dataChanged(index(ligne, 0), index(ligne, columnCount() - 1));
}
