// Client SMTP face au vrai serveur local (aiosmtpd) : message livré avec son enveloppe et ses
// en-têtes, authentification en clair, STARTTLS puis AUTH, autorité inconnue, destinataires
// refusés.
#include "ServeursTest.h"
#include "donnees/Cp1252.h"
#include "moteur/pop3/ContexteSsl.h"
#include "moteur/smtp/ClientSmtp.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QUuid>
#include <gtest/gtest.h>
#include <optional>

namespace {

constexpr const char* kUtilisateur = "smtp-u";
constexpr const char* kMotDePasse = "mdp-smtp";

int portSmtp() {
    return qEnvironmentVariableIntValue("TESSARON_SMTP_PORT");
}
int portSmtpTls() {
    return qEnvironmentVariableIntValue("TESSARON_SMTP_TLS_PORT");
}

// Un message reçu par le serveur : son texte et l'enveloppe décrite à côté.
struct Depot {
    std::string texte;
    QJsonObject enveloppe;
};

// Le message déposé dont le texte contient `marque` (les dépôts d'autres tests sont à côté).
// Le serveur écrit le dépôt avant de répondre 250 à la fin de DATA : rien à attendre.
std::optional<Depot> depotMarque(const std::string& marque) {
    const QDir dossier(qEnvironmentVariable("TESSARON_SMTP_DOSSIER"));
    for (const QString& nom : dossier.entryList({QStringLiteral("*.eml")}, QDir::Files)) {
        QFile eml(dossier.filePath(nom));
        if (!eml.open(QIODevice::ReadOnly)) continue;
        const QByteArray texte = eml.readAll();
        if (!texte.contains(QByteArray::fromStdString(marque))) continue;
        QFile json(dossier.filePath(nom.chopped(4) + QStringLiteral(".json")));
        if (!json.open(QIODevice::ReadOnly)) return std::nullopt;
        return Depot{texte.toStdString(), QJsonDocument::fromJson(json.readAll()).object()};
    }
    return std::nullopt;
}

std::string marqueUnique() {
    return "essai-" + QUuid::createUuid().toString(QUuid::WithoutBraces).toStdString();
}

} // namespace

class ClientSmtpReel : public testing::Test {
protected:
    void SetUp() override {
        if (!ServeursTest::Disponibles()) GTEST_SKIP() << "serveurs de test absents (lancer scripts/test)";
        autorites_ = QSslConfiguration::defaultConfiguration();
        ASSERT_TRUE(AjouterAutorites(autorites_, ServeursTest::FichierCa()));
    }

    // Client vers le port en clair (42525) ou STARTTLS (42587), autorité de test reconnue.
    void preparer(ClientSmtp& client, bool tls, bool authentification = false) const {
        client.Host = "localhost";
        client.Port = std::to_string(tls ? portSmtpTls() : portSmtp());
        client.SslContext = &autorites_;
        client.Timeout = 15;
        client.Authentification = authentification;
        client.Username = kUtilisateur;
        client.Password = kMotDePasse;
    }

    // Session complète : ouverture, enveloppe, message et QUIT ; le dépôt qui en résulte.
    std::optional<Depot> envoyer(ClientSmtp& client, const std::string& expediteur,
                                 const std::string& destinataire, const std::string& message,
                                 const std::string& marque) const {
        EXPECT_TRUE(client.OpenSync()) << client.ErrorMessage;
        EXPECT_TRUE(client.MailFromSync(expediteur)) << client.ErrorMessage;
        EXPECT_TRUE(client.RcptToSync(destinataire)) << client.ErrorMessage;
        EXPECT_TRUE(client.DataSync(message)) << client.ErrorMessage;
        EXPECT_EQ(client.DernierCode, 250);
        EXPECT_TRUE(client.QuitSync()) << client.ErrorMessage;
        EXPECT_EQ(client.DernierCode, 221);
        return depotMarque(marque);
    }

    QSslConfiguration autorites_;
};

TEST_F(ClientSmtpReel, MessageLivreAvecSonEnveloppeEtSesEntetes) {
    const std::string marque = marqueUnique();
    const std::string corps =
        utf8VersCp1252("Votre message a été refusé.\r\n.ligne qui commence par un point\r\n" + marque);
    ClientSmtp client;
    preparer(client, false);
    const auto depot =
        envoyer(client, "Postmaster@exemple.test", "<Spammeur@ailleurs.test>",
                ConstruireMessageSmtp("Postmaster@exemple.test", utf8VersCp1252("Re:Café"), corps), marque);
    ASSERT_TRUE(depot) << "message introuvable";
    EXPECT_EQ(depot->enveloppe["mail_from"].toString(), "Postmaster@exemple.test");
    EXPECT_EQ(depot->enveloppe["rcpt_tos"].toArray(), QJsonArray{"Spammeur@ailleurs.test"});
    EXPECT_TRUE(depot->enveloppe["authentifie"].isNull());
    EXPECT_FALSE(depot->enveloppe["tls"].toBool());
    const std::string& texte = depot->texte;
    for (const char* attendu :
         {"From: Postmaster@exemple.test\r\n", "Subject: =?windows-1252?Q?Re=3ACaf=E9?=\r\n",
          "Content-Type: text/plain; charset=windows-1252\r\n",
          "\r\n\r\nVotre message a =E9t=E9 refus=E9.\r\n.ligne qui commence par un point\r\n"})
        EXPECT_NE(texte.find(attendu), std::string::npos) << attendu << "\n" << texte;
    EXPECT_EQ(texte.find("\r\nTo:"), std::string::npos);
    EXPECT_EQ(texte.find("\r\n.."), std::string::npos) << "points doublés retirés par le serveur";
}

