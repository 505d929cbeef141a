// Opérations de la fenêtre des filtres sur ses listes : tri par colonne (texte, compteur, date)
// et sens inversé au second clic, ligne de départ et recherche sans reprise au début, texte
// copié d'une cellule, motif d'une cellule de l'historique, libellés, suppression, compteurs.
#include "donnees/Casse1252.h"
#include "filtres/OperationsListes.h"

#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>
#include <vector>

namespace {

const std::string NB = "\xA0";      // espace insécable
const std::string PARTIEL = "\xB6"; // marque du mode partiel

ListeFiltres Filtres(const std::vector<std::pair<std::string, std::string>>& motifsEtCompteurs,
                     bool avecChamp = false) {
    ListeFiltres liste(avecChamp);
    for (const auto& [motif, compteur] : motifsEtCompteurs)
        liste.Lignes.push_back({motif, avecChamp ? "A" : "", "g", "N ", compteur, false});
    return liste;
}

std::vector<std::string> Motifs(const ListeFiltres& liste) {
    std::vector<std::string> motifs;
    for (const structFiltre& f : liste.Lignes)
        motifs.push_back(f.Motif);
    return motifs;
}

ListeHisto Historique(const std::vector<std::string>& dates) {
    ListeHisto h;
    int n = 0;
    for (const std::string& date : dates)
        h.Lignes.push_back({date, "exp" + std::to_string(n++), "", "", "", "B"});
    return h;
}

std::vector<std::string> Expediteurs(const ListeHisto& h) {
    std::vector<std::string> e;
    for (const structHisto& l : h.Lignes)
        e.push_back(l.Expediteur);
    return e;
}

} // namespace

// ---------------------------------------------------------------- tri

struct CasTri {
    const char* nom;
    int colonne;
    bool decroissant;
    bool avecChamp;
    std::vector<std::pair<std::string, std::string>> lignes; // motif, compteur
    std::vector<std::string> attendu;                        // motifs dans l'ordre trié
};

class TriFiltres : public testing::TestWithParam<CasTri> {};

TEST_P(TriFiltres, OrdreStableSelonLaSorteDeColonne) {
    const CasTri& cas = GetParam();
    ListeFiltres liste = Filtres(cas.lignes, cas.avecChamp);
    const std::vector<std::string> avant = Motifs(liste);
    const std::vector<std::size_t> ordre = TrierListeFiltres(liste, cas.colonne, cas.decroissant);
    EXPECT_EQ(Motifs(liste), cas.attendu);
    // L'ordre rendu dit d'où vient chaque ligne.
    ASSERT_EQ(ordre.size(), avant.size());
    for (std::size_t n = 0; n < ordre.size(); ++n)
        EXPECT_EQ(liste.Lignes[n].Motif, avant[ordre[n]]);
    EXPECT_FALSE(liste.Modifiee);
}

// Compteurs : " ", vide et "12x" ne sont pas des entiers et comptent pour 0 ; à égalité,
// l'ordre d'avant reste, dans les deux sens.
INSTANTIATE_TEST_SUITE_P(
    Cas, TriFiltres,
    testing::Values(
        CasTri{"texte_sans_casse",
               0,
               false,
               false,
               {{"Zeta", ""}, {"alpha", ""}, {"\xC9t\xE9", ""}, {"Beta", ""}, {"\xE9t\xE9", ""}, {"ete", ""}},
               {"alpha", "Beta", "ete", "Zeta", "\xC9t\xE9", "\xE9t\xE9"}},
        CasTri{"texte_inverse",
               0,
               true,
               false,
               {{"b", ""}, {"A", ""}, {"a", ""}, {"c", ""}},
               {"c", "b", "A", "a"}},
        CasTri{"compteur_numerique",
               3,
               false,
               false,
               {{"dix", "10"},
                {"neuf", "9"},
                {"espace", " "},
                {"vide", ""},
                {"faux", "12x"},
                {"moins", "-2"},
                {"zero", "0"}},
               {"moins", "espace", "vide", "faux", "zero", "neuf", "dix"}},
        CasTri{"compteur_inverse",
               3,
               true,
               false,
               {{"dix", "10"},
                {"neuf", "9"},
                {"espace", " "},
                {"vide", ""},
                {"faux", "12x"},
                {"moins", "-2"},
                {"zero", "0"}},
               {"dix", "neuf", "espace", "vide", "faux", "zero", "moins"}},
        // Liste des destinataires : la colonne du compteur est la cinquième.
        CasTri{"destinataires_compteur",
               4,
               false,
               true,
               {{"b", "100"}, {"a", "20"}, {"c", "3"}},
               {"c", "a", "b"}},
        CasTri{"destinataires_champ_texte",
               3,
               false,
               true,
               {{"b", "100"}, {"a", "20"}, {"c", "3"}},
               {"b", "a", "c"}}), // tous "N " : l'ordre reste
    [](const testing::TestParamInfo<CasTri>& cas) { return cas.param.nom; });

