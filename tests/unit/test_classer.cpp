// Classement des messages : cascade des trois listes, règles globales, destinataires exclusifs,
// décision, vérification de l'expéditeur et ce qui est retenu pour la suite.
#include "donnees/Chaines.h"
#include "moteur/classement/Classer.h"

#include <gtest/gtest.h>

namespace {

const std::string kNbsp = "\xA0";

structFiltre rejet(const std::string& motif, const std::string& avant, const std::string& champ = "") {
    return {motif, champ, avant, "N ", "", false};
}
structFiltre ami(const std::string& motif, const std::string& champ = "") { return {motif, champ, " ", " ", "", true}; }

structMessage message(const std::string& expediteur, const std::string& sujet, const std::string& a,
                      const std::string& cc = "") {
    structMessage m;
    m.Uidl = "u1";
    m.ExpediteurTeste = expediteur;
    m.AdresseExpediteur = expediteur;
    m.SujetDecode = sujet;
    m.SujetTeste = sujet;
    m.ChampA = a;
    m.ChampCc = cc;
    return m;
}

class Verification : public VerificationExpediteur {
public:
    bool inexistant = false;
    int appels = 0;
    void Reinitialiser() override {}
    void VerifierExpediteur(const std::string&) override { ++appels; }
    bool DecisionInexistant() override { return inexistant; }
    int EtatVerification() const override { return inexistant ? -1 : 0; }
};

class ClasserTest : public ::testing::Test {
protected:
    ResultatClassement classer(structMessage m) {
        dernier_ = std::move(m);
        ContexteClassement c{listes_, regles_, correspondance_, &verification_, {}};
        return Classer(dernier_, boite_, c);
    }

