// Règles de l'éditeur de filtre : contrôle des motifs, lignes construites d'après les choix et
// relues en choix, motifs déjà présents, tri d'une liste par motif, nature du filtre.
#include "FiltreEssai.h"
#include "filtres/RegleFiltre.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

static void PrintTo(const ChoixEditeur& c, std::ostream* sortie) {
    *sortie << "{" << testing::PrintToString(c.Motif) << ", essai " << testing::PrintToString(c.Echantillon)
            << ", mode " << c.Mode << ", champ " << c.Champ << ", action " << c.Action << ", réponse "
            << c.Reponse << ", inclure " << c.Inclure << ", " << (c.Ami ? "ami" : "rejet") << "}";
}

namespace {

// Octets Windows-1252 des marques ; les littéraux sont coupés après chaque "\x.." pour qu'une
// lettre qui suit ne soit pas lue comme un chiffre hexadécimal.
#define PARTIEL "\xB6"
#define MOTS "\xA7"
#define MU "\xB5"

const std::string kJoker = "Joker non autoris\xE9 pour un filtre partiel\r\nou Mots Multiples";
const std::string kNonValide = "Saisie non valide";
const std::string kSeparateur = "Les mots doivent \xEAtre s\xE9par\xE9s par des espaces";
const std::string kUneLettre = "Les mots doivent avoir plus d'une lettre";

TEST(RegleFiltre, ValidationDansLOrdreAvecSesMessages) {
    struct Cas {
        std::string motif;
        int mode;
        std::string message; // vide : accepté
        std::string garde;   // motif laissé dans l'éditeur
    };
    const std::vector<Cas> table = {
        {"*", ModeExact, kNonValide, "*"},
        {"*", ModePartiel, kNonValide, "*"},
        {"*casino*", ModeExact, "", "*casino*"},
        {"casino", ModePartielMot, "", "casino"},
        {"a,b", ModeExact, kNonValide, "a,b"},
        {"dit \"oui\"", ModePartiel, kNonValide, "dit \"oui\""},
        {"deux\r\nlignes", ModeExact, kNonValide, "deux\r\nlignes"},
        {"a bc", ModeExact, "", "a bc"}, // les règles des mots ne valent qu'en mots multiples
        // Mots multiples : les jokers d'abord, avant même l'étoile seule.
        {"*", ModeMotsMultiples, kJoker, "*"},
        {"pri* gratuit", ModeMotsMultiples, kJoker, "pri* gratuit"},
        {"prix gratui?", ModeMotsMultiples, kJoker, "prix gratui?"},
        {"prix, gratuit", ModeMotsMultiples, kNonValide, "prix, gratuit"},
        // Puis les espaces resserrées, gardées dans l'éditeur même quand le motif est refusé.
        {"  prix   gratuit  ", ModeMotsMultiples, "", "prix gratuit"},
        {"prix", ModeMotsMultiples, kSeparateur, "prix"},
        {"  prix  ", ModeMotsMultiples, kSeparateur, "prix"},
        {"   ", ModeMotsMultiples, kSeparateur, ""},
        {"a bc", ModeMotsMultiples, kUneLettre, "a bc"},
        {"prix  gratuit x", ModeMotsMultiples, kUneLettre, "prix gratuit x"},
        {"#1 prix", ModeMotsMultiples, "", "#1 prix"},
    };
    for (const Cas& cas : table) {
        const ValidationMotif v = ValiderMotif(cas.motif, cas.mode);
        EXPECT_EQ(MessageRefus(v.Refus), cas.message)
            << testing::PrintToString(cas.motif) << " mode " << cas.mode;
        EXPECT_EQ(v.Refus == RefusMotif::Aucun, cas.message.empty()) << testing::PrintToString(cas.motif);
        EXPECT_EQ(v.Motif, cas.garde) << testing::PrintToString(cas.motif) << " mode " << cas.mode;
    }
}

TEST(RegleFiltre, MarquesEtModesParOnglet) {
    const std::vector<std::pair<int, std::string>> marques = {
        {ModeExact, ""}, {ModePartiel, PARTIEL}, {ModeMotsMultiples, MOTS}, {ModePartielMot, "~"}};
    for (const auto& [mode, marque] : marques) {
        EXPECT_EQ(MarqueDuMode(mode), marque);
        EXPECT_EQ(ModeDuMotif(marque + "casino"), mode);
        EXPECT_EQ(SansMarque(marque + "casino"), "casino");
    }

    struct Cas {
        int onglet, mode, attendu;
    };
    // L'expéditeur offre Exact et Partiel, le destinataire aussi Mots multiples : au-delà, Partiel.
    for (const Cas& cas : std::vector<Cas>{{kOngletExpediteurs, ModePartiel, ModePartiel},
                                           {kOngletExpediteurs, ModeMotsMultiples, ModePartiel},
                                           {kOngletExpediteurs, ModePartielMot, ModePartiel},
                                           {kOngletSujets, ModePartielMot, ModePartielMot},
                                           {kOngletDestinataires, ModeMotsMultiples, ModeMotsMultiples},
                                           {kOngletDestinataires, ModePartielMot, ModePartiel}})
        EXPECT_EQ(ModeSelonOnglet(cas.onglet, cas.mode), cas.attendu) << cas.onglet << " " << cas.mode;
}

ChoixEditeur choix(std::string motif, int mode, int action, int reponse, int inclure, bool ami = false,
                   int champ = 0) {
    ChoixEditeur c;
    c.Motif = c.Echantillon = std::move(motif);
    c.Mode = mode;
    c.Action = action;
    c.Reponse = reponse;
    c.Inclure = inclure;
    c.Ami = ami;
    c.Champ = champ;
    return c;
}

structFiltre filtre(std::string motif, std::string champ, std::string avant, std::string pendant, bool ami,
                    std::string effectues = "") {
    return {std::move(motif),   std::move(champ),     std::move(avant),
            std::move(pendant), std::move(effectues), ami};
}

// Une ligne construite d'après les choix, puis relue : les mêmes choix reviennent.
TEST(RegleFiltre, LigneConstruiteEtRelue) {
    struct Cas {
        ChoixEditeur choix;
        bool avecChamp;
        structFiltre ligne;
    };
    const std::vector<Cas> table = {
        {choix("casino", ModePartiel, 1, 1, 1), false, filtre(PARTIEL "casino", "", "d", "oa", false)},
        {choix("spam@pub.fr", ModeExact, 0, 3, 3), false, filtre("spam@pub.fr", "", "R", "sx", false)},
        {choix("prix gratuit", ModeMotsMultiples, 3, 0, 0), false,
         filtre(MOTS "prix gratuit", "", "c", "N ", false)},
        {choix("cat", ModePartielMot, 2, 2, 0), false, filtre("~cat", "", "g", "v ", false)},
        {choix("jean@exemple.fr", ModeExact, 3, 0, 0, true), false,
         filtre("jean@exemple.fr", "", " ", " ", true)},
        {choix("albert", ModePartiel, 2, 0, 0, false, 0), true,
         filtre(PARTIEL "albert", "A", "g", "N ", false)},
        {choix("liste", ModePartiel, 1, 1, 2, false, 1), true,
         filtre(PARTIEL "liste", "C", "d", "oc", false)},
        {choix("info", ModePartiel, 3, 0, 0, true, 2), true, filtre(PARTIEL "info", "L", " ", " ", true)},
    };
    for (const Cas& cas : table) {
        const structFiltre ligne = LigneDeChoix(cas.choix, cas.avecChamp);
        EXPECT_EQ(ligne, cas.ligne);
        // Relu, un ami montre "comptabiliser seulement", aucune réponse et rien à inclure.
        EXPECT_EQ(ChoixDeLigne(ligne, cas.avecChamp), cas.choix) << testing::PrintToString(ligne);
    }
}

TEST(RegleFiltre, SansReponseLInclusionNEstPasEcrite) {
    EXPECT_EQ(LigneDeChoix(choix("x", ModeExact, 0, 0, 3), false).Pendant, "N ");
    // Sans champ choisi, le champ principal.
    EXPECT_EQ(LigneDeChoix(choix("x", ModeExact, 0, 0, 0, false, kAucunChamp), true).Champ, "A");
}

// Lignes venues d'un fichier ou d'une importation : lettres inattendues ou absentes.
TEST(RegleFiltre, ChoixRelusDeLignesQuelconques) {
    struct Cas {
        structFiltre ligne;
        int action, reponse, inclure, champ;
    };
    const std::vector<Cas> table = {
        {filtre("a", "", "D", "oa", false), 1, 1, 1, 0}, // action sans égard à la casse
        {filtre("a", "", "r", "N ", false), 0, 0, 0, 0},
        {filtre("a", "", " ", " ", false), 3, 0, 0, 0}, // une espace : comptabiliser
        {filtre("a", "", "x", "", false), 2, 0, 0, 0},  // inconnue ou absente : demander et garder
        {filtre("a", "", "", "v", false), 2, 2, 0, 0},
        {filtre("a", "", "c", "sz", false), 3, 3, 0, 0},
        {filtre("a", "", "c", "Oa", false), 3, 0, 1, 0}, // la réponse respecte la casse
        {filtre("a", "C", "g", "N ", false), 2, 0, 0, 1},
        {filtre("a", "X", "g", "N ", false), 2, 0, 0, kAucunChamp},
        {filtre("a", "", "g", "N ", false), 2, 0, 0, 0}, // colonne absente : le premier champ
    };
    for (const Cas& cas : table) {
        const ChoixEditeur c = ChoixDeLigne(cas.ligne, true);
        EXPECT_EQ(c.Action, cas.action) << testing::PrintToString(cas.ligne);
        EXPECT_EQ(c.Reponse, cas.reponse) << testing::PrintToString(cas.ligne);
        EXPECT_EQ(c.Inclure, cas.inclure) << testing::PrintToString(cas.ligne);
        EXPECT_EQ(c.Champ, cas.champ) << testing::PrintToString(cas.ligne);
    }
}

TEST(RegleFiltre, TexteDEssaiSansJoker) {
    const std::vector<std::pair<std::string, std::string>> table = {
        {PARTIEL "casino", "casino"},
        {"*@pub.fr", ""},
        {"jean?@pub.fr", ""},
        {"a#b", ""},
        {"b" MU "b", ""},
        {MOTS "prix gratuit", "prix gratuit"},
    };
    for (const auto& [motif, essai] : table)
        EXPECT_EQ(ChoixDeLigne(filtre(motif, "", "g", "N ", false), false).Echantillon, essai) << motif;
}

TEST(RegleFiltre, DoublonCompareSansMarque) {
    ListeFiltres liste(false);
    liste.Lignes = {filtre("casino", "", "g", "N ", false), filtre(PARTIEL "poker", "", "d", "N ", false),
                    filtre("~poker", "", "d", "N ", false)};
    // casino en Partiel alors que casino existe en Exact : doublon.
    EXPECT_EQ(ChercherDoublon(liste, SansMarque(PARTIEL "casino")), 0);
    EXPECT_EQ(ChercherDoublon(liste, "poker"), 1); // la première
    EXPECT_EQ(ChercherDoublon(liste, "casin"), -1);
    EXPECT_EQ(ChercherDoublon(liste, "Casino"), -1); // comparaison exacte
    EXPECT_EQ(MessageDoublon("casino"), "\"casino\" est d\xE9j\xE0 dans la liste");
}

TEST(RegleFiltre, TriParMotifSansEgardALaCasseEtStable) {
    ListeFiltres liste(false);
    const std::vector<std::string> motifs = {"zeta",  PARTIEL "beta", "Alpha",     "~gamma", "\xC9t\xE9",
                                             "alpha", "beta",         "\xE9t\xE9", "al"};
    for (std::size_t i = 0; i < motifs.size(); ++i)
        liste.Lignes.push_back(filtre(motifs[i], "", "g", "N ", false, std::to_string(i)));

    EXPECT_EQ(TrierParMotif(liste, 5), 2); // "alpha" suit son égal "Alpha"
    std::vector<std::string> obtenus;
    for (const structFiltre& l : liste.Lignes)
        obtenus.push_back(l.Motif + "/" + l.Effectues);
    const std::vector<std::string> attendus = {"al/8",           "Alpha/2",     "alpha/5",
                                               "beta/6",         "zeta/0",      "~gamma/3",
                                               PARTIEL "beta/1", "\xC9t\xE9/4", "\xE9t\xE9/7"};
    EXPECT_EQ(obtenus, attendus);
    EXPECT_EQ(TrierParMotif(liste, -1), -1);
    EXPECT_EQ(liste.Lignes.size(), motifs.size());
}

TEST(RegleFiltre, NatureDuFiltre) {
    EXPECT_EQ(GenreFiltre(kOngletExpediteurs, 0), "Filtre par Exp\xE9"
                                                  "diteur (From sans Alias)");
    EXPECT_EQ(GenreFiltre(kOngletExpediteurs, 1), "Filtre par Exp\xE9"
                                                  "diteur (ReturnPath)");
    EXPECT_EQ(GenreFiltre(kOngletSujets, 1), "Filtre par Sujet");
    EXPECT_EQ(GenreFiltre(kOngletDestinataires, 0), "Filtre par Destination");
}

} // namespace
