// Magasin des messages : messages connus par compte, retraits par blocs annoncés aux vues.
#include "moteur/Messages.h"
#include "moteur/FormaterEntier.h"
#include "moteur/pop3/ClientPop3.h"

#include <gtest/gtest.h>

namespace {

// Observateur qui vérifie que chaque annonce encadre bien un changement cohérent.
class ObservateurControle : public ObservateurStock {
public:
    explicit ObservateurControle(const StockMessages& stock) : stock_(stock) {}
    std::vector<std::pair<int, int>> retraits;
    void avantAjout(int premiere, int) override { attendu_ = stock_.Nombre() + 1; EXPECT_EQ(premiere, stock_.Nombre()); }
    void apresAjout() override { EXPECT_EQ(stock_.Nombre(), attendu_); }
    void avantRetrait(int premiere, int derniere) override {
        ASSERT_LE(derniere, stock_.Nombre() - 1);
        retraits.emplace_back(premiere, derniere);
        attendu_ = stock_.Nombre() - (derniere - premiere + 1);
    }
    void apresRetrait() override { EXPECT_EQ(stock_.Nombre(), attendu_); }
    void ligneChangee(int) override {}

private:
    const StockMessages& stock_;
    int attendu_ = 0;
};

LigneMessage ligne(const std::string& uidl, const std::string& boite, ClientPop3* client) {
    LigneMessage l;
    l.Colonnes[ColUidl] = uidl;
    l.Colonnes[ColBoiteOrigine] = boite;
    l.Client = client;
    return l;
}

TEST(StockMessages, MessageConnuSeulementSurLeMemeCompte) {
    ClientPop3 a, memeCompte, autreServeur, autreUtilisateur;
    a.Host = "pop.exemple.fr";
    a.UserName = "jean";
    memeCompte.Host = "POP.Exemple.FR";
    memeCompte.UserName = "jean";
    autreServeur.Host = "pop.ailleurs.fr";
    autreServeur.UserName = "jean";
    autreUtilisateur.Host = "pop.exemple.fr";
    autreUtilisateur.UserName = "marie";
    StockMessages stock;
    stock.Ajouter(ligne("u1", "A", &a));
    stock.Ajouter(ligne("u2", "A", &a));

    EXPECT_EQ(stock.TrouverMessage("u2", a), 1);
    EXPECT_EQ(stock.TrouverMessage("u2", memeCompte), 1);
    EXPECT_EQ(stock.TrouverMessage("u2", autreServeur), -1);
    EXPECT_EQ(stock.TrouverMessage("u2", autreUtilisateur), -1);
    EXPECT_EQ(stock.TrouverMessage("u3", a), -1);
}

TEST(StockMessages, RetraitParBlocsGardeLOrdreEtLIndex) {
    ClientPop3 client;
    StockMessages stock;
    ObservateurControle observateur(stock);
    stock.AjouterObservateur(&observateur);
    const std::string boites = "AABBABAA";
    for (std::size_t i = 0; i < boites.size(); ++i)
        stock.Ajouter(ligne("u" + std::to_string(i), std::string(1, boites[i]), &client));

    stock.RetirerSi([](const LigneMessage& l) { return l.Colonnes[ColBoiteOrigine] == "A"; });

    ASSERT_EQ(stock.Nombre(), 3);
    EXPECT_EQ(stock.Ligne(0).Colonnes[ColUidl], "u2");
    EXPECT_EQ(stock.Ligne(1).Colonnes[ColUidl], "u3");
    EXPECT_EQ(stock.Ligne(2).Colonnes[ColUidl], "u5");
    // Trois blocs, du bas vers le haut.
    EXPECT_EQ(observateur.retraits, (std::vector<std::pair<int, int>>{{6, 7}, {4, 4}, {0, 1}}));
    for (int i = 0; i < 3; ++i) EXPECT_EQ(stock.TrouverMessage(stock.Ligne(i).Colonnes[ColUidl], client), i);
    EXPECT_EQ(stock.TrouverMessage("u0", client), -1);

    stock.Vider();
    EXPECT_EQ(stock.Nombre(), 0);
    stock.RetirerObservateur(&observateur);
}

TEST(StockMessages, ChangerLIdentifiantMetAJourLaRecherche) {
    ClientPop3 client;
    StockMessages stock;
    stock.Ajouter(ligne("ancien", "A", &client));
    stock.ChangerColonne(0, ColUidl, "nouveau");
    EXPECT_EQ(stock.TrouverMessage("ancien", client), -1);
    EXPECT_EQ(stock.TrouverMessage("nouveau", client), 0);
}

TEST(StockMessages, LigneDontLeClientADisparuNEstPlusConnue) {
    StockMessages stock;
    ClientPop3 temoin;
    {
        ClientPop3 phemere;
        stock.Ajouter(ligne("u", "A", &phemere));
    }
    EXPECT_EQ(stock.TrouverMessage("u", temoin), -1);
}

TEST(FormaterEntier, GroupesDeTroisChiffres) {
    const struct {
        long long valeur;
        const char* attendu;
    } cas[] = {{0, "0"}, {999, "999"}, {1000, "1.000"}, {12000, "12.000"}, {1234567, "1.234.567"},
               {-1234, "-1.234"}, {-9223372036854775807LL - 1, "-9.223.372.036.854.775.808"}};
    for (const auto& c : cas) EXPECT_EQ(FormaterEntier(c.valeur, "."), c.attendu) << c.valeur;
}

} // namespace
