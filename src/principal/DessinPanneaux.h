#pragma once
// Dessin des panneaux 1 et 2 de la barre d'état.
#include <QString>
#include <cstddef>

class QPainter;
class QPalette;
class QRect;

// Le texte du panneau 1 est rouge quand il signale une erreur de serveur ("=>") ou des filtres désactivés.
bool Panneau1EnRouge(const QString& texte);

// Remplit le panneau et écrit le texte 3 pixels sous son bord haut.
void DessinerPanneau1(QPainter& peintre, const QRect& zone, const QString& texte, const QPalette& palette);

// Remplit le panneau et, quand `afficher` est vrai, écrit " Ex=" en vert et "  Inex=" en rouge à sa suite.
void DessinerPanneau2(QPainter& peintre, const QRect& zone, bool afficher, std::size_t existantes,
                      std::size_t inexistantes, const QPalette& palette);
