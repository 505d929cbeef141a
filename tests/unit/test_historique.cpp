// Historique des rejets : nettoyage des textes, lignes de rejet et de suppression à la main,
// dates, tri, élagage et couleurs des cellules.
#include "donnees/Historique.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

namespace {

const std::string NB = "\xA0";      // espace insécable
const std::string POINT = "\xB7";   // expéditeur inexistant
const std::string PARTIEL = "\xB6"; // marque du mode partiel
const std::string VIDE = "<Vide>";
const std::string DEST_VIDE = "<Destinataire vide>";

std::time_t Instant(int jour, int mois, int an, int heure, int minute, int seconde) {
    std::tm champs{};
    champs.tm_mday = jour;
    champs.tm_mon = mois - 1;
    champs.tm_year = an - 1900;
    champs.tm_hour = heure;
    champs.tm_min = minute;
    champs.tm_sec = seconde;
    champs.tm_isdst = -1;
    return std::mktime(&champs);
}

// La ligne telle que le fichier l'écrit, puis relue en coupant à chaque virgule.
std::string Joindre(const structHisto& l) {
    return l.DateHeure + "," + l.Expediteur + "," + l.Sujet + "," + l.Destinataires + "," +
           l.DestinatairesCopie + "," + l.Boite;
}

std::vector<std::string> Decouper(const std::string& ligne) {
    std::vector<std::string> champs(1);
    for (const char c : ligne) {
        if (c == ',')
            champs.emplace_back();
        else
            champs.back() += c;
    }
    return champs;
}

std::vector<std::string> Cellules(const structHisto& l) {
    return {l.DateHeure, l.Expediteur, l.Sujet, l.Destinataires, l.DestinatairesCopie, l.Boite};
}

void VerifierRelecture(const structHisto& ligne) {
    const std::string ecrite = Joindre(ligne);
    EXPECT_LE(ecrite.size(), kLongueurMaxLigneHisto);
    EXPECT_EQ(ecrite.size(), LongueurLigneHisto(ligne));
    EXPECT_EQ(Decouper(ecrite), Cellules(ligne));
}

bool FinitPar(const std::string& texte, const std::string& fin) {
    return texte.size() >= fin.size() && texte.compare(texte.size() - fin.size(), fin.size(), fin) == 0;
}

// --- NettoyerChamp ---

TEST(NettoyerChamp, Cas) {
    struct Cas {
        std::string entree, attendu;
    };
    const std::vector<Cas> cas = {
        {"", ""},
        {"a  b", "a b"},
        {"a     b", "a b"},
        {"a , b", "a b"}, // la virgule ôtée laisse deux espaces, réduites à une
        {"a ,\r\n, b", "a b"},
        {"Dupont, Jean", "Dupont Jean"},
        {",,,\r\n", ""},
        {" x ", " x "}, // une espace seule en tête ou en fin reste
        {"   ", " "},
        {"a" + NB + NB + "b", "a" + NB + NB + "b"}, // l'insécable n'est pas une espace
        {"a\tb", "a\tb"},
    };
    for (const auto& c : cas)
        EXPECT_EQ(NettoyerChamp(c.entree), c.attendu) << '"' << c.entree << '"';
}

TEST(NettoyerChamp, UnMegaOctet) {
    std::string alterne;
    for (int i = 0; i < 500000; ++i)
        alterne += " ,";
    EXPECT_EQ(NettoyerChamp(alterne), " ");

    std::string mots;
    for (int i = 0; i < 250000; ++i)
        mots += "a  ,";
    std::string attendu;
    for (int i = 0; i < 250000; ++i)
        attendu += "a ";
    EXPECT_EQ(NettoyerChamp(mots), attendu);
}

// --- Dates ---

TEST(DateHeure, AllerRetour) {
    const std::time_t instant = Instant(9, 12, 2026, 23, 55, 4);
    EXPECT_EQ(FormaterDateHeure(instant), "09/12/2026 23:55:04");
    std::time_t relu = 0;
    ASSERT_TRUE(LireDateHeure("09/12/2026 23:55:04", relu));
    EXPECT_EQ(relu, instant);
    EXPECT_EQ(FormaterDateHeure(Instant(1, 2, 2026, 3, 4, 5)), "01/02/2026 03:04:05");
}

TEST(DateHeure, FormesAcceptees) {
    struct Cas {
        std::string texte;
        std::time_t attendu;
    };
    const std::vector<Cas> cas = {
        {"1/2/2026 9:05", Instant(1, 2, 2026, 9, 5, 0)}, // date d'en-tête sans secondes
        {"09/12/2026", Instant(9, 12, 2026, 0, 0, 0)},
        {" 09/12/2026  23:55:04 ", Instant(9, 12, 2026, 23, 55, 4)},
        {"29/02/2024 12:00:00", Instant(29, 2, 2024, 12, 0, 0)},
        {"31/12/2026 23:59:59", Instant(31, 12, 2026, 23, 59, 59)},
    };
    for (const auto& c : cas) {
        std::time_t lu = 0;
        EXPECT_TRUE(LireDateHeure(c.texte, lu)) << c.texte;
        EXPECT_EQ(lu, c.attendu) << c.texte;
    }
}

TEST(DateHeure, TexteIllisibleRefuse) {
    const std::vector<std::string> cas = {
        "",
        " ",
        "abc",
        "/",
        "//",
        "09/12/",
        "09/12/26 10:00:00",
        "09/12/20261 10:00:00",
        "009/12/2026",
        "32/01/2026 10:00:00",
        "29/02/2025 10:00:00",
        "00/01/2026",
        "01/00/2026",
        "01/13/2026",
        "01/01/0000",
        "01/01/2026 24:00:00",
        "01/01/2026 10:60:00",
        "01/01/2026 10:00:60",
        "01/01/2026 10",
        "01/01/2026 10:",
        "01/01/2026 10:00:",
        "01/01/2026 10:00:00x",
        "01/01/2026x",
        "01/01/202610:00:00",
        "-1/01/2026",
        "99999999999999999999/01/2026",
        "01-01-2026 10:00:00",
        "2026/01/01 10:00:00",
        std::string("01/01/2026\0 10:00:00", 19),
        "\xFF\xFE\xA0",
        "01/01/2026 10:00:00 10",
    };
    for (const auto& texte : cas) {
        std::time_t lu = 12345;
        EXPECT_FALSE(LireDateHeure(texte, lu)) << texte;
        EXPECT_EQ(lu, 12345) << texte;
    }
}

TEST(DateHeure, OctetsAuHasardSansPlantage) {
    std::mt19937 aleas(1234);
    const std::string valide = "09/12/2026 23:55:04";
    for (int i = 0; i < 5000; ++i) {
        std::string texte = valide;
        if (i % 2 == 0) {
            texte.assign(aleas() % 40, '\0');
            for (char& c : texte)
                c = static_cast<char>(aleas() % 256);
        } else {
            texte[aleas() % texte.size()] = static_cast<char>(aleas() % 256);
            texte.resize(aleas() % (texte.size() + 1));
        }
        std::time_t lu = 0;
        if (LireDateHeure(texte, lu)) {
            EXPECT_FALSE(FormaterDateHeure(lu).empty());
        }
    }
}

// --- Ligne d'un rejet ---

class LigneRejetTest : public testing::Test {
protected:
    static RejetAHistoriser Base() {
        RejetAHistoriser r;
        r.ExpediteurTeste = "casino@spam.example";
        r.SujetTeste = "gagnez";
        r.ChampA = "moi@ici.fr";
        r.Boite = "Perso";
        return r;
    }
    const std::time_t maintenant_ = Instant(9, 12, 2026, 23, 55, 4);
};

TEST_F(LigneRejetTest, FiltreExpediteurPartiel) {
    RejetAHistoriser r = Base();
    r.FiltreExpediteur = true;
    r.MarqueExpediteur = MarqueFiltre(PARTIEL + "casino");
    const structHisto ligne = LigneRejet(r, maintenant_);

    EXPECT_EQ(ligne.DateHeure, "09/12/2026 23:55:04");
    EXPECT_EQ(ligne.Expediteur, "casino@spam.example" + NB + "(" + PARTIEL + "casino)" + NB + NB);
    EXPECT_EQ(ligne.Sujet, "gagnez");
    EXPECT_EQ(ligne.Destinataires, "moi@ici.fr");
    EXPECT_EQ(ligne.DestinatairesCopie, "");
    EXPECT_EQ(ligne.Boite, "Perso");
    EXPECT_EQ(CouleurCellule(ligne, 1), CouleurHisto::Rouge);
    EXPECT_EQ(CouleurCellule(ligne, 2), CouleurHisto::Normale);
    VerifierRelecture(ligne);
}

TEST_F(LigneRejetTest, MarquesEtRemplacements) {
    struct Cas {
        const char* nom;
        std::function<void(RejetAHistoriser&)> regler;
        std::string exp, sujet, a, cc, boite;
    };
    const std::string base = "casino@spam.example";
    const std::vector<Cas> cas = {
        {"sujet vide mis par la classification",
         [](auto& r) {
             r.SujetTeste = VIDE + NB;
             r.SujetVideAvecAction = true;
         },
         base, VIDE + NB, "moi@ici.fr", "", "Perso"},
        {"sujet <Vide> sans espace, règle active",
         [](auto& r) {
             r.SujetTeste = VIDE;
             r.SujetVideAvecAction = true;
         },
         base, VIDE + NB, "moi@ici.fr", "", "Perso"},
        {"sujet arrivé vide, règle active",
         [](auto& r) {
             r.SujetTeste = ",\r\n";
             r.SujetVideAvecAction = true;
         },
         base, VIDE + NB, "moi@ici.fr", "", "Perso"},
        {"sujet vide, garder toujours", [](auto& r) { r.SujetTeste = VIDE; }, base, VIDE, "moi@ici.fr", "",
         "Perso"},
        {"sujet ordinaire, règle active ignorée", [](auto& r) { r.SujetVideAvecAction = true; }, base,
         "gagnez", "moi@ici.fr", "", "Perso"},
        {"filtre de sujet",
         [](auto& r) {
             r.FiltreSujet = true;
             r.MarqueSujet = MarqueFiltre("~gagnez");
         },
         base, "gagnez" + NB + "(~gagnez)" + NB + NB, "moi@ici.fr", "", "Perso"},
        {"destinataires vides", [](auto& r) { r.ChampA.clear(); }, base, "gagnez", DEST_VIDE, "", "Perso"},
        {"destinataires vides, privilégié absent",
         [](auto& r) {
             r.ChampA.clear();
             r.ResultatExclusif = 2;
         },
         base, "gagnez", "=>" + NB + DEST_VIDE, "", "Perso"},
        {"À vide, Cc présent",
         [](auto& r) {
             r.ChampA.clear();
             r.ChampCc = "toi@la.fr";
         },
         base, "gagnez", "", "toi@la.fr", "Perso"},
        {"intrus sans copie", [](auto& r) { r.ResultatExclusif = 1; }, base, "gagnez",
         "->" + NB + "moi@ici.fr", "", "Perso"},
        {"copie rejetée et intrus",
         [](auto& r) {
             r.ChampCc = "spam@la.fr";
             r.ResultatExclusif = 1;
             r.ChampsRejetes = 2;
             r.MarqueCc = MarqueFiltre(PARTIEL + "la.fr");
         },
         base, "gagnez", "->" + NB + "moi@ici.fr",
         "->" + NB + "spam@la.fr" + NB + "(" + PARTIEL + "la.fr)" + NB + NB, "Perso"},
        {"À rejeté",
         [](auto& r) {
             r.ChampsRejetes = 1;
             r.MarqueA = MarqueFiltre("moi@ici.fr");
         },
         base, "gagnez", "moi@ici.fr" + NB + "(moi@ici.fr)" + NB + NB, "", "Perso"},
        {"expéditeur inexistant l'emporte sur le filtre",
         [](auto& r) {
             r.ExpediteurInexistant = true;
             r.FiltreExpediteur = true;
         },
         base + POINT, "gagnez", "moi@ici.fr", "", "Perso"},
        {"virgules, retours et espaces doublées",
         [](auto& r) {
             r.ExpediteurTeste = "Casino,  Club <a@b.c>\r\n";
             r.SujetTeste = "un,  deux";
             r.ChampA = "a@x.fr, b@y.fr";
             r.Boite = "Perso, bis";
         },
         "Casino Club <a@b.c>", "un deux", "a@x.fr b@y.fr", "", "Perso; bis"},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.nom);
        RejetAHistoriser r = Base();
        c.regler(r);
        const structHisto ligne = LigneRejet(r, maintenant_);
        EXPECT_EQ(ligne.Expediteur, c.exp);
        EXPECT_EQ(ligne.Sujet, c.sujet);
        EXPECT_EQ(ligne.Destinataires, c.a);
        EXPECT_EQ(ligne.DestinatairesCopie, c.cc);
        EXPECT_EQ(ligne.Boite, c.boite);
        VerifierRelecture(ligne);
    }
}

