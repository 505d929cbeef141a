#pragma once
// Ce qu'un filtre devient dans l'éditeur et ce qu'il redevient dans sa liste : contrôle du motif,
// marque du mode, ligne construite d'après les choix de l'éditeur et choix relus d'une ligne,
// recherche d'un motif déjà présent, tri d'une liste par motif, nature du filtre pour les titres.
// Aucun widget : les textes sont des octets Windows-1252.
#include "donnees/Filtres.h"

#include <string>
#include <string_view>

// Onglets de la fenêtre des filtres qui tiennent une liste de filtres.
inline constexpr int kOngletExpediteurs = ListeIndexExpediteurs;
inline constexpr int kOngletSujets = ListeIndexSujets;
inline constexpr int kOngletDestinataires = ListeIndexDestinataires;

// Modes de filtrage, dans l'ordre des choix de l'éditeur ; l'index donne la marque.
enum ModeFiltrage { ModeExact = 0, ModePartiel = 1, ModeMotsMultiples = 2, ModePartielMot = 3 };
inline constexpr int kNbModes = 4;

// Index des choix de l'éditeur : actions (lettre dans "Rdgc "), réponses (lettre dans "Novs"),
// inclusions (lettre dans " acx"), champs (lettre dans "ACL").
inline constexpr int kNbActions = 4;
inline constexpr int kActionDemanderGarder = 2;
inline constexpr int kActionComptabiliser = 3;
inline constexpr int kNbReponses = 4;
inline constexpr int kNbInclusions = 4;
inline constexpr int kNbChamps = 3;
inline constexpr int kAucunChamp = -1;

// Les choix de l'éditeur pour un filtre.
struct ChoixEditeur {
    std::string Motif;       // le texte du filtre, sans sa marque de mode
    std::string Echantillon; // le texte d'essai
    int Mode = ModeExact;
    int Champ = 0; // liste des destinataires : 0 "A", 1 "C", 2 "L", kAucunChamp
    int Action = kActionDemanderGarder;
    int Reponse = 0;
    int Inclure = 0;
    bool Ami = false;

    bool operator==(const ChoixEditeur&) const = default;
};

// Marque d'un mode : rien, "¶", "§" ou "~" ; rien hors des quatre modes.
std::string MarqueDuMode(int mode);
// Mode donné par le premier caractère d'un motif.
int ModeDuMotif(std::string_view motif);
// Le motif sans sa marque de mode.
std::string_view SansMarque(std::string_view motif);

// Nombre de modes offerts sur un onglet : 2 expéditeurs, 4 sujets, 3 destinataires.
int NombreModes(int onglet);
// Un mode que l'onglet n'offre pas devient Partiel.
int ModeSelonOnglet(int onglet, int mode);

// Refus d'un motif à la fermeture de l'éditeur par OK, dans l'ordre où ils sont cherchés.
enum class RefusMotif { Aucun, JokerMotsMultiples, SaisieNonValide, MotsNonSepares, MotDUneLettre };

struct ValidationMotif {
    RefusMotif Refus = RefusMotif::Aucun;
    std::string Motif; // le motif à garder dans l'éditeur (espaces resserrés en mots multiples)
};

// Espaces ôtées aux deux bouts, chaque suite d'espaces ramenée à une seule.
std::string NormaliserMotsMultiples(std::string_view motif);
// Contrôle d'un motif (sans marque) pour le mode choisi.
ValidationMotif ValiderMotif(std::string_view motif, int mode);
// Le message montré pour un refus ; vide pour Aucun.
std::string MessageRefus(RefusMotif refus);

// La ligne que donnent les choix (compteur vide) ; `avecChamp` : liste des destinataires.
structFiltre LigneDeChoix(const ChoixEditeur& choix, bool avecChamp);
// Les choix que montre l'éditeur pour modifier une ligne. Le texte d'essai est le motif sans
// marque, ou rien quand il contient un joker "*", "?", "#" ou "µ".
ChoixEditeur ChoixDeLigne(const structFiltre& ligne, bool avecChamp);

// La première ligne dont le motif sans marque est exactement `motifSansMarque`, ou -1.
int ChercherDoublon(const ListeFiltres& liste, std::string_view motifSansMarque);
// Guillemet, motif, guillemet, espace, "est déjà dans la liste".
std::string MessageDoublon(std::string_view motifSansMarque);

// Trie les lignes par motif (marque comprise), croissant sans égard à la casse ; les lignes de
// même motif gardent leur ordre. Rend la nouvelle place de la ligne `suivie` (-1 : -1).
int TrierParMotif(ListeFiltres& liste, int suivie);

// Motif proposé pour un nouveau filtre : l'adresse nue, en minuscules, d'un texte d'expéditeur
// (`adresse` vrai), sinon le texte en minuscules (un sujet).
std::string MotifPropose(std::string_view texte, bool adresse);

// "Filtre par " suivi du champ expéditeur testé (onglet 0, selon FromReturnPath), de "Sujet"
// (onglet 1) ou de "Destination" (onglet 2).
std::string GenreFiltre(int onglet, int fromReturnPath);
