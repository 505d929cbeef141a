// Client SMTP synchrone : dialogues octet pour octet avec un serveur scripté (EHLO, HELO,
// STARTTLS, AUTH, enveloppe, DATA), réponses refusées ou illisibles, pannes d'un vrai serveur
// TCP local ; texte des réponses envoyées (en-têtes, mots codés, quoted-printable).
#include "ServeurFactice.h"
#include "TransportScripte.h"
#include "donnees/Cp1252.h"
#include "moteur/smtp/ClientSmtp.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimeZone>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

using Operation = bool (ClientSmtp::*)();

std::string cp(const std::string& utf8) {
    return utf8VersCp1252(utf8);
}

// Accueil et EHLO accepté sans extension.
Repliques session() {
    return {Serveur("220 smtp.exemple.fr ESMTP"), Client("EHLO localhost"), Serveur("250 smtp.exemple.fr")};
}

// Accueil et EHLO dont la réponse propose `extensions`.
Repliques sessionAvec(const std::vector<std::string>& extensions) {
    Repliques r{Serveur("220 smtp.exemple.fr ESMTP"), Client("EHLO localhost")};
    r.push_back(Serveur(std::string(extensions.empty() ? "250 " : "250-") + "smtp.exemple.fr"));
    for (std::size_t i = 0; i < extensions.size(); ++i)
        r.push_back(Serveur((i + 1 < extensions.size() ? "250-" : "250 ") + extensions[i]));
    return r;
}

// Un client branché sur une conversation scriptée.
struct Banc {
    std::shared_ptr<Conversation> conversation;
    ClientSmtp client;

    explicit Banc(Repliques repliques)
        : conversation(NouvelleConversation(std::move(repliques))),
          client(nullptr, FabriquePour(conversation)) {
        client.Host = "smtp.exemple.fr";
        client.Username = "tim";
        client.Password = "tanstaaftanstaaf";
        client.Timeout = 5;
    }

    // Le client a écrit exactement ce qui était attendu, et toute la conversation a eu lieu.
    testing::AssertionResult suivie() const { return ConversationSuivie(*conversation); }
};

} // namespace

// ------------------------------------------------------------------ ouverture

TEST(ClientSmtp, OuvertureEhloOuHelo) {
    const Repliques accueil{Serveur("220 pret"), Client("EHLO localhost")};
    const struct {
        const char* nom;
        Repliques repliques;
        bool reussit;
        std::string message;
        int code;
    } cas[] = {
        {"EHLO accepté", session(), true, "", 250},
        {"accueil multiligne, AUTH proposé mais non demandé",
         {Serveur("220-smtp.exemple.fr"), Serveur("220 pret"), Client("EHLO localhost"), Serveur("250-smtp"),
          Serveur("250 AUTH PLAIN")},
         true,
         "",
         250},
        {"EHLO inconnu : HELO",
         accueil +
             Repliques{Serveur("502 5.5.2 commande inconnue"), Client("HELO localhost"), Serveur("250 ok")},
         true, "", 250},
        {"EHLO et HELO refusés",
         accueil + Repliques{Serveur("500 non"), Client("HELO localhost"), Serveur("501 toujours non"),
                             Client("QUIT")},
         false, "501 toujours non", 501},
        {"EHLO refusé pour un temps : pas de HELO",
         accueil + Repliques{Serveur("451 plus tard"), Client("QUIT")}, false, "451 plus tard", 451},
        {"service fermé en réponse à EHLO", accueil + Repliques{Serveur("421 4.3.2 arret du service")}, false,
         "421 4.3.2 arret du service", 421},
        {"accueil refusé", {Serveur("554 pas pour vous"), Client("QUIT")}, false, "554 pas pour vous", 554},
        {"accueil illisible",
         {Serveur("+OK POP3 pret")},
         false,
         "Réponse invalide du serveur : +OK POP3 pret",
         0},
        {"coupure avant l'accueil", {Fermeture()}, false, "Connexion fermée par le serveur", 0},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.nom);
        Banc banc(c.repliques);
        EXPECT_EQ(banc.client.OpenSync(), c.reussit);
        EXPECT_EQ(banc.client.ErrorMessage, cp(c.message));
        EXPECT_EQ(banc.client.DernierCode, c.code);
        EXPECT_EQ(banc.client.Connected(), c.reussit);
        EXPECT_FALSE(banc.client.Chiffre());
        EXPECT_TRUE(banc.suivie());
    }
}

TEST(ClientSmtp, NomLocalAnnonceEtExtensionsRetenues) {
    Banc banc({Serveur("220 pret"), Client("EHLO poste.exemple.fr"), Serveur("250-smtp"),
               Serveur("250-8BITMIME"), Serveur("250-size 1000"), Serveur("250 AUTH=LOGIN"),
               Client("HELO poste.exemple.fr"), Serveur("250 smtp")});
    ClientSmtp& client = banc.client;
    client.NomLocal = "poste.exemple.fr";
    ASSERT_TRUE(client.ConnectSync()) << client.ErrorMessage;
    EXPECT_EQ(client.LastResponse, "220 pret");
    ASSERT_TRUE(client.EhloSync()) << client.ErrorMessage;
    EXPECT_EQ(client.LastResponse, "250 AUTH=LOGIN");
    for (const char* motCle : {"8BITMIME", "8bitmime", "SIZE", "AUTH"})
        EXPECT_TRUE(client.Extension(motCle)) << motCle;
    EXPECT_FALSE(client.Extension("STARTTLS"));
    EXPECT_FALSE(client.Extension("smtp"));
    ASSERT_TRUE(client.HeloSync());
    EXPECT_FALSE(client.Extension("8BITMIME")); // HELO n'annonce rien
    EXPECT_TRUE(banc.suivie());
}

