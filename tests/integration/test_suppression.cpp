// Suppression à la main de messages de la liste, contre le vrai serveur : effacement sur le
// serveur, fermeture des sessions, nouvelle interrogation des boîtes, lignes d'historique,
// question, ligne périmée, boîte déjà occupée.
#include "BancMoteur.h"
#include "donnees/Chaines.h"
#include "moteur/SuppressionMessages.h"

#include <QTimer>
#include <algorithm>

using ServeursTest::DeposerBrut;
using ServeursTest::RetirerMessage;
using ServeursTest::Utilisateur;
using ServeursTest::ViderBoite;

namespace {

using Textes = std::vector<std::string>;

const std::string kNbsp = "\xA0";

std::string message(const std::string& sujet, const std::string& a = "moi@ici.test") {
    return "From: Expediteur <exp@exemple.test>\r\nTo: " + a + "\r\nCc: copie@ici.test\r\nSubject: " + sujet +
           "\r\nDate: Fri, 11 Dec 2026 10:20:30 +0100\r\n\r\ncorps\r\n";
}

// Les identifiants des messages du compte, vus par une session à part.
Textes uidlsServeur(const std::string& utilisateur) {
    ClientPop3 client;
    client.Host = "127.0.0.1";
    client.Port = std::to_string(ServeursTest::PortPop3());
    client.UserName = utilisateur;
    client.Password = ServeursTest::MotDePasse(utilisateur);
    Textes uidls;
    if (!client.OpenSync() || !client.StatSync()) return {"échec : " + client.ErrorMessage};
    for (int n = 1; n <= client.MsgCount; ++n) {
        client.MsgNum = n;
        uidls.push_back(client.UidlSync() ? client.MsgUidl : "échec : " + client.ErrorMessage);
    }
    client.QuitSync();
    return uidls;
}

} // namespace

class SuppressionTest : public BancMoteur {
protected:
    std::string uidl(const std::string& sujet) const { return messages_.Ligne(LigneDuSujet(sujet)).Colonnes[ColUidl]; }

    ResultatSuppression supprimer(const std::vector<std::string>& sujets, bool sansConfirmation = false,
                                  int attenteMs = 5000) {
        DemandeSuppression demande;
        for (const auto& s : sujets) demande.Lignes.push_back(LigneDuSujet(s));
        demande.SansConfirmation = sansConfirmation;
        demande.AttenteBoiteOccupeeMs = attenteMs;
        return SupprimerMessages(contexte_, *scrutation_, demande);
    }

    // Les lignes de l'historique d'état qui commencent par l'un de ces textes, dans l'ordre.
    Textes etapes(const std::vector<int>& numeros) const {
        Textes retenues;
        for (const auto& l : ui_.historique)
            if (std::any_of(numeros.begin(), numeros.end(), [&l](int n) { return l.rfind(Chaine(n), 0) == 0; }))
                retenues.push_back(l);
        return retenues;
    }
};

