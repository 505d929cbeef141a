#include "OperationsListes.h"

#include "donnees/Casse1252.h"
#include "donnees/FichiersListes.h"
#include "donnees/Historique.h"

#include <algorithm>
#include <ctime>
#include <limits>
#include <numeric>

namespace {

const std::string kVide;
const std::string kAmi = "A";
const std::string kRejet = "R";

unsigned char minuscule(char c) {
    return static_cast<unsigned char>(MinusculeAnsi(c));
}

// Ordre stable des positions 0..n-1 selon `avant(i, j)` ; décroissant : `avant(j, i)`.
template <typename Avant> std::vector<std::size_t> ordreStable(std::size_t n, bool decroissant, Avant avant) {
    std::vector<std::size_t> ordre(n);
    std::iota(ordre.begin(), ordre.end(), std::size_t{0});
    if (decroissant)
        std::stable_sort(ordre.begin(), ordre.end(),
                         [&avant](std::size_t i, std::size_t j) { return avant(j, i); });
    else
        std::stable_sort(ordre.begin(), ordre.end(), avant);
    return ordre;
}

// Ordre par clés précalculées (une seule lecture par ligne).
template <typename Cle>
std::vector<std::size_t> ordreParCles(const std::vector<Cle>& cles, bool decroissant) {
    return ordreStable(cles.size(), decroissant,
                       [&cles](std::size_t i, std::size_t j) { return cles[i] < cles[j]; });
}

template <typename Ligne>
void appliquerOrdre(std::vector<Ligne>& lignes, const std::vector<std::size_t>& ordre) {
    std::vector<Ligne> triees;
    triees.reserve(lignes.size());
    for (std::size_t ancienne : ordre)
        triees.push_back(std::move(lignes[ancienne]));
    lignes = std::move(triees);
}

// Une date illisible vient avant toutes les autres.
std::time_t cleDate(const std::string& texte) {
    std::time_t instant = 0;
    return LireDateHeure(texte, instant) ? instant : std::numeric_limits<std::time_t>::min();
}

template <typename Ligne, typename Cellule>
int rechercher(const std::vector<Ligne>& lignes, int nbColonnes, int depart, const TexteCherche& texte,
               Cellule cellule) {
    if (texte.Vide() || depart < 0) return -1;
    for (std::size_t l = static_cast<std::size_t>(depart); l < lignes.size(); ++l)
        for (int c = 0; c < nbColonnes; ++c)
            if (texte.DansCellule(cellule(lignes[l], c))) return static_cast<int>(l);
    return -1;
}

std::string remplacerDelai(std::string texte, int delai) {
    const std::string nombre = std::to_string(delai);
    for (std::size_t p = texte.find("%d"); p != std::string::npos; p = texte.find("%d", p + nombre.size()))
        texte.replace(p, 2, nombre);
    return texte;
}

} // namespace

// ---------------------------------------------------------------- colonnes

const std::string& CelluleFiltre(const structFiltre& filtre, int colonne, bool avecChamp) {
    if (colonne == 0) return filtre.Motif;
    if (avecChamp) {
        if (colonne == 1) return filtre.Champ;
        --colonne;
    }
    switch (colonne) {
    case 1:
        return filtre.Avant;
    case 2:
        return filtre.Pendant;
    case 3:
        return filtre.Effectues;
    case 4:
        return filtre.Ami ? kAmi : kRejet;
    default:
        return kVide;
    }
}

const std::string& CelluleHisto(const structHisto& ligne, int colonne) {
    switch (colonne) {
    case 0:
        return ligne.DateHeure;
    case 1:
        return ligne.Expediteur;
    case 2:
        return ligne.Sujet;
    case 3:
        return ligne.Destinataires;
    case 4:
        return ligne.DestinatairesCopie;
    case 5:
        return ligne.Boite;
    default:
        return kVide;
    }
}

// ---------------------------------------------------------------- tri

SorteColonne SorteColonneFiltres(int colonne, bool avecChamp) {
    return colonne == ColonneCompteur(avecChamp) ? SorteColonne::Compteur : SorteColonne::Texte;
}

SorteColonne SorteColonneHisto(int colonne) {
    return colonne == 0 ? SorteColonne::Date : SorteColonne::Texte;
}

bool CliquerEnTete(EtatTri& etat, int colonne) {
    etat.Decroissant = colonne == etat.Colonne ? !etat.Decroissant : false;
    etat.Colonne = colonne;
    return etat.Decroissant;
}

int ValeurCompteur(const std::string& effectues) {
    return LireCompteur(effectues).value_or(0);
}

