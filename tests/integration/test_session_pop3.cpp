// Interrogations réelles d'un serveur POP3 local : sessions, erreurs, renumérotation,
// rapprochement, interruption et garde contre les sessions imbriquées.
#include "BancMoteur.h"
#include "donnees/Chaines.h"
#include "moteur/pop3/ContexteSsl.h"

#include <QTimer>

using ServeursTest::DeposerMessage;
using ServeursTest::RetirerMessage;
using ServeursTest::Utilisateur;
using ServeursTest::ViderBoite;

namespace {

std::vector<std::string> uidlsDe(const std::vector<std::string>& lignes) {
    std::vector<std::string> uidls;
    for (const auto& l : lignes) {
        const auto debut = l.find(':') + 1;
        uidls.push_back(l.substr(debut, l.rfind(':') - debut));
    }
    return uidls;
}

} // namespace

class SessionPop3Test : public BancMoteur {};

TEST_F(SessionPop3Test, BonneInterrogationListeLesMessagesEtLeurNombre) {
    const std::string u = Utilisateur(1);
    ViderBoite(u);
    for (const char* sujet : {"un", "deux", "trois"}) DeposerMessage(u, sujet, 1500);
    Charger({{.label = "Perso", .utilisateur = u}});

    Interroger(0);

    ASSERT_EQ(messages_.Nombre(), 3);
    for (int i = 0; i < 3; ++i) {
        const auto& ligne = messages_.Ligne(i);
        EXPECT_EQ(ligne.Caption(), std::to_string(i + 1));
        EXPECT_EQ(ligne.Colonnes[ColBoiteOrigine], "Perso");
        EXPECT_FALSE(ligne.Colonnes[ColUidl].empty());
        EXPECT_NE(ligne.Colonnes[ColTaille].find('.'), std::string::npos) << "taille groupée par milliers";
        EXPECT_EQ(ligne.Client.data(), &Client(0));
    }
    EXPECT_EQ(NbMsg(0), "3");
    EXPECT_EQ(ui_.compter(Chaine(1011) + "Perso..."), 1);
    EXPECT_EQ(ui_.compter(Chaine(1014) + "Perso"), 1);
    ASSERT_FALSE(ui_.historique.empty());
    EXPECT_EQ(ui_.historique.back().rfind(Chaine(1038) + "Perso: ", 0), 0u) << ui_.historique.back();
    EXPECT_EQ(ui_.panneau1, "version");
    EXPECT_TRUE(ui_.animation);
    EXPECT_EQ(ui_.sonsJoues, 1);
    EXPECT_EQ(ui_.bulleTray, "Tessaron - 3 messages");
    EXPECT_FALSE(Client(0).Connected());
    EXPECT_FALSE(ui_.interrompreVisible);
    EXPECT_FALSE(ui_.listeOccupee);

    // Une seconde interrogation ne liste rien de nouveau : pas de son, pas d'animation relancée.
    ui_.animation = false;
    Interroger(0);
    EXPECT_EQ(messages_.Nombre(), 3);
    EXPECT_FALSE(ui_.animation);
    EXPECT_EQ(ui_.sonsJoues, 1);
}

TEST_F(SessionPop3Test, MauvaisMotDePasseMarqueErreurSansToucherLaListe) {
    const std::string u = Utilisateur(2);
    ViderBoite(u);
    DeposerMessage(u, "gardé");
    Charger({{.label = "Bonne", .utilisateur = u}, {.label = "Mauvaise", .utilisateur = u, .motDePasse = "faux"}});
    Interroger(0);
    ASSERT_EQ(messages_.Nombre(), 1);
    const auto avant = Lignes();

    Interroger(1);

    EXPECT_EQ(NbMsg(1), Chaine(1013));
    EXPECT_EQ(Lignes(), avant);
    EXPECT_EQ(ui_.compter(Chaine(1012) + "Mauvaise"), 1);
    EXPECT_EQ(ui_.panneau1.rfind("Mauvaise=>", 0), 0u) << ui_.panneau1;
    EXPECT_GT(ui_.panneau1.size(), std::string("Mauvaise=>").size());
    EXPECT_EQ(ui_.bips, 1);
    EXPECT_FALSE(Client(1).Connected());
}

