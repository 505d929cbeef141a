#pragma once
// Passage entre le texte du programme (octets Windows-1252) et le texte Qt de l'interface.
#include <QString>
#include <string>

// Octets Windows-1252 -> texte Qt. Les cinq octets sans caractère (0x81, 0x8D, 0x8F, 0x90, 0x9D)
// sont gardés comme les caractères de contrôle C1 de même valeur, pour un aller-retour exact.
QString depuisCp1252(const std::string& octets);

// Texte Qt -> octets Windows-1252 ; un caractère sans équivalent devient "?".
std::string versCp1252(const QString& texte);

// Texte UTF-8 -> octets Windows-1252 (un caractère sans équivalent devient "?").
std::string utf8VersCp1252(const std::string& utf8);

// Octets Windows-1252 -> texte UTF-8.
std::string cp1252VersUtf8(const std::string& octets);
