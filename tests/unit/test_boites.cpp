// Chargement des boîtes depuis le fichier de paramètres : sections retenues, valeurs par défaut,
// colonnes des lignes, clients et minuteurs.
#include "donnees/MotDePasse.h"
#include "donnees/ParametresBoite.h"
#include "moteur/ChargerBoites.h"
#include "moteur/pop3/ClientPop3.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class ChargementBoites : public ::testing::Test {
protected:
    // Écrit le fichier tel quel puis charge les boîtes.
    void charger(const std::string& contenu, const std::string* motDePasseDemarrage = nullptr) {
        ASSERT_TRUE(dossier_.isValid());
        const QString chemin = dossier_.filePath(QStringLiteral("Tessaron.ini"));
        QFile fichier(chemin);
        ASSERT_TRUE(fichier.open(QIODevice::WriteOnly));
        fichier.write(contenu.data(), static_cast<qint64>(contenu.size()));
        fichier.close();
        ini_ = std::make_unique<FichierIni>(chemin);
        ContexteCreationBoite creation;
        creation.proprietaire = &proprietaire_;
        creation.surMinuteur = [this](ClientPop3*) { ++tics_; };
        ChargerBoites(*ini_, motDePasseDemarrage, boites_, sections_, creation);
    }
    const std::string& colonne(int ligne, int c) const {
        return boites_.Ligne(ligne).Colonnes[static_cast<std::size_t>(c)];
    }

    QTemporaryDir dossier_;
    QObject proprietaire_;
    std::unique_ptr<FichierIni> ini_;
    StockBoites boites_;
    std::vector<std::string> sections_;
    int tics_ = 0;
};

TEST_F(ChargementBoites, SectionsGlobalesEtJokersNeSontPasDesBoites) {
    const struct {
        const char* contenu;
        std::vector<std::string> boites;
    } cas[] = {
        {"", {}},
        {"[Tessaron]\r\nSon=1\r\n[JokerPerso]\r\na=xyz\r\n", {}},
        {"[tessaron]\r\n[Perso]\r\n[jokerperso]\r\n[Travail]\r\n", {"Perso", "Travail"}},
        {"[Perso]\r\nPop3ID=moi\r\n[Travail]\r\n", {"Perso", "Travail"}},
    };
    for (const auto& c : cas) {
        charger(c.contenu);
        EXPECT_EQ(SectionsBoites(*ini_), c.boites) << c.contenu;
        EXPECT_EQ(sections_, c.boites) << c.contenu;
    }
}

TEST_F(ChargementBoites, SectionVideDonneTousLesDefauts) {
    charger("[Vide]\r\n");
    ASSERT_EQ(boites_.Nombre(), 1);
    const structBoite& b = *boites_.BoiteDeLigne(0);
    EXPECT_EQ(b.Client->UserName, "maboite");
    EXPECT_EQ(b.Client->Host, kServeurPop3Defaut);
    EXPECT_EQ(b.Client->Port, "110");
    EXPECT_EQ(b.Client->Timeout, 25);
    EXPECT_FALSE(b.Client->SslImplicite);
    EXPECT_EQ(b.PasseClair, DebrouillePasse("xwv"));
    EXPECT_EQ(b.Client->Password, b.PasseClair);
    EXPECT_TRUE(b.Demarrage);
    EXPECT_FALSE(b.Apop);
    EXPECT_TRUE(b.AppliqueRejets);
    EXPECT_EQ(b.Port, 110);
    EXPECT_EQ(b.Timer->interval(), 300 * 1000);
    EXPECT_TRUE(b.Timer->isActive());
    EXPECT_EQ(boites_.Ligne(0).Caption(), "Vide");
    EXPECT_EQ(colonne(0, ColIntervalle), "300");
    EXPECT_EQ(colonne(0, ColNbMsg), "");
    EXPECT_EQ(colonne(0, ColIdentifiant), "maboite");
    EXPECT_EQ(colonne(0, ColServeur), kServeurPop3Defaut);
    EXPECT_EQ(colonne(0, ColFiltreDestinataire), "");
    EXPECT_EQ(colonne(0, ColTypeRejet), "g");
    EXPECT_EQ(colonne(0, ColNatureRejet), "1");
    EXPECT_EQ(boites_.Ligne(0).Icone, kIconeBoiteFiltree);
}