TEST_F(SessionPop3Test, BoiteVideRetireSesLignes) {
    const std::string u = Utilisateur(3);
    ViderBoite(u);
    DeposerMessage(u, "a");
    DeposerMessage(u, "b");
    Charger({{.label = "Vide", .utilisateur = u}});
    Interroger(0);
    ASSERT_EQ(messages_.Nombre(), 2);

    ViderBoite(u);
    Interroger(0);

    EXPECT_EQ(messages_.Nombre(), 0);
    EXPECT_EQ(NbMsg(0), "");
    EXPECT_EQ(ui_.imageTray, 0);
}

TEST_F(SessionPop3Test, MessageSupprimeAilleursDisparaitEtLesAutresSontRenumerotes) {
    const std::string u = Utilisateur(4);
    ViderBoite(u);
    const std::string premier = DeposerMessage(u, "un");
    DeposerMessage(u, "deux");
    DeposerMessage(u, "trois");
    Charger({{.label = "Renum", .utilisateur = u}});
    Interroger(0);
    ASSERT_EQ(messages_.Nombre(), 3);
    const auto uidls = uidlsDe(Lignes());

    RetirerMessage(u, premier);
    Interroger(0);

    ASSERT_EQ(messages_.Nombre(), 2);
    EXPECT_EQ(Lignes(), (std::vector<std::string>{"1:" + uidls[1] + ":Renum", "2:" + uidls[2] + ":Renum"}));
    EXPECT_EQ(NbMsg(0), "2");
}

TEST_F(SessionPop3Test, DeuxBoitesSurLeMemeCompteListentUneSeuleFoisChaqueMessage) {
    const std::string u = Utilisateur(5);
    ViderBoite(u);
    DeposerMessage(u, "partagé");
    Charger({{.label = "A", .utilisateur = u}, {.label = "B", .utilisateur = u}});

    scrutation_->Button1Click();

    ASSERT_EQ(messages_.Nombre(), 1);
    EXPECT_EQ(messages_.Ligne(0).Colonnes[ColBoiteOrigine], "A");
    EXPECT_EQ(NbMsg(0), "1");
    EXPECT_EQ(NbMsg(1), "1");
}

TEST_F(SessionPop3Test, MemeIdentifiantSurUnAutreCompteNEstPasConfondu) {
    // Deux comptes créés dans la même seconde peuvent donner les mêmes identifiants de message.
    const std::string u1 = Utilisateur(6), u2 = Utilisateur(7);
    ViderBoite(u1);
    ViderBoite(u2);
    DeposerMessage(u1, "premier compte");
    DeposerMessage(u2, "second compte");
    Charger({{.label = "C1", .utilisateur = u1}, {.label = "C2", .utilisateur = u2}});

    scrutation_->Button1Click();

    EXPECT_EQ(messages_.Nombre(), 2);
}

TEST_F(SessionPop3Test, InterrompreArreteLeParcoursEtLaProchaineInterrogationReprendTout) {
    const std::string u = Utilisateur(8);
    ViderBoite(u);
    for (int i = 1; i <= 5; ++i) DeposerMessage(u, "message " + std::to_string(i));
    Charger({{.label = "Stop", .utilisateur = u}});
    int montres = 0;
    ui_.surAffichageInterrompre = [&] {
        // Au troisième message, l'utilisateur clique pendant l'attente de la réponse du serveur.
        if (++montres == 3) QTimer::singleShot(0, [&] { scrutation_->BtnInterrompreClick(); });
    };

    Interroger(0);

    EXPECT_EQ(messages_.Nombre(), 2);
    EXPECT_EQ(ui_.compter(Chaine(1094)), 1);
    EXPECT_TRUE(etat_.DemandeInterruption);
    EXPECT_FALSE(Client(0).Connected());

    ui_.surAffichageInterrompre = nullptr;
    Interroger(0);
    EXPECT_EQ(messages_.Nombre(), 5);
    EXPECT_FALSE(etat_.DemandeInterruption);
}

