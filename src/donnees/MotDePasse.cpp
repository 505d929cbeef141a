#include "MotDePasse.h"

#include <algorithm>

namespace {

char decale(char octet, std::size_t longueur, std::size_t position, int sens) {
    const unsigned base = static_cast<unsigned char>(octet) ^ 0x80u;
    const unsigned ecart = static_cast<unsigned>((longueur + position - 1) & 0xFFu);
    const unsigned resultat = sens > 0 ? base + ecart : base - ecart;
    return static_cast<char>(resultat & 0xFFu);
}

} // namespace

std::string BrouillePasse(const std::string& texte) {
    std::string resultat(texte);
    for (std::size_t i = 0; i < resultat.size(); ++i) resultat[i] = decale(texte[i], texte.size(), i + 1, -1);
    return resultat;
}

std::string DebrouillePasse(const std::string& texte) {
    if (texte.empty()) return {};
    if (texte[0] == '.') return texte.substr(1, 255);
    std::string resultat(texte);
    for (std::size_t i = 0; i < resultat.size(); ++i) resultat[i] = decale(texte[i], texte.size(), i + 1, +1);
    return resultat;
}

std::string MasquePasse(const std::string& texte, const std::string& motDePasseDemarrage) {
    std::string resultat(texte);
    const std::size_t commun = std::min(texte.size(), motDePasseDemarrage.size());
    for (std::size_t i = 0; i < commun; ++i)
        resultat[i] = static_cast<char>(texte[i] ^ motDePasseDemarrage[i]);
    return resultat;
}