// Exemple calculé à la main : S = 2000, T = 10, F = 7, L0 = 5 ; rapport 2017 / 981.
TEST_F(LigneRejetTest, BudgetProportionnel) {
    RejetAHistoriser r = Base();
    r.ExpediteurTeste = "a@b.c";
    r.SujetTeste = std::string(2000, 'x');
    r.FiltreSujet = true;
    r.MarqueSujet = MarqueFiltre(PARTIEL + "xx");
    const structHisto ligne = LigneRejet(r, maintenant_);

    EXPECT_EQ(ligne.Expediteur, "a@b.c");
    EXPECT_EQ(ligne.Sujet, std::string(972, 'x') + NB + "(" + PARTIEL + "xx)" + NB + NB);
    EXPECT_EQ(ligne.Destinataires, "moi@");
    EXPECT_EQ(Joindre(ligne).size(), 1018u);
    VerifierRelecture(ligne);
}

TEST_F(LigneRejetTest, LigneToujoursSousLaLimite) {
    struct Cas {
        const char* nom;
        std::function<void(RejetAHistoriser&)> regler;
        bool marquesEntieres;
    };
    const std::vector<Cas> cas = {
        {"sujet de 2000 caractères",
         [](auto& r) {
             r.SujetTeste = std::string(2000, 's');
             r.FiltreSujet = true;
             r.MarqueSujet = MarqueFiltre(PARTIEL + "promo");
         },
         true},
        {"expéditeur de 2000 caractères sans marque",
         [](auto& r) {
             r.ExpediteurTeste = std::string(2000, 'e');
             r.FiltreExpediteur = true;
         },
         true},
        {"expéditeur de 2000 caractères avec marques partout",
         [](auto& r) {
             r.ExpediteurTeste = std::string(2000, 'e');
             r.FiltreExpediteur = true;
             r.MarqueExpediteur = MarqueFiltre(PARTIEL + "casino");
             r.SujetTeste = std::string(50, 's');
             r.ChampA = std::string(30, 'a');
             r.ChampCc = std::string(30, 'c');
             r.ResultatExclusif = 1;
             r.ChampsRejetes = 3;
             r.MarqueA = MarqueFiltre("aaaa");
             r.MarqueCc = MarqueFiltre("cccc");
         },
         true},
        {"À et Cc de 2000 caractères, préfixes et long libellé",
         [](auto& r) {
             r.ExpediteurTeste = "a@b.c";
             r.ChampA = std::string(2000, 'a');
             r.ChampCc = std::string(2000, 'c');
             r.ResultatExclusif = 2;
             r.ChampsRejetes = 3;
             r.MarqueA = MarqueFiltre(PARTIEL + "aaaaaaaa");
             r.MarqueCc = MarqueFiltre(PARTIEL + "cccccccc");
             r.Boite = std::string(60, 'b');
         },
         true},
        {"sujet d'un mégaoctet", [](auto& r) { r.SujetTeste = std::string(1000000, 's'); }, true},
        {"motifs et libellé démesurés",
         [](auto& r) {
             r.FiltreExpediteur = true;
             r.MarqueExpediteur = MarqueFiltre(std::string(1500, 'm'));
             r.MarqueSujet = MarqueFiltre(std::string(900, 'n'));
             r.Boite = std::string(1500, 'b');
         },
         false},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.nom);
        RejetAHistoriser r = Base();
        c.regler(r);
        const structHisto ligne = LigneRejet(r, maintenant_);
        VerifierRelecture(ligne);
        if (!c.marquesEntieres) continue;
        const std::string finExp = r.ExpediteurInexistant ? POINT : r.FiltreExpediteur ? NB : "";
        EXPECT_TRUE(FinitPar(ligne.Expediteur, r.MarqueExpediteur + finExp));
        EXPECT_TRUE(FinitPar(ligne.Sujet, r.MarqueSujet + (r.FiltreSujet ? NB : "")));
        EXPECT_TRUE(FinitPar(ligne.Destinataires, r.MarqueA + ((r.ChampsRejetes & 1) ? NB : "")));
        EXPECT_TRUE(FinitPar(ligne.DestinatairesCopie, r.MarqueCc + ((r.ChampsRejetes & 2) ? NB : "")));
        EXPECT_GT(ligne.Expediteur.size(), r.MarqueExpediteur.size() + finExp.size()); // du texte reste
    }
}

