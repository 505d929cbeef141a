#pragma once
// Dessin des lignes de l'historique d'état : fond couleur des boutons, le libellé de la boîte en
// gras dans les lignes "Fin interrogation de ...", la ligne " Désactivé" en rouge.
#include <QStyledItemDelegate>

class QPainter;

// Une ligne découpée pour le dessin : début et fin écrits normalement, le milieu en gras.
struct MorceauxLigneHistorique {
    QString debut;
    QString gras;
    QString fin;
    bool rouge = false;
};

MorceauxLigneHistorique DecouperLigneHistorique(const QString& ligne);

// Remplit `zone` et y écrit la ligne, centrée verticalement.
void DessinerLigneHistorique(QPainter& peintre, const QRect& zone, const QString& ligne, const QFont& police,
                             const QPalette& palette);

// Les lignes de la liste déroulée : 15 pixels de haut (plus si la police ne tient pas).
class DelegueHistorique : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* peintre, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};
