#include "ModeleListeFiltres.h"

#include "OperationsListes.h"
#include "donnees/Cp1252.h"

#include <QPainter>
#include <QPixmap>

namespace {

QPixmap toile() {
    QPixmap image(16, 16);
    image.fill(Qt::transparent);
    return image;
}

// Un ami : un personnage vert.
QIcon dessinerAmi() {
    QPixmap image = toile();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 150, 0));
    p.drawEllipse(QRectF(5, 1, 6, 6));
    p.drawRoundedRect(QRectF(3, 8, 10, 7), 3, 3);
    return QIcon(image);
}

// Un rejet : un disque rouge barré.
QIcon dessinerRejet() {
    QPixmap image = toile();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(200, 0, 0), 2.2));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(2, 2, 12, 12));
    p.drawLine(QPointF(4.5, 11.5), QPointF(11.5, 4.5));
    return QIcon(image);
}

} // namespace

// ---------------------------------------------------------------- base commune

void ModeleListe::Recharger() {
    beginResetModel();
    nombre_ = NombreReel();
    endResetModel();
}

void ModeleListe::Actualiser() {
    if (enChangement_) return;
    if (NombreReel() != nombre_) {
        Recharger();
        return;
    }
    if (nombre_ > 0) emit dataChanged(index(0, 0), index(nombre_ - 1, columnCount() - 1));
}

void ModeleListe::AvantChangement() {
    if (enChangement_) return;
    enChangement_ = true;
    beginResetModel();
}

void ModeleListe::ApresChangement() {
    if (!enChangement_) {
        Recharger();
        return;
    }
    nombre_ = NombreReel();
    enChangement_ = false;
    endResetModel();
}

void ModeleListe::ColonnesChangees(int premiere, int derniere) {
    if (nombre_ > 0) emit dataChanged(index(0, premiere), index(nombre_ - 1, derniere));
}

void ModeleListe::Reordonner(const std::function<std::vector<std::size_t>()>& trier) {
    if (enChangement_) {
        trier();
        return;
    }
    if (NombreReel() != nombre_) Recharger();
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const std::vector<std::size_t> ordre = trier();
    std::vector<int> nouvelle(ordre.size(), -1);
    for (std::size_t n = 0; n < ordre.size(); ++n)
        if (ordre[n] < nouvelle.size()) nouvelle[ordre[n]] = static_cast<int>(n);
    const QModelIndexList avant = persistentIndexList();
    QModelIndexList apres;
    apres.reserve(avant.size());
    for (const QModelIndex& i : avant) {
        const auto ligne = static_cast<std::size_t>(i.row());
        apres.append(ligne < nouvelle.size() && nouvelle[ligne] >= 0 ? index(nouvelle[ligne], i.column())
                                                                     : QModelIndex());
    }
    changePersistentIndexList(avant, apres);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

// ---------------------------------------------------------------- listes de filtres

ModeleListeFiltres::ModeleListeFiltres(ListeFiltres& liste, int indexListe, QObject* parent)
    : ModeleListe(parent), liste_(liste), indexListe_(indexListe), iconeAmi_(dessinerAmi()),
      iconeRejet_(dessinerRejet()) {
    Recharger();
}

int ModeleListeFiltres::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : liste_.NbColonnes();
}

QColor ModeleListeFiltres::FondAlterne(int indexListe) {
    switch (indexListe) {
    case 0:
        return {255, 238, 255};
    case 1:
        return {221, 255, 255};
    case 2:
        return {255, 235, 204};
    default:
        return {238, 238, 238};
    }
}

QColor ModeleListeFiltres::CouleurMotif(const std::string& motif) {
    if (motif.empty()) return {};
    if (motif.front() == kMarquePartiel) return {255, 0, 255};
    if (motif.front() == kMarqueMotsMultiples) return {0, 0, 255};
    return {};
}

QVariant ModeleListeFiltres::data(const QModelIndex& index, int role) const {
    if (!LigneValide(index)) return {};
    const structFiltre& filtre = liste_.Lignes[static_cast<std::size_t>(index.row())];
    const int colonne = index.column();
    switch (role) {
    case Qt::DisplayRole:
        return depuisCp1252(CelluleFiltre(filtre, colonne, liste_.AvecChamp));
    case Qt::TextAlignmentRole:
        return colonne == 0 ? QVariant() : QVariant::fromValue(Qt::AlignHCenter | Qt::AlignVCenter);
    case Qt::BackgroundRole:
        return index.row() % 2 == 1 ? QVariant(FondAlterne(indexListe_)) : QVariant();
    case Qt::ForegroundRole: {
        if (colonne != 0) return {};
        const QColor couleur = CouleurMotif(filtre.Motif);
        return couleur.isValid() ? QVariant(couleur) : QVariant();
    }
    case Qt::DecorationRole:
        return colonne == 0 ? QVariant(filtre.Ami ? iconeAmi_ : iconeRejet_) : QVariant();
    default:
        return {};
    }
}

QVariant ModeleListeFiltres::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount())
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::TextAlignmentRole)
        return section == 0 ? QVariant() : QVariant::fromValue(Qt::AlignHCenter | Qt::AlignVCenter);
    if (role != Qt::DisplayRole) return {};
    static const char* const premieres[] = {"Expéditeurs", "Sujets", "Destinataires"};
    if (section == 0) return QString::fromUtf8(premieres[std::clamp(indexListe_, 0, 2)]);
    const int colonne = liste_.AvecChamp ? section - 1 : section;
    switch (colonne) {
    case 0:
        return QStringLiteral("À / Cc");
    case 1:
        return QStringLiteral("Avant");
    case 2:
        return QStringLiteral("Pendant");
    case 3:
        return QStringLiteral("Effectués");
    default:
        return QStringLiteral("Rejeté/Accepté");
    }
}
