// Arrêt demandé par le système : les signaux passent par la boucle d'événements, et le vrai
// programme fait sa séquence de fermeture (enregistrement, copie de sauvegarde) avant de finir.
#include "LanceurTessaron.h"
#include "principal/SignauxFin.h"

#include <QFile>
#include <QTcpServer>
#include <QTcpSocket>
#include <QSignalSpy>
#include <csignal>

namespace {

TEST(SignauxFin, ArriventDansLaBoucleEtLesAnciensGestionnairesReviennent) {
    struct sigaction avant {};
    sigaction(SIGTERM, nullptr, &avant);
    {
        SignauxFin signaux;
        ASSERT_TRUE(signaux.Installe());
        // Une seule instance à la fois.
        SignauxFin autre;
        EXPECT_FALSE(autre.Installe());

        QSignalSpy fins(&signaux, &SignauxFin::FinDemandee);
        ASSERT_EQ(::raise(SIGTERM), 0);
        ASSERT_EQ(::raise(SIGINT), 0);
        ASSERT_TRUE(Attendre([&] { return fins.count() >= 2; }, 5000));
        EXPECT_EQ(fins.at(0).at(0).toInt(), SIGTERM);
        EXPECT_EQ(fins.at(1).at(0).toInt(), SIGINT);
    }
    struct sigaction apres {};
    sigaction(SIGTERM, nullptr, &apres);
    EXPECT_EQ(apres.sa_handler, avant.sa_handler);
}

class FinParSignal : public LanceurTessaron, public testing::WithParamInterface<int> {};

TEST_P(FinParSignal, EnregistreLesParametresPuisFinit) {
    QProcess& copie = Lancer();
    ASSERT_EQ(AttendreVerrou(), copie.processId()) << Erreurs(copie).toStdString();
    ASSERT_EQ(::kill(static_cast<pid_t>(copie.processId()), GetParam()), 0);
    ASSERT_TRUE(AttendreFin(copie));
    EXPECT_EQ(copie.exitStatus(), QProcess::NormalExit) << "tuée par le signal au lieu de fermer";
    EXPECT_EQ(copie.exitCode(), 0) << Erreurs(copie).toStdString();

    // Les clés de la section [Tessaron] sont écrites dans l'ordre de l'enregistrement de sortie.
    const QStringList lignes = LignesIni();
    const auto position = [&lignes](const char* cle) {
        for (qsizetype i = 0; i < lignes.size(); ++i)
            if (lignes[i].startsWith(QLatin1String(cle) + u'=')) return i;
        return qsizetype(-1);
    };
    const qsizetype section = lignes.indexOf(QStringLiteral("[Tessaron]"));
    const qsizetype version = position("Version");
    const qsizetype testInternet = position("TestInternet");
    const qsizetype hauteurBoites = position("HauteurBoites");
    const qsizetype filtresActifs = position("FiltresActifs");
    ASSERT_GE(section, 0) << lignes.join(u'\n').toStdString();
    EXPECT_LT(section, version);
    EXPECT_LT(version, testInternet);
    EXPECT_LT(testInternet, hauteurBoites);
    EXPECT_LT(hauteurBoites, filtresActifs);
    EXPECT_EQ(lignes.value(version), QStringLiteral("Version=Tessaron V 3.9.1.11"));

    // La copie de sauvegarde du fichier de paramètres est celle du fichier enregistré.
    QFile ini(Donnees(QStringLiteral("Tessaron.ini")));
    QFile copieIni(Donnees(QStringLiteral("sauv/Tessaron.ini")));
    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    ASSERT_TRUE(copieIni.open(QIODevice::ReadOnly)) << "pas de copie dans sauv/";
    EXPECT_EQ(copieIni.readAll(), ini.readAll());
    // Le verrou de copie unique est rendu.
    EXPECT_FALSE(QFile::exists(Donnees(QStringLiteral("Tessaron.verrou"))));
}

INSTANTIATE_TEST_SUITE_P(Signaux, FinParSignal, testing::Values(SIGTERM, SIGINT),
                         [](const testing::TestParamInfo<int>& cas) {
                             return std::string(cas.param == SIGTERM ? "Sigterm" : "Sigint");
                         });

} // namespace

// Un arrêt demandé pendant qu'une interrogation attend un serveur muet : le programme
// enregistre et finit sans attendre le délai du serveur, sans tourner à vide.
TEST_F(LanceurTessaron, ArretPendantUneInterrogationQuiAttend) {
    QTcpServer muet;
    ASSERT_TRUE(muet.listen(QHostAddress::LocalHost, 0));
    std::vector<std::unique_ptr<QTcpSocket>> connexions;
    QObject::connect(&muet, &QTcpServer::newConnection, [&] {
        while (QTcpSocket* s = muet.nextPendingConnection()) connexions.emplace_back(s);
    });
    {
        QFile ini(Donnees(QStringLiteral("Tessaron.ini")));
        ASSERT_TRUE(ini.open(QIODevice::Append));
        ini.write("[Muette]\r\nPop3Mail=127.0.0.1\r\nIntervalle=0\r\nTimeOut=120\r\nPop3Port=" +
                  QByteArray::number(muet.serverPort()) + "\r\n");
    }
    QProcess& copie = Lancer();
    ASSERT_TRUE(Attendre([&] { return !connexions.empty(); })) << "le recensement n'a pas interrogé la boîte";
    ASSERT_EQ(::kill(static_cast<pid_t>(copie.processId()), SIGTERM), 0);
    ASSERT_TRUE(AttendreFin(copie, 15000)) << "le programme reste bloqué dans l'attente du serveur";
    EXPECT_EQ(copie.exitStatus(), QProcess::NormalExit);
    EXPECT_TRUE(LignesIni().contains(QStringLiteral("Version=Tessaron V 3.9.1.11")));
}
