#include "DateEntete.h"

#include "donnees/Casse1252.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <optional>

namespace {

constexpr std::array<std::string_view, 12> kMois = {"jan", "feb", "mar", "apr", "may", "jun",
                                                    "jul", "aug", "sep", "oct", "nov", "dec"};

// Au-delà, un nombre ne peut plus donner de date : la lecture s'arrête de grandir.
constexpr long kPlafond = 1'000'000;

// Jeton suivant : les espaces sautées, puis tout jusqu'à un des `separateurs`.
std::string_view jetonSuivant(std::string_view texte, std::size_t& position, std::string_view separateurs) {
    position = std::min(texte.find_first_not_of(' ', position), texte.size());
    const std::size_t fin = std::min(texte.find_first_of(separateurs, position), texte.size());
    const std::string_view jeton = texte.substr(position, fin - position);
    position = fin;
    return jeton;
}

// Entier décimal, signe permis ; la valeur absolue est plafonnée (aucun débordement).
std::optional<long> lireEntier(std::string_view jeton) {
    const bool negatif = !jeton.empty() && jeton.front() == '-';
    if (!jeton.empty() && (jeton.front() == '-' || jeton.front() == '+')) jeton.remove_prefix(1);
    if (jeton.empty()) return std::nullopt;
    long valeur = 0;
    for (char c : jeton) {
        if (c < '0' || c > '9') return std::nullopt;
        valeur = std::min(valeur * 10 + (c - '0'), kPlafond);
    }
    return negatif ? -valeur : valeur;
}

std::optional<int> numeroMois(std::string_view nom) {
    const std::string minuscule = AnsiLowerCase(nom);
    for (std::size_t i = 0; i < kMois.size(); ++i)
        if (minuscule == kMois[i]) return static_cast<int>(i + 1);
    return std::nullopt;
}

bool bissextile(long annee) { return (annee % 4 == 0 && annee % 100 != 0) || annee % 400 == 0; }

bool dateExiste(long jour, int mois, long annee) {
    constexpr std::array<int, 12> kJours = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (annee < 1 || annee > 9999 || mois < 1 || mois > 12 || jour < 1) return false;
    const int dernier = kJours[static_cast<std::size_t>(mois - 1)] + (mois == 2 && bissextile(annee) ? 1 : 0);
    return jour <= dernier;
}

} // namespace

std::string FormaterDateEntete(std::string_view date) {
    std::size_t position = date.find(',');
    position = position == std::string_view::npos ? 0 : position + 1;
    const auto jour = lireEntier(jetonSuivant(date, position, " "));
    const auto mois = numeroMois(jetonSuivant(date, position, " "));
    auto annee = lireEntier(jetonSuivant(date, position, " "));
    const std::string_view heure = jetonSuivant(date, position, " ,");
    if (!jour || !mois || !annee || heure.empty()) return {};
    if (*annee < 100) *annee += 2000;
    if (!dateExiste(*jour, *mois, *annee)) return {};

    // Jour, mois et année sont déjà bornés ; le tampon garde de la marge pour le compilateur.
    std::array<char, 48> tampon {};
    std::snprintf(tampon.data(), tampon.size(), "%02ld/%02d/%04ld ", *jour, *mois, *annee);
    return std::string(tampon.data()) + std::string(heure);
}
