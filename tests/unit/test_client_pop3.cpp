// Client POP3 synchrone : dialogue avec un serveur scripté (octet pour octet) ou un vrai
// serveur TCP local, listes gardées pour la connexion, réponses multilignes et pannes.
#include "ServeurFactice.h"
#include "TransportScripte.h"
#include "donnees/Cp1252.h"
#include "moteur/pop3/ClientPop3.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

using Operation = bool (ClientPop3::*)();

std::string cp(const std::string& utf8) {
    return utf8VersCp1252(utf8);
}

// Accueil puis USER / PASS acceptés pour bob.
Repliques session() {
    return {Serveur("+OK POP3 pret"), Client("USER bob"), Serveur("+OK"), Client("PASS secret"),
            Serveur("+OK 2 messages")};
}

// Un client branché sur une conversation scriptée.
struct Banc {
    std::shared_ptr<Conversation> conversation;
    ClientPop3 client;

    explicit Banc(Repliques repliques)
        : conversation(NouvelleConversation(std::move(repliques))),
          client(nullptr, FabriquePour(conversation)) {
        client.Host = "pop.exemple.fr";
        client.UserName = "bob";
        client.Password = "secret";
        client.Timeout = 5;
    }

    // Le client a écrit exactement ce qui était attendu, et toute la conversation a eu lieu.
    testing::AssertionResult suivie() const { return ConversationSuivie(*conversation); }
};

} // namespace

// ------------------------------------------------------------------ authentification

TEST(ClientPop3, AuthentificationUserPass) {
    const Repliques accueil{Serveur("+OK pret"), Client("USER bob")};
    const struct {
        const char* nom;
        Repliques repliques;
        bool reussit;
        std::string message;
    } cas[] = {
        {"acceptée", session(), true, ""},
        {"accueil refusé", {Serveur("-ERR trop de connexions")}, false, "-ERR trop de connexions"},
        {"accueil incohérent", {Serveur("bonjour")}, false, "bonjour"},
        {"utilisateur refusé", accueil + Repliques{Serveur("-ERR inconnu"), Client("QUIT")}, false,
         "-ERR inconnu"},
        {"mot de passe refusé",
         accueil +
             Repliques{Serveur("+OK"), Client("PASS secret"), Serveur("-ERR [AUTH] refus"), Client("QUIT")},
         false, "-ERR [AUTH] refus"},
        {"réponse incohérente au mot de passe",
         accueil + Repliques{Serveur("+OK"), Client("PASS secret"), Serveur("* OK quoi"), Client("QUIT")},
         false, "* OK quoi"},
        {"coupure après USER", accueil + Repliques{Fermeture()}, false, "Connexion fermée par le serveur"},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.nom);
        Banc banc(c.repliques);
        EXPECT_EQ(banc.client.OpenSync(), c.reussit);
        EXPECT_EQ(banc.client.ErrorMessage, cp(c.message));
        EXPECT_EQ(banc.client.Connected(), c.reussit);
        EXPECT_TRUE(banc.suivie());
    }
}

