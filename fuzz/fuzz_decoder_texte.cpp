// Cible libFuzzer du décodage des mots codés : rien ne doit planter ni traîner, le résultat
// n'est jamais plus long que le texte reçu, et un texte sans rien à décoder revient intact.
//
// Construction, depuis /work/main :
//   clang++ -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -Isrc \
//       fuzz/fuzz_decoder_texte.cpp src/moteur/entete/DecoderTexteEntete.cpp \
//       src/donnees/Conversion1252.cpp -o build/fuzz_decoder_texte
// Lancement :
//   build/fuzz_decoder_texte -max_total_time=30 fuzz/corpus/fuzz_decoder_texte
#include "moteur/entete/DecoderTexteEntete.h"

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

// Rien que le décodage ne touche : pas de mot codé, de fin de mot, de double espace,
// d'espace de tête ni de "UTF-8".
bool rienADecoder(const std::string& texte) {
    for (const char* motif : {"=?", "?=", "  ", "UTF-8"})
        if (texte.find(motif) != std::string::npos) return false;
    return texte.empty() || texte.front() != ' ';
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* donnees, std::size_t taille) {
    const std::string texte(reinterpret_cast<const char*>(donnees), taille);
    const std::string decode = DecoderTexteEntete(texte);
    verifier(decode.size() <= texte.size(), "résultat plus long que le texte");
    if (rienADecoder(texte)) verifier(decode == texte, "texte sans mot codé changé");
    return 0;
}
