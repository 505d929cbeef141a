// Texte Windows-1252 : minuscules (lettres accentuées comprises) et conversion depuis l'UTF-8.
#include "donnees/Casse1252.h"
#include "donnees/Conversion1252.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Cas {
    const char* quoi;
    std::string entree;
    std::string attendu;
};

TEST(Casse1252, MinusculesWindows1252) {
    const Cas cas[] = {
        {"ASCII", "ABC xyz 019 @[`{", "abc xyz 019 @[`{"},
        {"accentuées", "\xC0\xC9\xCE\xD6\xD8\xDE", "\xE0\xE9\xEE\xF6\xF8\xFE"},
        {"× reste, ß et ÿ aussi", "\xD7\xDF\xFF", "\xD7\xDF\xFF"},
        {"Š Œ Ž Ÿ", "\x8A\x8C\x8E\x9F", "\x9A\x9C\x9E\xFF"},
        {"déjà en minuscules", "\x9A\x9C\x9E\xE9", "\x9A\x9C\x9E\xE9"},
        {"octets voisins inchangés", std::string("\x89\x8B\x8D\x8F\x9B\xBF\x00", 7), std::string("\x89\x8B\x8D\x8F\x9B\xBF\x00", 7)},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.quoi);
        EXPECT_EQ(AnsiLowerCase(c.entree), c.attendu);
    }
}

TEST(Conversion1252, Utf8VersWindows1252) {
    const Cas cas[] = {
        {"ASCII", "Bonjour !", "Bonjour !"},
        {"latin", "caf\xC3\xA9 \xC3\xA0 \xC3\xBF", "caf\xE9 \xE0 \xFF"},
        {"plage 0x80-0x9F", "\xE2\x82\xAC \xC5\x92 \xE2\x80\x94 \xC5\xB8", "\x80 \x8C \x97 \x9F"},
        {"C1 sans caractère gardé", "\xC2\x81\xC2\x9D", "\x81\x9D"},
        {"C1 remplacé ailleurs", "\xC2\x80", "?"},
        {"hors Windows-1252", "\xE4\xB8\xAD \xF0\x9F\x98\x80", "? ?"},
        {"octet de tête invalide", "a\xFF" "b\x80" "c", "a?b?c"},
        {"séquence tronquée en fin", "a\xC3", "a?"},
        {"séquence rompue", "\xE2\x82" "A", "?A"},
        {"texte Windows-1252 pris pour de l'UTF-8", "R\xE9sum\xE9", "R?sum?"},
        {"forme trop longue", "\xC0\xAF", "??"},
        {"demi-codet", "\xED\xA0\x80", "???"},
        {"au-delà de U+10FFFF", "\xF4\x90\x80\x80", "????"},
        {"nul gardé", std::string("a\0b", 3), std::string("a\0b", 3)},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.quoi);
        EXPECT_EQ(Utf8VersAnsi(c.entree), c.attendu);
    }
}

} // namespace