// ------------------------------------------------------------------ STARTTLS

TEST(ClientSmtp, StartTlsPuisEhloDeNouveauAvantAuth) {
    // En clair, seul PLAIN est proposé ; une fois chiffrée, la session propose CRAM-MD5.
    Banc banc(sessionAvec({"STARTTLS", "AUTH PLAIN"}) +
              Repliques{Client("STARTTLS"), Serveur("220 2.0.0 pret pour TLS"), Chiffrement(),
                        Client("EHLO localhost"), Serveur("250-smtp"), Serveur("250-AUTH LOGIN CRAM-MD5"),
                        Serveur("250 8BITMIME"), Client("AUTH CRAM-MD5"),
                        Serveur("334 PDE4OTYuNjk3MTcwOTUyQHBvc3RvZmZpY2UucmVzdG9uLm1jaS5uZXQ+"),
                        Client("dGltIGI5MTNhNjAyYzdlZGE3YTQ5NWI0ZTZlNzMzNGQzODkw"), Serveur("235 2.7.0 ok")});
    ClientSmtp& client = banc.client;
    client.Authentification = true;
    EXPECT_TRUE(client.OpenSync()) << client.ErrorMessage;
    EXPECT_TRUE(client.Chiffre());
    EXPECT_TRUE(client.Extension("8BITMIME"));
    EXPECT_FALSE(client.Extension("STARTTLS"));
    EXPECT_EQ(client.LastResponse, "235 2.7.0 ok");
    EXPECT_TRUE(banc.suivie());
}

TEST(ClientSmtp, StartTlsEcarteLesReponsesGlisseesEnClair) {
    // « 250 smtp » glissé en clair derrière la réponse à STARTTLS : pris pour la réponse au
    // second EHLO, il masquerait AUTH et l'ouverture échouerait.
    Banc banc(sessionAvec({"STARTTLS"}) +
              Repliques{Client("STARTTLS"), Brut("220 pret\r\n250 smtp\r\n"), Chiffrement(),
                        Client("EHLO localhost"), Serveur("250-smtp"), Serveur("250 AUTH PLAIN"),
                        Client("AUTH PLAIN AHRpbQB0YW5zdGFhZnRhbnN0YWFm"), Serveur("235 ok"), Client("QUIT"),
                        Serveur("221 au revoir")});
    banc.client.Authentification = true;
    EXPECT_TRUE(banc.client.OpenSync()) << banc.client.ErrorMessage;
    EXPECT_TRUE(banc.client.QuitSync()) << banc.client.ErrorMessage;
    EXPECT_TRUE(banc.suivie());
}

TEST(ClientSmtp, EchecDuChiffrementNeLivreJamaisLesIdentifiants) {
    const Repliques offre = sessionAvec({"AUTH PLAIN LOGIN", "STARTTLS"}) + Repliques{Client("STARTTLS")};
    const struct {
        const char* nom;
        Repliques suite;
        QString refusTls;
        std::string message;
    } cas[] = {
        {"certificat refusé",
         {Serveur("220 pret"), Chiffrement()},
         QStringLiteral("Erreur TLS : certificat inconnu"),
         "Chiffrement impossible : Erreur TLS : certificat inconnu"},
        {"STARTTLS refusé",
         {Serveur("454 4.7.0 TLS indisponible"), Client("QUIT")},
         {},
         "454 4.7.0 TLS indisponible"},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.nom);
        for (const bool authentification : {true, false}) {
            Banc banc(offre + c.suite);
            banc.conversation->refusTls = c.refusTls;
            banc.client.Authentification = authentification;
            EXPECT_FALSE(banc.client.OpenSync());
            EXPECT_EQ(banc.client.ErrorMessage, cp(c.message));
            EXPECT_FALSE(banc.client.Connected());
            EXPECT_TRUE(banc.suivie()); // rien après : ni AUTH, ni EHLO en clair
        }
    }
}

// ------------------------------------------------------------------ authentification

