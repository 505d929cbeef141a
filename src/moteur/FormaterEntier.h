#pragma once
#include <string>

// L'entier en décimal, avec `separateur` entre les groupes de trois chiffres comptés depuis
// la droite : 1234567 et "." donnent "1.234.567".
std::string FormaterEntier(long long valeur, const std::string& separateur);
