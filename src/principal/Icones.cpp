#include "Icones.h"

#include <QPainter>
#include <QPixmap>
#include <array>

namespace {

QPixmap toile() {
    QPixmap image(16, 16);
    image.fill(Qt::transparent);
    return image;
}

void enveloppe(QPainter& p, const QColor& fond, bool ouverte) {
    p.setPen(QPen(QColor(60, 60, 60), 1));
    p.setBrush(fond);
    p.drawRect(QRectF(1.5, 4.5, 13, 9));
    if (ouverte) {
        p.drawLine(QPointF(1.5, 4.5), QPointF(8, 1.5));
        p.drawLine(QPointF(14.5, 4.5), QPointF(8, 1.5));
    } else {
        p.drawLine(QPointF(1.5, 4.5), QPointF(8, 9.5));
        p.drawLine(QPointF(14.5, 4.5), QPointF(8, 9.5));
    }
}

QIcon dessinerMessage(int index) {
    QPixmap image = toile();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const bool vu = index & 1;
    const int sorte = index & ~1;
    const QColor fond = vu ? QColor(225, 225, 225) : QColor(255, 255, 255);
    enveloppe(p, fond, vu);
    if (sorte == 2) {  // filtre qui a correspondu, message gardé
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(230, 120, 0));
        p.drawEllipse(QRectF(9, 8, 7, 7));
        p.setPen(QPen(Qt::white, 1.5));
        p.drawLine(QPointF(12.5, 9.5), QPointF(12.5, 12));
        p.drawPoint(QPointF(12.5, 13.5));
    } else if (sorte == 4) {  // ami
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 150, 0));
        p.drawEllipse(QRectF(10, 7, 4, 4));
        p.drawRoundedRect(QRectF(9, 11, 6, 5), 2, 2);
    } else if (sorte == 6) {  // pièces jointes
        p.setPen(QPen(QColor(80, 80, 160), 1.5));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRectF(10.5, 6.5, 3.5, 9), 1.7, 1.7);
    }
    return QIcon(image);
}

QIcon dessinerBoite(bool filtree) {
    QPixmap image = toile();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(60, 60, 60), 1));
    p.setBrush(QColor(180, 200, 240));
    p.drawRect(QRectF(1.5, 6.5, 13, 8));
    p.drawLine(QPointF(1.5, 6.5), QPointF(4.5, 2.5));
    p.drawLine(QPointF(4.5, 2.5), QPointF(11.5, 2.5));
    p.drawLine(QPointF(11.5, 2.5), QPointF(14.5, 6.5));
    if (filtree) {  // entonnoir des filtres
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(200, 40, 40));
        p.drawPolygon(QPolygonF({QPointF(5, 8), QPointF(11, 8), QPointF(8.8, 11), QPointF(8.8, 13.5), QPointF(7.2, 13.5),
                                 QPointF(7.2, 11)}));
    }
    return QIcon(image);
}

} // namespace

JeuIcones::JeuIcones() : boiteFiltree_(dessinerBoite(true)), boiteLibre_(dessinerBoite(false)) {
    for (int k = 0; k < 8; ++k) messages_[static_cast<std::size_t>(k)] = dessinerMessage(k);
}

const QIcon& JeuIcones::Message(int index) const { return messages_[static_cast<std::size_t>(std::clamp(index, 0, 7))]; }

const QIcon& JeuIcones::Boite(int index) const { return index == 15 ? boiteLibre_ : boiteFiltree_; }