TEST_F(SessionPop3Test, SecondeInterrogationDeLaMemeBoitePendantUneSessionRendLaMain) {
    const std::string u = Utilisateur(9);
    ViderBoite(u);
    DeposerMessage(u, "x");
    DeposerMessage(u, "y");
    Charger({{.label = "Seule", .utilisateur = u}});
    bool imbriqueeFaite = false;
    ui_.surAffichageInterrompre = [&] {
        if (imbriqueeFaite) return;
        imbriqueeFaite = true;
        // Pendant la session : le minuteur de la même boîte se déclenche, puis un double clic.
        scrutation_->Timer1Timer(OrigineScrutation::Minuteur, -1, &Client(0));
        scrutation_->Timer1Timer(OrigineScrutation::ListeBoites, 0);
    };

    Interroger(0);

    EXPECT_TRUE(imbriqueeFaite);
    EXPECT_EQ(ui_.compter(Chaine(1011)), 1);
    EXPECT_EQ(messages_.Nombre(), 2);
}

TEST_F(SessionPop3Test, SessionImbriqueeDUneAutreBoiteGardeSesLignesDEnTete) {
    const std::string u1 = Utilisateur(10), u2 = Utilisateur(11);
    ViderBoite(u1);
    ViderBoite(u2);
    DeposerMessage(u1, "externe");
    DeposerMessage(u2, "interne");
    Charger({{.label = "Externe", .utilisateur = u1}, {.label = "Interne", .utilisateur = u2}});
    bool imbriqueeFaite = false;
    ui_.surAffichageInterrompre = [&] {
        if (imbriqueeFaite) return;
        imbriqueeFaite = true;
        QTimer::singleShot(0, [&] { scrutation_->Timer1Timer(OrigineScrutation::Minuteur, -1, &Client(1)); });
    };

    Interroger(0);

    EXPECT_TRUE(imbriqueeFaite);
    ASSERT_EQ(messages_.Nombre(), 2);
    EXPECT_EQ(NbMsg(0), "1");
    EXPECT_EQ(NbMsg(1), "1");
}

TEST_F(SessionPop3Test, MinuteurAvecProgrammationCoupeeEcritSeulementDesactive) {
    const std::string u = Utilisateur(12);
    ViderBoite(u);
    DeposerMessage(u, "ignoré");
    Charger({{.label = "Off", .utilisateur = u}});
    etat_.ScrutationActive = false;

    scrutation_->Timer1Timer(OrigineScrutation::Minuteur, -1, &Client(0));
    EXPECT_EQ(ui_.historique, std::vector<std::string>{Chaine(1010)});
    EXPECT_EQ(messages_.Nombre(), 0);

    // L'interrogation générale interroge quand même.
    scrutation_->Button1Click();
    EXPECT_EQ(messages_.Nombre(), 1);
}

TEST_F(SessionPop3Test, MoteurOccupeEmpecheToutDemarrage) {
    const std::string u = Utilisateur(13);
    ViderBoite(u);
    DeposerMessage(u, "attente");
    Charger({{.label = "Occ", .utilisateur = u}});
    etat_.MoteurOccupe = true;
    Interroger(0);
    scrutation_->Button1Click();
    EXPECT_TRUE(ui_.historique.empty());
    EXPECT_EQ(messages_.Nombre(), 0);
}

TEST_F(SessionPop3Test, RecensementSauteLesBoitesHorsDemarrage) {
    const std::string u1 = Utilisateur(14), u2 = Utilisateur(15);
    ViderBoite(u1);
    ViderBoite(u2);
    DeposerMessage(u1, "recensée");
    DeposerMessage(u2, "sautée");
    Charger({{.label = "Oui", .utilisateur = u1}, {.label = "Non", .utilisateur = u2, .demarrage = false}});

    scrutation_->Recensement();
    EXPECT_EQ(NbMsg(0), "1");
    EXPECT_EQ(NbMsg(1), "");
    EXPECT_EQ(messages_.Nombre(), 1);

    scrutation_->Button1Click();
    EXPECT_EQ(NbMsg(1), "1");
    EXPECT_EQ(messages_.Nombre(), 2);
}

