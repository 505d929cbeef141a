#pragma once
// Petites images des deux listes, dessinées par le programme une fois pour toutes.
#include <QIcon>
#include <array>

class JeuIcones {
public:
    JeuIcones();
    // Liste des messages : 0 ordinaire, 2 filtre mais gardé, 4 ami, 6 pièces jointes ; l'index
    // impair (bit 0) marque un message dont le texte a été affiché.
    const QIcon& Message(int index) const;
    // Liste des boîtes : 8 filtres de rejet appliqués, 15 non appliqués.
    const QIcon& Boite(int index) const;

private:
    std::array<QIcon, 8> messages_;
    QIcon boiteFiltree_;
    QIcon boiteLibre_;
};