TEST(TriFiltres, SecondClicInverseUneAutreColonneRepartEnCroissant) {
    EtatTri etat;
    EXPECT_FALSE(CliquerEnTete(etat, 0));
    EXPECT_TRUE(CliquerEnTete(etat, 0));
    EXPECT_FALSE(CliquerEnTete(etat, 0));
    EXPECT_TRUE(CliquerEnTete(etat, 0));
    EXPECT_FALSE(CliquerEnTete(etat, 3));
    EXPECT_EQ(etat.Colonne, 3);
}

TEST(TriHistorique, DateCommeUneDateIllisibleEnTete) {
    // Comme texte, "09/02" viendrait avant "10/01" ; comme date, le 10 janvier est avant le 9 février.
    const std::vector<std::string> dates = {"09/02/2026 08:00:00", "10/01/2026 23:59:59", "illisible",
                                            "10/01/2026 23:59:59", "10/01/2025 00:00:01"};
    ListeHisto h = Historique(dates);
    TrierListeHisto(h, 0, false);
    EXPECT_EQ(Expediteurs(h), (std::vector<std::string>{"exp2", "exp4", "exp1", "exp3", "exp0"}));
    h = Historique(dates);
    TrierListeHisto(h, 0, true);
    EXPECT_EQ(Expediteurs(h), (std::vector<std::string>{"exp0", "exp1", "exp3", "exp4", "exp2"}));
}

TEST(TriHistorique, AutresColonnesCommeDuTexteSansCasse) {
    ListeHisto h;
    for (const char* boite : {"Perso", "bureau", "Asso", "perso"})
        h.Lignes.push_back({"01/01/2026", boite, "", "", "", boite});
    TrierListeHisto(h, 5, false);
    EXPECT_EQ(Expediteurs(h), (std::vector<std::string>{"Asso", "bureau", "Perso", "perso"}));
}

// ---------------------------------------------------------------- recherche

TEST(Recherche, LigneDeDepart) {
    struct Cas {
        int selection, nombre, depart;
    };
    for (const Cas& c : {Cas{-1, 5, 1}, // sans sélection, la première ligne est prise : on part de la 2e
                         Cas{0, 5, 1}, Cas{2, 5, 3}, Cas{3, 5, 4}, // avant-dernière : la dernière
                         Cas{4, 5, 4}, // dernière : elle-même, sans revenir au début
                         Cas{9, 5, 4}, Cas{0, 1, 0}, Cas{-1, 1, 0}, Cas{-1, 0, -1}})
        EXPECT_EQ(LigneDepartRecherche(c.selection, c.nombre), c.depart)
            << c.selection << " sur " << c.nombre;
}

