// Cible libFuzzer de la correspondance des motifs. Entrée : un octet d'options (bit 0 : jokers
// perso, bit 1 : listes de consonnes et de caractères de mot changées), puis le motif jusqu'au
// premier saut de ligne, puis le texte. Chaque fonction doit tenir sans planter ni traîner, et
// rendre ce que donne une manière plus directe (et plus lente) de faire le même calcul.
//
// Construction, depuis /work/main :
//   /usr/lib/qt6/libexec/rcc -name ressources ressources/ressources.qrc -o build/qrc_ressources.cpp
//   clang++ -std=c++20 -g -O1 -fPIC -fsanitize=fuzzer,address,undefined \
//       $(pkg-config --cflags Qt6Core | sed 's/-I/-isystem /g') -Isrc \
//       fuzz/fuzz_correspondance.cpp src/moteur/filtrage/Correspondance.cpp \
//       src/donnees/Casse1252.cpp src/donnees/JokersPerso.cpp src/donnees/FichierIni.cpp \
//       src/donnees/MotDePasse.cpp src/donnees/Chaines.cpp src/donnees/Cp1252.cpp \
//       build/qrc_ressources.cpp $(pkg-config --libs Qt6Core) -o build/fuzz_correspondance
// Lancement :
//   build/fuzz_correspondance -max_total_time=60 -max_len=4096 fuzz/corpus/fuzz_correspondance
#include "donnees/Casse1252.h"
#include "donnees/FichierIni.h"
#include "donnees/JokersPerso.h"
#include "CorrespondanceALaLettre.h"
#include "moteur/filtrage/Correspondance.h"