TEST(ClientPop3, AuthentificationApop) {
    // Exemple de la RFC 1939 : mrose, mot de passe tanstaaf.
    const std::string horodatage = "<1896.697170952@dbc.mtview.ca.us>";
    const Replique apop = Client("APOP mrose c4c9334bac560ecc979e58001b3e22fb");
    const std::string sansHorodatage = "Le serveur n'accepte pas APOP (pas d'horodatage dans l'accueil)";
    const struct {
        const char* nom;
        std::string accueil;
        Repliques suite;
        bool reussit;
        std::string message;
    } cas[] = {
        {"exemple de la RFC",
         "+OK POP3 server ready " + horodatage,
         {apop, Serveur("+OK maildrop has 1 message")},
         true,
         ""},
        {"seul le premier horodatage compte",
         "+OK " + horodatage + " suivi de <autre@ici>",
         {apop, Serveur("+OK")},
         true,
         ""},
        {"refusée",
         "+OK " + horodatage,
         {apop, Serveur("-ERR permission denied"), Client("QUIT")},
         false,
         "-ERR permission denied"},
        {"accueil sans horodatage", "+OK POP3 pret", {Client("QUIT")}, false, sansHorodatage},
        {"chevron jamais fermé", "+OK <1896.697170952@dbc", {Client("QUIT")}, false, sansHorodatage},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.nom);
        Banc banc(Repliques{Serveur(c.accueil)} + c.suite);
        banc.client.UserName = "mrose";
        banc.client.Password = "tanstaaf";
        ASSERT_TRUE(banc.client.ConnectSync()) << banc.client.ErrorMessage;
        EXPECT_EQ(banc.client.ApopSync(), c.reussit);
        EXPECT_EQ(banc.client.ErrorMessage, cp(c.message));
        EXPECT_EQ(banc.client.Connected(), c.reussit);
        EXPECT_TRUE(banc.suivie());
    }
}

// ------------------------------------------------------------------ commandes simples

TEST(ClientPop3, Stat) {
    const struct {
        std::string reponse;
        bool reussit;
        int nombre;
    } cas[] = {
        {"+OK 2 320", true, 2},    {"+OK 0 0", true, 0},           {"+OK", true, 0},
        {"+OK deux 320", true, 0}, {"+OK 99999999999 1", true, 0}, {"-ERR occupé", false, 0},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.reponse);
        Banc banc(session() + Repliques{Client("STAT"), Serveur(c.reponse)});
        ASSERT_TRUE(banc.client.OpenSync());
        banc.client.MsgCount = 7;
        EXPECT_EQ(banc.client.StatSync(), c.reussit);
        EXPECT_EQ(banc.client.MsgCount, c.nombre);
        EXPECT_EQ(banc.client.ErrorMessage, c.reussit ? "" : c.reponse);
        EXPECT_TRUE(banc.client.Connected());
        EXPECT_TRUE(banc.suivie());
    }
}

TEST(ClientPop3, QuitFermeLaConnexion) {
    Banc banc(session() + Repliques{Client("QUIT"), Serveur("+OK au revoir")});
    ASSERT_TRUE(banc.client.OpenSync());
    EXPECT_TRUE(banc.client.QuitSync()) << banc.client.ErrorMessage;
    EXPECT_FALSE(banc.client.Connected());
    EXPECT_FALSE(banc.client.StatSync());
    EXPECT_EQ(banc.client.ErrorMessage, cp("Non connecté"));
    EXPECT_EQ(banc.client.CommandesEnvoyees(), 3);
    EXPECT_TRUE(banc.suivie());
}

TEST(ClientPop3, OperationsHorsConnexion) {
    Banc banc({});
    banc.client.AbortSync(); // sans connexion : sans effet
    banc.client.AbortSync();
    banc.client.MsgNum = 1;
    const Operation operations[] = {&ClientPop3::ApopSync, &ClientPop3::StatSync, &ClientPop3::UidlSync,
                                    &ClientPop3::TopSync,  &ClientPop3::ListSync, &ClientPop3::DeleSync,
                                    &ClientPop3::RetrSync, &ClientPop3::QuitSync};
    for (const Operation operation : operations) {
        banc.client.ErrorMessage = "ancien message";
        EXPECT_FALSE((banc.client.*operation)());
        EXPECT_EQ(banc.client.ErrorMessage, cp("Non connecté"));
    }
    EXPECT_EQ(banc.client.CommandesEnvoyees(), 0);
    EXPECT_EQ(banc.conversation->transportsCrees, 0);
}

