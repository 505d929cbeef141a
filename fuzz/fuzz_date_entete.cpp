// Cible libFuzzer de la mise en forme des dates d'en-tête : rien ne doit planter ; une date
// rendue commence par "jj/mm/aaaa " d'une date qui existe.
//
// Construction, depuis /work/main :
//   clang++ -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -Isrc \
//       fuzz/fuzz_date_entete.cpp src/moteur/entete/DateEntete.cpp src/donnees/Casse1252.cpp \
//       -o build/fuzz_date_entete
// Lancement :
//   build/fuzz_date_entete -max_total_time=30 fuzz/corpus/fuzz_date_entete
#include "moteur/entete/DateEntete.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

void verifier(bool condition, const char* quoi) {
    if (condition) return;
    std::fprintf(stderr, "promesse non tenue : %s\n", quoi);
    std::abort();
}

int nombre(const std::string& texte, std::size_t debut, std::size_t longueur) {
    int valeur = 0;
    for (std::size_t i = debut; i < debut + longueur; ++i) {
        verifier(texte[i] >= '0' && texte[i] <= '9', "chiffre attendu");
        valeur = valeur * 10 + (texte[i] - '0');
    }
    return valeur;
}

void verifierForme(const std::string& date) {
    verifier(date.size() > 11 && date[2] == '/' && date[5] == '/' && date[10] == ' ', "forme jj/mm/aaaa");
    const int jour = nombre(date, 0, 2);
    const int mois = nombre(date, 3, 2);
    const int annee = nombre(date, 6, 4);
    verifier(jour >= 1 && jour <= 31 && mois >= 1 && mois <= 12 && annee >= 1, "date impossible");
    const std::string heure = date.substr(11);
    verifier(heure.find_first_of(" ,") == std::string::npos, "heure qui déborde de son jeton");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* donnees, std::size_t taille) {
    const std::string texte(reinterpret_cast<const char*>(donnees), taille);
    const std::string date = FormaterDateEntete(texte);
    if (!date.empty()) verifierForme(date);
    return 0;
}
