#pragma once
// Opérations de la fenêtre des filtres sur ses quatre listes, sans widgets : cellules par
// colonne, tri par colonne, recherche, remise à zéro des compteurs, suppression de lignes,
// texte copié d'une cellule de l'historique, motif de filtre d'une cellule, libellés des actions.
//
// Tout le texte est en octets Windows-1252.
#include "donnees/Filtres.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// ---------------------------------------------------------------- colonnes

// Colonnes d'une liste de filtres, dans l'ordre affiché : motif, [champ,] avant, pendant,
// effectués, puis "A" ou "R" (ami ou rejet). Colonne hors de la liste : texte vide.
const std::string& CelluleFiltre(const structFiltre& filtre, int colonne, bool avecChamp);
// Colonnes de l'historique : date, expéditeur, sujet, À, Cc, boîte.
const std::string& CelluleHisto(const structHisto& ligne, int colonne);
// La colonne du compteur `Effectues` : l'avant-dernière.
inline int ColonneCompteur(bool avecChamp) {
    return avecChamp ? 4 : 3;
}

// ---------------------------------------------------------------- tri

enum class SorteColonne { Texte, Compteur, Date };
SorteColonne SorteColonneFiltres(int colonne, bool avecChamp);
SorteColonne SorteColonneHisto(int colonne);

// Dernier tri d'une liste par un clic sur l'en-tête.
struct EtatTri {
    int Colonne = -1;
    bool Decroissant = false;
};
// Un clic sur l'en-tête `colonne` : croissant sur une autre colonne, sens inversé sur la même.
// Rend vrai quand le nouvel ordre est décroissant.
bool CliquerEnTete(EtatTri& etat, int colonne);

// Valeur d'un compteur pour le tri : un texte qui n'est pas un entier (vide, espace, "12x")
// compte pour 0, comme partout où le compteur est lu.
int ValeurCompteur(const std::string& effectues);

// Comparaison de textes sans égard à la casse, octet par octet après passage en minuscules
// Windows-1252 (É comme é), comme les autres listes du programme ; <0, 0 ou >0. Deux textes qui
// ne diffèrent que par la casse sont égaux.
int ComparerTexte(std::string_view a, std::string_view b);

// Tri stable d'une liste selon une colonne, croissant ou décroissant : le compteur comme un
// entier, la date de l'historique comme une date (illisible : avant toutes les autres dans
// l'ordre croissant), le reste comme du texte (ComparerTexte). Les lignes égales gardent leur
// ordre. Rend l'ordre appliqué : ordre[nouvelle] = ancienne position.
std::vector<std::size_t> TrierListeFiltres(ListeFiltres& liste, int colonne, bool decroissant);
std::vector<std::size_t> TrierListeHisto(ListeHisto& historique, int colonne, bool decroissant);

// ---------------------------------------------------------------- recherche

// Ligne où commence la recherche : celle qui suit la sélection (-1 : pas de sélection, la
// première ligne est alors prise pour la sélection), la dernière quand la sélection est l'une
// des deux dernières. -1 pour une liste vide.
int LigneDepartRecherche(int selection, int nombre);

// Texte cherché dans des cellules, en minuscules des deux côtés ; un texte vide ne se trouve
// nulle part. Recherche de Knuth, Morris et Pratt : le coût reste proportionnel à la longueur
// des cellules, même pour un texte long et répétitif face à des cellules de 10 000 caractères.
class TexteCherche {
public:
    explicit TexteCherche(std::string_view texte);

    bool Vide() const { return aiguille_.empty(); }
    bool DansCellule(std::string_view cellule) const;

private:
    std::string aiguille_;
    std::vector<std::size_t> repli_; // longueur du plus long bord de chaque début de l'aiguille
};

// Première ligne à partir de `depart` (comprise) dont une colonne contient le texte, jusqu'à
// la fin de la liste, sans reprendre au début ; -1 sans correspondance.
int RechercherFiltre(const ListeFiltres& liste, int depart, const TexteCherche& texte);
int RechercherHisto(const ListeHisto& historique, int depart, const TexteCherche& texte);

// ---------------------------------------------------------------- modifications

// Compteur "0" sur chaque ligne ; la liste est marquée modifiée.
void RemettreCompteursAZero(ListeFiltres& liste);

// Retire les lignes aux positions données (dans n'importe quel ordre, doublons et positions
// hors de la liste ignorés), en un seul passage ; rend le nombre de lignes retirées.
template <typename Ligne>
std::size_t RetirerLignes(std::vector<Ligne>& lignes, const std::vector<int>& positions) {
    std::vector<char> retirer(lignes.size(), 0);
    for (int p : positions)
        if (p >= 0 && static_cast<std::size_t>(p) < lignes.size()) retirer[static_cast<std::size_t>(p)] = 1;
    std::size_t garde = 0;
    for (std::size_t i = 0; i < lignes.size(); ++i) {
        if (retirer[i]) continue;
        if (garde != i) lignes[garde] = std::move(lignes[i]);
        ++garde;
    }
    const std::size_t retirees = lignes.size() - garde;
    lignes.resize(garde);
    return retirees;
}

// Retire les filtres donnés ; la liste est marquée modifiée quand une ligne est partie.
std::size_t SupprimerFiltres(ListeFiltres& liste, const std::vector<int>& positions);

// ---------------------------------------------------------------- historique

// Texte copié d'une cellule : sans sa dernière espace insécable, "·" ou espace (une seule).
std::string TexteACopier(const std::string& cellule);

// Motif du filtre noté dans une cellule de l'historique : le texte entre la dernière "(" et la
// dernière ")". Quand la cellule finit par la marque d'un filtre (")" suivie d'espaces
// insécables), la marque est prise entière, depuis son espace insécable et sa "(" : un motif
// qui contient lui-même des parenthèses est rendu complet. Rien sans motif.
std::optional<std::string> MotifDeCelluleHisto(const std::string& cellule);

// Liste des filtres d'une colonne de l'historique : expéditeur 0, sujet 1, À et Cc 2 ; -1 sinon.
int ListeDeColonneHisto(int colonne);

// ---------------------------------------------------------------- libellés

// Les quatre actions des règles globales, le délai d'interception à la place de "%d" :
// "Rejeter d'office", "Détruire au bout de 30s", "Garder au bout de 30s", "Garder toujours".
std::array<std::string, 4> LibellesActions(int delai);

// Légende de la case de la règle expéditeur et sujet :
// "détruire au bout de 30s" (entre guillemets), alors &Rejeter d'office.
std::string LibelleExpEtSujet(int delai);