TEST(ClientSmtp, AuthentificationParLeMeilleurMecanisme) {
    const Repliques cram{Client("AUTH CRAM-MD5"),
                         Serveur("334 PDE4OTYuNjk3MTcwOTUyQHBvc3RvZmZpY2UucmVzdG9uLm1jaS5uZXQ+"),
                         Client("dGltIGI5MTNhNjAyYzdlZGE3YTQ5NWI0ZTZlNzMzNGQzODkw"), Serveur("235 ok")};
    const Repliques login{Client("AUTH LOGIN"),        Serveur("334 VXNlcm5hbWU6"),        Client("dGlt"),
                          Serveur("334 UGFzc3dvcmQ6"), Client("dGFuc3RhYWZ0YW5zdGFhZg=="), Serveur("235 ok")};
    const Repliques plain{Client("AUTH PLAIN AHRpbQB0YW5zdGFhZnRhbnN0YWFm"), Serveur("235 ok")};
    const std::string aucune =
        "Le serveur ne propose aucune méthode d'authentification connue (CRAM-MD5, LOGIN, PLAIN)";
    const struct {
        const char* nom;
        std::vector<std::string> extensions;
        Repliques suite;
        bool reussit;
        std::string message;
        std::string motDePasse = "tanstaaftanstaaf";
    } cas[] = {
        {"CRAM-MD5 d'abord", {"AUTH PLAIN LOGIN CRAM-MD5"}, cram, true, ""},
        {"puis LOGIN", {"AUTH PLAIN LOGIN"}, login, true, ""},
        {"puis PLAIN, ancienne forme", {"AUTH=PLAIN"}, plain, true, ""},
        {"mécanismes en minuscules", {"auth plain"}, plain, true, ""},
        {"mot de passe accentué envoyé en UTF-8",
         {"AUTH PLAIN"},
         {Client("AUTH PLAIN AHRpbQBtb3QgZGUgcGFzc8Op"), Serveur("235 ok")},
         true,
         "",
         cp("mot de passé")},
        {"mécanismes inconnus", {"AUTH GSSAPI XOAUTH2"}, {Client("QUIT")}, false, aucune},
        {"pas d'AUTH", {"8BITMIME"}, {Client("QUIT")}, false, aucune},
        {"refus du mot de passe",
         {"AUTH LOGIN"},
         {Client("AUTH LOGIN"), Serveur("334 VXNlcm5hbWU6"), Client("dGlt"), Serveur("334 UGFzc3dvcmQ6"),
          Client("dGFuc3RhYWZ0YW5zdGFhZg=="), Serveur("535 5.7.8 identifiants refuses"), Client("QUIT")},
         false,
         "535 5.7.8 identifiants refuses"},
        {"défi CRAM-MD5 illisible",
         {"AUTH CRAM-MD5"},
         {Client("AUTH CRAM-MD5"), Serveur("334 !!pas du base64!!"), Client("QUIT")},
         false,
         "Défi d'authentification invalide : !!pas du base64!!"},
        {"défi CRAM-MD5 vide",
         {"AUTH CRAM-MD5"},
         {Client("AUTH CRAM-MD5"), Serveur("334"), Client("QUIT")},
         false,
         "Défi d'authentification invalide : "},
        {"PLAIN refusé d'emblée",
         {"AUTH PLAIN"},
         {Client("AUTH PLAIN AHRpbQB0YW5zdGFhZnRhbnN0YWFm"), Serveur("504 non"), Client("QUIT")},
         false,
         "504 non"},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.nom);
        Banc banc(sessionAvec(c.extensions) + c.suite);
        banc.client.Authentification = true;
        banc.client.Password = c.motDePasse;
        EXPECT_EQ(banc.client.OpenSync(), c.reussit);
        EXPECT_EQ(banc.client.ErrorMessage, cp(c.message));
        EXPECT_EQ(banc.client.Connected(), c.reussit);
        EXPECT_TRUE(banc.suivie());
    }
}

// ------------------------------------------------------------------ enveloppe et message

TEST(ClientSmtp, EnvoiCompletAvecPointsDoublesEtFinsDeLigneRamenees) {
    const struct {
        const char* nom;
        std::string message;
        std::vector<std::string> lignes;
    } cas[] = {
        {"points et fins de ligne mêlées",
         "Subject: x\r\n\r\n.une\n..deux\rtrois\r\n.\r\n\n fin sans retour",
         {"Subject: x", "", "..une", "...deux", "trois", "..", "", " fin sans retour"}},
        {"déjà terminé par CR LF", "a\r\nb\r\n", {"a", "b"}},
        {"CR LF coupé entre deux lignes vides", "\r\r\n\n", {"", "", ""}},
        {"point seul au début", ".", {".."}},
        {"message vide", "", {}},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.nom);
        Repliques repliques = session() + Repliques{Client("MAIL FROM:<postmaster@exemple.fr>"),
                                                    Serveur("250 ok"),
                                                    Client("RCPT TO:<spammeur@ailleurs.fr>"),
                                                    Serveur("250 ok"),
                                                    Client("DATA"),
                                                    Serveur("354 allez-y")};
        for (const std::string& ligne : c.lignes)
            repliques.push_back(Client(ligne));
        repliques = repliques + Repliques{Client("."), Serveur("250 2.0.0 message accepte"), Client("QUIT"),
                                          Serveur("221 au revoir")};
        Banc banc(repliques);
        ClientSmtp& client = banc.client;
        ASSERT_TRUE(client.OpenSync()) << client.ErrorMessage;
        EXPECT_TRUE(client.MailFromSync("postmaster@exemple.fr")) << client.ErrorMessage;
        EXPECT_TRUE(client.RcptToSync("spammeur@ailleurs.fr")) << client.ErrorMessage;
        EXPECT_TRUE(client.DataSync(c.message)) << client.ErrorMessage;
        EXPECT_EQ(client.LastResponse, "250 2.0.0 message accepte");
        EXPECT_EQ(client.DernierCode, 250);
        EXPECT_TRUE(client.QuitSync()) << client.ErrorMessage;
        EXPECT_FALSE(client.Connected());
        EXPECT_EQ(client.CommandesEnvoyees(), 6); // EHLO, MAIL, RCPT, DATA, le message, QUIT
        EXPECT_TRUE(banc.suivie());
    }
}

