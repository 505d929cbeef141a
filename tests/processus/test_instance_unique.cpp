// Copie unique : le verrou et le canal dans le processus même, puis le vrai programme lancé
// deux fois.
#include "LanceurTessaron.h"
#include "donnees/FichierIni.h"
#include "principal/InstanceUnique.h"

#include <QLocalSocket>
#include <QLockFile>
#include <QSignalSpy>
#include <csignal>

namespace {

DossierDonnees dossierDans(const QTemporaryDir& racine, const char* nom) {
    QDir(racine.path()).mkpath(QString::fromLatin1(nom));
    return DossierDonnees{racine.filePath(QString::fromLatin1(nom)), QStringLiteral("Tessaron"), {}};
}

TEST(InstanceUnique, LaDeuxiemeCopiePrevientLaPremiere) {
    QTemporaryDir racine;
    const DossierDonnees dossier = dossierDans(racine, "d");
    InstanceUnique premiere(dossier);
    ASSERT_EQ(premiere.Prendre(), InstanceUnique::Issue::Premiere);
    QSignalSpy prevenue(&premiere, &InstanceUnique::AutreInstance);

    // Un bavard qui n'envoie pas le bon message ne réveille rien.
    QLocalSocket bavard;
    bavard.connectToServer(NomCanalInstance(dossier));
    ASSERT_TRUE(bavard.waitForConnected(2000));
    bavard.write(QByteArray(4096, 'x'));
    bavard.waitForBytesWritten(2000);

    InstanceUnique deuxieme(dossier);
    EXPECT_EQ(deuxieme.Prendre(), InstanceUnique::Issue::AutreAvertie);
    ASSERT_TRUE(Attendre([&] { return prevenue.count() >= 1; }, 5000));
    InstanceUnique troisieme(dossier);
    EXPECT_EQ(troisieme.Prendre(), InstanceUnique::Issue::AutreAvertie);
    ASSERT_TRUE(Attendre([&] { return prevenue.count() >= 2; }, 5000));
    EXPECT_EQ(prevenue.count(), 2);
}

TEST(InstanceUnique, DeuxDossiersDeuxProgrammes) {
    QTemporaryDir racine;
    const DossierDonnees un = dossierDans(racine, "un");
    const DossierDonnees deux = dossierDans(racine, "deux");
    EXPECT_NE(NomCanalInstance(un), NomCanalInstance(deux));
    InstanceUnique a(un);
    InstanceUnique b(deux);
    EXPECT_EQ(a.Prendre(), InstanceUnique::Issue::Premiere);
    EXPECT_EQ(b.Prendre(), InstanceUnique::Issue::Premiere);
}

// Un verrou tenu par un processus vivant qui n'écoute pas : ni prévenu, ni repris.
TEST(InstanceUnique, VerrouTenuSansCanalEchoue) {
    QTemporaryDir racine;
    const DossierDonnees dossier = dossierDans(racine, "d");
    QLockFile tenu(dossier.fichier(QStringLiteral(".verrou")));
    ASSERT_TRUE(tenu.tryLock(0));
    InstanceUnique copie(dossier);
    EXPECT_EQ(copie.Prendre(300), InstanceUnique::Issue::Echec);
    EXPECT_TRUE(tenu.isLocked());
    // Libéré, il est repris.
    tenu.unlock();
    EXPECT_EQ(copie.Prendre(300), InstanceUnique::Issue::Premiere);
}

class CopieUnique : public LanceurTessaron {};

TEST_F(CopieUnique, LeDeuxiemeLancementFinitEtLePremierContinue) {
    QProcess& premier = Lancer();
    const qint64 pid = AttendreVerrou();
    ASSERT_EQ(pid, premier.processId()) << Erreurs(premier).toStdString();

    QProcess& second = Lancer();
    ASSERT_TRUE(AttendreFin(second)) << "la deuxième copie ne finit pas";
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0) << Erreurs(second).toStdString();
    EXPECT_EQ(premier.state(), QProcess::Running);
    EXPECT_EQ(PidVerrou(), pid);
}

TEST_F(CopieUnique, PlusieursInstancesLaisseTournerLesDeux) {
    {
        FichierIni ini(Donnees(QStringLiteral("Tessaron.ini")));
        ASSERT_TRUE(ini.EcrireBooleen("Tessaron", "PlusieursInstances", true));
    }
    QProcess& premier = Lancer();
    QProcess& second = Lancer();
    // Une deuxième copie empêchée finirait en moins d'une seconde ou deux : on lui en laisse huit.
    EXPECT_FALSE(AttendreFin(second, 8000)) << Erreurs(second).toStdString();
    EXPECT_EQ(premier.state(), QProcess::Running) << Erreurs(premier).toStdString();
    EXPECT_EQ(PidVerrou(), 0) << "aucun verrou n'est pris";
    // Les deux tournent vraiment : chacune fait sa fermeture sur SIGTERM.
    for (QProcess* copie : {&premier, &second}) {
        ::kill(static_cast<pid_t>(copie->processId()), SIGTERM);
        ASSERT_TRUE(AttendreFin(*copie));
        EXPECT_EQ(copie->exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(copie->exitCode(), 0) << Erreurs(*copie).toStdString();
    }
}

TEST_F(CopieUnique, UnePremiereCopieTueeNeBloquePas) {
    QProcess& premier = Lancer();
    ASSERT_NE(AttendreVerrou(), 0) << Erreurs(premier).toStdString();
    premier.kill();
    ASSERT_TRUE(AttendreFin(premier));
    ASSERT_TRUE(QFile::exists(Donnees(QStringLiteral("Tessaron.verrou"))));

    QProcess& nouveau = Lancer();
    ASSERT_EQ(AttendreVerrou(), nouveau.processId()) << Erreurs(nouveau).toStdString();
    EXPECT_EQ(nouveau.state(), QProcess::Running);
}

TEST_F(CopieUnique, UnVerrouTenuParUnMuetEmpecheLeDemarrage) {
    QLockFile tenu(Donnees(QStringLiteral("Tessaron.verrou")));
    ASSERT_TRUE(tenu.tryLock(0));
    QProcess& copie = Lancer();
    ASSERT_TRUE(AttendreFin(copie));
    EXPECT_EQ(copie.exitStatus(), QProcess::NormalExit);
    EXPECT_NE(copie.exitCode(), 0);
    EXPECT_TRUE(Erreurs(copie).contains(QStringLiteral("ne répond pas"))) << Erreurs(copie).toStdString();
    EXPECT_TRUE(tenu.isLocked());
}

} // namespace
