// Recensement de démarrage du vrai programme contre le Dovecot de test : la boîte marquée est
// interrogée au démarrage quand RecenseDemar est actif, et pas autrement. Dovecot range un
// message de Maildir/new dans Maildir/cur quand une session POP3 ouvre la boîte : c'est le
// témoin de l'interrogation.
#include "LanceurTessaron.h"
#include "ServeursTest.h"
#include "donnees/FichierIni.h"
#include "donnees/MotDePasse.h"

#include <QDir>
#include <csignal>

using ServeursTest::DeposerMessage;
using ServeursTest::Utilisateur;
using ServeursTest::ViderBoite;

namespace {

QString maildir(const std::string& utilisateur, const char* sous) {
    return qEnvironmentVariable("TESSARON_MAILDIRS") + u'/' + QString::fromStdString(utilisateur) +
           QStringLiteral("/Maildir/") + QString::fromLatin1(sous);
}

// Le message déposé sous ce nom est encore dans new/.
bool dansNew(const std::string& utilisateur, const std::string& nom) {
    return QDir(maildir(utilisateur, "new")).exists(QString::fromStdString(nom));
}

// Il est dans cur/ (le serveur y ajoute un suffixe d'état).
bool dansCur(const std::string& utilisateur, const std::string& nom) {
    return !QDir(maildir(utilisateur, "cur")).entryList({QString::fromStdString(nom) + u'*'}, QDir::Files).isEmpty();
}

class Recensement : public LanceurTessaron {
protected:
    void SetUp() override {
        if (!ServeursTest::Disponibles()) GTEST_SKIP() << "serveurs de test non lancés (TESSARON_SERVEURS)";
        LanceurTessaron::SetUp();
    }

    // Une boîte du serveur de test, interrogée au démarrage ou non, avec son intervalle.
    void DefinirBoite(FichierIni& ini, const std::string& utilisateur, bool demarrage, int intervalle) {
        const std::string section = "Boite " + utilisateur;
        ini.EcrireTexte(section, "Pop3ID", utilisateur);
        ini.EcrireTexte(section, "Pop3Mail", "127.0.0.1");
        ini.EcrireTexte(section, "Pop3Mdp", BrouillePasse(ServeursTest::MotDePasse(utilisateur)));
        ini.EcrireEntier(section, "POP3Port", ServeursTest::PortPop3());
        ini.EcrireEntier(section, "Intervalle", intervalle);
        ini.EcrireBooleen(section, "Pop3Demar", demarrage);
        ini.EcrireEntier(section, "TimeOut", 10);
    }
};

TEST_F(Recensement, ActifInterrogeLaBoiteAuDemarrage) {
    const std::string u = Utilisateur(45);
    ViderBoite(u);
    const std::string nom = DeposerMessage(u, "recensement actif");
    {
        FichierIni ini(Donnees(QStringLiteral("Tessaron.ini")));
        ini.EcrireBooleen("Tessaron", "RecenseDemar", true);
        ini.EcrireBooleen("Tessaron", "TestInternet", false);
        // Une heure d'intervalle : seul le recensement peut l'interroger pendant l'essai.
        DefinirBoite(ini, u, true, 3600);
    }
    QProcess& copie = Lancer();
    EXPECT_TRUE(Attendre([&] { return dansCur(u, nom); }, 30000)) << Erreurs(copie).toStdString();
    EXPECT_EQ(copie.state(), QProcess::Running);
}

TEST_F(Recensement, InactifNInterrogeRien) {
    const std::string marquee = Utilisateur(46);
    const std::string temoin = Utilisateur(47);
    ViderBoite(marquee);
    ViderBoite(temoin);
    const std::string nom = DeposerMessage(marquee, "recensement inactif");
    const std::string nomTemoin = DeposerMessage(temoin, "temoin");
    {
        FichierIni ini(Donnees(QStringLiteral("Tessaron.ini")));
        ini.EcrireBooleen("Tessaron", "RecenseDemar", false);
        ini.EcrireBooleen("Tessaron", "TestInternet", false);
        DefinirBoite(ini, marquee, true, 3600);
        // Le témoin n'est pas du recensement, mais son minuteur l'interroge après quatre
        // secondes : le minuteur de démarrage (une seconde) est alors passé depuis longtemps.
        DefinirBoite(ini, temoin, false, 4);
    }
    QProcess& copie = Lancer();
    ASSERT_TRUE(Attendre([&] { return dansCur(temoin, nomTemoin); }, 30000))
        << "le programme n'a interrogé aucune boîte\n" << Erreurs(copie).toStdString();
    EXPECT_TRUE(dansNew(marquee, nom)) << "la boîte marquée a été interrogée au démarrage";
    EXPECT_FALSE(dansCur(marquee, nom));
}

} // namespace
