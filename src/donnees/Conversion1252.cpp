#include "Conversion1252.h"

#include <array>

namespace {

// Caractères des octets 0x80 à 0x9F ; les autres octets valent leur propre point de code.
constexpr std::array<char32_t, 32> kTable80 = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char octetDe(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
    for (std::size_t i = 0; i < kTable80.size(); ++i)
        if (kTable80[i] == c) return static_cast<char>(0x80 + i);
    return '?';
}

// Forme d'une séquence selon son octet de tête : longueur, bornes du deuxième octet (les
// suivants sont toujours entre 0x80 et 0xBF) et bits de tête gardés. Les bornes du deuxième
// octet écartent les formes trop longues, les demi-codets et ce qui dépasse U+10FFFF.
struct Forme {
    std::size_t longueur = 0;  // 0 : l'octet ne commence aucune séquence
    unsigned char minimum = 0x80;
    unsigned char maximum = 0xBF;
    unsigned char masque = 0;
};

Forme formeDe(unsigned char tete) {
    if (tete >= 0xC2 && tete <= 0xDF) return {2, 0x80, 0xBF, 0x1F};
    if (tete == 0xE0) return {3, 0xA0, 0xBF, 0x0F};
    if (tete == 0xED) return {3, 0x80, 0x9F, 0x0F};
    if (tete >= 0xE1 && tete <= 0xEF) return {3, 0x80, 0xBF, 0x0F};
    if (tete == 0xF0) return {4, 0x90, 0xBF, 0x07};
    if (tete >= 0xF1 && tete <= 0xF3) return {4, 0x80, 0xBF, 0x07};
    if (tete == 0xF4) return {4, 0x80, 0x8F, 0x07};
    return {};
}

struct Sequence {
    char32_t point = 0;
    std::size_t lus = 1;  // sans caractère : les octets que remplace un seul "?"
    bool valide = false;
};

// Lit la séquence qui commence en `debut` (octet de tête >= 0x80).
Sequence lireSequence(std::string_view utf8, std::size_t debut) {
    const auto tete = static_cast<unsigned char>(utf8[debut]);
    const Forme forme = formeDe(tete);
    if (forme.longueur == 0) return {};
    char32_t point = tete & forme.masque;
    for (std::size_t k = 1; k < forme.longueur; ++k) {
        if (debut + k >= utf8.size()) return {0, k, false};
        const auto suite = static_cast<unsigned char>(utf8[debut + k]);
        const unsigned char minimum = k == 1 ? forme.minimum : 0x80;
        const unsigned char maximum = k == 1 ? forme.maximum : 0xBF;
        if (suite < minimum || suite > maximum) return {0, k, false};
        point = (point << 6) | (suite & 0x3Fu);
    }
    return {point, forme.longueur, true};
}

} // namespace

std::string Utf8VersAnsi(std::string_view utf8) {
    std::string resultat;
    resultat.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        if (static_cast<unsigned char>(utf8[i]) < 0x80) {
            resultat.push_back(utf8[i++]);
            continue;
        }
        const Sequence sequence = lireSequence(utf8, i);
        resultat.push_back(sequence.valide ? octetDe(sequence.point) : '?');
        i += sequence.lus;
    }
    return resultat;
}
