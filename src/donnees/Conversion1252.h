#pragma once
// Texte UTF-8 -> octets Windows-1252, sans Qt.
#include <string>
#include <string_view>

// Chaque caractère UTF-8 devient son octet Windows-1252. Un caractère sans équivalent devient
// "?", une séquence UTF-8 invalide aussi : un "?" par morceau invalide le plus long (l'octet de
// tête et les octets de suite déjà acceptés), la lecture reprenant à l'octet qui a rompu la séquence.
// Les cinq octets sans caractère (0x81, 0x8D, 0x8F, 0x90, 0x9D) viennent des caractères de
// contrôle C1 de même valeur, comme dans le passage par le texte Qt.
std::string Utf8VersAnsi(std::string_view utf8);