TEST(ClientPop3, NumerosDeMessageInvalidesNeSontPasEnvoyes) {
    Banc banc(session());
    ASSERT_TRUE(banc.client.OpenSync());
    const Operation operations[] = {&ClientPop3::UidlSync, &ClientPop3::ListSync, &ClientPop3::TopSync,
                                    &ClientPop3::RetrSync, &ClientPop3::DeleSync};
    for (const int numero : {0, -3}) {
        banc.client.MsgNum = numero;
        for (const Operation operation : operations) {
            EXPECT_FALSE((banc.client.*operation)()) << numero;
            EXPECT_FALSE(banc.client.ErrorMessage.empty());
        }
    }
    banc.client.MsgNum = 1;
    banc.client.MsgLines = -1;
    EXPECT_FALSE(banc.client.TopSync());
    EXPECT_EQ(banc.client.CommandesEnvoyees(), 2);
    EXPECT_TRUE(banc.client.Connected());
    EXPECT_TRUE(banc.suivie());
}

TEST(ClientPop3, PortInvalide) {
    for (const char* port : {"abc", "0", "65536", "", "110x", "-5", "99999999999999999999"}) {
        SCOPED_TRACE(port);
        Banc banc({});
        banc.client.Port = port;
        EXPECT_FALSE(banc.client.ConnectSync());
        EXPECT_EQ(banc.client.ErrorMessage.rfind("Port invalide", 0), 0u) << banc.client.ErrorMessage;
        EXPECT_EQ(banc.conversation->transportsCrees, 0);
    }
}

TEST(ClientPop3, ConnexionRefusee) {
    Banc banc({});
    banc.conversation->refus = QStringLiteral("Connection refused");
    EXPECT_FALSE(banc.client.OpenSync());
    EXPECT_EQ(banc.client.ErrorMessage, "Connexion impossible : Connection refused");
    EXPECT_FALSE(banc.client.Connected());
}

// ------------------------------------------------------------------ UIDL et LIST

namespace {

// UIDL et LIST se comportent de même : une liste complète par connexion, sinon un numéro à la fois.
struct CasListe {
    std::string commande;
    Operation operation;
    std::string (*valeur)(const ClientPop3&);
    std::string valeurEchec;
    std::string v1, v2, v3, v4;
};

const CasListe kListes[] = {
    {"UIDL", &ClientPop3::UidlSync, [](const ClientPop3& c) { return c.MsgUidl; }, "",
     "whqtswO00WBw418f9t5JxYwZ", "QhdPYR:00WBw1Ph7x7", "id-3", "id-neuf"},
    {"LIST", &ClientPop3::ListSync, [](const ClientPop3& c) { return std::to_string(c.MsgSize); }, "0", "120",
     "4500", "77", "999"},
};

// Valeur obtenue pour le message `numero`, ou le message d'erreur.
std::string demander(ClientPop3& client, const CasListe& liste, int numero) {
    client.MsgNum = numero;
    if ((client.*liste.operation)()) return liste.valeur(client);
    EXPECT_EQ(liste.valeur(client), liste.valeurEchec);
    return "échec : " + client.ErrorMessage;
}

} // namespace

TEST(ClientPop3, ListeCompleteGardeePourLaConnexion) {
    for (const CasListe& l : kListes) {
        SCOPED_TRACE(l.commande);
        const std::string& cmd = l.commande;
        Banc banc(session() +
                  Repliques{Client(cmd), Serveur("+OK"), Serveur("1 " + l.v1), Serveur("2 " + l.v2),
                            Serveur("."), Client(cmd + " 3"), Serveur("+OK 3 " + l.v3), Client("DELE 1"),
                            Serveur("+OK"), Client(cmd + " 1"), Serveur("-ERR message 1 supprimé"),
                            Client("QUIT"), Serveur("+OK")} +
                  session() + Repliques{Client(cmd), Serveur("+OK"), Serveur("1 " + l.v4), Serveur(".")});
        ClientPop3& client = banc.client;
        ASSERT_TRUE(client.OpenSync());
        EXPECT_EQ(demander(client, l, 2), l.v2);
        EXPECT_EQ(demander(client, l, 1), l.v1);
        EXPECT_EQ(demander(client, l, 2), l.v2);
        EXPECT_EQ(client.CommandesEnvoyees(), 3); // USER, PASS et une seule liste
        EXPECT_EQ(demander(client, l, 3), l.v3);  // absent de la liste : demandé seul
        EXPECT_EQ(demander(client, l, 3), l.v3);
        client.MsgNum = 1;
        EXPECT_TRUE(client.DeleSync());
        EXPECT_EQ(demander(client, l, 1), "échec : -ERR message 1 supprimé");
        EXPECT_TRUE(client.QuitSync());
        ASSERT_TRUE(client.OpenSync());
        EXPECT_EQ(demander(client, l, 1), l.v4); // nouvelle connexion, nouvelle liste
        EXPECT_TRUE(banc.suivie());
    }
}

