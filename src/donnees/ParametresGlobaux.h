#pragma once
// Valeurs en mémoire des réglages globaux (section "Tessaron") que le moteur consulte.
#include <string>

struct ParametresGlobaux {
    bool TestInternet = false;
    bool RecenseDemar = true;
    bool VerifVersionDemar = true;
    bool Son = true;
    std::string FichierSon;  // vide quand le fichier n'existait pas au démarrage
    int NbEvenements = 100;
};

class FichierIni;

// Lit les clés ci-dessus dans la section "Tessaron" (défaut pour chaque clé absente ou illisible).
ParametresGlobaux LireParametresGlobaux(const FichierIni& ini);
