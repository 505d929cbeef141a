#include "Cp1252.h"

#include <QList>
#include <array>

namespace {

// Caractères des octets 0x80 à 0x9F ; les autres octets valent leur propre point de code.
constexpr std::array<char16_t, 32> kTable80 = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char16_t caractere(unsigned char octet) {
    return (octet >= 0x80 && octet <= 0x9F) ? kTable80[octet - 0x80] : char16_t(octet);
}

char octetDe(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
    for (std::size_t i = 0; i < kTable80.size(); ++i)
        if (kTable80[i] == c) return static_cast<char>(0x80 + i);
    return '?';
}

} // namespace

QString depuisCp1252(const std::string& octets) {
    QString texte;
    texte.reserve(static_cast<qsizetype>(octets.size()));
    for (unsigned char o : octets) texte.append(QChar(caractere(o)));
    return texte;
}

std::string versCp1252(const QString& texte) {
    std::string octets;
    octets.reserve(static_cast<std::size_t>(texte.size()));
    for (char32_t c : texte.toUcs4()) octets.push_back(octetDe(c));
    return octets;
}

std::string utf8VersCp1252(const std::string& utf8) {
    return versCp1252(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
}

std::string cp1252VersUtf8(const std::string& octets) {
    return depuisCp1252(octets).toUtf8().toStdString();
}