TEST(ClientPop3, ListeCompleteRefuseeDonneUneDemandeParMessage) {
    for (const CasListe& l : kListes) {
        SCOPED_TRACE(l.commande);
        const std::string& cmd = l.commande;
        Banc banc(session() + Repliques{Client(cmd), Serveur("-ERR non pris en charge"), Client(cmd + " 1"),
                                        Serveur("+OK 1 " + l.v1), Client(cmd + " 2"),
                                        Serveur("+OK 2 " + l.v2), Client(cmd + " 4"),
                                        Serveur("+OK 5 " + l.v3)});
        ClientPop3& client = banc.client;
        ASSERT_TRUE(client.OpenSync());
        EXPECT_EQ(demander(client, l, 1), l.v1);
        EXPECT_EQ(client.ErrorMessage, "");
        EXPECT_EQ(demander(client, l, 2), l.v2);
        // Réponse pour un autre numéro que celui demandé.
        EXPECT_EQ(demander(client, l, 4), "échec : " + cp("Réponse invalide du serveur : +OK 5 ") + l.v3);
        EXPECT_TRUE(banc.suivie());
    }
}

// ------------------------------------------------------------------ réponses multilignes

TEST(ClientPop3, TopEtRetrRetirentLesPointsDoubles) {
    const struct {
        std::string commande;
        Operation operation;
    } cas[] = {{"TOP 1 3", &ClientPop3::TopSync}, {"RETR 1", &ClientPop3::RetrSync}};
    const std::vector<std::string> attendues{
        "Subject: essai", "X-Vide:", "", ".commence par un point", ".", "..", "fin en LF seul"};
    for (const auto& c : cas) {
        SCOPED_TRACE(c.commande);
        const Repliques reponse{Client(c.commande),
                                Serveur("+OK message suit"),
                                Serveur("Subject: essai"),
                                Brut("X-Vide:\n"),
                                Serveur(""),
                                Serveur("..commence par un point"),
                                Serveur(".."),
                                Serveur("..."),
                                Brut("fin en LF seul\n"),
                                Serveur("."),
                                Client("STAT"),
                                Serveur("+OK 1 120")};
        Banc banc(session() + reponse);
        ClientPop3& client = banc.client;
        ASSERT_TRUE(client.OpenSync());
        client.MsgNum = 1;
        client.MsgLines = 3;
        std::vector<std::string> lignes;
        client.OnMessageLine = [&] {
            lignes.push_back(client.LastResponse);
            // Boucle d'événements imbriquée dans le rappel : la suite de la réponse arrive pendant ce temps.
            if (lignes.size() == 1) {
                const std::size_t fin = banc.conversation->repliques.size() - 2;
                EXPECT_TRUE(AttendreQue([&] { return banc.conversation->suivante >= fin; }));
            }
        };
        EXPECT_TRUE((client.*c.operation)()) << client.ErrorMessage;
        EXPECT_EQ(lignes, attendues);
        EXPECT_TRUE(client.StatSync()); // le dialogue est resté en phase
        EXPECT_EQ(client.MsgCount, 1);
        EXPECT_TRUE(banc.suivie());
    }
}