// L'expéditeur prend tout le budget : les trois textes sont vidés, pas remplacés par "<Vide>".
TEST_F(LigneRejetTest, ExpediteurPlusLongQueLeBudget) {
    RejetAHistoriser r = Base();
    r.ExpediteurTeste = std::string(2000, 'e');
    r.ChampCc = "toi@la.fr";
    r.ResultatExclusif = 1;
    const structHisto ligne = LigneRejet(r, maintenant_);
    EXPECT_EQ(ligne.Sujet, "");
    EXPECT_EQ(ligne.Destinataires, "->" + NB);
    EXPECT_EQ(ligne.DestinatairesCopie, "->" + NB);
    EXPECT_EQ(ligne.Expediteur, std::string(ligne.Expediteur.size(), 'e'));
    EXPECT_EQ(Joindre(ligne).size(), kLongueurMaxLigneHisto);
}

// --- Ligne d'une suppression à la main ---

TEST(LigneSuppressionManuelle, CellulesSansVirgule) {
    struct Cas {
        const char* nom;
        std::string exp, sujet, a, cc;
        std::string expAttendu, sujetAttendu, aAttendu, ccAttendu;
    };
    const std::vector<Cas> cas = {
        {"plusieurs destinataires", "Dupont, Jean <j@d.fr>", "Re: un, deux", "a@x.fr, b@y.fr, c@z.fr",
         "d@w.fr,e@v.fr", "Dupont; Jean <j@d.fr>", "Re: un; deux", "a@x.fr; b@y.fr; c@z.fr", "d@w.fr;e@v.fr"},
        {"retours à la ligne", "a@b.c", "un\r\ndeux", "x@y.z", "", "a@b.c", "un  deux", "x@y.z", ""},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.nom);
        const structHisto ligne =
            LigneSuppressionManuelle("09/12/2026 23:55", c.exp, c.sujet, c.a, c.cc, "Perso, bis");
        EXPECT_EQ(ligne.DateHeure, "09/12/2026 23:55");
        EXPECT_EQ(ligne.Expediteur, c.expAttendu);
        EXPECT_EQ(ligne.Sujet, c.sujetAttendu);
        EXPECT_EQ(ligne.Destinataires, c.aAttendu);
        EXPECT_EQ(ligne.DestinatairesCopie, c.ccAttendu);
        EXPECT_EQ(ligne.Boite, "Perso; bis" + NB);
        VerifierRelecture(ligne);
        for (int colonne = 0; colonne < 6; ++colonne) {
            const bool vide = Cellules(ligne)[colonne].empty();
            EXPECT_EQ(CouleurCellule(ligne, colonne), vide ? CouleurHisto::Normale : CouleurHisto::Olive)
                << colonne;
        }
    }
}

