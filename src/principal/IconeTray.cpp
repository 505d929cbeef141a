#include "IconeTray.h"

#include <QMenu>
#include <QPainter>
#include <QPixmap>

namespace {

// Une enveloppe de 16 × 16 : fond, rabat, et une pastille quand des messages attendent.
QIcon enveloppe(const QColor& fond, const QColor& pastille) {
    QPixmap image(16, 16);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(fond);
    p.drawRect(QRectF(1.5, 3.5, 13, 10));
    p.drawLine(QPointF(1.5, 3.5), QPointF(8, 9));
    p.drawLine(QPointF(14.5, 3.5), QPointF(8, 9));
    if (pastille.isValid()) {
        p.setBrush(pastille);
        p.drawEllipse(QRectF(9, 0.5, 6.5, 6.5));
    }
    return QIcon(image);
}

std::array<QIcon, 5> imagesEtat() {
    return {
        enveloppe(QColor(200, 220, 255), QColor()),            // relève active, liste vide
        enveloppe(QColor(200, 220, 255), QColor(255, 200, 0)),  // messages en attente
        enveloppe(QColor(190, 190, 190), QColor()),            // relève coupée
        enveloppe(QColor(255, 170, 170), QColor()),            // boîte en erreur
        enveloppe(QColor(255, 170, 170), QColor(255, 200, 0)),  // erreur et messages
    };
}

std::array<QIcon, 2> imagesAnimation() {
    return {enveloppe(QColor(255, 240, 120), QColor(255, 80, 0)), enveloppe(QColor(255, 255, 255), QColor(255, 200, 0))};
}

} // namespace

IconeTray::IconeTray(QObject* parent) : QObject(parent), etats_(imagesEtat()), trames_(imagesAnimation()) {
    icone_.setIcon(etats_[0]);
    icone_.setToolTip(QStringLiteral("Tessaron"));
    animation_.setInterval(800);
    connect(&animation_, &QTimer::timeout, this, [this] {
        trame_ = 1 - trame_;
        icone_.setIcon(trames_[static_cast<std::size_t>(trame_)]);
    });
    connect(&icone_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason raison) {
        if (raison == QSystemTrayIcon::Trigger || raison == QSystemTrayIcon::DoubleClick) emit Clic();
    });
}

bool IconeTray::Disponible() { return QSystemTrayIcon::isSystemTrayAvailable(); }

void IconeTray::Montrer() { icone_.show(); }

void IconeTray::DefinirMenu(QMenu* menu) { icone_.setContextMenu(menu); }

void IconeTray::Image(int image) {
    image_ = std::clamp(image, 0, 4);
    if (!animation_.isActive()) icone_.setIcon(etats_[static_cast<std::size_t>(image_)]);
}

void IconeTray::Animer(bool animer) {
    if (animer == animation_.isActive()) return;
    if (animer) {
        trame_ = 0;
        icone_.setIcon(trames_[0]);
        animation_.start();
    } else {
        animation_.stop();
        icone_.setIcon(etats_[static_cast<std::size_t>(image_)]);
    }
}

void IconeTray::Bulle(const QString& texte) { icone_.setToolTip(texte); }

QString IconeTray::BulleCourante() const { return icone_.toolTip(); }

void IconeTray::Message(const QString& titre, const QString& texte) {
    icone_.showMessage(titre, texte, QSystemTrayIcon::Information, 10000);
}
