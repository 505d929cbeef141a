// Création, modification, renommage, suppression et déplacement des boîtes, vérifiés par un
// rechargement du fichier comme au redémarrage suivant.
#include "InterfaceEnregistree.h"
#include "donnees/Chaines.h"
#include "donnees/MotDePasse.h"
#include "donnees/ParametresBoite.h"
#include "moteur/MaintenanceBoites.h"
#include "moteur/pop3/ClientPop3.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class MaintenanceBoitesTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dossier_.isValid());
        chemin_ = dossier_.filePath(QStringLiteral("Tessaron.ini"));
        demarrer();
    }

    // Un « redémarrage » : nouveau fichier, nouvelles listes, boîtes relues.
    void demarrer() {
        maintenance_.reset();
        boites_ = std::make_unique<StockBoites>();
        messages_ = std::make_unique<StockMessages>();
        etat_ = std::make_unique<EtatProgramme>();
        contexte_ = std::make_unique<ContexteMoteur>(ContexteMoteur{*etat_, *boites_, *messages_, ui_});
        ini_ = std::make_unique<FichierIni>(chemin_);
        ContexteCreationBoite creation;
        creation.proprietaire = &proprietaire_;
        ChargerBoites(*ini_, nullptr, *boites_, etat_->SectionsBoites, creation);
        maintenance_ = std::make_unique<MaintenanceBoites>(*contexte_, *ini_, creation);
    }

    static ParametresBoite boite(const std::string& label, int intervalle = 120) {
        ParametresBoite p;
        p.Label = label;
        p.Pop3ID = "id-" + label;
        p.Pop3Mail = "pop." + label + ".test";
        p.PasseClair = "mdp " + label;
        p.Intervalle = intervalle;
        p.DestUnique = ConstruireDestUnique("exemple.test", {"jean", "marie"});
        p.TypeRejet = 1;
        p.NatureRejet = 5;
        return p;
    }

    std::vector<std::string> labels() const {
        std::vector<std::string> l;
        for (int i = 0; i < boites_->Nombre(); ++i) l.push_back(boites_->Ligne(i).Caption());
        return l;
    }

    QTemporaryDir dossier_;
    QString chemin_;
    QObject proprietaire_;
    InterfaceEnregistree ui_;
    std::unique_ptr<StockBoites> boites_;
    std::unique_ptr<StockMessages> messages_;
    std::unique_ptr<EtatProgramme> etat_;
    std::unique_ptr<ContexteMoteur> contexte_;
    std::unique_ptr<FichierIni> ini_;
    std::unique_ptr<MaintenanceBoites> maintenance_;
};

TEST_F(MaintenanceBoitesTest, CreationSurvitAuRedemarrage) {
    ParametresBoite tls = boite("Tls");
    tls.Ssl = true;
    tls.Port = 995;
    tls.Apop = true;
    tls.Demarrage = false;
    tls.AppliqueRejets = false;
    maintenance_->CreerBoite(boite("Perso"));
    maintenance_->CreerBoite(tls);
    EXPECT_EQ(ui_.boiteSelectionnee, 1);
    EXPECT_EQ(boites_->BoiteDeLigne(1)->Client->Timeout, 15) << "délai par défaut jusqu'au redémarrage";
    EXPECT_EQ(etat_->SectionsBoites, (std::vector<std::string>{"Perso", "Tls"}));

    demarrer();
    ASSERT_EQ(labels(), (std::vector<std::string>{"Perso", "Tls"}));
    const structBoite& b = *boites_->BoiteDeLigne(1);
    EXPECT_TRUE(b.Ssl);
    EXPECT_EQ(b.Port, 995);
    EXPECT_EQ(b.Client->Port, "995");
    EXPECT_TRUE(b.Client->SslImplicite);
    EXPECT_TRUE(b.Apop);
    EXPECT_FALSE(b.Demarrage);
    EXPECT_FALSE(b.AppliqueRejets);
    EXPECT_EQ(b.PasseClair, "mdp Tls");
    EXPECT_EQ(b.Timer->interval(), 120000);
    EXPECT_EQ(boites_->Ligne(1).Colonnes[ColFiltreDestinataire], "exemple.test,jean,marie");
    EXPECT_EQ(boites_->Ligne(1).Colonnes[ColTypeRejet], "d");
    EXPECT_EQ(boites_->Ligne(1).Colonnes[ColNatureRejet], "5");
    EXPECT_EQ(boites_->Ligne(1).Icone, kIconeBoiteNonFiltree);
}

TEST_F(MaintenanceBoitesTest, MotDePasseMasqueQuandLaProtectionEstActive) {
    etat_->MotDePasseDemarrage = "cle";
    maintenance_->CreerBoite(boite("Protegee"));
    const std::string stocke = FichierIni(chemin_).LireTexte("Protegee", "Pop3Mdp", "");
    EXPECT_EQ(DebrouillePasse(MasquePasse(stocke, "cle")), "mdp Protegee");
}