TEST(ClientPop3, LignesTropLonguesCoupeesSansCreerDeLignes) {
    constexpr std::size_t max = ClientPop3::kLongueurMaxLigne;
    Banc banc(session() + Repliques{Client("RETR 1"), Serveur("+OK"),
                                    // Longueur maximale, CR et LF livrés à part.
                                    Brut(std::string(max, 'a') + "\r"), Brut("\n"),
                                    // Un octet de trop.
                                    Brut(std::string(max + 1, 'b') + "\r\n"),
                                    // Bien trop longue, livrée en deux fois.
                                    Brut(std::string(max - 10, 'c')),
                                    Brut(std::string(5000, 'c') + "\r\ncourte\n"), Serveur("."),
                                    // Réponse d'une ligne trop longue : la suite n'est pas prise pour la
                                    // réponse suivante.
                                    Client("STAT"), Serveur("+OK 3 " + std::string(2 * max, 'x')),
                                    Client("STAT"), Serveur("+OK 5 50")});
    ClientPop3& client = banc.client;
    ASSERT_TRUE(client.OpenSync());
    client.MsgNum = 1;
    std::vector<std::string> lignes;
    client.OnMessageLine = [&] { lignes.push_back(client.LastResponse); };
    EXPECT_TRUE(client.RetrSync()) << client.ErrorMessage;
    const std::vector<std::string> attendues{std::string(max, 'a'), std::string(max, 'b'),
                                             std::string(max, 'c'), "courte"};
    EXPECT_EQ(lignes, attendues);
    EXPECT_TRUE(client.StatSync());
    EXPECT_EQ(client.MsgCount, 3);
    EXPECT_EQ(client.LastResponse.size(), max);
    EXPECT_TRUE(client.StatSync()) << client.ErrorMessage;
    EXPECT_EQ(client.MsgCount, 5);
    EXPECT_TRUE(banc.suivie());
}

TEST(ClientPop3, ReponseMultiligneInachevee) {
    const struct {
        const char* nom;
        Repliques reponse;
        std::vector<std::string> lignes;
        std::string message;
    } cas[] = {
        {"coupure juste après +OK", {Serveur("+OK"), Fermeture()}, {}, "Connexion fermée par le serveur"},
        {"coupure au milieu",
         {Serveur("+OK"), Serveur("ligne 1"), Brut("ligne 2 sans fin"), Fermeture()},
         {"ligne 1"},
         "Connexion fermée par le serveur"},
        // 65 Mo sans fin de ligne : plus que kTailleMaxReponse.
        {"réponse sans fin",
         {Serveur("+OK"), Brut(std::string(1 << 20, 'x'), 65)},
         {},
         "Réponse trop longue du serveur"},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.nom);
        Banc banc(session() + Repliques{Client("RETR 1")} + c.reponse);
        ClientPop3& client = banc.client;
        ASSERT_TRUE(client.OpenSync());
        client.MsgNum = 1;
        std::vector<std::string> lignes;
        client.OnMessageLine = [&] { lignes.push_back(client.LastResponse); };
        EXPECT_FALSE(client.RetrSync());
        EXPECT_EQ(client.ErrorMessage, cp(c.message));
        EXPECT_EQ(lignes, c.lignes);
        EXPECT_FALSE(client.Connected());
        EXPECT_TRUE(banc.conversation->ecarts.empty());
    }
}