TEST_F(SuppressionTest, TroisLignesDeDeuxBoitesEffaceesFermeesReinterrogeesEtHistorisees) {
    const std::string ua = Utilisateur(56), ub = Utilisateur(57);
    ViderBoite(ua);
    ViderBoite(ub);
    for (const char* s : {"a1, virgule", "a2", "a3"}) DeposerBrut(ua, message(s, "un@ici.test, deux@ici.test"));
    for (const char* s : {"b1", "b2"}) DeposerBrut(ub, message(s));
    Charger({{.label = "Alpha", .utilisateur = ua}, {.label = "Beta", .utilisateur = ub, .apop = true}});
    Interroger(0);
    Interroger(1);
    ASSERT_EQ(messages_.Nombre(), 5);
    const std::string restantA = uidl("a2"), restantB = uidl("b1");
    const LigneMessage a1 = messages_.Ligne(LigneDuSujet("a1, virgule"));
    ui_.historique.clear();

    const ResultatSuppression r = supprimer({"b2", "a1, virgule", "a3"});

    EXPECT_EQ(ui_.questions, Textes{"Supprimer DEFINITIVEMENT 3 messages des serveurs ?"});
    EXPECT_EQ(r.Issue, IssueSuppression::Menee);
    EXPECT_EQ(r.Effaces, 3);
    EXPECT_EQ(r.Perimes + r.Laisses, 0);
    EXPECT_EQ(r.BoitesReinterrogees, 2);
    EXPECT_EQ(uidlsServeur(ua), Textes{restantA});
    EXPECT_EQ(uidlsServeur(ub), Textes{restantB});
    // Les deux boîtes ont été interrogées de nouveau : lignes retirées et renumérotées.
    EXPECT_EQ(Lignes(), (Textes{"1:" + restantA + ":Alpha", "1:" + restantB + ":Beta"}));
    EXPECT_FALSE(Client(0).Connected());
    EXPECT_FALSE(Client(1).Connected());
    EXPECT_FALSE(etat_.MoteurOccupe);
    EXPECT_FALSE(ui_.listeOccupee);
    EXPECT_EQ(ui_.historique.front(), Chaine(1049));
    EXPECT_EQ(ui_.compter(Chaine(1024) + a1.Colonnes[ColExpediteur] + Chaine(1101)), 3);
    EXPECT_EQ(etapes({1114, 1115, 1116, 1117}),
              (Textes{Chaine(1114) + "Alpha", Chaine(1115) + "Alpha", Chaine(1116) + "Alpha", Chaine(1114) + "Beta",
                      Chaine(1115) + "Beta", Chaine(1116) + "Beta"}));
    EXPECT_EQ(ui_.listesPerimees, 0);

    // Lignes olive en tête, dans l'ordre inverse de la liste, virgules devenues ";".
    const ListeHisto& h = etat_.Listes.Historique;
    ASSERT_EQ(h.Lignes.size(), 3u);
    EXPECT_TRUE(h.Modifiee);
    EXPECT_EQ(ui_.changementsHistorique, 3);
    const Textes sujets = {h.Lignes[0].Sujet, h.Lignes[1].Sujet, h.Lignes[2].Sujet};
    EXPECT_EQ(sujets, (Textes{"b2", "a3", "a1; virgule"}));
    const structHisto& premiere = h.Lignes[2];
    EXPECT_EQ(premiere.DateHeure, a1.Colonnes[ColDate]);
    EXPECT_EQ(premiere.Expediteur, a1.Colonnes[ColExpediteur]);
    EXPECT_EQ(premiere.Destinataires, "un@ici.test; deux@ici.test");
    EXPECT_EQ(premiere.DestinatairesCopie, "copie@ici.test");
    EXPECT_EQ(h.Lignes[0].Boite, "Beta" + kNbsp);
    for (const structHisto& l : h.Lignes) {
        EXPECT_EQ(CouleurCellule(l, 0), CouleurHisto::Olive) << l.Sujet;
        EXPECT_EQ(l.Boite.find(','), std::string::npos);
    }
}

TEST_F(SuppressionTest, NonSansQuestionEtSansHistorique) {
    const std::string u = Utilisateur(58);
    ViderBoite(u);
    DeposerBrut(u, message("garde"));
    DeposerBrut(u, message("efface"));
    Charger({{.label = "Gamma", .utilisateur = u}});
    Interroger(0);
    ASSERT_EQ(messages_.Nombre(), 2);
    const Textes avant = Lignes();
    const long long commandes = Client(0).CommandesEnvoyees();

    // Non : rien n'est touché.
    ui_.reponseOui = false;
    const ResultatSuppression refus = supprimer({"efface"});
    EXPECT_EQ(refus.Issue, IssueSuppression::Refusee);
    EXPECT_FALSE(refus.Confirmee());
    EXPECT_EQ(ui_.questions, Textes{"Supprimer DEFINITIVEMENT 1 message du serveur ?"});
    EXPECT_EQ(Client(0).CommandesEnvoyees(), commandes);
    EXPECT_EQ(Lignes(), avant);
    EXPECT_FALSE(etat_.MoteurOccupe);

    // Moteur déjà occupé (compte à rebours, fermeture) : ni question ni connexion.
    etat_.MoteurOccupe = true;
    EXPECT_EQ(supprimer({"efface"}).Issue, IssueSuppression::Occupe);
    EXPECT_TRUE(etat_.MoteurOccupe);
    etat_.MoteurOccupe = false;
    EXPECT_EQ(ui_.questions.size(), 1u);
    EXPECT_EQ(Client(0).CommandesEnvoyees(), commandes);

    // Aucune ligne choisie.
    EXPECT_EQ(SupprimerMessages(contexte_, *scrutation_, {.Lignes = {-1, 9}}).Issue, IssueSuppression::Rien);

    // Ctrl sur le bouton de la visionneuse, historique des suppressions coupé.
    etat_.Parametres.HistoriseSuppression = false;
    const std::string garde = uidl("garde");
    const ResultatSuppression r = supprimer({"efface"}, true);
    EXPECT_EQ(r.Issue, IssueSuppression::Menee);
    EXPECT_EQ(r.Effaces, 1);
    EXPECT_EQ(ui_.questions.size(), 1u);
    EXPECT_EQ(uidlsServeur(u), Textes{garde});
    EXPECT_EQ(Lignes(), Textes{"1:" + garde + ":Gamma"});
    EXPECT_TRUE(etat_.Listes.Historique.Lignes.empty());
    EXPECT_FALSE(etat_.Listes.Historique.Modifiee);
    EXPECT_EQ(ui_.changementsHistorique, 0);
}

