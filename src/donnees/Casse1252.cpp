#include "Casse1252.h"

#include <array>

namespace {

constexpr std::array<unsigned char, 256> tableMinuscules() {
    std::array<unsigned char, 256> table {};
    for (unsigned c = 0; c < 256; ++c) table[c] = static_cast<unsigned char>(c);
    for (unsigned c = 'A'; c <= 'Z'; ++c) table[c] = static_cast<unsigned char>(c + 0x20);
    for (unsigned c = 0xC0; c <= 0xDE; ++c)
        if (c != 0xD7) table[c] = static_cast<unsigned char>(c + 0x20);
    for (unsigned c : {0x8Au, 0x8Cu, 0x8Eu}) table[c] = static_cast<unsigned char>(c + 0x10);
    table[0x9F] = 0xFF;
    return table;
}

constexpr std::array<unsigned char, 256> kMinuscules = tableMinuscules();

} // namespace

char MinusculeAnsi(char octet) { return static_cast<char>(kMinuscules[static_cast<unsigned char>(octet)]); }

std::string AnsiLowerCase(std::string_view texte) {
    std::string resultat(texte);
    for (char& c : resultat) c = MinusculeAnsi(c);
    return resultat;
}

bool MemeTexteSansCasse(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (MinusculeAnsi(a[i]) != MinusculeAnsi(b[i])) return false;
    return true;
}