TEST_F(SessionPop3Test, BoiteInchangeeNeCouteQuUnNombreConstantDeCommandes) {
    const std::string u = Utilisateur(16);
    ViderBoite(u);
    for (int i = 0; i < 40; ++i) DeposerMessage(u, "m" + std::to_string(i));
    Charger({{.label = "Grande", .utilisateur = u}});
    Interroger(0);
    ASSERT_EQ(messages_.Nombre(), 40);

    const long long avant = Client(0).CommandesEnvoyees();
    Interroger(0);
    // USER, PASS, STAT, UIDL, QUIT.
    EXPECT_LE(Client(0).CommandesEnvoyees() - avant, 5);
    EXPECT_EQ(messages_.Nombre(), 40);
}

TEST_F(SessionPop3Test, CertificatDUneAutoriteInconnueEstRefuse) {
    const std::string u = Utilisateur(19);
    ViderBoite(u);
    DeposerMessage(u, "jamais lu");
    etat_.ContexteSsl = QSslConfiguration::defaultConfiguration();
    ASSERT_TRUE(AjouterAutorites(etat_.ContexteSsl, ServeursTest::FichierAutreCa()));
    Charger({{.label = "Douteux", .utilisateur = u, .ssl = true}});

    Interroger(0);

    EXPECT_EQ(NbMsg(0), Chaine(1013));
    EXPECT_EQ(messages_.Nombre(), 0);
    EXPECT_EQ(ui_.panneau1.rfind("Douteux=>", 0), 0u) << ui_.panneau1;
    EXPECT_EQ(ui_.compter(Chaine(1012) + "Douteux"), 1);
}

TEST_F(SessionPop3Test, TlsSurUnNomQuiNeCorrespondPasAuCertificatEstRefuse) {
    const std::string u = Utilisateur(20);
    ViderBoite(u);
    DeposerMessage(u, "jamais lu");
    // Le certificat vaut pour localhost et 127.0.0.1, pas pour 127.0.0.3.
    Charger({{.label = "Autre nom", .utilisateur = u, .ssl = true, .hote = "127.0.0.3"}});
    Interroger(0);
    EXPECT_EQ(NbMsg(0), Chaine(1013));
}

struct CasConnexion {
    const char* nom;
    bool ssl;
    bool apop;
    std::string utilisateur;
    std::string motDePasse;  // vide : le bon
    bool reussit;
    friend void PrintTo(const CasConnexion& cas, std::ostream* sortie) { *sortie << cas.nom; }
};

class ConnexionsTest : public BancMoteur, public ::testing::WithParamInterface<CasConnexion> {};

TEST_P(ConnexionsTest, AuthentificationEtChiffrement) {
    const CasConnexion& cas = GetParam();
    ViderBoite(cas.utilisateur);
    DeposerMessage(cas.utilisateur, "sécurisé");
    Charger({{.label = cas.nom,
              .utilisateur = cas.utilisateur,
              .motDePasse = cas.motDePasse,
              .motDePasseEnClair = true,
              .ssl = cas.ssl,
              .apop = cas.apop}});
    Interroger(0);
    if (cas.reussit) {
        EXPECT_EQ(NbMsg(0), "1") << ui_.panneau1;
        EXPECT_EQ(messages_.Nombre(), 1);
    } else {
        EXPECT_EQ(NbMsg(0), Chaine(1013));
        EXPECT_EQ(messages_.Nombre(), 0);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Pop3, ConnexionsTest,
    ::testing::Values(CasConnexion{"Tls", true, false, ServeursTest::Utilisateur(17), "", true},
                      CasConnexion{"TlsApop", true, true, "apop", "", true},
                      CasConnexion{"Apop", false, true, "apop", "", true},
                      CasConnexion{"ApopRefuse", false, true, ServeursTest::Utilisateur(18), "faux", false}),
    [](const ::testing::TestParamInfo<CasConnexion>& p) { return std::string(p.param.nom); });
