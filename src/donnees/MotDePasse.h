#pragma once
// Brouillage réversible des mots de passe écrits dans le fichier de paramètres.
#include <string>

// Octet i (compté depuis 1) : (octet XOR 0x80) - (L + i - 1), modulo 256.
std::string BrouillePasse(const std::string& texte);

// Inverse de BrouillePasse ; un texte commençant par "." est le mot de passe en clair qui suit
// le point (255 octets au plus).
std::string DebrouillePasse(const std::string& texte);

// OU exclusif octet à octet avec le mot de passe de démarrage, sur leur longueur commune.
// Appliqué deux fois avec le même mot de passe, il rend le texte d'origine.
std::string MasquePasse(const std::string& texte, const std::string& motDePasseDemarrage);
