#pragma once
// Le mode exact de la correspondance des motifs suivi pas à pas, sans aucun raccourci (et donc
// quadratique dans certains cas) : la référence à laquelle les essais et le fuzzing comparent
// la version rapide. `caractere(p, t)` dit si un caractère de motif accepte un caractère de texte.
#include <cstddef>
#include <string_view>

template <typename Caractere>
bool CorrespondJokerALaLettre(std::string_view P, std::string_view T, Caractere caractere) {
    if (P.empty() || T.empty()) return false;
    const std::size_t lp = P.size(), lt = T.size();
    std::size_t p = 0, t = 0, k = 0;
    int etape = 1;
    for (;;) {
        switch (etape) {
        case 1:
            if (p < lp && P[p] != '*' && caractere(P[p], T[t])) {
                ++p;
                ++t;
                if (t == lt) return p == lp;
            } else {
                etape = 2;
            }
            break;
        case 2:
            if (p == lp || P[p] != '*') return false;
            etape = 3;
            break;
        case 3:
            if (p + 1 == lp) return true;
            etape = 4;
            break;
        case 4:
            if (++t == lt) return false;
            etape = 5;
            break;
        case 5:
            for (k = 0; t + k < lt && !caractere(P[p + 1], T[t + k]);)
                ++k;
            etape = t + k == lt ? 3 : 6;
            break;
        default: {
            std::size_t pp = p + 2, tt = t + k + 1;
            while (pp < lp && tt < lt && P[pp] != '*' && caractere(P[pp], T[tt])) {
                ++pp;
                ++tt;
            }
            if (pp == lp) {
                if (tt == lt) return true;
                etape = 3;
            } else if (tt == lt) {
                return false;
            } else if (P[pp] == '*') {
                p = pp;
                t = tt;
                etape = 1;
            } else {
                etape = 3;
            }
        }
        }
    }
}
