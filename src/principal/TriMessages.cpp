#include "TriMessages.h"

#include "donnees/Casse1252.h"
#include "donnees/Historique.h"

#include <limits>

namespace {

// Une date illisible vient avant toutes les autres.
std::time_t date(const std::string& texte) {
    std::time_t instant = 0;
    return LireDateHeure(texte, instant) ? instant : std::numeric_limits<std::time_t>::min();
}

long long taille(const std::string& texte) {
    long long valeur = 0;
    for (char c : texte) {
        if (c == '.') continue;
        if (c < '0' || c > '9') break;
        if (valeur > (std::numeric_limits<long long>::max() - 9) / 10) break;
        valeur = valeur * 10 + (c - '0');
    }
    return valeur;
}

} // namespace

bool ColonneTriable(int colonne, int nombreLignes) { return colonne > 0 && colonne < NbColonnesMessage && nombreLignes >= 2; }

bool AvantDansColonne(const LigneMessage& a, const LigneMessage& b, int colonne) {
    const auto& ta = a.Colonnes[static_cast<std::size_t>(colonne)];
    const auto& tb = b.Colonnes[static_cast<std::size_t>(colonne)];
    if (colonne == ColDate) return date(ta) < date(tb);
    if (colonne == ColTaille) return taille(ta) < taille(tb);
    return AnsiLowerCase(ta) < AnsiLowerCase(tb);
}