TEST(LigneSuppressionManuelle, CellulesTropLongues) {
    const std::string date = "09/12/2026 23:55:04";
    const structHisto ligne = LigneSuppressionManuelle(date, "a@b.c", std::string(2000, 's'), "x@y.z, t@u.v",
                                                       std::string(300, 'c'), "Perso");
    VerifierRelecture(ligne);
    EXPECT_EQ(ligne.DateHeure, date);
    EXPECT_EQ(ligne.Expediteur, "a@b.c");
    EXPECT_EQ(ligne.Destinataires, "x@y.z; t@u.v");
    EXPECT_EQ(ligne.Boite, "Perso" + NB);
    EXPECT_EQ(Joindre(ligne).size(), kLongueurMaxLigneHisto);
}

// --- Tri ---

structHisto Datee(const std::string& date, const std::string& nom) {
    return {date, "", nom, "", "", "Perso"};
}

std::vector<std::string> Noms(const ListeHisto& h) {
    std::vector<std::string> noms;
    for (const auto& l : h.Lignes)
        noms.push_back(l.Sujet);
    return noms;
}

TEST(TrierHistorique, PlusRecenteEnTeteIllisiblesEnQueue) {
    ListeHisto h;
    h.Lignes = {Datee("01/02/2026 10:00:00", "A"), Datee("xx", "U1"),
                Datee("02/01/2026 10:00:00", "B"), Datee("", "U2"),
                Datee("01/02/2026 10:00:01", "C"), Datee("31/02/2026 10:00:00", "U3"),
                Datee("15/01/2025 08:00:00", "D")};
    TrierHistorique(h);
    EXPECT_EQ(Noms(h), (std::vector<std::string>{"C", "A", "B", "D", "U1", "U2", "U3"}));
    EXPECT_FALSE(h.Modifiee);
}

