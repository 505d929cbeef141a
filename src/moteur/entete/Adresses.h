#pragma once
// Adresse nue tirée d'un champ d'expéditeur, et ses deux moitiés.
#include <string>
#include <string_view>

// L'adresse nue, en minuscules, ou un texte vide. Autour du dernier "@" (qui ne peut pas être
// le premier caractère) : à gauche, les lettres a-z, chiffres, '"', '-', '.', '_' jusqu'au
// premier autre caractère (un "+" arrête donc la partie locale) ; à droite, les lettres a-z,
// chiffres, '-', '.', '_' jusqu'au premier autre caractère, à partir duquel 255 caractères au
// plus sont retirés (au-delà, la fin du texte reste).
std::string ExtraireAdresse(std::string_view texte);

// Le texte après le premier "@" ; le texte entier sans "@".
std::string DomaineAdresse(std::string_view adresse);

// Le texte avant le premier "@" ; vide sans "@".
std::string PartieLocale(std::string_view adresse);
