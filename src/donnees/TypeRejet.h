#pragma once
// Lettres d'action "Rdgc " partagées par les boîtes et les filtres.
#include <string>

inline constexpr const char* kLettresRejet = "Rdgc ";

// Première position (depuis 0) de la lettre dans "Rdgc ", ou 2 quand elle n'y est pas.
int IndexTypeRejet(const std::string& lettre);

// La lettre de "Rdgc " à cet index ; hors de 0..4, la lettre de l'index 2.
std::string LettreTypeRejet(int index);