// --- Élagage ---

class ElaguerTest : public testing::Test {
protected:
    const std::time_t maintenant_ = Instant(20, 1, 2026, 12, 0, 0);
};

TEST_F(ElaguerTest, ParNombreLaOnziemeLigneChasseLaPlusVieille) {
    ListeHisto h;
    for (int heure = 10; heure >= 1; --heure)
        h.Lignes.push_back(Datee(FormaterDateHeure(maintenant_ - heure * 3600), "h" + std::to_string(heure)));
    ReglagesHistorique reglages;
    reglages.NbHisto = 10;

    ElaguerHistorique(h, reglages, maintenant_);
    EXPECT_EQ(h.Lignes.size(), 10u);
    EXPECT_FALSE(h.Modifiee);
    EXPECT_EQ(h.Lignes.front().Sujet, "h1"); // trié, plus récente en tête

    h.Lignes.insert(h.Lignes.begin(), Datee(FormaterDateHeure(maintenant_), "nouvelle"));
    ElaguerHistorique(h, reglages, maintenant_);
    ASSERT_EQ(h.Lignes.size(), 10u);
    EXPECT_TRUE(h.Modifiee);
    EXPECT_EQ(h.Lignes.front().Sujet, "nouvelle");
    EXPECT_EQ(h.Lignes.back().Sujet, "h9");
}