TEST(Recherche, ToutesColonnesEnMinusculesSansReprendreAuDebut) {
    ListeFiltres liste =
        Filtres({{"casino", "1"}, {PARTIEL + "promo", "2"}, {"viagra", "3"}, {"\xE9t\xE9", ""}});
    liste.Lignes[2].Pendant = "oa";
    const struct {
        const char* texte;
        int depart;
        int trouvee;
    } cas[] = {
        {"CASINO", 0, 0},    // le texte cherché est mis en minuscules
        {"casino", 1, -1},   // pas de reprise au début
        {"oa", 0, 2},        // une autre colonne que la première
        {"\xC9T\xC9", 0, 3}, // minuscules Windows-1252 : "ÉTÉ" trouve "été"
        {"\xB6pro", 0, 1},   // la marque du mode fait partie du motif
        {"viagra", 3, -1},   // depuis la dernière ligne, qui ne correspond pas
        {"\xE9t\xE9", 3, 3}, // depuis la dernière ligne, qui correspond : elle-même
        {".*(", 0, -1},      // pas d'expression régulière
        {"", 0, -1},
    };
    for (const auto& c : cas) {
        const TexteCherche texte(c.texte);
        EXPECT_EQ(RechercherFiltre(liste, c.depart, texte), c.trouvee) << c.texte << " depuis " << c.depart;
    }
    // "R" de la dernière colonne : "r" trouve tout filtre de rejet.
    EXPECT_EQ(RechercherFiltre(liste, 0, TexteCherche("r")), 0);
}

TEST(Recherche, HistoriqueDansChaqueColonne) {
    ListeHisto h;
    h.Lignes.push_back({"01/01/2026 10:00:00", "a@x.fr", "Bonjour", "moi@ici.fr", "", "Perso"});
    h.Lignes.push_back({"02/01/2026 10:00:00", "b@y.fr", "Offre", "toi@ici.fr", "copie@la.fr", "Bureau"});
    EXPECT_EQ(RechercherHisto(h, 0, TexteCherche("bureau")), 1);
    EXPECT_EQ(RechercherHisto(h, 0, TexteCherche("COPIE@")), 1);
    EXPECT_EQ(RechercherHisto(h, 0, TexteCherche("02/01")), 1);
    EXPECT_EQ(RechercherHisto(h, 0, TexteCherche("ici.fr")), 0);
    EXPECT_EQ(RechercherHisto(h, 2, TexteCherche("ici.fr")), -1);
}

// Sur un alphabet de deux lettres, les textes à bords répétés (aab dans aaab, abab dans abaabab)
// sont nombreux : la recherche doit dire comme std::string::find.
TEST(Recherche, CommeUneRechercheNaiveSurDesTextesRepetitifs) {
    std::mt19937 alea(4101);
    std::uniform_int_distribution<int> longueur(0, 12);
    const auto tirer = [&](int n) {
        std::string t;
        for (int i = 0; i < n; ++i)
            t += alea() % 2 ? 'a' : 'B';
        return t;
    };
    for (int essai = 0; essai < 20000; ++essai) {
        const std::string aiguille = tirer(longueur(alea) % 6 + 1);
        const std::string cellule = tirer(longueur(alea));
        const bool attendu = AnsiLowerCase(cellule).find(AnsiLowerCase(aiguille)) != std::string::npos;
        ASSERT_EQ(TexteCherche(aiguille).DansCellule(cellule), attendu) << aiguille << " dans " << cellule;
    }
}

// Contenu hostile : cellules de 10 000 caractères et texte cherché long et répétitif.
TEST(Recherche, LonguesCellulesRepetitives) {
    ListeFiltres liste(false);
    const std::string longue(10000, 'a');
    for (int i = 0; i < 50; ++i)
        liste.Lignes.push_back({longue, "", "", "", "", false});
    liste.Lignes.push_back({longue + "b", "", "", "", "", false});
    const TexteCherche texte(std::string(5000, 'a') + "b");
    EXPECT_EQ(RechercherFiltre(liste, 0, texte), 50);
    EXPECT_EQ(RechercherFiltre(liste, 0, TexteCherche(std::string(20000, 'a'))), -1);
}

