// Coût d'une interrogation d'une boîte de 2 000 messages sur le serveur POP3 local :
// sans message nouveau (tous déjà listés), puis avec tous les messages nouveaux.
// Affiche la durée et le nombre de commandes POP3 envoyées par interrogation.
// Les serveurs de test doivent tourner (scripts/bench s'en charge).
#include "InterfaceEnregistree.h"
#include "ServeursTest.h"
#include "donnees/FichierIni.h"
#include "donnees/MotDePasse.h"
#include "moteur/ChargerBoites.h"
#include "moteur/Scrutation.h"
#include "moteur/pop3/ClientPop3.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <iostream>

namespace {

constexpr int kNombreMessages = 2000;
const char* const kUtilisateur = "u60";

struct Banc {
    QTemporaryDir dossier;
    FichierIni ini{dossier.filePath(QStringLiteral("Tessaron.ini"))};
    EtatProgramme etat;
    StockBoites boites;
    StockMessages messages;
    InterfaceEnregistree ui;
    ContexteMoteur contexte{etat, boites, messages, ui};
    QObject proprietaire;
    Scrutation scrutation{contexte};

    Banc() {
        etat.Parametres.VerifVersionDemar = false;
        ini.EcrireTexte("Banc", "Pop3ID", kUtilisateur);
        ini.EcrireTexte("Banc", "Pop3Mail", "127.0.0.1");
        ini.EcrireTexte("Banc", "Pop3Mdp", BrouillePasse(ServeursTest::MotDePasse(kUtilisateur)));
        ini.EcrireEntier("Banc", "Pop3Port", ServeursTest::PortPop3());
        ini.EcrireEntier("Banc", "Intervalle", 0);
        ContexteCreationBoite creation;
        creation.proprietaire = &proprietaire;
        ChargerBoites(ini, nullptr, boites, etat.SectionsBoites, creation);
    }
    ClientPop3& client() { return *boites.BoiteDeLigne(0)->Client; }
    void interroger() { scrutation.Timer1Timer(OrigineScrutation::ListeBoites, 0); }
};

void mesurer(benchmark::State& state, Banc& b, bool tousNouveaux) {
    b.interroger();
    if (b.messages.Nombre() != kNombreMessages) {
        state.SkipWithError("la boîte du banc n'a pas le bon nombre de messages");
        return;
    }
    long long commandes = 0;
    for (auto _ : state) {
        if (tousNouveaux) {
            state.PauseTiming();
            b.messages.Vider();
            state.ResumeTiming();
        }
        const long long avant = b.client().CommandesEnvoyees();
        b.interroger();
        commandes += b.client().CommandesEnvoyees() - avant;
    }
    state.counters["commandes_par_interrogation"] =
        benchmark::Counter(static_cast<double>(commandes) / static_cast<double>(state.iterations()));
    state.counters["messages"] = b.messages.Nombre();
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    if (!ServeursTest::Disponibles()) {
        std::cerr << "Serveurs de test absents : lancer scripts/bench\n";
        return 1;
    }
    ServeursTest::ViderBoite(kUtilisateur);
    for (int i = 0; i < kNombreMessages; ++i) ServeursTest::DeposerMessage(kUtilisateur, "banc " + std::to_string(i), 2000);
    Banc banc;
    benchmark::RegisterBenchmark("AucunNouveau", [&banc](benchmark::State& s) { mesurer(s, banc, false); })
        ->Unit(benchmark::kMillisecond)
        ->MinTime(2.0);
    benchmark::RegisterBenchmark("TousNouveaux", [&banc](benchmark::State& s) { mesurer(s, banc, true); })
        ->Unit(benchmark::kMillisecond)
        ->MinTime(2.0);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