// D = 10 : la limite est le 10/01/2026 12:00:00 ; il faut un jour entier de plus pour rester.
TEST_F(ElaguerTest, ParAge) {
    struct Cas {
        std::string date;
        bool gardee;
    };
    const std::vector<Cas> cas = {
        {"11/01/2026 11:00:00", false}, // il y a neuf jours et une heure
        {"12/01/2026 12:00:00", true},  // il y a huit jours
        {"11/01/2026 12:00:00", true},  // un jour pile après la limite
        {"11/01/2026 11:59:59", false},
        {"09/01/2026 13:00:00", false}, // avant la limite
        {"05/01/2026 12:00:00", false},
        {"21/01/2026 12:00:00", true}, // dans le futur
        {"illisible", true},
        {"30/02/2026 10:00:00", true},
    };
    ReglagesHistorique reglages;
    reglages.HistoNbLigSav = false;
    reglages.NbHistoDate = 10;
    for (const auto& c : cas) {
        SCOPED_TRACE(c.date);
        ListeHisto h;
        h.Lignes = {Datee(c.date, "x")};
        ElaguerHistorique(h, reglages, maintenant_);
        EXPECT_EQ(h.Lignes.size(), c.gardee ? 1u : 0u);
        EXPECT_EQ(h.Modifiee, !c.gardee);
    }
}