TEST(ClientSmtp, AdressesNettoyeesContreLInjection) {
    const struct {
        const char* nom;
        std::string expediteur;
        std::string commande;
    } cas[] = {
        {"nue", "moi@exemple.fr", "MAIL FROM:<moi@exemple.fr>"},
        {"vide", "", "MAIL FROM:<>"},
        {"entre chevrons et blancs", "  <moi@exemple.fr> ", "MAIL FROM:<moi@exemple.fr>"},
        {"commande glissée", "moi@exemple.fr>\r\nRCPT TO:<pirate@x.fr",
         "MAIL FROM:<moi@exemple.frRCPT TO:pirate@x.fr>"},
        {"LF seul et NUL", std::string("moi\n@exe\0mple.fr", 16), "MAIL FROM:<moi@exemple.fr>"},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.nom);
        Banc banc(session() + Repliques{Client(c.commande), Serveur("250 ok"),
                                        Client("RCPT TO:<dest@exemple.fr>"), Serveur("250 ok")});
        ASSERT_TRUE(banc.client.OpenSync());
        EXPECT_TRUE(banc.client.MailFromSync(c.expediteur)) << banc.client.ErrorMessage;
        EXPECT_TRUE(banc.client.RcptToSync("\r\n<dest@exemple.fr>\r\n")) << banc.client.ErrorMessage;
        EXPECT_TRUE(banc.suivie());
    }
}

TEST(ClientSmtp, RienNEstEnvoyeQuandLaCommandeEstImpossible) {
    Banc banc(session());
    ClientSmtp& client = banc.client;
    ASSERT_TRUE(client.OpenSync());
    for (const char* destinataire : {"", "<>", " \r\n "}) {
        EXPECT_FALSE(client.RcptToSync(destinataire));
        EXPECT_EQ(client.ErrorMessage, "Adresse du destinataire vide");
    }
    client.NomLocal = "poste\r\nMAIL FROM:<pirate@x.fr>";
    EXPECT_FALSE(client.EhloSync());
    EXPECT_EQ(client.ErrorMessage, cp("Caractère interdit dans la commande"));
    EXPECT_EQ(client.CommandesEnvoyees(), 1);
    EXPECT_TRUE(client.Connected());
    EXPECT_TRUE(banc.suivie());
}

TEST(ClientSmtp, RefusDuServeurReflechisSansRompreLeDialogue) {
    const struct {
        const char* nom;
        Repliques echange;
        std::string derniere;
        int code;
    } cas[] = {
        {"destinataire inconnu",
         {Client("RCPT TO:<inconnu@exemple.fr>"), Serveur("550 5.1.1 Utilisateur inconnu")},
         "550 5.1.1 Utilisateur inconnu",
         550},
        {"boîte occupée",
         {Client("RCPT TO:<inconnu@exemple.fr>"), Serveur("450 4.2.0 Essayez plus tard")},
         "450 4.2.0 Essayez plus tard",
         450},
        {"réponse multiligne : la dernière ligne",
         {Client("RCPT TO:<inconnu@exemple.fr>"), Serveur("553-5.1.3 adresse"),
          Serveur("553 5.1.3 mal formee")},
         "553 5.1.3 mal formee",
         553},
        {"DATA refusé",
         {Client("DATA"), Serveur("554 5.5.1 pas de destinataire valide")},
         "554 5.5.1 pas de destinataire valide",
         554},
        {"message refusé",
         {Client("DATA"), Serveur("354 allez-y"), Client("corps"), Client("."),
          Serveur("552 5.3.4 trop gros")},
         "552 5.3.4 trop gros",
         552},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.nom);
        Banc banc(session() + c.echange + Repliques{Client("RSET"), Serveur("250 2.0.0 ok")});
        ClientSmtp& client = banc.client;
        ASSERT_TRUE(client.OpenSync());
        const bool data = c.echange.front().texte == "DATA";
        EXPECT_FALSE(data ? client.DataSync("corps") : client.RcptToSync("inconnu@exemple.fr"));
        EXPECT_EQ(client.ErrorMessage, c.derniere);
        EXPECT_EQ(client.LastResponse, c.derniere);
        EXPECT_EQ(client.DernierCode, c.code);
        EXPECT_TRUE(client.Connected());
        EXPECT_TRUE(client.RsetSync()) << client.ErrorMessage;
        EXPECT_EQ(client.DernierCode, 250);
        EXPECT_TRUE(banc.suivie());
    }
}

TEST(ClientSmtp, ServiceFermeEn421) {
    Banc banc(session() + Repliques{Client("MAIL FROM:<>"), Serveur("421 4.4.2 trop lent")});
    ClientSmtp& client = banc.client;
    ASSERT_TRUE(client.OpenSync());
    EXPECT_FALSE(client.MailFromSync(""));
    EXPECT_EQ(client.ErrorMessage, "421 4.4.2 trop lent");
    EXPECT_EQ(client.DernierCode, 421);
    EXPECT_FALSE(client.Connected());
    EXPECT_FALSE(client.RsetSync());
    EXPECT_EQ(client.ErrorMessage, cp("Non connecté"));
    EXPECT_TRUE(banc.suivie());
}

// ------------------------------------------------------------------ réponses illisibles