TEST(ClientPop3, ReponseInvalideFermeLaConnexion) {
    const std::string prefixe = cp("Réponse invalide du serveur : ");
    const struct {
        const char* nom;
        Operation operation;
        std::string commande;
        std::string reponse;
        std::string message;
    } cas[] = {
        {"déchets", &ClientPop3::StatSync, "STAT", "bonjour", prefixe + "bonjour"},
        {"ligne vide", &ClientPop3::StatSync, "STAT", "", prefixe},
        {"citation coupée à 200 octets", &ClientPop3::StatSync, "STAT", std::string(300, 'z'),
         prefixe + std::string(200, 'z')},
        {"en tête de liste", &ClientPop3::UidlSync, "UIDL", "1 abc", prefixe + "1 abc"},
        {"en tête de message", &ClientPop3::RetrSync, "RETR 1", "From: x", prefixe + "From: x"},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.nom);
        Banc banc(session() + Repliques{Client(c.commande), Serveur(c.reponse)});
        ClientPop3& client = banc.client;
        ASSERT_TRUE(client.OpenSync());
        client.MsgNum = 1;
        EXPECT_FALSE((client.*c.operation)());
        EXPECT_EQ(client.ErrorMessage, c.message);
        EXPECT_FALSE(client.Connected());
        EXPECT_FALSE(client.StatSync()); // plus rien n'est écrit
        EXPECT_TRUE(banc.suivie());
    }
}

// ------------------------------------------------------------------ boucles d'événements

TEST(ClientPop3, SessionImbriqueePendantUneAttente) {
    Banc a(session() + Repliques{Client("STAT"), Pause(), Serveur("+OK 3 900")});
    Banc b(session() + Repliques{Client("STAT"), Serveur("+OK 1 10"), Client("QUIT"), Serveur("+OK")});
    ASSERT_TRUE(a.client.OpenSync());
    int nombreB = -1;
    bool finB = false;
    // Pendant que A attend, un minuteur relève B en entier ; la réponse de A arrive entre-temps.
    QTimer::singleShot(0, &b.client, [&] {
        a.conversation->reprendre();
        if (b.client.OpenSync() && b.client.StatSync()) nombreB = b.client.MsgCount;
        finB = b.client.QuitSync();
    });
    EXPECT_TRUE(a.client.StatSync()) << a.client.ErrorMessage;
    EXPECT_EQ(a.client.MsgCount, 3);
    EXPECT_TRUE(finB);
    EXPECT_EQ(nombreB, 1);
    EXPECT_TRUE(a.suivie());
    EXPECT_TRUE(b.suivie());
}

TEST(ClientPop3, SignauxDuTransportApresFermetureIgnores) {
    Banc banc(session() + session() + Repliques{Client("STAT"), Serveur("+OK 4 400")});
    banc.conversation->bavard = true;
    ClientPop3& client = banc.client;
    ASSERT_TRUE(client.OpenSync());
    client.AbortSync();
    EXPECT_FALSE(client.Connected());
    EXPECT_EQ(client.ErrorMessage, "");
    ASSERT_TRUE(AttendreQue([&] { return banc.conversation->signauxTardifs >= 8; }));
    EXPECT_FALSE(client.Connected());
    ASSERT_TRUE(client.OpenSync()) << client.ErrorMessage;
    EXPECT_TRUE(client.StatSync()) << client.ErrorMessage;
    EXPECT_EQ(client.MsgCount, 4);
    EXPECT_TRUE(banc.suivie());
}

// ------------------------------------------------------------------ vrai serveur TCP local

namespace {

bool repondreAuthentification(QTcpSocket& connexion, const QByteArray& ligne) {
    if (!ligne.startsWith("USER ") && !ligne.startsWith("PASS ")) return false;
    connexion.write("+OK\r\n");
    return true;
}

void brancher(ClientPop3& client, const ServeurFactice& serveur) {
    client.Host = "127.0.0.1";
    client.Port = std::to_string(serveur.port());
    client.UserName = "bob";
    client.Password = "secret";
}

} // namespace

