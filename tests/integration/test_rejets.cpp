// Rejets de bout en bout contre les vrais serveurs : suppression sur le serveur POP3,
// compteurs, historique, renumérotation, fenêtre d'interception, réponse SMTP et
// vérification de l'existence des expéditeurs (DNS puis sonde SMTP).
#include "BancMoteur.h"
#include "donnees/Chaines.h"
#include "donnees/Casse1252.h"
#include "moteur/entete/Adresses.h"
#include "moteur/entete/DecoderTexteEntete.h"
#include "moteur/entete/EnteteMessage.h"

#include <QHostAddress>
#include <QUdpSocket>
#include <unistd.h>

using ServeursTest::DeposerBrut;
using ServeursTest::MessagesSmtpPour;
using ServeursTest::Utilisateur;
using ServeursTest::ViderBoite;

namespace {

const std::string kNbsp = "\xA0";

std::string message(const std::string& from, const std::string& sujet, const std::string& a = "moi@ici.test",
                    const std::string& cc = "") {
    return "Return-Path: <" + ExtraireAdresse(from) + ">\r\nFrom: " + from + "\r\nTo: " + a + "\r\n" +
           (cc.empty() ? "" : "Cc: " + cc + "\r\n") + "Subject: " + sujet +
           "\r\nDate: Wed, 9 Dec 2026 23:55:04 +0100\r\n\r\ncorps\r\n";
}

// Le corps d'un message reçu, décodé s'il est en quoted-printable.
std::string corpsDecode(const std::string& texte, const EnteteMessage& entete) {
    const std::size_t debut = texte.find("\r\n\r\n");
    std::string corps = debut == std::string::npos ? std::string() : texte.substr(debut + 4);
    if (AnsiLowerCase(entete.EncodageTransfert) != "quoted-printable") return corps;
    std::string decode;
    for (std::size_t i = 0; i < corps.size(); ++i) {
        if (corps[i] == '=' && i + 2 < corps.size() && corps[i + 1] == '\r' && corps[i + 2] == '\n') {
            i += 2;
        } else if (corps[i] == '=' && i + 2 < corps.size()) {
            decode += static_cast<char>(std::stoi(corps.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            decode += corps[i];
        }
    }
    return decode;
}

structFiltre rejet(const std::string& motif, const std::string& avant, const std::string& pendant = "N ",
                   const std::string& champ = "") {
    return {motif, champ, avant, pendant, "", false};
}

} // namespace

class RejetsTest : public BancMoteur {
protected:
    void SetUp() override {
        BancMoteur::SetUp();
        if (IsSkipped()) return;
        ui_.moteurOccupe = &etat_.MoteurOccupe;
        etat_.Parametres.SMTPServeur = "127.0.0.1";
        etat_.Parametres.PortSMTP = 0;
        etat_.ServeurDNS = ServeursTest::ServeurDns();
        etat_.PortSondeSmtp = ServeursTest::PortSmtp();
        etat_.PreparerCorrespondance();
    }
    // Le port 25 de la réponse est remplacé par celui du serveur de test.
    void reponsesVersLeServeurDeTest() { etat_.PortReponseSmtp = ServeursTest::PortSmtp(); }

    std::vector<std::string> sujets() const {
        std::vector<std::string> s;
        for (int i = 0; i < messages_.Nombre(); ++i)
            s.push_back(messages_.Ligne(i).Caption() + ":" + messages_.Ligne(i).Colonnes[ColSujet]);
        return s;
    }
};

TEST_F(RejetsTest, DeuxRejetsDansUneInterrogationSuppressionHistoriqueEtRenumerotation) {
    const std::string u = Utilisateur(30);
    ViderBoite(u);
    DeposerBrut(u, message("a@ok.test", "un"));
    DeposerBrut(u, message("vendeur@spam.test", "deux"));
    DeposerBrut(u, message("a@ok.test", "trois"));
    DeposerBrut(u, message("x@y.test", "promo quatre"));
    DeposerBrut(u, message("a@ok.test", "cinq"));
    etat_.Listes.ListeExpediteurs.Lignes = {rejet("\xB6spam.test", "R"), rejet("\xB6spam", "g")};
    etat_.Listes.ListeSujets.Lignes = {rejet("\xB6promo", "r")};
    etat_.Listes.ListeSujets.Lignes[0].Effectues = "4";
    Charger({{.label = "Rejets", .utilisateur = u}});

    Interroger(0);

    EXPECT_EQ(sujets(), (std::vector<std::string>{"1:un", "2:trois", "3:cinq"}));
    EXPECT_EQ(NbMsg(0), "3");
    EXPECT_EQ(etat_.Listes.ListeExpediteurs.Lignes[0].Effectues, "1");
    EXPECT_EQ(etat_.Listes.ListeExpediteurs.Lignes[1].Effectues, "") << "seule la ligne retenue compte";
    EXPECT_EQ(etat_.Listes.ListeSujets.Lignes[0].Effectues, "5");
    ASSERT_EQ(etat_.Listes.Historique.Lignes.size(), 2u);
    const structHisto& dernier = etat_.Listes.Historique.Lignes[0];
    EXPECT_EQ(dernier.Sujet, "promo quatre" + kNbsp + "(\xB6promo)" + kNbsp + kNbsp);
    EXPECT_EQ(dernier.Boite, "Rejets");
    EXPECT_EQ(etat_.Listes.Historique.Lignes[1].Expediteur.rfind("vendeur@spam.test" + kNbsp + "(\xB6spam.test)", 0), 0u);
    EXPECT_TRUE(etat_.Listes.Historique.Modifiee);
    EXPECT_EQ(ui_.bulles.size(), 2u) << "une bulle par rejet immédiat";
    EXPECT_TRUE(ui_.interceptions.empty());

    // Les messages rejetés ne sont plus sur le serveur.
    messages_.Vider();
    Interroger(0);
    EXPECT_EQ(sujets(), (std::vector<std::string>{"1:un", "2:trois", "3:cinq"}));
}

struct CasInterception {
    const char* nom;
    char action;
    ResultatInterception fin;
    bool supprime;
    bool bulle;
    friend void PrintTo(const CasInterception& c, std::ostream* s) { *s << c.nom; }
};

class InterceptionTest : public RejetsTest, public ::testing::WithParamInterface<CasInterception> {};

TEST_P(InterceptionTest, IssueSelonLaFaconDeFermer) {
    const CasInterception& cas = GetParam();
    const std::string u = Utilisateur(31);
    ViderBoite(u);
    DeposerBrut(u, message("x@y.test", "douteux", "", ""));
    etat_.Listes.ListeSujets.Lignes = {rejet("\xB6" "douteux", std::string(1, cas.action))};
    etat_.Parametres.DelaiRejeterGarder = 12;
    ui_.reponseInterception = [&cas](const DonneesInterception&) { return cas.fin; };
    Charger({{.label = "Boite", .utilisateur = u}});

    Interroger(0);

    ASSERT_EQ(ui_.interceptions.size(), 1u);
    const DonneesInterception& d = ui_.interceptions[0];
    EXPECT_TRUE(ui_.moteurOccupePendantInterception);
    EXPECT_FALSE(etat_.MoteurOccupe);
    EXPECT_EQ(d.Titre, Chaine(7001) + "Boite");
    EXPECT_EQ(d.Raison, Chaine(1017));
    EXPECT_EQ(d.Filtre, "\xB6" "douteux");
    EXPECT_EQ(d.Action, cas.action);
    EXPECT_EQ(d.Delai, 12);
    EXPECT_TRUE(d.RougeSujet);
    EXPECT_FALSE(d.RougeExpediteur);
    EXPECT_EQ(d.Destinataires, Chaine(1097)) << "À et Cc vides";
    EXPECT_EQ(d.Sujet, "douteux" + kNbsp + "(\xB6" "douteux)" + kNbsp);
    EXPECT_EQ(d.Date, Chaine(1020) + "09/12/2026 23:55:04");
    EXPECT_EQ(etat_.Listes.ListeSujets.Lignes[0].Effectues, "1") << "compté quelle que soit l'issue";
    EXPECT_EQ(messages_.Nombre(), cas.supprime ? 0 : 1);
    EXPECT_EQ(etat_.Listes.Historique.Lignes.size(), cas.supprime ? 1u : 0u);
    EXPECT_EQ(ui_.bulles.size(), cas.bulle ? 1u : 0u);
    if (!cas.supprime) {
        ASSERT_EQ(messages_.Nombre(), 1);
        EXPECT_EQ(messages_.Ligne(0).Icone, 2);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rejets, InterceptionTest,
    ::testing::Values(
        CasInterception{"d_Rejeter", 'd', {0, ResultatModal::Ok}, true, false},
        CasInterception{"d_Delai", 'd', {-1, ResultatModal::Annuler}, true, true},
        CasInterception{"d_Garder", 'd', {9, ResultatModal::Oui}, false, false},
        CasInterception{"d_Fermer", 'd', {9, ResultatModal::Annuler}, false, false},
        CasInterception{"g_Rejeter", 'g', {0, ResultatModal::Ok}, true, false},
        CasInterception{"g_Delai", 'g', {-1, ResultatModal::Annuler}, false, false},
        CasInterception{"g_Garder", 'g', {9, ResultatModal::Oui}, false, false},
        CasInterception{"g_Fermer", 'g', {9, ResultatModal::Annuler}, false, false}),
    [](const ::testing::TestParamInfo<CasInterception>& p) { return std::string(p.param.nom); });

TEST_F(RejetsTest, SonsEtAnimationSelonCeQuiAEteListe) {
    const std::string u = Utilisateur(32);
    ViderBoite(u);
    DeposerBrut(u, message("x@spam.test", "rejeté"));
    etat_.Listes.ListeExpediteurs.Lignes = {rejet("\xB6spam", "r")};
    Charger({{.label = "Sons", .utilisateur = u}});

    Interroger(0);
    EXPECT_EQ(ui_.sons, std::vector<std::string>{"SystemExclamation"}) << "pas de son de nouveau message sans ligne ajoutée";
    EXPECT_FALSE(ui_.animation);

    DeposerBrut(u, message("x@ok.test", "gardé"));
    ui_.sons.clear();
    Interroger(0);
    EXPECT_EQ(ui_.sons, std::vector<std::string>{"MailBeep"});
    EXPECT_TRUE(ui_.animation);
}

struct CasReponse {
    const char* nom;
    std::string pendant;
    std::string specifique;
    std::string expediteurAttendu;
    std::vector<std::string> lignesAttendues;  // présentes dans le corps
    std::vector<std::string> lignesAbsentes;
    friend void PrintTo(const CasReponse& c, std::ostream* s) { *s << c.nom; }
};

class ReponseTest : public RejetsTest, public ::testing::WithParamInterface<CasReponse> {};

TEST_P(ReponseTest, MessageRecuParLeServeur) {
    const CasReponse& cas = GetParam();
    const std::string u = Utilisateur(33);
    ViderBoite(u);
    // Adresse propre à cette exécution : le serveur garde les messages des exécutions passées.
    const std::string spammeur = std::string("spammeur-") + cas.nom + "-" + std::to_string(getpid()) + "@exemple.test";
    DeposerBrut(u, message("Vendeur <" + spammeur + ">", "Offre =?ISO-8859-1?Q?sp=E9ciale?=",
                           "Moi <moi@ici.test>, autre@ailleurs.test", "copie@ici.test"));
    etat_.Listes.ListeExpediteurs.Lignes = {rejet("\xB6" "exemple.test", "R", cas.pendant)};
    etat_.Parametres.SMTPExped = cas.specifique;
    etat_.Parametres.FromReturnPath = 0;
    reponsesVersLeServeurDeTest();
    Charger({{.label = "Rep", .utilisateur = u}});

    Interroger(0);

    ASSERT_TRUE(ui_.erreurs.empty()) << ui_.erreurs.front();
    const auto recus = MessagesSmtpPour(spammeur);
    ASSERT_EQ(recus.size(), 1u);
    // Le serveur note "<>" pour un expéditeur d'enveloppe vide.
    EXPECT_EQ(recus[0].expediteur, cas.expediteurAttendu.empty() ? "<>" : cas.expediteurAttendu);
    const EnteteMessage entete = AnalyserEntete(recus[0].texte);
    EXPECT_EQ(ExtraireAdresse(entete.From), AnsiLowerCase(cas.expediteurAttendu)) << recus[0].texte;
    EXPECT_EQ(DecoderTexteEntete(entete.Subject), "Re:Offre sp\xE9" "ciale") << recus[0].texte;
    EXPECT_EQ(recus[0].texte.find("\r\nTo:"), std::string::npos) << "la réponse ne porte pas d'en-tête To";
    const std::string texte = corpsDecode(recus[0].texte, entete);
    EXPECT_NE(texte.find("Votre message a \xE9t\xE9 refus\xE9 par le destinataire \r\n"), std::string::npos) << texte;
    for (const auto& l : cas.lignesAttendues) EXPECT_NE(texte.find(l), std::string::npos) << l << "\n" << texte;
    for (const auto& l : cas.lignesAbsentes) EXPECT_EQ(texte.find(l), std::string::npos) << l;
}

INSTANTIATE_TEST_SUITE_P(
    Rejets, ReponseTest,
    ::testing::Values(
        CasReponse{"oa", "oa", "", "Postmaster@ailleurs.test",
                   {"\r\nDestinataire(s) de votre message: Moi <moi@ici.test>, autre@ailleurs.test"},
                   {"en copie de votre message"}},
        CasReponse{"vc", "vc", "", "autre@ailleurs.test", {"\r\nDestinataire(s) en copie de votre message: copie@ici.test"},
                   {"Destinataire(s) de votre message"}},
        CasReponse{"sx", "sx", "robot@moi.test", "robot@moi.test",
                   {"Destinataire(s) de votre message: ", "Destinataire(s) en copie de votre message: copie@ici.test"}, {}},
        CasReponse{"s_vide", "s ", "", "", {}, {"Destinataire(s)"}},
        CasReponse{"v_seul", "v", "", "autre@ailleurs.test", {}, {"Destinataire(s)"}}),
    [](const ::testing::TestParamInfo<CasReponse>& p) { return std::string(p.param.nom); });

TEST_F(RejetsTest, EchecSmtpMontreErreurSmtpEtNeDefaitRien) {
    const std::string u = Utilisateur(34);
    ViderBoite(u);
    // La réponse part vers l'expéditeur, que le serveur SMTP refuse (550).
    DeposerBrut(u, message("inconnu-rep@exemple.test", "refus"));
    etat_.Listes.ListeExpediteurs.Lignes = {rejet("\xB6inconnu-rep", "R", "oa")};
    reponsesVersLeServeurDeTest();
    Charger({{.label = "Echec", .utilisateur = u}});

    Interroger(0);

    EXPECT_EQ(ui_.erreurs, std::vector<std::string>{Chaine(90213)});
    EXPECT_EQ(messages_.Nombre(), 0) << "le rejet reste fait";
    EXPECT_EQ(etat_.Listes.Historique.Lignes.size(), 1u);
    EXPECT_EQ(etat_.Listes.ListeExpediteurs.Lignes[0].Effectues, "1");
    EXPECT_EQ(ui_.panneau1, Chaine(90212) + "inconnu-rep@exemple.test");
}

TEST_F(RejetsTest, DestinataireNonReponseQuandLaLigneDestinataireDitN) {
    const std::string u = Utilisateur(35);
    ViderBoite(u);
    const std::string quelquun = "quelquun-" + std::to_string(getpid()) + "@exemple.test";
    DeposerBrut(u, message(quelquun, "sujet", "liste@ici.test"));
    etat_.Listes.ListeExpediteurs.Lignes = {rejet("\xB6quelquun", "R", "oa")};
    etat_.Listes.ListeDestinataires.Lignes = {rejet("\xB6liste@", "c", "N ", "A")};
    reponsesVersLeServeurDeTest();
    Charger({{.label = "N", .utilisateur = u}});
    Interroger(0);
    EXPECT_TRUE(MessagesSmtpPour(quelquun).empty());
    EXPECT_TRUE(ui_.erreurs.empty());
}

struct CasVerification {
    const char* nom;
    std::string expediteur;
    int conditions;
    int action;
    bool listeAttendu;  // le message reste dans la liste
    std::string verdict;
    friend void PrintTo(const CasVerification& c, std::ostream* s) { *s << c.nom; }
};

class VerificationTest : public RejetsTest, public ::testing::WithParamInterface<CasVerification> {};

TEST_P(VerificationTest, DecisionSelonLaReponse) {
    const CasVerification& cas = GetParam();
    const std::string u = Utilisateur(36);
    ViderBoite(u);
    DeposerBrut(u, message(cas.expediteur, "verif"));
    etat_.Parametres.RejetInex = true;
    etat_.Parametres.ConditionsRejetInex = cas.conditions;
    etat_.Parametres.AvantRejetInex = cas.action;
    etat_.Parametres.FromReturnPath = 0;
    ui_.reponseInterception = [](const DonneesInterception&) { return ResultatInterception{-1, ResultatModal::Annuler}; };
    Charger({{.label = "Verif", .utilisateur = u}});

    Interroger(0);

    EXPECT_EQ(messages_.Nombre(), cas.listeAttendu ? 1 : 0);
    EXPECT_EQ(ui_.panneau2, cas.verdict);
}

INSTANTIATE_TEST_SUITE_P(
    Rejets, VerificationTest,
    ::testing::Values(
        CasVerification{"existe", "qui@example.test", 2, 0, true, "Adresse OK"},
        CasVerification{"inconnu_cond0_R", "inconnu@example.test", 0, 0, false, "Adresse FAUSSE"},
        CasVerification{"inconnu_cond1", "inconnu@example.test", 1, 0, true, "Adresse FAUSSE"},
        CasVerification{"inconnu_cond2_d", "inconnu@example.test", 2, 1, false, "Adresse FAUSSE"},
        CasVerification{"inconnu_cond2_g_delai", "inconnu@example.test", 2, 2, true, "Adresse FAUSSE"},
        CasVerification{"occupe_450", "occupe@example.test", 2, 0, true, "Adresse non v\xE9rifi\xE9" "e"},
        CasVerification{"mauvais_553", "mauvais@example.test", 2, 0, true, "Adresse non v\xE9rifi\xE9" "e"},
        CasVerification{"pref100_cond1", "x@pref100.test", 1, 0, false, "Adresse non v\xE9rifi\xE9" "e"},
        CasVerification{"pref100_cond0", "x@pref100.test", 0, 0, true, "Adresse non v\xE9rifi\xE9" "e"},
        CasVerification{"sansmx_cond2", "x@sansmx.test", 2, 0, false, "Adresse non v\xE9rifi\xE9" "e"}),
    [](const ::testing::TestParamInfo<CasVerification>& p) { return std::string(p.param.nom); });

TEST_F(RejetsTest, AdresseRefuseeUneFoisLEstEnsuiteSansReseau) {
    const std::string u = Utilisateur(37);
    ViderBoite(u);
    DeposerBrut(u, message("inconnu@example.test", "premier"));
    etat_.Parametres.RejetInex = true;
    Charger({{.label = "Memoire", .utilisateur = u}});
    Interroger(0);
    ASSERT_EQ(etat_.AdressesInexistantes, std::vector<std::string>{"inconnu@example.test"});
    EXPECT_EQ(etat_.Listes.Historique.Lignes.at(0).Expediteur.back(), '\xB7') << "marque de l'expéditeur inexistant";

    // Plus de serveur DNS : la deuxième occurrence est jugée de mémoire.
    etat_.ServeurDNS = "127.0.0.9";
    DeposerBrut(u, message("INCONNU@example.test", "second"));
    Interroger(0);
    EXPECT_EQ(messages_.Nombre(), 0);
    EXPECT_EQ(etat_.AdressesInexistantes.size(), 1u);
    EXPECT_EQ(etat_.Listes.Historique.Lignes.size(), 2u);
}

TEST_F(RejetsTest, ServeurDnsMuetDonnePasDeServeurApresLAttente) {
    QUdpSocket muet;
    ASSERT_TRUE(muet.bind(QHostAddress(QStringLiteral("127.0.0.3")), 53));
    const std::string u = Utilisateur(38);
    ViderBoite(u);
    DeposerBrut(u, message("x@example.test", "attente"));
    etat_.Parametres.RejetInex = true;
    etat_.Parametres.ConditionsRejetInex = 1;
    etat_.ServeurDNS = "127.0.0.3";
    etat_.AttenteDnsMs = 700;
    Charger({{.label = "Muet", .utilisateur = u}});

    Interroger(0);

    EXPECT_EQ(messages_.Nombre(), 0) << "domaine sans serveur : rejet sous la condition 1";
    EXPECT_EQ(ui_.panneau2, "Adresse non v\xE9rifi\xE9" "e");
}