TEST(ClientSmtp, ReponseIllisibleFermeLaConnexion) {
    constexpr std::size_t max = ClientSmtp::kLongueurMaxLigne;
    const std::string invalide = "Réponse invalide du serveur : ";
    const std::string tropLongue = "Réponse trop longue du serveur";
    std::string reponseSansFin;
    while (reponseSansFin.size() <= ClientSmtp::kTailleMaxReponse)
        reponseSansFin += "250-" + std::string(100, 'x') + "\r\n";
    const struct {
        const char* nom;
        Repliques reponse;
        std::string message;
    } cas[] = {
        {"déchets", {Serveur("bonjour")}, invalide + "bonjour"},
        {"ligne vide", {Serveur("")}, invalide},
        {"code tronqué", {Serveur("25")}, invalide + "25"},
        {"séparateur absent", {Serveur("2500 ok")}, invalide + "2500 ok"},
        {"code hors des classes", {Serveur("600 ok")}, invalide + "600 ok"},
        {"codes différents dans une réponse", {Serveur("250-a"), Serveur("251 b")}, invalide + "251 b"},
        {"citation coupée à 200 octets", {Serveur(std::string(300, 'z'))}, invalide + std::string(200, 'z')},
        {"coupure au milieu d'une réponse",
         {Serveur("250-a"), Brut("250 b"), Fermeture()},
         "Connexion fermée par le serveur"},
        {"ligne trop longue", {Brut("250 " + std::string(max, 'x') + "\r\n")}, tropLongue},
        {"ligne trop longue, livrée en morceaux sans fin",
         {Brut("250 " + std::string(1000, 'x'), 10)},
         tropLongue},
        {"réponse multiligne sans fin", {Brut(reponseSansFin)}, tropLongue},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.nom);
        Banc banc(session() + Repliques{Client("RSET")} + c.reponse);
        ClientSmtp& client = banc.client;
        ASSERT_TRUE(client.OpenSync());
        EXPECT_FALSE(client.RsetSync());
        EXPECT_EQ(client.ErrorMessage, cp(c.message));
        EXPECT_EQ(client.DernierCode, 0);
        EXPECT_FALSE(client.Connected());
        EXPECT_FALSE(client.RsetSync()); // plus rien n'est écrit
        EXPECT_TRUE(banc.conversation->ecarts.empty()) << banc.conversation->ecarts.front();
    }
}

TEST(ClientSmtp, LigneDeLongueurMaximaleAcceptee) {
    const std::string ligne = "250 " + std::string(ClientSmtp::kLongueurMaxLigne - 4, 'x');
    Banc banc(session() +
              Repliques{Client("RSET"), Brut(ligne + "\r"), Brut("\n"), Client("RSET"), Serveur("250 ok")});
    ASSERT_TRUE(banc.client.OpenSync());
    EXPECT_TRUE(banc.client.RsetSync()) << banc.client.ErrorMessage;
    EXPECT_EQ(banc.client.LastResponse, ligne);
    EXPECT_TRUE(banc.client.RsetSync()) << banc.client.ErrorMessage;
    EXPECT_TRUE(banc.suivie());
}

// ------------------------------------------------------------------ hors connexion, signaux tardifs

TEST(ClientSmtp, OperationsHorsConnexion) {
    Banc banc({});
    banc.client.AbortSync(); // sans connexion : sans effet
    const Operation operations[] = {&ClientSmtp::EhloSync, &ClientSmtp::HeloSync, &ClientSmtp::RsetSync,
                                    &ClientSmtp::QuitSync};
    for (const Operation operation : operations) {
        banc.client.ErrorMessage = "ancien message";
        EXPECT_FALSE((banc.client.*operation)());
        EXPECT_EQ(banc.client.ErrorMessage, cp("Non connecté"));
    }
    EXPECT_FALSE(banc.client.MailFromSync("a@b.fr"));
    EXPECT_FALSE(banc.client.RcptToSync("a@b.fr"));
    EXPECT_FALSE(banc.client.DataSync("texte"));
    EXPECT_EQ(banc.client.ErrorMessage, cp("Non connecté"));
    EXPECT_EQ(banc.client.CommandesEnvoyees(), 0);
    EXPECT_EQ(banc.conversation->transportsCrees, 0);
}

TEST(ClientSmtp, PortInvalideEtConnexionRefusee) {
    for (const char* port : {"abc", "0", "65536", "", "25x", "-5"}) {
        SCOPED_TRACE(port);
        Banc banc({});
        banc.client.Port = port;
        EXPECT_FALSE(banc.client.OpenSync());
        EXPECT_EQ(banc.client.ErrorMessage, "Port invalide : " + std::string(port));
        EXPECT_EQ(banc.conversation->transportsCrees, 0);
    }
    Banc banc({});
    banc.conversation->refus = QStringLiteral("Connection refused");
    EXPECT_FALSE(banc.client.OpenSync());
    EXPECT_EQ(banc.client.ErrorMessage, "Connexion impossible : Connection refused");
    EXPECT_FALSE(banc.client.Connected());
}

TEST(ClientSmtp, SessionImbriqueePendantUneAttente) {
    Banc a(session() + Repliques{Client("RCPT TO:<a@exemple.fr>"), Pause(), Serveur("250 a")});
    Banc b(session() +
           Repliques{Client("MAIL FROM:<>"), Serveur("250 b"), Client("QUIT"), Serveur("221 fin")});
    ASSERT_TRUE(a.client.OpenSync());
    std::string reponseB;
    bool finB = false;
    // Pendant que A attend, un minuteur mène B jusqu'au bout ; la réponse de A arrive entre-temps.
    QTimer::singleShot(0, &b.client, [&] {
        a.conversation->reprendre();
        if (b.client.OpenSync() && b.client.MailFromSync("")) reponseB = b.client.LastResponse;
        finB = b.client.QuitSync();
    });
    EXPECT_TRUE(a.client.RcptToSync("a@exemple.fr")) << a.client.ErrorMessage;
    EXPECT_EQ(a.client.LastResponse, "250 a");
    EXPECT_EQ(reponseB, "250 b");
    EXPECT_TRUE(finB);
    EXPECT_TRUE(a.suivie());
    EXPECT_TRUE(b.suivie());
}