// ---------------------------------------------------------------- historique

TEST(CelluleHistorique, TexteCopieSansSaDerniereMarque) {
    const struct {
        std::string cellule, copie;
    } cas[] = {{"a@x.fr" + NB, "a@x.fr"},
               {"a@x.fr" + NB + NB, "a@x.fr" + NB}, // une seule marque retirée
               {"a@x.fr\xB7", "a@x.fr"},
               {"Bonjour ", "Bonjour"},
               {"Bonjour", "Bonjour"},
               {NB, ""},
               {"", ""}};
    for (const auto& c : cas)
        EXPECT_EQ(TexteACopier(c.cellule), c.copie) << c.cellule;
}

TEST(CelluleHistorique, MotifDeLaCellule) {
    const struct {
        std::string cellule;
        std::optional<std::string> motif;
    } cas[] = {
        {"a@casino.com" + NB + "(" + PARTIEL + "casino)" + NB + NB, PARTIEL + "casino"},
        {"->" + NB + "moi@ici.fr" + NB + "(moi@ici.fr)" + NB, std::string("moi@ici.fr")},
        // Un motif qui contient des parenthèses reste entier quand la cellule finit par sa marque.
        {"Soldes" + NB + "(" + PARTIEL + "(promo)" + NB, PARTIEL + "(promo"},
        {"Soldes" + NB + "(prix (bas))" + NB, std::string("prix (bas)")},
        // Sans marque : entre la dernière "(" et la dernière ")".
        {"Soldes (50%) !", std::string("50%")},
        {"Soldes (a) (b", std::nullopt},
        {"Pas de motif", std::nullopt},
        {"Vide ()" + NB, std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& c : cas)
        EXPECT_EQ(MotifDeCelluleHisto(c.cellule), c.motif) << c.cellule;
}

TEST(CelluleHistorique, ListeDeChaqueColonne) {
    const int attendues[] = {
        -1, ListeIndexExpediteurs, ListeIndexSujets, ListeIndexDestinataires, ListeIndexDestinataires, -1};
    for (int c = 0; c < 6; ++c)
        EXPECT_EQ(ListeDeColonneHisto(c), attendues[c]) << c;
}

// ---------------------------------------------------------------- modifications, libellés

TEST(Modifications, SuppressionEnUnPassage) {
    ListeFiltres liste = Filtres({{"a", ""}, {"b", ""}, {"c", ""}, {"d", ""}, {"e", ""}});
    EXPECT_EQ(SupprimerFiltres(liste, {3, 0, 3, 17, -1}), 2u);
    EXPECT_EQ(Motifs(liste), (std::vector<std::string>{"b", "c", "e"}));
    EXPECT_TRUE(liste.Modifiee);

    ListeFiltres intacte = Filtres({{"a", ""}});
    EXPECT_EQ(SupprimerFiltres(intacte, {5}), 0u);
    EXPECT_FALSE(intacte.Modifiee);
}

TEST(Modifications, CompteursAZero) {
    ListeFiltres liste = Filtres({{"a", "12"}, {"b", ""}, {"c", " "}});
    RemettreCompteursAZero(liste);
    for (const structFiltre& f : liste.Lignes)
        EXPECT_EQ(f.Effectues, "0");
    EXPECT_TRUE(liste.Modifiee);
}

TEST(Libelles, ActionsEtRegleExpediteurSujetAvecLeDelai) {
    EXPECT_EQ(LibellesActions(30),
              (std::array<std::string, 4>{"Rejeter d'office", "D\xE9truire au bout de 30s",
                                          "Garder au bout de 30s", "Garder toujours"}));
    EXPECT_EQ(LibellesActions(5)[2], "Garder au bout de 5s");
    EXPECT_EQ(LibelleExpEtSujet(30), "\"d\xE9truire au bout de 30s\", alors &Rejeter d'office");
}