    ListesFiltres listes_;
    ReglesClassement regles_;
    ContexteCorrespondance correspondance_;
    Verification verification_;
    BoiteAClasser boite_;
    structMessage dernier_;
};

TEST(RangAction, LettresEtIndex) {
    const struct {
        char lettre;
        int rang;
    } cas[] = {{' ', -1}, {'c', 0}, {'g', 1}, {'d', 2}, {'r', 3}, {'R', 3}, {'D', 2}, {'x', 4}};
    for (const auto& c : cas) EXPECT_EQ(RangAction(c.lettre), c.rang) << c.lettre;
    EXPECT_EQ(LettreAction(0, '?'), 'r');
    EXPECT_EQ(LettreAction(3, '?'), 'c');
    EXPECT_EQ(LettreAction(4, '?'), ' ');
    EXPECT_EQ(LettreAction(9, '?'), '?');
}

TEST_F(ClasserTest, RangLePlusHautRetenuEgaliteGardeLePremier) {
    listes_.ListeExpediteurs.Lignes = {rejet("\xB6spam", "g"), rejet("\xB6spam.test", "d"), rejet("\xB6@spam", "d")};
    const ResultatClassement r = classer(message("a@spam.test", "bonjour", "moi@ici.test"));
    EXPECT_EQ(r.Decision, 'd');
    EXPECT_EQ(r.FiltreExpediteur.Index, 1);
    EXPECT_EQ(r.MarquesFiltres[MarqueExpediteur], kNbsp + "(\xB6spam.test)" + kNbsp);
    EXPECT_TRUE(r.Causes[MarqueExpediteur]);
    EXPECT_EQ(r.RaisonInterception, 1016);
    EXPECT_TRUE(listes_.ListeExpediteurs.Modifiee);
    EXPECT_FALSE(listes_.ListeSujets.Modifiee);
}

TEST_F(ClasserTest, AmiApresUnRejetAccepteEtArreteTout) {
    listes_.ListeExpediteurs.Lignes = {rejet("\xB6spam", "r"), ami("\xB6spam.test")};
    listes_.ListeSujets.Lignes = {rejet("\xB6promo", "r")};
    const ResultatClassement r = classer(message("a@spam.test", "promo", "moi@ici.test"));
    EXPECT_TRUE(r.Ami);
    EXPECT_EQ(r.Decision, ' ');
    EXPECT_EQ(r.FiltreExpediteur.Index, 1);
    EXPECT_TRUE(r.FiltreExpediteur.Filtre.Ami);
    EXPECT_EQ(r.MarquesFiltres[MarqueExpediteur], kNbsp + "(\xB6spam.test)" + kNbsp);
    EXPECT_FALSE(r.FiltreSujet.Present()) << "la liste des sujets n'est pas parcourue";
    EXPECT_FALSE(listes_.ListeSujets.Modifiee);
}

TEST_F(ClasserTest, SujetVideSelonLaRegle) {
    listes_.ListeSujets.Lignes = {rejet("<vide>", "d"), ami("<Vide>")};
    regles_.SujetVide = 0;
    ResultatClassement r = classer(message("a@b.test", "", "moi@ici.test"));
    EXPECT_EQ(dernier_.SujetTeste, Chaine(1093) + kNbsp);
    EXPECT_EQ(r.Decision, 'r');
    EXPECT_FALSE(r.FiltreSujet.Present()) << "avec r, la liste des sujets est sautée";
    EXPECT_TRUE(r.Causes[MarqueSujet]);

    // Index 3 : le sujet est seulement renommé, et la liste parcourue avec "<Vide>".
    regles_.SujetVide = 3;
    listes_.ListeSujets.Lignes = {rejet("<vide>", "g")};
    r = classer(message("a@b.test", "", "moi@ici.test"));
    EXPECT_EQ(dernier_.SujetTeste, Chaine(1093));
    EXPECT_EQ(r.Decision, 'g');
    EXPECT_EQ(r.FiltreSujet.Index, 0);
}

TEST_F(ClasserTest, DestinatairesVidesEtSansArobase) {
    const struct {
        const char* nom;
        std::string a, cc;
        int destAVide, destPasArobase;
        char decision;
        bool vide;
    } cas[] = {
        {"vides, index 3 : compté", "", "", 3, 3, 'c', true},
        {"vides, index 1", "", "", 1, 3, 'd', true},
        {"groupe sans adresse", "amis:;", "", 3, 0, 'r', false},
        {"Cc sans arobase", "moi@ici.test", "Jean", 3, 2, 'g', false},
        {"tout va bien", "moi@ici.test", "toi@ici.test", 0, 0, ' ', false},
    };
    for (const auto& c : cas) {
        regles_.DestAVide = c.destAVide;
        regles_.DestPasArobase = c.destPasArobase;
        const ResultatClassement r = classer(message("a@b.test", "sujet", c.a, c.cc));
        EXPECT_EQ(r.Decision, c.decision) << c.nom;
        EXPECT_EQ(r.DestinataireVide, c.vide) << c.nom;
    }
}

TEST_F(ClasserTest, ListeDesDestinatairesParChamp) {
    listes_.ListeDestinataires.Lignes = {rejet("\xB6liste@", "g", "C"), rejet("\xB6liste@", "d", "A"),
                                         rejet("\xA7promo liste", "r", "X")};
    const ResultatClassement r = classer(message("a@b.test", "s", "liste@diffusion.test", "liste@copie.test"));
    EXPECT_EQ(r.Decision, 'd');
    EXPECT_EQ(r.ChampsRejetes, 3);
    EXPECT_EQ(r.FiltreDestinataire.Index, 1);
    EXPECT_EQ(r.MarquesFiltres[MarqueA], kNbsp + "(\xB6liste@)" + kNbsp);
    EXPECT_EQ(r.MarquesFiltres[MarqueCc], kNbsp + "(\xB6liste@)" + kNbsp) << "marque de la première ligne retenue";
    EXPECT_EQ(r.RaisonInterception, 1018);
    EXPECT_TRUE(r.Causes[MarqueA]);
    EXPECT_TRUE(r.Causes[MarqueCc]);
}

TEST_F(ClasserTest, DestinataireAmiParPlusieursMotsSensibleALaCasseDuChamp) {
    listes_.ListeDestinataires.Lignes = {ami("\xA7jean dupont", "L")};
    EXPECT_TRUE(classer(message("a@b.test", "s", "jean dupont <jd@x.test>")).Ami);
    EXPECT_FALSE(classer(message("a@b.test", "s", "Jean Dupont <jd@x.test>")).Ami);
}

TEST_F(ClasserTest, ExpediteurEtSujetEnDetruire) {
    listes_.ListeExpediteurs.Lignes = {rejet("\xB6spam", "d")};
    regles_.ExpEtSujetDetruire = true;
    listes_.ListeSujets.Lignes = {rejet("\xB6promo", "d")};
    EXPECT_EQ(classer(message("a@spam.test", "promo", "moi@ici.test")).Decision, 'r');
    listes_.ListeSujets.Lignes = {rejet("\xB6promo", "g")};
    EXPECT_EQ(classer(message("a@spam.test", "promo", "moi@ici.test")).Decision, 'd');
}

TEST_F(ClasserTest, BoiteSansRejetsCompteMaisExpediteurInexistantPeutRejeter) {
    boite_.AppliqueRejets = false;
    listes_.ListeExpediteurs.Lignes = {rejet("\xB6spam", "r")};
    EXPECT_EQ(classer(message("a@spam.test", "s", "moi@ici.test")).Decision, 'c');

    regles_.RejetInex = true;
    regles_.AvantRejetInex = 1;
    verification_.inexistant = true;
    const ResultatClassement r = classer(message("x@inconnu.test", "s", "moi@ici.test"));
    EXPECT_EQ(r.Decision, 'd');
    EXPECT_TRUE(r.ExpediteurInexistant);
}

TEST_F(ClasserTest, FiltresCoupesAcceptentApresLaVerification) {
    regles_.FiltresActifs = false;
    regles_.RejetInex = true;
    listes_.ListeExpediteurs.Lignes = {rejet("\xB6spam", "d")};
    const ResultatClassement r = classer(message("a@spam.test", "s", "moi@ici.test"));
    EXPECT_EQ(r.Decision, ' ');
    EXPECT_EQ(verification_.appels, 1);
    EXPECT_TRUE(r.FiltreExpediteur.Present()) << "la ligne retenue est tout de même transmise";
}

TEST_F(ClasserTest, PasDeVerificationQuandLaDecisionEstDejaRejeter) {
    regles_.RejetInex = true;
    listes_.ListeExpediteurs.Lignes = {rejet("\xB6spam", "r")};
    classer(message("a@spam.test", "s", "moi@ici.test"));
    EXPECT_EQ(verification_.appels, 0);
}

TEST_F(ClasserTest, DestinatairesExclusifs) {
    const struct {
        const char* nom;
        std::string destUnique;
        int bits;
        std::string a, cc;
        std::string typeRejet;
        char decision;
        int resultat;
    } cas[] = {
        {"intrus du domaine", "ici.test,contact", 1, "contact@ici.test, autre@ici.test", "", "R", 'r', 1},
        {"seul le privilégié", "ici.test,contact", 1, "Contact <CONTACT@ici.test>", "", "R", ' ', 0},
        {"absence, bit 4", "ici.test,contact", 4, "autre@ici.test", "", "d", 'd', 2},
        {"présent en copie, bit 4", "ici.test,contact", 4, "autre@ici.test", "contact@ici.test", "d", ' ', 0},
        {"autre domaine ignoré sans bit 2", "ici.test,contact", 1, "contact@ici.test; x@ailleurs.test", "", "R", ' ', 0},
        {"autre domaine pris avec bit 2", "ici.test,contact", 3, "contact@ici.test; x@ailleurs.test", "", "R", 'r', 1},
        {"partie privilégiée d'un autre domaine, bits 2+8", "ici.test,contact", 11, "contact@ailleurs.test", "", "R", ' ', 0},
        {"type vide : g", "ici.test,contact", 4, "autre@ici.test", "", "", 'g', 2},
        {"deux privilégiés", "ici.test,jean,marie", 5, "marie@ici.test", "", "R", ' ', 0},
    };
    for (const auto& c : cas) {
        boite_.DestUnique = c.destUnique;
        boite_.NatureRejet = c.bits;
        boite_.TypeRejet = c.typeRejet;
        const ResultatClassement r = classer(message("a@b.test", "s", c.a, c.cc));
        EXPECT_EQ(r.Decision, c.decision) << c.nom;
        EXPECT_EQ(r.ResultatExclusif, c.resultat) << c.nom;
        EXPECT_EQ((r.ChampsRejetes & 4) != 0, c.decision != ' ') << c.nom;
    }
}

TEST_F(ClasserTest, JournalDesCorrespondances) {
    listes_.ListeExpediteurs.Lignes = {rejet("\xB6SPAM", "g")};
    std::vector<std::string> entrees;
    ContexteClassement c{listes_, regles_, correspondance_, nullptr, {}};
    c.journal.actif = true;
    c.journal.ecrire = [&entrees](int numero, const std::string& texte) {
        entrees.push_back(std::to_string(numero) + " " + texte);
    };
    structMessage m = message("a@spam.test", "s", "moi@ici.test");
    Classer(m, boite_, c);
    ASSERT_GE(entrees.size(), 2u);
    EXPECT_EQ(entrees[0], "1187 Correspondance du filtre \"\xB6spam\" avec l'exp\xE9" "diteur \"a@spam.test\" - UIDL : u1");
    EXPECT_EQ(entrees[1], "1207 Sortie de la boucle sur le filtre exp. N\xB0 1/1 avec l'exp\xE9" "diteur \"a@spam.test\" - UIDL : u1");
    EXPECT_EQ(entrees.back(), "1451 pas de filtre ami pour ce message de a@spam.test d'UIDL : u1");
}

} // namespace
