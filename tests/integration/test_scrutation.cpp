// Déclenchement des interrogations : minuteur d'une boîte, minuteur de démarrage et recensement,
// et serveurs qui se taisent ou répondent n'importe quoi.
#include "BancMoteur.h"
#include "donnees/Chaines.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTcpServer>
#include <QTcpSocket>

using ServeursTest::DeposerMessage;
using ServeursTest::Utilisateur;
using ServeursTest::ViderBoite;

namespace {

// Sert les événements jusqu'à ce que la condition soit vraie ; faux au bout du délai.
template <typename Condition>
bool attendre(Condition condition, int millisecondes = 10000) {
    QDeadlineTimer limite(millisecondes);
    while (!condition()) {
        if (limite.hasExpired()) return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }
    return true;
}

// Serveur local qui accepte les connexions puis envoie `accueil` (rien quand il est vide).
class ServeurMuet : public QObject {
public:
    explicit ServeurMuet(QByteArray accueil) : accueil_(std::move(accueil)) {
        serveur_.listen(QHostAddress::LocalHost, 0);
        connect(&serveur_, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = serveur_.nextPendingConnection()) {
                if (!accueil_.isEmpty()) socket->write(accueil_);
            }
        });
    }
    int port() const { return serveur_.serverPort(); }

private:
    QTcpServer serveur_;
    QByteArray accueil_;
};

} // namespace

class ScrutationTest : public BancMoteur {};

TEST_F(ScrutationTest, LeMinuteurDUneBoiteLInterrogeToutSeul) {
    const std::string u = Utilisateur(21);
    ViderBoite(u);
    DeposerMessage(u, "minuté");
    Charger({{.label = "Minutée", .utilisateur = u, .intervalle = 1}});

    ASSERT_TRUE(attendre([&] { return NbMsg(0) == "1"; })) << "le minuteur n'a pas interrogé la boîte";
    EXPECT_EQ(messages_.Nombre(), 1);
}

TEST_F(ScrutationTest, MinuteurDeDemarrageFaitLeRecensementPuisDisparait) {
    const std::string u1 = Utilisateur(22), u2 = Utilisateur(23);
    ViderBoite(u1);
    ViderBoite(u2);
    DeposerMessage(u1, "au démarrage");
    DeposerMessage(u2, "plus tard");
    Charger({{.label = "Recensée", .utilisateur = u1}, {.label = "Hors recensement", .utilisateur = u2,
                                                        .demarrage = false}});
    scrutation_->CreerMinuteurDemarrage("/tmp/Tessaron.ini");
    scrutation_->LancerMinuteurDemarrage();

    ASSERT_TRUE(attendre([&] { return ui_.compter(Chaine(1038)) == 1; }));
    EXPECT_EQ(ui_.historique.front(), Chaine(1006));
    EXPECT_EQ(ui_.compter(Chaine(1100)), 1);
    EXPECT_EQ(NbMsg(0), "1");
    EXPECT_EQ(NbMsg(1), "");
    EXPECT_FALSE(etat_.RecensementEnCours);

    // Le minuteur ne revient plus.
    const auto lignes = ui_.historique.size();
    attendre([] { return false; }, 1500);
    EXPECT_EQ(ui_.historique.size(), lignes);
}

TEST_F(ScrutationTest, SansRecensementLeDemarrageDitDeuxFoisPret) {
    const std::string u = Utilisateur(24);
    ViderBoite(u);
    DeposerMessage(u, "attendra");
    Charger({{.label = "Calme", .utilisateur = u}});
    etat_.Parametres.RecenseDemar = false;
    scrutation_->CreerMinuteurDemarrage("/tmp/Tessaron.ini");
    scrutation_->LancerMinuteurDemarrage();

    ASSERT_TRUE(attendre([&] { return ui_.compter(Chaine(1100)) == 2; }));
    EXPECT_EQ(messages_.Nombre(), 0);
    EXPECT_EQ(NbMsg(0), "");
}

struct CasServeurDefaillant {
    const char* nom;
    QByteArray accueil;
    std::string erreurAttendue;  // début du texte d'erreur ; vide : n'importe lequel
    friend void PrintTo(const CasServeurDefaillant& cas, std::ostream* sortie) { *sortie << cas.nom; }
};

class ServeurDefaillantTest : public BancMoteur, public ::testing::WithParamInterface<CasServeurDefaillant> {};

TEST_P(ServeurDefaillantTest, LaBoitePasseEnErreurSansBloquer) {
    const CasServeurDefaillant& cas = GetParam();
    ServeurMuet serveur(cas.accueil);
    Charger({{.label = "Panne", .utilisateur = "x", .timeout = 1, .port = serveur.port()}});

    Interroger(0);

    EXPECT_EQ(NbMsg(0), Chaine(1013));
    EXPECT_EQ(ui_.panneau1.rfind("Panne=>" + cas.erreurAttendue, 0), 0u) << ui_.panneau1;
    EXPECT_EQ(ui_.compter(Chaine(1012) + "Panne"), 1);
    EXPECT_FALSE(Client(0).Connected());
    EXPECT_FALSE(ui_.listeOccupee);
}

INSTANTIATE_TEST_SUITE_P(
    Pop3, ServeurDefaillantTest,
    ::testing::Values(CasServeurDefaillant{"Silence", "", "426 Timeout"},
                      CasServeurDefaillant{"Dechets", "\x01\x02 bonjour\r\n", ""},
                      CasServeurDefaillant{"AccueilSansFinDeLigne", QByteArray(70000, 'x'), ""},
                      CasServeurDefaillant{"RefusDEntree", "-ERR trop de monde\r\n", "-ERR trop de monde"}),
    [](const ::testing::TestParamInfo<CasServeurDefaillant>& p) { return std::string(p.param.nom); });