TEST_F(SuppressionTest, LigneDontLeMessageAQuitteLeServeurEstLaissee) {
    const std::string u = Utilisateur(58);
    ViderBoite(u);
    std::vector<std::string> noms;
    for (const char* s : {"m1", "m2", "m3", "m4"}) noms.push_back(DeposerBrut(u, message(s)));
    Charger({{.label = "Delta", .utilisateur = u}});
    Interroger(0);
    ASSERT_EQ(messages_.Nombre(), 4);
    const std::string m3 = uidl("m3"), m4 = uidl("m4");
    // Un autre client a pris m2 : le numéro 2 de sa ligne désigne désormais m3.
    RetirerMessage(u, noms[1]);

    const ResultatSuppression r = supprimer({"m1", "m2"});

    EXPECT_EQ(r.Effaces, 1);
    EXPECT_EQ(r.Perimes, 1);
    EXPECT_EQ(ui_.listesPerimees, 1);
    EXPECT_EQ(uidlsServeur(u), (Textes{m3, m4})) << "m3 ne doit pas être effacé à la place de m2";
    EXPECT_EQ(Lignes(), (Textes{"1:" + m3 + ":Delta", "2:" + m4 + ":Delta"}));
    ASSERT_EQ(etat_.Listes.Historique.Lignes.size(), 1u);
    EXPECT_EQ(etat_.Listes.Historique.Lignes[0].Sujet, "m1");
    EXPECT_EQ(r.BoitesReinterrogees, 1);
}

TEST_F(SuppressionTest, BoiteDejaOccupeeAttendueOuLaissee) {
    const std::string ua = Utilisateur(56), ub = Utilisateur(57);
    ViderBoite(ua);
    ViderBoite(ub);
    for (const char* s : {"a1", "a2"}) DeposerBrut(ua, message(s));
    DeposerBrut(ub, message("b1"));
    Charger({{.label = "Alpha", .utilisateur = ua}, {.label = "Beta", .utilisateur = ub}});
    Interroger(0);
    Interroger(1);
    ASSERT_EQ(messages_.Nombre(), 3);
    const std::string a1 = uidl("a1"), a2 = uidl("a2");

    // Une session d'un autre sur Alpha, qui ne finit pas : ses lignes sont laissées, la
    // session n'est pas refermée par la suppression ; Beta est traitée.
    ASSERT_TRUE(Client(0).OpenSync());
    const long long commandes = Client(0).CommandesEnvoyees();
    const ResultatSuppression laissee = supprimer({"a1", "b1"}, true, 300);
    EXPECT_EQ(laissee.Effaces, 1);
    EXPECT_EQ(laissee.Laisses, 1);
    EXPECT_EQ(laissee.BoitesReinterrogees, 1);
    EXPECT_TRUE(Client(0).Connected());
    EXPECT_EQ(Client(0).CommandesEnvoyees(), commandes);
    EXPECT_EQ(ui_.compter(Chaine(1012) + "Alpha"), 1);
    EXPECT_TRUE(uidlsServeur(ub).empty());
    EXPECT_FALSE(etat_.MoteurOccupe);

    // La session de l'autre finit pendant l'attente : la suppression se fait ensuite.
    QTimer::singleShot(100, &Client(0), [this] { Client(0).QuitSync(); });
    const ResultatSuppression attendue = supprimer({"a1"}, true);
    EXPECT_EQ(attendue.Effaces, 1);
    EXPECT_EQ(attendue.Laisses, 0);
    EXPECT_EQ(uidlsServeur(ua), Textes{a2});
    EXPECT_EQ(Lignes(), Textes{"1:" + a2 + ":Alpha"});
    EXPECT_NE(a1, a2);
}