TEST(ClientPop3Tcp, DelaiDAttenteDepasse) {
    const struct {
        const char* nom;
        QByteArray accueil;
        bool sessionOuverte;
    } cas[] = {{"serveur muet dès l'accueil", "", false}, {"STAT sans réponse", "+OK pret", true}};
    for (const auto& c : cas) {
        SCOPED_TRACE(c.nom);
        ServeurFactice serveur(c.accueil,
                               [](QTcpSocket& s, const QByteArray& l) { repondreAuthentification(s, l); });
        ASSERT_TRUE(serveur.ecoute());
        ClientPop3 client;
        brancher(client, serveur);
        client.Timeout = 1;
        QElapsedTimer chrono;
        chrono.start();
        const bool reussi = c.sessionOuverte ? client.OpenSync() && client.StatSync() : client.OpenSync();
        EXPECT_FALSE(reussi);
        EXPECT_EQ(client.ErrorMessage, "426 Timeout");
        EXPECT_FALSE(client.Connected());
        EXPECT_GE(chrono.elapsed(), 900);
        EXPECT_LT(chrono.elapsed(), 5000);
    }
}

TEST(ClientPop3Tcp, CoupureAuMilieuDUnMessage) {
    ServeurFactice serveur("+OK pret", [](QTcpSocket& s, const QByteArray& l) {
        if (repondreAuthentification(s, l) || l != "RETR 1") return;
        s.write("+OK\r\nligne 1\r\n..ligne 2\r\nligne 3 inacheve");
        s.disconnectFromHost();
    });
    ASSERT_TRUE(serveur.ecoute());
    ClientPop3 client;
    brancher(client, serveur);
    ASSERT_TRUE(client.OpenSync()) << client.ErrorMessage;
    std::vector<std::string> lignes;
    client.OnMessageLine = [&] { lignes.push_back(client.LastResponse); };
    client.MsgNum = 1;
    EXPECT_FALSE(client.RetrSync());
    EXPECT_EQ(client.ErrorMessage, cp("Connexion fermée par le serveur"));
    EXPECT_EQ(lignes, (std::vector<std::string>{"ligne 1", ".ligne 2"}));
    EXPECT_FALSE(client.Connected());
}

TEST(ClientPop3Tcp, AbandonParMinuteurPendantLAttente) {
    ClientPop3 client;
    ServeurFactice serveur("+OK pret", [&client](QTcpSocket& s, const QByteArray& l) {
        // STAT reste sans réponse ; un minuteur abandonne la session pendant l'attente.
        if (!repondreAuthentification(s, l) && l == "STAT")
            QTimer::singleShot(0, &client, [&client] { client.AbortSync(); });
    });
    ASSERT_TRUE(serveur.ecoute());
    brancher(client, serveur);
    client.Timeout = 30;
    ASSERT_TRUE(client.OpenSync()) << client.ErrorMessage;
    QElapsedTimer chrono;
    chrono.start();
    EXPECT_FALSE(client.StatSync());
    EXPECT_LT(chrono.elapsed(), 10000);
    EXPECT_EQ(client.ErrorMessage, "Connexion interrompue");
    EXPECT_FALSE(client.Connected());
    EXPECT_EQ(serveur.lignesRecues, (QList<QByteArray>{"USER bob", "PASS secret", "STAT"}));
}

TEST(ClientPop3Tcp, ConnexionRefusee) {
    quint16 portLibere = 0;
    {
        ServeurFactice ferme("", {});
        ASSERT_TRUE(ferme.ecoute());
        portLibere = ferme.port();
    }
    ClientPop3 client;
    client.Host = "127.0.0.1";
    client.Port = std::to_string(portLibere);
    EXPECT_FALSE(client.ConnectSync());
    EXPECT_EQ(client.ErrorMessage.rfind("Connexion impossible : ", 0), 0u) << client.ErrorMessage;
    EXPECT_FALSE(client.Connected());
}

TEST(ClientPop3Tcp, TlsVersUnServeurEnClairEchoue) {
    ServeurFactice serveur("+OK pret", {});
    ASSERT_TRUE(serveur.ecoute());
    ClientPop3 client;
    brancher(client, serveur);
    client.SslImplicite = true;
    EXPECT_FALSE(client.ConnectSync());
    EXPECT_EQ(client.ErrorMessage.rfind("Connexion impossible : Erreur TLS : ", 0), 0u)
        << client.ErrorMessage;
    EXPECT_FALSE(client.Connected());
}