TEST_F(ClientSmtpReel, ExpediteurVideAccepte) {
    const std::string marque = marqueUnique();
    ClientSmtp client;
    preparer(client, false);
    const auto depot =
        envoyer(client, "", "dest@exemple.test", "Subject: " + marque + "\r\n\r\ncorps\r\n", marque);
    ASSERT_TRUE(depot) << "message introuvable";
    EXPECT_EQ(depot->enveloppe["mail_from"].toString(), "<>");
}

TEST_F(ClientSmtpReel, AuthentificationEnClairOuApresStartTls) {
    for (const bool tls : {false, true}) {
        SCOPED_TRACE(tls ? "STARTTLS" : "en clair");
        const std::string marque = marqueUnique();
        ClientSmtp client;
        preparer(client, tls, true);
        const auto depot = envoyer(client, "moi@exemple.test", "dest@exemple.test",
                                   ConstruireMessageSmtp("moi@exemple.test", marque, "corps"), marque);
        ASSERT_TRUE(depot) << "message introuvable";
        EXPECT_EQ(depot->enveloppe["authentifie"].toString(), kUtilisateur);
        EXPECT_EQ(depot->enveloppe["tls"].toBool(), tls);
        EXPECT_EQ(depot->enveloppe["port"].toInt(), tls ? portSmtpTls() : portSmtp());
    }
}

TEST_F(ClientSmtpReel, StartTlsSansAuthentification) {
    ClientSmtp client;
    preparer(client, true);
    ASSERT_TRUE(client.OpenSync()) << client.ErrorMessage;
    EXPECT_TRUE(client.Chiffre());
    EXPECT_TRUE(client.Extension("AUTH")); // proposé une fois la session chiffrée
    EXPECT_TRUE(client.MailFromSync("moi@exemple.test")) << client.ErrorMessage;
    EXPECT_TRUE(client.QuitSync()) << client.ErrorMessage;
}

TEST_F(ClientSmtpReel, MauvaisMotDePasseRefuse) {
    for (const bool tls : {false, true}) {
        SCOPED_TRACE(tls ? "STARTTLS" : "en clair");
        ClientSmtp client;
        preparer(client, tls, true);
        client.Password = "faux";
        EXPECT_FALSE(client.OpenSync());
        EXPECT_EQ(client.DernierCode, 535);
        EXPECT_EQ(client.ErrorMessage.rfind("535", 0), 0u) << client.ErrorMessage;
        EXPECT_FALSE(client.Connected());
    }
}

TEST_F(ClientSmtpReel, AutoriteInconnueRefusee) {
    QSslConfiguration autre = QSslConfiguration::defaultConfiguration();
    ASSERT_TRUE(AjouterAutorites(autre, ServeursTest::FichierAutreCa()));
    const QSslConfiguration* const contextes[] = {&autre, nullptr};
    for (const QSslConfiguration* contexte : contextes) {
        SCOPED_TRACE(contexte ? "autre autorité" : "configuration par défaut");
        ClientSmtp client;
        preparer(client, true, true);
        client.SslContext = contexte;
        EXPECT_FALSE(client.OpenSync());
        EXPECT_EQ(client.ErrorMessage.rfind("Chiffrement impossible : Erreur TLS : ", 0), 0u)
            << client.ErrorMessage;
        EXPECT_FALSE(client.Connected());
    }
}

TEST_F(ClientSmtpReel, DestinatairesRefusesCommeLaSondeLesVoit) {
    const struct {
        std::string destinataire;
        int code;
        std::string reponse;
    } cas[] = {
        {"inconnu-1@exemple.test", 550, "550 5.1.1 Utilisateur inconnu"},
        {"occupe@exemple.test", 450, "450 4.2.0 Essayez plus tard"},
        {"mauvais@exemple.test", 553, "553 5.1.3 Adresse mal formee"},
        {"existe@exemple.test", 250, "250 2.1.5 OK"},
    };
    // Comme la vérification d'un expéditeur : connexion, EHLO, MAIL, RCPT, RSET, QUIT.
    ClientSmtp client;
    preparer(client, false);
    ASSERT_TRUE(client.ConnectSync()) << client.ErrorMessage;
    ASSERT_TRUE(client.EhloSync()) << client.ErrorMessage;
    ASSERT_TRUE(client.MailFromSync("Postmaster@exemple.test")) << client.ErrorMessage;
    for (const auto& c : cas) {
        SCOPED_TRACE(c.destinataire);
        EXPECT_EQ(client.RcptToSync(c.destinataire), c.code == 250);
        EXPECT_EQ(client.DernierCode, c.code);
        EXPECT_EQ(client.LastResponse, c.reponse);
        EXPECT_TRUE(client.Connected());
    }
    EXPECT_TRUE(client.RsetSync()) << client.ErrorMessage;
    EXPECT_TRUE(client.QuitSync()) << client.ErrorMessage;
    EXPECT_FALSE(client.Connected());
}
