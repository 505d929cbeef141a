// Débit du classement : 10 000 lignes dans chacune des trois listes (modes et jokers mêlés)
// contre 1 000 messages variés. Affiche les messages par seconde et le pire message ; puis la
// correspondance d'un motif à nombreuses étoiles contre des textes de plus en plus longs, pour
// voir que le coût reste proportionnel à la longueur du texte.
#include "donnees/Filtres.h"
#include "moteur/classement/Classer.h"
#include "moteur/filtrage/Correspondance.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <random>

namespace {

constexpr int kLignesParListe = 10000;
constexpr int kMessages = 1000;

std::string mot(std::mt19937& alea, int longueurMin, int longueurMax) {
    static const std::string lettres = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::uniform_int_distribution<int> longueur(longueurMin, longueurMax);
    std::uniform_int_distribution<std::size_t> lettre(0, lettres.size() - 1);
    std::string m;
    for (int i = longueur(alea); i > 0; --i) m += lettres[lettre(alea)];
    return m;
}

// Un motif d'un mode tiré au hasard ; jamais un ami (le parcours irait moins loin).
std::string motif(std::mt19937& alea, bool adresse) {
    switch (alea() % 6) {
    case 0: return "\xB6" + mot(alea, 4, 10);
    case 1: return "~" + mot(alea, 3, 8);
    case 2: return adresse ? "*@" + mot(alea, 4, 8) + ".com" : "\xA7" + mot(alea, 3, 6) + " " + mot(alea, 3, 6);
    case 3: return mot(alea, 3, 6) + "*" + mot(alea, 2, 4) + "*";
    case 4: return "\xB6" + mot(alea, 2, 4) + "##" + mot(alea, 1, 3);
    default: return "\xB6" + mot(alea, 2, 3) + "\xB5?" + mot(alea, 2, 3);
    }
}

void remplir(ListeFiltres& liste, std::mt19937& alea, bool adresse) {
    for (int i = 0; i < kLignesParListe; ++i)
        liste.Lignes.push_back({motif(alea, adresse), liste.AvecChamp ? "L" : "", "g", "N ", "", false});
}

std::vector<structMessage> messages(std::mt19937& alea) {
    std::vector<structMessage> m(kMessages);
    for (auto& message : m) {
        message.AdresseExpediteur = mot(alea, 4, 12) + "@" + mot(alea, 4, 10) + ".com";
        message.ExpediteurTeste = message.AdresseExpediteur;
        for (int k = 0; k < 8; ++k) message.SujetTeste += mot(alea, 2, 9) + " ";
        message.ChampA = mot(alea, 4, 10) + "@" + mot(alea, 4, 8) + ".fr, " + mot(alea, 4, 10) + "@exemple.fr";
        message.Uidl = mot(alea, 16, 16);
    }
    return m;
}

void Classement(benchmark::State& state) {
    std::mt19937 alea(20261211);
    ListesFiltres listes;
    remplir(listes.ListeExpediteurs, alea, true);
    remplir(listes.ListeSujets, alea, false);
    remplir(listes.ListeDestinataires, alea, true);
    const std::vector<structMessage> lot = messages(alea);
    const ReglesClassement regles;
    const ContexteCorrespondance correspondance;
    const BoiteAClasser boite;
    double pire = 0;
    for (auto _ : state) {
        for (const structMessage& original : lot) {
            structMessage m = original;
            ContexteClassement contexte{listes, regles, correspondance, nullptr, {}};
            const auto debut = std::chrono::steady_clock::now();
            benchmark::DoNotOptimize(Classer(m, boite, contexte));
            pire = std::max(pire, std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - debut).count());
        }
    }
    state.counters["messages_par_seconde"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * kMessages, benchmark::Counter::kIsRate);
    state.counters["pire_message_ms"] = pire;
}
BENCHMARK(Classement)->Unit(benchmark::kMillisecond)->MinTime(3.0);

// Motif de 40 étoiles contre un texte de n caractères qui ne correspond pas.
void EtoilesContreTexteLong(benchmark::State& state) {
    std::string motifEtoiles;
    for (int i = 0; i < 40; ++i) motifEtoiles += "*a";
    motifEtoiles += "*b";
    const std::string texte(static_cast<std::size_t>(state.range(0)), 'a');
    const ContexteCorrespondance correspondance;
    for (auto _ : state) benchmark::DoNotOptimize(CorrespondJoker(correspondance, motifEtoiles, texte));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(EtoilesContreTexteLong)->RangeMultiplier(4)->Range(1 << 10, 1 << 18)->Complexity();

// Recherche partielle d'un motif presque présent partout.
void PartielContreTexteLong(benchmark::State& state) {
    const std::string motifPartiel = "\xB6" + std::string(60, 'a') + "b";
    const std::string texte(static_cast<std::size_t>(state.range(0)), 'a');
    const ContexteCorrespondance correspondance;
    for (auto _ : state) benchmark::DoNotOptimize(Correspond(correspondance, motifPartiel, texte));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(PartielContreTexteLong)->RangeMultiplier(4)->Range(1 << 10, 1 << 18)->Complexity();

} // namespace

BENCHMARK_MAIN();
