// Tri et recherche de la fenêtre des filtres sur des listes de 100 000 lignes : tri d'une liste
// de filtres par motif (texte) et par compteur, tri de l'historique par date et par sujet,
// recherche sans correspondance (toutes les colonnes de toutes les lignes) et recherche qui ne
// trouve que la dernière ligne. Chaque tri part d'une copie dans le désordre de départ.
#include "donnees/Historique.h"
#include "filtres/OperationsListes.h"

#include <benchmark/benchmark.h>
#include <ctime>
#include <random>

namespace {

constexpr int kLignes = 100000;

std::string mot(std::mt19937& alea, int longueurMin, int longueurMax) {
    static const std::string lettres = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJ\xE9\xE8\xE0\xC9";
    std::uniform_int_distribution<int> longueur(longueurMin, longueurMax);
    std::uniform_int_distribution<std::size_t> lettre(0, lettres.size() - 1);
    std::string m;
    for (int i = longueur(alea); i > 0; --i)
        m += lettres[lettre(alea)];
    return m;
}

// Motifs des quatre modes, compteurs entiers, vides, espaces ou abîmés.
const ListeFiltres& filtres() {
    static const ListeFiltres liste = [] {
        std::mt19937 alea(20261211);
        ListeFiltres l(false);
        static const char* marques[] = {"", "\xB6", "\xA7", "~"};
        static const char* compteurs[] = {"", " ", "0", "12x"};
        for (int i = 0; i < kLignes; ++i) {
            const std::string compteur =
                alea() % 3 == 0 ? compteurs[alea() % 4] : std::to_string(alea() % 5000);
            l.Lignes.push_back({marques[alea() % 4] + mot(alea, 4, 14) + "@" + mot(alea, 3, 10) + ".com", "",
                                "g", "oa", compteur, alea() % 10 == 0});
        }
        return l;
    }();
    return liste;
}

const ListeHisto& historique() {
    static const ListeHisto h = [] {
        std::mt19937 alea(4101);
        ListeHisto l;
        const std::time_t maintenant = std::time(nullptr);
        for (int i = 0; i < kLignes; ++i) {
            const std::time_t instant = maintenant - static_cast<std::time_t>(alea() % (400 * 86400));
            l.Lignes.push_back({FormaterDateHeure(instant),
                                mot(alea, 5, 20) + "@" + mot(alea, 4, 10) + ".fr\xA0", mot(alea, 10, 60),
                                mot(alea, 5, 20) + "@ici.fr", "", "Perso"});
        }
        return l;
    }();
    return h;
}

template <typename Liste, typename Trier>
void trier(benchmark::State& state, const Liste& modele, Trier trierCopie) {
    for (auto _ : state) {
        state.PauseTiming();
        Liste copie = modele;
        state.ResumeTiming();
        benchmark::DoNotOptimize(trierCopie(copie));
    }
    state.SetItemsProcessed(state.iterations() * kLignes);
}

void TriFiltresParMotif(benchmark::State& state) {
    trier(state, filtres(), [](ListeFiltres& l) { return TrierListeFiltres(l, 0, false); });
}
void TriFiltresParCompteur(benchmark::State& state) {
    trier(state, filtres(),
          [](ListeFiltres& l) { return TrierListeFiltres(l, ColonneCompteur(false), true); });
}
void TriHistoriqueParDate(benchmark::State& state) {
    trier(state, historique(), [](ListeHisto& h) { return TrierListeHisto(h, 0, false); });
}
void TriHistoriqueParSujet(benchmark::State& state) {
    trier(state, historique(), [](ListeHisto& h) { return TrierListeHisto(h, 2, false); });
}

void RechercheFiltresSansCorrespondance(benchmark::State& state) {
    const TexteCherche texte("introuvable");
    for (auto _ : state)
        benchmark::DoNotOptimize(RechercherFiltre(filtres(), 0, texte));
    state.SetItemsProcessed(state.iterations() * kLignes);
}

void RechercheFiltresDerniereLigne(benchmark::State& state) {
    ListeFiltres liste = filtres();
    liste.Lignes.back().Motif = "\xB6tout-au-bout.example";
    const TexteCherche texte("TOUT-AU-BOUT");
    for (auto _ : state)
        benchmark::DoNotOptimize(RechercherFiltre(liste, 0, texte));
    state.SetItemsProcessed(state.iterations() * kLignes);
}

void RechercheHistoriqueSansCorrespondance(benchmark::State& state) {
    const TexteCherche texte("introuvable");
    for (auto _ : state)
        benchmark::DoNotOptimize(RechercherHisto(historique(), 0, texte));
    state.SetItemsProcessed(state.iterations() * kLignes);
}

} // namespace

BENCHMARK(TriFiltresParMotif)->Unit(benchmark::kMillisecond);
BENCHMARK(TriFiltresParCompteur)->Unit(benchmark::kMillisecond);
BENCHMARK(TriHistoriqueParDate)->Unit(benchmark::kMillisecond);
BENCHMARK(TriHistoriqueParSujet)->Unit(benchmark::kMillisecond);
BENCHMARK(RechercheFiltresSansCorrespondance)->Unit(benchmark::kMillisecond);
BENCHMARK(RechercheFiltresDerniereLigne)->Unit(benchmark::kMillisecond);
BENCHMARK(RechercheHistoriqueSansCorrespondance)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
