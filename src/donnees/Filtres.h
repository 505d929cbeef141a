#pragma once
// Les listes de filtres : expéditeurs, sujets, destinataires, et l'historique des rejets
// qui partage leur format de fichier.
#include "Historique.h"

#include <string>
#include <vector>

// Index des listes, qui donnent aussi l'extension de leur fichier.
enum IndexListe { ListeIndexExpediteurs = 0, ListeIndexSujets = 1, ListeIndexDestinataires = 2, ListeIndexHistorique = 5 };

// Marques de mode en tête d'un motif (octets Windows-1252).
inline constexpr char kMarquePartiel = '\xB6';        // "¶"
inline constexpr char kMarqueMotsMultiples = '\xA7';  // "§"
inline constexpr char kMarquePartielMot = '~';

struct structFiltre {
    std::string Motif;      // en minuscules, marque de mode éventuelle en tête
    std::string Champ;      // liste des destinataires seulement : "A", "C" ou "L"
    std::string Avant;      // "R", "d", "g", "c" ; un espace pour un ami
    std::string Pendant;    // lettre de réponse puis lettre d'inclusion ; un espace pour un ami
    std::string Effectues;  // compteur en décimal ; vide, "0" ou un espace possibles
    bool Ami = false;
};

struct ListeFiltres {
    explicit ListeFiltres(bool avecChamp) : AvecChamp(avecChamp) {}
    bool AvecChamp;  // la liste des destinataires a la colonne Champ
    std::vector<structFiltre> Lignes;
    bool Modifiee = false;

    int NbColonnes() const { return AvecChamp ? 6 : 5; }
};

// Les quatre listes de la fenêtre des filtres.
struct ListesFiltres {
    ListeFiltres ListeExpediteurs{false};
    ListeFiltres ListeSujets{false};
    ListeFiltres ListeDestinataires{true};
    ListeHisto Historique;
};
