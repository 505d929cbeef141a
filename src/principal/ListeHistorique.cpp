#include "ListeHistorique.h"

#include "DelegueHistorique.h"

#include <QStyleOptionComboBox>
#include <QStylePainter>

ListeHistorique::ListeHistorique(QWidget* parent) : QComboBox(parent) {
    // Une vraie liste sous la boîte, limitée à 15 lignes, plutôt que le menu superposé de certains styles.
    setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
    setMaxVisibleItems(15);
    setItemDelegate(new DelegueHistorique(this));
}

void ListeHistorique::paintEvent(QPaintEvent*) {
    QStylePainter peintre(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    option.currentText.clear();
    option.currentIcon = QIcon();
    peintre.drawComplexControl(QStyle::CC_ComboBox, option);
    const QRect zone = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    DessinerLigneHistorique(peintre, zone, currentText(), font(), palette());
}