TEST_F(ChargementBoites, ValeursLuesEtValeursIllisibles) {
    charger("[Perso]\r\n"
            "Pop3ID=jean\r\nPop3Mail=pop.exemple.fr\r\nPop3Mdp=.secret\r\nTimeOut=7\r\n"
            "Pop3Port=995\r\nPop3SSL=1\r\nIntervalle=60\r\nDestUnique=exemple.fr,jean,marie\r\n"
            "TypeRejet=0\r\nNatureRejet=5\r\nPop3Demar=0\r\nPop3APOP=1\r\nAppliqueRejets=0\r\n"
            "[Cassee]\r\n"
            "TimeOut=abc\r\nPop3Port=99999999999\r\nPop3SSL=oui\r\nIntervalle=\r\nTypeRejet=9\r\n"
            "Pop3Demar=2\r\nNatureRejet=-\r\n");
    ASSERT_EQ(boites_.Nombre(), 2);
    const structBoite& p = *boites_.BoiteDeLigne(0);
    EXPECT_EQ(p.Client->UserName, "jean");
    EXPECT_EQ(p.Client->Host, "pop.exemple.fr");
    EXPECT_EQ(p.PasseClair, "secret");
    EXPECT_EQ(p.Client->Timeout, 7);
    EXPECT_EQ(p.Client->Port, "995");
    EXPECT_TRUE(p.Ssl);
    EXPECT_TRUE(p.Client->SslImplicite);
    EXPECT_FALSE(p.Demarrage);
    EXPECT_TRUE(p.Apop);
    EXPECT_FALSE(p.AppliqueRejets);
    EXPECT_EQ(p.Timer->interval(), 60000);
    EXPECT_EQ(colonne(0, ColFiltreDestinataire), "exemple.fr,jean,marie");
    EXPECT_EQ(colonne(0, ColTypeRejet), "R");
    EXPECT_EQ(colonne(0, ColNatureRejet), "5");
    EXPECT_EQ(boites_.Ligne(0).Icone, kIconeBoiteNonFiltree);

    const structBoite& c = *boites_.BoiteDeLigne(1);
    EXPECT_EQ(c.Client->Timeout, 25);
    EXPECT_EQ(c.Port, 110);
    EXPECT_FALSE(c.Ssl);
    EXPECT_EQ(c.Timer->interval(), 300000);
    EXPECT_EQ(colonne(1, ColTypeRejet), "g");
    EXPECT_TRUE(c.Demarrage);
    EXPECT_EQ(colonne(1, ColNatureRejet), "1");
}

TEST_F(ChargementBoites, IntervalleNulOuNegatifNeLancePasLeMinuteur) {
    charger("[Zero]\r\nIntervalle=0\r\n[Negatif]\r\nIntervalle=-5\r\n[Enorme]\r\nIntervalle=2147483647\r\n");
    EXPECT_FALSE(boites_.BoiteDeLigne(0)->Timer->isActive());
    EXPECT_FALSE(boites_.BoiteDeLigne(1)->Timer->isActive());
    EXPECT_EQ(colonne(0, ColIntervalle), "0");
    EXPECT_TRUE(boites_.BoiteDeLigne(2)->Timer->isActive());
    EXPECT_GT(boites_.BoiteDeLigne(2)->Timer->interval(), 0);
}

TEST_F(ChargementBoites, MotDePasseBrouilleEtMasque) {
    const std::string demarrage = "cle";
    const std::string stocke = MasquePasse(BrouillePasse("mdp-boite"), demarrage);
    charger("[Protegee]\r\nPop3Mdp=" + stocke + "\r\n", &demarrage);
    EXPECT_EQ(boites_.BoiteDeLigne(0)->PasseClair, "mdp-boite");

    StockBoites autres;
    ContexteCreationBoite creation;
    creation.proprietaire = &proprietaire_;
    std::vector<std::string> sections;
    ini_->EcrireTexte("Claire", "Pop3Mdp", BrouillePasse("mdp-boite"));
    ChargerBoites(*ini_, nullptr, autres, sections, creation);
    EXPECT_EQ(autres.BoiteDeLigne(1)->PasseClair, "mdp-boite");
}

TEST_F(ChargementBoites, LigneDeClientRetrouveLaBoite) {
    charger("[A]\r\n[B]\r\n[C]\r\n");
    for (int i = 0; i < 3; ++i) EXPECT_EQ(boites_.LigneDeClient(boites_.BoiteDeLigne(i)->Client), i);
    ClientPop3 etranger;
    EXPECT_EQ(boites_.LigneDeClient(&etranger), -1);
    EXPECT_EQ(boites_.LigneDeClient(nullptr), -1);
    EXPECT_EQ(boites_.BoiteDeLigne(3), nullptr);
    EXPECT_EQ(boites_.BoiteDeLigne(-1), nullptr);
}

} // namespace
