#pragma once
// Comparaison et affichage des lignes de filtre pour GoogleTest (trouvés par ADL, donc dans
// l'espace de noms de structFiltre).
#include "donnees/Filtres.h"

#include <gtest/gtest.h>
#include <ostream>

inline bool operator==(const structFiltre& a, const structFiltre& b) {
    return a.Motif == b.Motif && a.Champ == b.Champ && a.Avant == b.Avant && a.Pendant == b.Pendant &&
           a.Effectues == b.Effectues && a.Ami == b.Ami;
}

inline void PrintTo(const structFiltre& f, std::ostream* sortie) {
    *sortie << "{" << testing::PrintToString(f.Motif) << ", " << testing::PrintToString(f.Champ) << ", "
            << testing::PrintToString(f.Avant) << ", " << testing::PrintToString(f.Pendant) << ", "
            << testing::PrintToString(f.Effectues) << ", " << (f.Ami ? "ami" : "rejet") << "}";
}