TEST_F(ElaguerTest, InterrupteursEteintsRienNeBouge) {
    ListeHisto h;
    h.Lignes = {Datee("01/01/2000 00:00:00", "vieille"), Datee("19/01/2026 12:00:00", "recente")};
    ReglagesHistorique reglages;
    reglages.HistoNbLigSav = false;
    reglages.HistoDateSav = false;
    reglages.NbHisto = 1;
    ElaguerHistorique(h, reglages, maintenant_);
    EXPECT_EQ(Noms(h), (std::vector<std::string>{"vieille", "recente"}));
    EXPECT_FALSE(h.Modifiee);
}

// --- Couleurs ---

TEST(CouleurCellule, Priorites) {
    const auto rejet = [](std::string expediteur, std::string sujet, std::string a, std::string cc) {
        return structHisto{"09/12/2026 23:55:04", std::move(expediteur), std::move(sujet),
                           std::move(a),          std::move(cc),         "Perso"};
    };
    struct Cas {
        const char* nom;
        structHisto ligne;
        int colonne;
        CouleurHisto attendue;
    };
    const std::vector<Cas> cas = {
        {"expéditeur cause", rejet("a@b.c" + NB, "", "", ""), 1, CouleurHisto::Rouge},
        {"expéditeur inexistant", rejet("a@b.c" + POINT, "", "", ""), 1, CouleurHisto::Violet},
        {"expéditeur sans marque", rejet("a@b.c", "", "", ""), 1, CouleurHisto::Normale},
        {"sujet cause", rejet("", "promo" + NB, "", ""), 2, CouleurHisto::Rouge},
        {"sujet qui ressemble à un intrus", rejet("", "->" + NB + "promo", "", ""), 2, CouleurHisto::Normale},
        {"intrus l'emporte sur la cause", rejet("", "", "->" + NB + "x@y" + NB, ""), 3, CouleurHisto::Bleu},
        {"absent l'emporte sur la cause", rejet("", "", "", "=>" + NB + "x@y" + NB), 4, CouleurHisto::Vert},
        {"destinataire cause", rejet("", "", "", "x@y" + NB), 4, CouleurHisto::Rouge},
        {"flèche sans insécable", rejet("", "", "->x@y", ""), 3, CouleurHisto::Normale},
        {"point médian hors expéditeur", rejet("", "", "x@y" + POINT, ""), 3, CouleurHisto::Normale},
        {"date", rejet("", "", "", ""), 0, CouleurHisto::Normale},
        {"cellule vide", rejet("", "", "", ""), 4, CouleurHisto::Normale},
        {"olive l'emporte sur bleu",
         {"d", "a", "s", "->" + NB + "x", "", "Perso" + NB},
         3,
         CouleurHisto::Olive},
        {"olive sur la date", {"d", "a", "s", "x", "", "Perso" + NB}, 0, CouleurHisto::Olive},
        {"olive, cellule vide", {"d", "a", "s", "x", "", "Perso" + NB}, 4, CouleurHisto::Normale},
        {"insécable au milieu de la boîte",
         {"d", "a", "s", "x", "", "Per" + NB + "so"},
         1,
         CouleurHisto::Olive},
        {"colonne hors limites", rejet("a" + NB, "", "", ""), 6, CouleurHisto::Normale},
        {"colonne négative", rejet("a" + NB, "", "", ""), -1, CouleurHisto::Normale},
    };
    for (const auto& c : cas)
        EXPECT_EQ(CouleurCellule(c.ligne, c.colonne), c.attendue) << c.nom;
}

} // namespace