#include <QTemporaryDir>

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace {

void verifier(bool condition, const char* quoi) {
    if (condition) return;
    std::fprintf(stderr, "promesse non tenue : %s\n", quoi);
    std::abort();
}

// Les jokers perso et les quatre contextes, construits une fois.
struct Banc {
    QTemporaryDir dossier;
    JokersPerso jokers;
    std::array<ContexteCorrespondance, 4> contextes;

    Banc() {
        FichierIni ini(dossier.filePath(QStringLiteral("Tessaron.ini")));
        jokers.Ajouter(ini, "voyelles", '\xA2', "aeiouy");
        jokers.Ajouter(ini, "diese", '#', "ab");
        jokers.Ajouter(ini, "micro", '\xB5', "a");
        jokers.Ajouter(ini, "premier", '\xA5', "a*");
        jokers.Ajouter(ini, "second", '\xA5', "b");
        jokers.Ajouter(ini, "soi", '\xA4', "\xA4" "x\xE9");
        jokers.Ajouter(ini, "etoile", '*', "ab");
        jokers.Ajouter(ini, "capitale", '\xC9', "z");  // jamais trouvé : le motif est mis en minuscules
        for (std::size_t options = 0; options < contextes.size(); ++options) {
            ContexteCorrespondance& ctx = contextes[options];
            if (options & 1) ctx.Jokers = &jokers;
            if (options & 2) {
                ctx.ListeConsonnes = "abc\xE9?*#";
                ctx.ListeAlphaNum = "xyz .\xC9";
            }
            ctx.ReconstruireTables();
        }
    }
};

Banc* banc = nullptr;

// Un caractère de motif contre un caractère de texte, calculé sans les tables.
bool caractereDirect(const ContexteCorrespondance& ctx, char p, char t) {
    p = MinusculeAnsi(p);
    t = MinusculeAnsi(t);
    if (p == '\xB5') return ctx.ListeConsonnes.find(t) != std::string::npos;
    if (p == '#') return t >= '0' && t <= '9';
    if (ctx.Jokers != nullptr && !ctx.Jokers->CaracteresJokersPerso().empty()) {
        if (const structListeJoker* joker = ctx.Jokers->JokerDe(p))
            return joker->Caracteres.find(t) != std::string::npos;
    }
    return p == t || p == '?';
}

bool correspondJokerALaLettre(const ContexteCorrespondance& ctx, std::string_view P, std::string_view T) {
    return CorrespondJokerALaLettre(P, T, [&ctx](char p, char c) { return caractereDirect(ctx, p, c); });
}

bool motDirect(const ContexteCorrespondance& ctx, char c) { return ctx.ListeAlphaNum.find(c) != std::string::npos; }

// Recherche partielle : une occurrence quelconque pour "¶" ; pour "~", la première occurrence
// en début de mot, qui doit aussi finir en fin de mot. Marque seule : tout texte non vide.
bool partielDirect(const ContexteCorrespondance& ctx, std::string_view motif, std::string_view texte) {
    const std::string_view cherche = motif.substr(1);
    if (cherche.empty()) return true;
    const bool motsEntiers = motif[0] == '~';
    for (std::size_t debut = 0; debut + cherche.size() <= texte.size(); ++debut) {
        if (motsEntiers && debut > 0 && motDirect(ctx, texte[debut - 1])) continue;
        std::size_t k = 0;
        while (k < cherche.size() && caractereDirect(ctx, cherche[k], texte[debut + k])) ++k;
        if (k < cherche.size()) continue;
        const std::size_t fin = debut + k;
        return !(motsEntiers && fin < texte.size() && motDirect(ctx, texte[fin]));
    }
    return false;
}

bool motsMultiplesDirect(std::string_view motif, std::string_view texte) {
    std::vector<std::string_view> mots;
    MotsDuMotif(motif, mots);
    const std::string minuscules = AnsiLowerCase(texte);
    for (std::string_view mot : mots)
        if (mot.empty() || minuscules.find(mot) == std::string::npos) return false;
    return mots.size() >= 2;
}

void verifierCaracteres(const ContexteCorrespondance& ctx, std::string_view motif, std::string_view texte) {
    for (std::size_t i = 0; i < motif.size() && i < 16; ++i)
        for (std::size_t j = 0; j < texte.size() && j < 16; ++j)
            verifier(CaractereCorrespond(ctx, motif[i], texte[j]) == caractereDirect(ctx, motif[i], texte[j]),
                     "CaractereCorrespond");
    for (std::size_t j = 0; j < texte.size() && j < 16; ++j)
        verifier(EstCaractereMot(ctx, texte[j]) == motDirect(ctx, texte[j]), "EstCaractereMot");
}

void verifierModes(const ContexteCorrespondance& ctx, std::string_view motif, std::string_view texte) {
    const bool obtenu = Correspond(ctx, motif, texte);
    const bool partiel = !motif.empty() && (motif[0] == '\xB6' || motif[0] == '~');
    if (motif.empty() || texte.empty()) verifier(!obtenu, "vide");
    else if (partiel) verifier(obtenu == partielDirect(ctx, motif, texte), "Correspond partiel");
    else verifier(obtenu == CorrespondJoker(ctx, motif, texte), "Correspond exact");

    // Le pas à pas est quadratique : seulement sur des textes courts.
    if (texte.size() <= 1024)
        verifier(CorrespondJoker(ctx, motif, texte) == correspondJokerALaLettre(ctx, motif, texte),
                 "CorrespondJoker");
    verifier(CorrespondMotsMultiples(ctx, motif, texte) == motsMultiplesDirect(motif, texte),
             "CorrespondMotsMultiples");
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    banc = new Banc;
    verifier(banc->dossier.isValid() && banc->jokers.Nombre() == 8, "jokers enregistrés");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* donnees, std::size_t taille) {
    if (taille == 0) return 0;
    const ContexteCorrespondance& ctx = banc->contextes[donnees[0] & 3];
    const std::string_view entree(reinterpret_cast<const char*>(donnees + 1), taille - 1);
    const std::size_t saut = entree.find('\n');
    const std::string_view motif = entree.substr(0, saut);
    const std::string_view texte = saut == std::string_view::npos ? std::string_view() : entree.substr(saut + 1);
    verifierCaracteres(ctx, motif, texte);
    verifierModes(ctx, motif, texte);
    return 0;
}
