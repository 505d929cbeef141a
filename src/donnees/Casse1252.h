#pragma once
// Minuscules du texte Windows-1252 : lettres ASCII et lettres accentuées.
#include <string>
#include <string_view>

// Minuscule d'un octet Windows-1252 : A-Z, À-Þ sauf × (0xC0-0xDE sauf 0xD7, +0x20),
// Š Œ Ž (0x8A 0x8C 0x8E -> 0x9A 0x9C 0x9E) et Ÿ (0x9F -> 0xFF) ; les autres octets restent.
char MinusculeAnsi(char octet);

// Le texte entier en minuscules, octet par octet.
std::string AnsiLowerCase(std::string_view texte);

// Les deux textes sont égaux sans égard à la casse (minuscules Windows-1252).
bool MemeTexteSansCasse(std::string_view a, std::string_view b);
