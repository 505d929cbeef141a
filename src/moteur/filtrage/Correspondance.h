#pragma once
// Correspondance d'un motif de filtre avec un texte (adresse, sujet, champ A ou Cc).
//
// Le premier caractère du motif peut être une marque de mode : aucune = exact (avec "*"),
// "¶" (0xB6) = partiel, "~" = partiel sur mots entiers, "§" (0xA7) = plusieurs mots.
// Jokers d'un caractère : "µ" (0xB5) une consonne de ListeConsonnes, "#" un chiffre, un joker
// perso un de ses caractères, "?" n'importe quel caractère ; "*" (mode exact) un caractère
// ou plus, jamais aucun.
//
// Tous les textes sont des octets Windows-1252. Aucune de ces fonctions n'alloue de mémoire,
// sauf MotsDuMotif quand le vecteur de l'appelant doit grandir.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class JokersPerso;

// Ce que lit la correspondance : les deux listes de caractères des réglages globaux et les
// jokers perso, avec des tables tirées de ces listes pour des tests en temps constant.
//
// Les tables ne se mettent pas à jour seules : après tout changement de ListeConsonnes,
// de ListeAlphaNum, du pointeur Jokers ou du contenu des jokers perso (ajout, retrait,
// caractères changés), l'appelant doit appeler ReconstruireTables() avant la correspondance
// suivante.
struct ContexteCorrespondance {
    std::string ListeConsonnes = "bcdfghjklmnpqrstvwxz";
    std::string ListeAlphaNum = "abcdefghijklmnopqrstuvwxyz0123456789"
                                "\xE0\xE2\xEA\xEB\xE9\xE8\xEE\xEF\xF4\xF6\xF9\xFB\xFC";
    const JokersPerso* Jokers = nullptr;  // aucun joker perso quand nul

    ContexteCorrespondance() { ReconstruireTables(); }

    // Recalcule les tables à partir des deux listes et des jokers perso.
    void ReconstruireTables();

    // Lectures des tables, pour les boucles de la correspondance.
    bool Correspondent(unsigned char motif, unsigned char texte) const {
        return (correspondances_[motif][texte >> 6] >> (texte & 63)) & 1;
    }
    bool EstMot(unsigned char c) const { return (caracteresMot_[c >> 6] >> (c & 63)) & 1; }
    unsigned char Minuscule(unsigned char c) const { return minuscules_[c]; }

private:
    using Ensemble = std::array<std::uint64_t, 4>;  // 256 bits, un par octet

    // Ligne m, bit t : le caractère de motif m accepte le caractère de texte t.
    std::array<Ensemble, 256> correspondances_{};
    Ensemble caracteresMot_{};
    std::array<unsigned char, 256> minuscules_{};
};

// Un caractère de motif contre un caractère de texte, les deux mis en minuscules d'abord.
bool CaractereCorrespond(const ContexteCorrespondance& ctx, char p, char t);

// Vrai quand c est dans ListeAlphaNum (comparaison exacte, sans minuscules).
bool EstCaractereMot(const ContexteCorrespondance& ctx, char c);

// Modes exact, partiel ("¶") et partiel sur mots entiers ("~"). Faux quand le motif ou le
// texte est vide. Un motif marqué "§" arrive ici avec sa marque et passe par le mode exact.
bool Correspond(const ContexteCorrespondance& ctx, std::string_view motif, std::string_view texte);

// Mode exact : tout le texte contre tout le motif. Faux quand l'un des deux est vide.
bool CorrespondJoker(const ContexteCorrespondance& ctx, std::string_view motif, std::string_view texte);

// Mode "§" : vrai quand le motif donne au moins deux mots et que chacun se trouve dans le
// texte mis en minuscules (les mots du motif sont pris tels quels, sans jokers).
bool CorrespondMotsMultiples(const ContexteCorrespondance& ctx, std::string_view motif,
                             std::string_view texte);

// Les mots d'un motif "§" : le premier caractère (la marque) est ôté, puis chaque texte
// devant une espace est un mot (vide entre deux espaces) ; le reste après la dernière espace
// n'est un mot que s'il a plus d'un caractère. `mots` est vidé puis rempli de vues sur
// `motif`, qui doit donc vivre aussi longtemps qu'elles.
void MotsDuMotif(std::string_view motif, std::vector<std::string_view>& mots);
