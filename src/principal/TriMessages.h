#pragma once
// Ordre des lignes de la liste des messages selon une colonne : dates comme des dates, tailles
// comme des entiers (sans les points), le reste comme du texte sans égard à la casse.
#include "moteur/Messages.h"

// Vrai quand `a` vient strictement avant `b` dans l'ordre croissant de la colonne.
bool AvantDansColonne(const LigneMessage& a, const LigneMessage& b, int colonne);

// La colonne "N° Msg" ne se trie pas, ni une liste de moins de deux lignes.
bool ColonneTriable(int colonne, int nombreLignes);