TEST(ClientSmtp, SignauxDuTransportApresFermetureIgnores) {
    Banc banc(session() + session() + Repliques{Client("RSET"), Serveur("250 ok")});
    banc.conversation->bavard = true;
    ClientSmtp& client = banc.client;
    ASSERT_TRUE(client.OpenSync());
    client.AbortSync();
    EXPECT_FALSE(client.Connected());
    ASSERT_TRUE(AttendreQue([&] { return banc.conversation->signauxTardifs >= 8; }));
    EXPECT_FALSE(client.Connected());
    ASSERT_TRUE(client.OpenSync()) << client.ErrorMessage;
    EXPECT_TRUE(client.RsetSync()) << client.ErrorMessage;
    EXPECT_TRUE(client.Connected());
    EXPECT_TRUE(banc.suivie());
}

// ------------------------------------------------------------------ vrai serveur TCP local

namespace {

void brancher(ClientSmtp& client, const ServeurFactice& serveur) {
    client.Host = "127.0.0.1";
    client.Port = std::to_string(serveur.port());
}

} // namespace

TEST(ClientSmtpTcp, DelaiDAttenteDepasse) {
    const struct {
        const char* nom;
        QByteArray accueil;
        bool sessionOuverte;
    } cas[] = {{"serveur muet dès l'accueil", "", false}, {"MAIL FROM sans réponse", "220 pret", true}};
    for (const auto& c : cas) {
        SCOPED_TRACE(c.nom);
        ServeurFactice serveur(c.accueil, [](QTcpSocket& s, const QByteArray& l) {
            if (l.startsWith("EHLO")) s.write("250 ok\r\n");
        });
        ASSERT_TRUE(serveur.ecoute());
        ClientSmtp client;
        brancher(client, serveur);
        client.Timeout = 1;
        QElapsedTimer chrono;
        chrono.start();
        const bool reussi =
            c.sessionOuverte ? client.OpenSync() && client.MailFromSync("a@b.fr") : client.OpenSync();
        EXPECT_FALSE(reussi);
        EXPECT_EQ(client.ErrorMessage, cp("Délai d'attente dépassé"));
        EXPECT_EQ(client.DernierCode, 0);
        EXPECT_FALSE(client.Connected());
        EXPECT_GE(chrono.elapsed(), 900);
        EXPECT_LT(chrono.elapsed(), 5000);
    }
}

TEST(ClientSmtpTcp, CoupureAuMilieuDeLaReponse) {
    ServeurFactice serveur("220 pret", [](QTcpSocket& s, const QByteArray& l) {
        if (!l.startsWith("EHLO")) return;
        s.write("250-smtp\r\n250-STARTTLS\r\n250-AU");
        s.disconnectFromHost();
    });
    ASSERT_TRUE(serveur.ecoute());
    ClientSmtp client;
    brancher(client, serveur);
    EXPECT_FALSE(client.OpenSync());
    EXPECT_EQ(client.ErrorMessage, cp("Connexion fermée par le serveur"));
    EXPECT_EQ(client.LastResponse, "250-STARTTLS");
    EXPECT_FALSE(client.Connected());
}

TEST(ClientSmtpTcp, AbandonParMinuteurPendantLAttente) {
    ClientSmtp client;
    ServeurFactice serveur("220 pret", [&client](QTcpSocket& s, const QByteArray& l) {
        if (l.startsWith("EHLO")) s.write("250 ok\r\n");
        // RCPT TO reste sans réponse ; un minuteur abandonne la session pendant l'attente.
        if (l.startsWith("RCPT")) QTimer::singleShot(0, &client, [&client] { client.AbortSync(); });
    });
    ASSERT_TRUE(serveur.ecoute());
    brancher(client, serveur);
    client.Timeout = 30;
    ASSERT_TRUE(client.OpenSync()) << client.ErrorMessage;
    QElapsedTimer chrono;
    chrono.start();
    EXPECT_FALSE(client.RcptToSync("dest@exemple.fr"));
    EXPECT_LT(chrono.elapsed(), 10000);
    EXPECT_EQ(client.ErrorMessage, "Connexion interrompue");
    EXPECT_FALSE(client.Connected());
    EXPECT_EQ(serveur.lignesRecues, (QList<QByteArray>{"EHLO localhost", "RCPT TO:<dest@exemple.fr>"}));
}

TEST(ClientSmtpTcp, NegociationTlsRateeNeLivreJamaisLesIdentifiants) {
    const struct {
        const char* nom;
        bool couper; // après « 220 » : coupe la connexion, sinon répond en clair à la négociation
        std::string message;
    } cas[] = {
        {"serveur qui ne chiffre pas", false, "Chiffrement impossible : Erreur TLS : "},
        {"coupure pendant la négociation", true, "Connexion fermée par le serveur"},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.nom);
        bool enTls = false;
        ServeurFactice serveur("220 pret", [&](QTcpSocket& s, const QByteArray& l) {
            if (enTls) {
                s.write("pas du TLS\r\n");
            } else if (l.startsWith("EHLO")) {
                s.write("250-smtp\r\n250-AUTH PLAIN\r\n250 STARTTLS\r\n");
            } else if (l == "STARTTLS") {
                enTls = true;
                s.write("220 pret\r\n");
                if (c.couper) s.disconnectFromHost();
            }
        });
        serveur.surOctetsSansFinDeLigne = [](QTcpSocket& s) {
            s.readAll();
            s.write("pas du TLS\r\n");
        };
        ASSERT_TRUE(serveur.ecoute());
        ClientSmtp client;
        brancher(client, serveur);
        client.Timeout = 10;
        client.Authentification = true;
        client.Username = "bob";
        client.Password = "secret";
        EXPECT_FALSE(client.OpenSync());
        EXPECT_EQ(client.ErrorMessage.rfind(cp(c.message), 0), 0u) << client.ErrorMessage;
        EXPECT_FALSE(client.Connected());
        for (const QByteArray& ligne : serveur.lignesRecues)
            EXPECT_FALSE(ligne.startsWith("AUTH") || ligne.contains("secret")) << ligne.toStdString();
    }
}

