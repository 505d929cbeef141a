// Cible libFuzzer de l'adresse nue et de ses moitiés : rien ne doit planter ni traîner ;
// l'adresse est vide ou contient un "@", sans capitale ASCII, jamais plus longue que le texte ;
// partie locale, "@" et domaine redonnent le texte.
//
// Construction, depuis /work/main :
//   clang++ -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -Isrc \
//       fuzz/fuzz_adresse.cpp src/moteur/entete/Adresses.cpp src/donnees/Casse1252.cpp \
//       -o build/fuzz_adresse
// Lancement :
//   build/fuzz_adresse -max_total_time=30 fuzz/corpus/fuzz_adresse
#include "moteur/entete/Adresses.h"

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

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* donnees, std::size_t taille) {
    const std::string texte(reinterpret_cast<const char*>(donnees), taille);
    const std::string adresse = ExtraireAdresse(texte);
    verifier(adresse.size() <= texte.size(), "adresse plus longue que le texte");
    verifier(adresse.empty() || adresse.find('@') != std::string::npos, "adresse sans @");
    for (char c : adresse) verifier(c < 'A' || c > 'Z', "capitale dans l'adresse");

    const std::string domaine = DomaineAdresse(texte);
    const std::string locale = PartieLocale(texte);
    if (texte.find('@') == std::string::npos) verifier(domaine == texte && locale.empty(), "moitiés sans @");
    else verifier(locale + "@" + domaine == texte, "moitiés qui ne redonnent pas le texte");
    return 0;
}
