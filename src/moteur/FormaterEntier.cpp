#include "FormaterEntier.h"

std::string FormaterEntier(long long valeur, const std::string& separateur) {
    const bool negatif = valeur < 0;
    // Passage par un non-signé pour que la plus petite valeur n'ait pas d'opposé à calculer.
    unsigned long long absolu = negatif ? 0ULL - static_cast<unsigned long long>(valeur)
                                        : static_cast<unsigned long long>(valeur);
    const std::string chiffres = std::to_string(absolu);
    std::string resultat;
    for (std::size_t i = 0; i < chiffres.size(); ++i) {
        if (i > 0 && (chiffres.size() - i) % 3 == 0) resultat += separateur;
        resultat += chiffres[i];
    }
    return negatif ? "-" + resultat : resultat;
}
