#include "DessinPanneaux.h"

#include "donnees/Chaines.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPalette>

namespace {

constexpr int kDecalageHaut = 3;

// Écrit `texte` en haut à gauche de (x, haut) et rend l'abscisse qui suit.
int ecrire(QPainter& peintre, int x, int haut, const QString& texte) {
    const QFontMetrics mesures = peintre.fontMetrics();
    peintre.drawText(x, haut + mesures.ascent(), texte);
    return x + mesures.horizontalAdvance(texte);
}

} // namespace

bool Panneau1EnRouge(const QString& texte) {
    const QString filtresDesactives = ChaineQ(1104);
    return texte.contains(QStringLiteral("=>")) || (!filtresDesactives.isEmpty() && texte.contains(filtresDesactives));
}

void DessinerPanneau1(QPainter& peintre, const QRect& zone, const QString& texte, const QPalette& palette) {
    peintre.save();
    peintre.setClipRect(zone);
    peintre.fillRect(zone, palette.color(QPalette::Window));
    if (!texte.isEmpty()) {
        peintre.setPen(Panneau1EnRouge(texte) ? QColor(255, 0, 0) : palette.color(QPalette::WindowText));
        ecrire(peintre, zone.left(), zone.top() + kDecalageHaut, texte);
    }
    peintre.restore();
}

void DessinerPanneau2(QPainter& peintre, const QRect& zone, bool afficher, std::size_t existantes,
                      std::size_t inexistantes, const QPalette& palette) {
    peintre.save();
    peintre.setClipRect(zone);
    peintre.fillRect(zone, palette.color(QPalette::Window));
    if (afficher) {
        const int haut = zone.top() + kDecalageHaut;
        peintre.setPen(QColor(0, 128, 0));
        const int x = ecrire(peintre, zone.left(), haut, QStringLiteral(" Ex=") + QString::number(existantes));
        peintre.setPen(QColor(255, 0, 0));
        ecrire(peintre, x, haut, QStringLiteral("  Inex=") + QString::number(inexistantes));
    }
    peintre.restore();
}