TEST_F(MaintenanceBoitesTest, ModificationSansRenommage) {
    maintenance_->CreerBoite(boite("A"));
    ParametresBoite modifiee = boite("A", 45);
    modifiee.Pop3Mail = "autre.test";
    modifiee.PasseClair = "nouveau";
    modifiee.TypeRejet = 0;
    maintenance_->ModifierBoite(0, "A", modifiee);
    EXPECT_EQ(boites_->BoiteDeLigne(0)->Client->Host, "autre.test");
    EXPECT_TRUE(boites_->BoiteDeLigne(0)->Timer->isActive());

    demarrer();
    EXPECT_EQ(boites_->BoiteDeLigne(0)->Client->Host, "autre.test");
    EXPECT_EQ(boites_->BoiteDeLigne(0)->PasseClair, "nouveau");
    EXPECT_EQ(boites_->BoiteDeLigne(0)->Timer->interval(), 45000);
    EXPECT_EQ(boites_->Ligne(0).Colonnes[ColTypeRejet], "R");
}

TEST_F(MaintenanceBoitesTest, RenommageGardeLIntervalleEtEnregistreLesDeplacements) {
    for (const char* l : {"A", "B", "C"}) maintenance_->CreerBoite(boite(l));
    maintenance_->DescendreBoite(0);  // B A C, non enregistré
    EXPECT_TRUE(ui_.boutonOrdreActif);
    EXPECT_EQ(labels(), (std::vector<std::string>{"B", "A", "C"}));

    maintenance_->ModifierBoite(2, "C", boite("Cé", 77));
    EXPECT_FALSE(ui_.boutonOrdreActif);
    EXPECT_TRUE(ui_.questions.empty()) << "le renommage n'a rien demandé";

    demarrer();
    EXPECT_EQ(labels(), (std::vector<std::string>{"B", "A", "Cé"}));
    EXPECT_EQ(boites_->BoiteDeLigne(2)->Timer->interval(), 77000);
    EXPECT_FALSE(FichierIni(chemin_).SectionExiste("C"));
}

TEST_F(MaintenanceBoitesTest, DeplacementsAuxBordsEtOrdreEnregistreSurDemande) {
    for (const char* l : {"A", "B"}) maintenance_->CreerBoite(boite(l));
    ui_.boutonOrdreActif = false;
    maintenance_->MonterBoite(0);
    EXPECT_EQ(labels(), (std::vector<std::string>{"A", "B"}));
    EXPECT_TRUE(ui_.boutonOrdreActif) << "le bouton s'active même sans déplacement";
    maintenance_->DescendreBoite(1);
    EXPECT_EQ(labels(), (std::vector<std::string>{"A", "B"}));

    maintenance_->MonterBoite(1);
    ui_.reponseOui = false;
    maintenance_->SauverOrdreBoites(true);
    EXPECT_EQ(ui_.questions, std::vector<std::string>{Chaine(1071)});
    EXPECT_TRUE(ui_.boutonOrdreActif) << "Non laisse tout comme avant";

    ui_.reponseOui = true;
    maintenance_->SauverOrdreBoites(true);
    EXPECT_FALSE(ui_.boutonOrdreActif);
    demarrer();
    EXPECT_EQ(labels(), (std::vector<std::string>{"B", "A"}));
    EXPECT_EQ(boites_->BoiteDeLigne(1)->PasseClair, "mdp A");
    EXPECT_EQ(boites_->Ligne(1).Colonnes[ColFiltreDestinataire], "exemple.test,jean,marie");
}

TEST_F(MaintenanceBoitesTest, SuppressionEtBoiteQuiADesMessages) {
    for (const char* l : {"A", "B"}) maintenance_->CreerBoite(boite(l));
    LigneMessage message;
    message.Client = boites_->BoiteDeLigne(1)->Client;
    messages_->Ajouter(message);
    EXPECT_FALSE(maintenance_->BoiteALesMessages(0));
    EXPECT_TRUE(maintenance_->BoiteALesMessages(1));
    EXPECT_EQ(ui_.avertissements, 1);

    ASSERT_TRUE(maintenance_->SupprimerBoite(0, "A"));
    EXPECT_EQ(labels(), std::vector<std::string>{"B"});
    EXPECT_EQ(etat_->SectionsBoites, std::vector<std::string>{"B"});
    demarrer();
    EXPECT_EQ(labels(), std::vector<std::string>{"B"});
}

TEST(LibelleBoite, NomsRefuses) {
    const struct {
        const char* libelle;
        bool refuse;
    } cas[] = {{"Perso", false},  {"Boîte pro", false}, {"", true},        {"a]b", true},     {"[a", true},
               {";a", true},      {"tessaron", true},   {"JOKERPERSO", true}, {"a\nb", true}, {" a", true}};
    for (const auto& c : cas) EXPECT_EQ(!RefusLibelleBoite(c.libelle).empty(), c.refuse) << c.libelle;
}

} // namespace