// ------------------------------------------------------------------ texte du message

namespace {

const QDateTime kDate(QDate(2026, 12, 11), QTime(10, 0, 5), QTimeZone(3600));

// Décodage des mots =?windows-1252?Q?...?= d'une valeur repliée.
std::string decoderMotsQ(const std::string& valeur) {
    std::string texte;
    const std::string debut = "=?windows-1252?Q?";
    for (std::size_t p = valeur.find(debut); p != std::string::npos; p = valeur.find(debut, p)) {
        const std::size_t fin = valeur.find("?=", p + debut.size());
        for (std::size_t i = p + debut.size(); i < fin; ++i) {
            if (valeur[i] == '_')
                texte += ' ';
            else if (valeur[i] == '=') {
                texte += static_cast<char>(std::stoi(valeur.substr(i + 1, 2), nullptr, 16));
                i += 2;
            } else
                texte += valeur[i];
        }
        p = fin + 2;
    }
    return texte;
}

// Décodage quoted-printable d'un corps : sauts doux retirés, =XX rendus.
std::string decoderQp(const std::string& corps) {
    std::string texte;
    for (std::size_t i = 0; i < corps.size(); ++i) {
        if (corps.compare(i, 3, "=\r\n") == 0)
            i += 2;
        else if (corps[i] == '=') {
            texte += static_cast<char>(std::stoi(corps.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else
            texte += corps[i];
    }
    return texte;
}

std::vector<std::string> lignes(const std::string& texte) {
    std::vector<std::string> resultat;
    std::size_t debut = 0;
    for (std::size_t fin = texte.find("\r\n"); fin != std::string::npos; fin = texte.find("\r\n", debut)) {
        resultat.push_back(texte.substr(debut, fin - debut));
        debut = fin + 2;
    }
    resultat.push_back(texte.substr(debut));
    return resultat;
}

// Valeur d'un champ d'en-tête, lignes de suite comprises (CR LF gardés).
std::string entete(const std::string& message, const std::string& champ) {
    const std::string texte = "\r\n" + message;
    const std::string cle = "\r\n" + champ + ": ";
    const std::size_t debut = texte.find(cle);
    if (debut == std::string::npos) return "(absent)";
    std::size_t fin = texte.find("\r\n", debut + cle.size());
    while (fin + 2 < texte.size() && (texte[fin + 2] == ' ' || texte[fin + 2] == '\t'))
        fin = texte.find("\r\n", fin + 2);
    return texte.substr(debut + cle.size(), fin - debut - cle.size());
}

std::string corpsDe(const std::string& message) {
    return message.substr(message.find("\r\n\r\n") + 4);
}

} // namespace

TEST(MessageSmtp, TexteComplet) {
    EXPECT_EQ(ConstruireMessageSmtp("Postmaster@exemple.fr", "Re:Bonjour",
                                    cp("Votre message a été refusé \r\nfin"), kDate, "id-1"),
              "From: Postmaster@exemple.fr\r\n"
              "Subject: Re:Bonjour\r\n"
              "Date: Fri, 11 Dec 2026 10:00:05 +0100\r\n"
              "Message-ID: <id-1@exemple.fr>\r\n"
              "MIME-Version: 1.0\r\n"
              "Content-Type: text/plain; charset=windows-1252\r\n"
              "Content-Transfer-Encoding: quoted-printable\r\n"
              "\r\n"
              "Votre message a =E9t=E9 refus=E9=20\r\n"
              "fin\r\n");
}

TEST(MessageSmtp, DateEtIdentifiant) {
    const struct {
        QDateTime date;
        std::string de;
        std::string dateAttendue;
        std::string idAttendu;
    } cas[] = {
        {QDateTime(QDate(2027, 1, 3), QTime(23, 59, 59), QTimeZone(-(3 * 3600 + 1800))), "Postmaster",
         "Sun, 3 Jan 2027 23:59:59 -0330", "<a@tessaron.invalid>"},
        {QDateTime(QDate(2026, 6, 1), QTime(0, 0, 0), QTimeZone(0)), "", "Mon, 1 Jun 2026 00:00:00 +0000",
         "<a@tessaron.invalid>"},
        {kDate, "Nom <moi@sous.exemple.fr>", "Fri, 11 Dec 2026 10:00:05 +0100", "<a@sous.exemple.fr>"},
    };
    for (const auto& c : cas) {
        const std::string message = ConstruireMessageSmtp(c.de, "s", "", c.date, "a");
        EXPECT_EQ(entete(message, "Date"), c.dateAttendue);
        EXPECT_EQ(entete(message, "Message-ID"), c.idAttendu);
        EXPECT_EQ(message.substr(message.size() - 4), "\r\n\r\n") << "corps vide";
    }
    // Sans date ni identifiant imposés : identifiants uniques.
    const std::string m1 = ConstruireMessageSmtp("a@b.fr", "s", "x");
    const std::string m2 = ConstruireMessageSmtp("a@b.fr", "s", "x");
    EXPECT_NE(entete(m1, "Message-ID"), entete(m2, "Message-ID"));
    EXPECT_EQ(entete(m1, "Message-ID").find("@b.fr>"), entete(m1, "Message-ID").size() - 6);
}

TEST(MessageSmtp, SujetCodeSeulementHorsAscii) {
    const std::string longAscii =
        "Re:" + std::string(40, 'a') + " " + std::string(50, 'b') + " " + std::string(60, 'c');
    const std::string motGeant(1200, 'm');
    const std::string longAccentue = cp("Re:Offre spéciale ") + std::string(150, 'x') + cp(" à saisir ?=_");
    const struct {
        const char* nom;
        std::string sujet;
        std::string attendu; // vide : vérifié par décodage
        bool code;
    } cas[] = {
        {"ASCII", "Re:Bonjour = ? _", "Re:Bonjour = ? _", false},
        {"vide", "", "", false},
        {"accentué", cp("Re:Café à midi"), "=?windows-1252?Q?Re=3ACaf=E9_=E0_midi?=", true},
        {"ASCII long replié aux blancs", longAscii,
         "Re:" + std::string(40, 'a') + "\r\n " + std::string(50, 'b') + "\r\n " + std::string(60, 'c'),
         false},
        {"mot trop long pour une ligne", "Re:" + motGeant, "", true},
        {"accentué long", longAccentue, "", true},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.nom);
        const std::string message = ConstruireMessageSmtp("a@b.fr", c.sujet, "", kDate, "a");
        const std::string valeur = entete(message, "Subject");
        if (!c.attendu.empty() || c.sujet.empty()) {
            EXPECT_EQ(valeur, c.attendu);
        }
        EXPECT_EQ(valeur.find("=?windows-1252?Q?") != std::string::npos, c.code);
        std::string deplie;
        for (const std::string& ligne : lignes("Subject: " + valeur)) {
            EXPECT_LE(ligne.size(), c.code ? 76u : 78u) << ligne;
            deplie += ligne;
        }
        EXPECT_EQ(c.code ? decoderMotsQ(valeur) : deplie.substr(9), c.sujet);
    }
}

TEST(MessageSmtp, PasDEnTeteGlisseParLesValeurs) {
    using namespace std::string_literals;
    const std::string message = ConstruireMessageSmtp(
        "moi@b.fr\r\nBcc: pirate@x.fr\0"s, "Re:x\r\nBcc: pirate@x.fr\nX: y\r", "corps", kDate, "a\r\nBcc:");
    EXPECT_EQ(entete(message, "From"), "moi@b.frBcc: pirate@x.fr");
    EXPECT_EQ(entete(message, "Subject"), "Re:xBcc: pirate@x.frX: y");
    EXPECT_EQ(entete(message, "Message-ID"), "<aBcc@x.fr>");
    for (const std::string& ligne : lignes(message))
        EXPECT_NE(ligne.rfind("Bcc", 0), 0u) << ligne;
    EXPECT_EQ(message.find("To:"), std::string::npos);
}

TEST(MessageSmtp, CorpsEnQuotedPrintable) {
    const std::string a75(75, 'a');
    const struct {
        const char* nom;
        std::string corps;
        std::string attendu;
    } cas[] = {
        {"signe égal et accents", cp("a = é"), "a =3D =E9\r\n"},
        {"blancs de fin codés, pas les autres", "fin \r\n\tet tab\t", "fin=20\r\n\tet tab=09\r\n"},
        {"fins de ligne ramenées", "a\nb\rc\r\n\r\n", "a\r\nb\r\nc\r\n\r\n"},
        {"76 caractères tiennent", a75 + "b", a75 + "b\r\n"},
        {"77 : saut doux", a75 + "bc", a75 + "=\r\nbc\r\n"},
        {"=XX jamais coupé", std::string(74, 'a') + cp("éz"), std::string(74, 'a') + "=\r\n=E9z\r\n"},
        {"blanc juste avant un saut doux", std::string(74, 'a') + " bc",
         std::string(74, 'a') + " =\r\nbc\r\n"},
        {"point en tête de ligne laissé à DATA", ".\r\n", ".\r\n"},
        {"vide", "", ""},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.nom);
        EXPECT_EQ(corpsDe(ConstruireMessageSmtp("a@b.fr", "s", c.corps, kDate, "a")), c.attendu);
    }
    // Tous les octets, en lignes longues : lignes de 76 au plus, texte 7 bits, aller-retour exact.
    std::string tous;
    for (int tour = 0; tour < 3; ++tour)
        for (int octet = 0; octet < 256; ++octet)
            if (octet != '\r' && octet != '\n') tous += static_cast<char>(octet);
    const std::string corps = corpsDe(ConstruireMessageSmtp("a@b.fr", "s", tous + "\r\n" + tous, kDate, "a"));
    for (const std::string& ligne : lignes(corps)) {
        EXPECT_LE(ligne.size(), 76u);
        EXPECT_TRUE(ligne.empty() || (ligne.back() != ' ' && ligne.back() != '\t')) << ligne;
        for (const char c : ligne)
            EXPECT_TRUE((c >= 32 && c < 127) || c == '\t') << static_cast<int>(c);
    }
    EXPECT_EQ(decoderQp(corps), tous + "\r\n" + tous + "\r\n");
}
