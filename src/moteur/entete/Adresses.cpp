#include "Adresses.h"

#include "donnees/Casse1252.h"

namespace {

// Nombre de caractères retirés au plus après la fin de l'adresse.
constexpr std::size_t kLongueurCoupee = 255;

bool lettreOuChiffre(char c) { return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'); }

bool dansPartieLocale(char c) { return lettreOuChiffre(c) || c == '"' || c == '-' || c == '.' || c == '_'; }

bool dansDomaine(char c) { return lettreOuChiffre(c) || c == '-' || c == '.' || c == '_'; }

} // namespace

std::string ExtraireAdresse(std::string_view texte) {
    const std::string minuscule = AnsiLowerCase(texte);
    const std::size_t arobase = minuscule.rfind('@');
    if (arobase == std::string::npos || arobase == 0) return {};

    std::size_t debut = arobase;
    while (debut > 0 && dansPartieLocale(minuscule[debut - 1])) --debut;

    std::size_t fin = arobase + 1;
    while (fin < minuscule.size() && dansDomaine(minuscule[fin])) ++fin;

    std::string adresse = minuscule.substr(debut, fin - debut);
    if (minuscule.size() - fin > kLongueurCoupee) adresse.append(minuscule, fin + kLongueurCoupee);
    return adresse;
}

std::string DomaineAdresse(std::string_view adresse) {
    const std::size_t arobase = adresse.find('@');
    return std::string(arobase == std::string_view::npos ? adresse : adresse.substr(arobase + 1));
}

std::string PartieLocale(std::string_view adresse) {
    const std::size_t arobase = adresse.find('@');
    return arobase == std::string_view::npos ? std::string() : std::string(adresse.substr(0, arobase));
}
