#pragma once
// Table numérotée des textes visibles par l'utilisateur.
#include <QString>
#include <string>

// Le texte numéro `numero`, en octets Windows-1252 ; vide quand le numéro est inconnu.
const std::string& Chaine(int numero);

// Le même texte pour l'interface Qt.
QString ChaineQ(int numero);