int ComparerTexte(std::string_view a, std::string_view b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const unsigned char x = minuscule(a[i]);
        const unsigned char y = minuscule(b[i]);
        if (x != y) return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

std::vector<std::size_t> TrierListeFiltres(ListeFiltres& liste, int colonne, bool decroissant) {
    auto& lignes = liste.Lignes;
    std::vector<std::size_t> ordre;
    if (SorteColonneFiltres(colonne, liste.AvecChamp) == SorteColonne::Compteur) {
        std::vector<int> cles;
        cles.reserve(lignes.size());
        for (const structFiltre& f : lignes)
            cles.push_back(ValeurCompteur(f.Effectues));
        ordre = ordreParCles(cles, decroissant);
    } else {
        const bool avecChamp = liste.AvecChamp;
        ordre = ordreStable(lignes.size(), decroissant, [&](std::size_t i, std::size_t j) {
            return ComparerTexte(CelluleFiltre(lignes[i], colonne, avecChamp),
                                 CelluleFiltre(lignes[j], colonne, avecChamp)) < 0;
        });
    }
    appliquerOrdre(lignes, ordre);
    return ordre;
}

std::vector<std::size_t> TrierListeHisto(ListeHisto& historique, int colonne, bool decroissant) {
    auto& lignes = historique.Lignes;
    std::vector<std::size_t> ordre;
    if (SorteColonneHisto(colonne) == SorteColonne::Date) {
        std::vector<std::time_t> cles;
        cles.reserve(lignes.size());
        for (const structHisto& h : lignes)
            cles.push_back(cleDate(h.DateHeure));
        ordre = ordreParCles(cles, decroissant);
    } else {
        ordre = ordreStable(lignes.size(), decroissant, [&](std::size_t i, std::size_t j) {
            return ComparerTexte(CelluleHisto(lignes[i], colonne), CelluleHisto(lignes[j], colonne)) < 0;
        });
    }
    appliquerOrdre(lignes, ordre);
    return ordre;
}

// ---------------------------------------------------------------- recherche

int LigneDepartRecherche(int selection, int nombre) {
    if (nombre <= 0) return -1;
    const int choisie = std::clamp(selection, 0, nombre - 1);
    return std::min(choisie + 1, nombre - 1);
}

TexteCherche::TexteCherche(std::string_view texte)
    : aiguille_(AnsiLowerCase(texte)), repli_(aiguille_.size(), 0) {
    std::size_t bord = 0;
    for (std::size_t i = 1; i < aiguille_.size(); ++i) {
        while (bord > 0 && aiguille_[i] != aiguille_[bord])
            bord = repli_[bord - 1];
        if (aiguille_[i] == aiguille_[bord]) ++bord;
        repli_[i] = bord;
    }
}

bool TexteCherche::DansCellule(std::string_view cellule) const {
    const std::size_t longueur = aiguille_.size();
    if (longueur == 0 || cellule.size() < longueur) return false;
    std::size_t lus = 0; // caractères de l'aiguille reconnus
    for (const char octet : cellule) {
        const char c = MinusculeAnsi(octet);
        while (lus > 0 && c != aiguille_[lus])
            lus = repli_[lus - 1];
        if (c == aiguille_[lus] && ++lus == longueur) return true;
    }
    return false;
}

int RechercherFiltre(const ListeFiltres& liste, int depart, const TexteCherche& texte) {
    const bool avecChamp = liste.AvecChamp;
    return rechercher(liste.Lignes, liste.NbColonnes(), depart, texte,
                      [avecChamp](const structFiltre& f, int c) -> const std::string& {
                          return CelluleFiltre(f, c, avecChamp);
                      });
}

int RechercherHisto(const ListeHisto& historique, int depart, const TexteCherche& texte) {
    return rechercher(historique.Lignes, 6, depart, texte, CelluleHisto);
}

// ---------------------------------------------------------------- modifications

void RemettreCompteursAZero(ListeFiltres& liste) {
    for (structFiltre& f : liste.Lignes)
        f.Effectues = "0";
    liste.Modifiee = true;
}

std::size_t SupprimerFiltres(ListeFiltres& liste, const std::vector<int>& positions) {
    const std::size_t retirees = RetirerLignes(liste.Lignes, positions);
    if (retirees > 0) liste.Modifiee = true;
    return retirees;
}

// ---------------------------------------------------------------- historique

std::string TexteACopier(const std::string& cellule) {
    if (cellule.empty()) return cellule;
    const char dernier = cellule.back();
    if (dernier == kEspaceInsecable || dernier == kPointMedian || dernier == ' ')
        return cellule.substr(0, cellule.size() - 1);
    return cellule;
}

std::optional<std::string> MotifDeCelluleHisto(const std::string& cellule) {
    const std::size_t fermante = cellule.rfind(')');
    if (fermante == std::string::npos) return std::nullopt;
    std::size_t ouvrante = std::string::npos;
    const bool finParMarque = fermante + 1 < cellule.size() &&
                              cellule.find_first_not_of(kEspaceInsecable, fermante + 1) == std::string::npos;
    if (finParMarque && fermante > 0) {
        const std::size_t p = cellule.rfind(std::string{kEspaceInsecable, '('}, fermante - 1);
        if (p != std::string::npos) ouvrante = p + 1;
    }
    if (ouvrante == std::string::npos) ouvrante = cellule.rfind('(');
    if (ouvrante == std::string::npos || ouvrante > fermante) return std::nullopt;
    std::string motif = cellule.substr(ouvrante + 1, fermante - ouvrante - 1);
    if (motif.empty()) return std::nullopt;
    return motif;
}

int ListeDeColonneHisto(int colonne) {
    switch (colonne) {
    case 1:
        return ListeIndexExpediteurs;
    case 2:
        return ListeIndexSujets;
    case 3:
    case 4:
        return ListeIndexDestinataires;
    default:
        return -1;
    }
}

// ---------------------------------------------------------------- libellés

std::array<std::string, 4> LibellesActions(int delai) {
    // "Rejeter d'office\rDétruire au bout de %ds\rGarder au bout de %ds\rGarder toujours"
    const std::string texte = remplacerDelai(
        "Rejeter d'office\rD\xE9truire au bout de %ds\rGarder au bout de %ds\rGarder toujours", delai);
    std::array<std::string, 4> libelles;
    std::size_t debut = 0;
    for (std::string& libelle : libelles) {
        const std::size_t fin = std::min(texte.find('\r', debut), texte.size());
        libelle = texte.substr(debut, fin - debut);
        debut = std::min(fin + 1, texte.size());
    }
    return libelles;
}

std::string LibelleExpEtSujet(int delai) {
    return "\"d\xE9truire au bout de " + std::to_string(delai) + "s\", alors &Rejeter d'office";
}
