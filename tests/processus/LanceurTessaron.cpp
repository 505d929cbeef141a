#include "LanceurTessaron.h"

#include "donnees/FichierIni.h"
#include "moteur/EtatProgramme.h"

#include <QDir>
#include <QFile>
#include <csignal>

bool ProcessusVivant(qint64 pid) {
    if (pid <= 0) return false;
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly)) return false;
    // "pid (nom) état ..." : l'état suit la dernière parenthèse.
    const QByteArray ligne = stat.readAll();
    const qsizetype fin = ligne.lastIndexOf(')');
    return fin >= 0 && fin + 2 < ligne.size() && ligne[fin + 2] != 'Z' && ligne[fin + 2] != 'X';
}

void LanceurTessaron::SetUp() {
    ASSERT_TRUE(racine_.isValid());
    ASSERT_TRUE(QDir(racine_.path()).mkpath(QStringLiteral("donnees")));
    ASSERT_TRUE(QDir(racine_.path()).mkpath(QStringLiteral("travail")));
    // La version courante : pas de premier lancement (notice, éditeur de boîte).
    FichierIni ini(Donnees(QStringLiteral("Tessaron.ini")));
    ASSERT_TRUE(ini.EcrireTexte("Tessaron", "Version", kVersionProgramme));
}

void LanceurTessaron::TearDown() {
    for (auto& copie : copies_) {
        if (copie->state() == QProcess::NotRunning) continue;
        copie->kill();
        copie->waitForFinished(10000);
    }
    for (qint64 pid : detaches_) {
        if (ProcessusVivant(pid)) ::kill(static_cast<pid_t>(pid), SIGKILL);
        EXPECT_TRUE(Attendre([pid] { return !ProcessusVivant(pid); }, 10000)) << "copie " << pid << " toujours là";
    }
}

QProcess& LanceurTessaron::Lancer(const QStringList& argumentsPlus) {
    auto copie = std::make_unique<QProcess>();
    QProcessEnvironment environnement = QProcessEnvironment::systemEnvironment();
    environnement.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environnement.insert(QStringLiteral("TESSARON_MESSAGES_AUTOMATIQUES"), QStringLiteral("1"));
    copie->setProcessEnvironment(environnement);
    copie->setWorkingDirectory(Travail());
    // Sorties dans des fichiers : un tuyau plein ne bloque jamais la copie.
    const QString journal = racine_.filePath(QStringLiteral("sortie-%1.txt").arg(copies_.size()));
    copie->setStandardOutputFile(journal);
    copie->setStandardErrorFile(journal);
    copie->setStandardInputFile(QProcess::nullDevice());
    copie->start(QStringLiteral(TESSARON_EXECUTABLE), QStringList{QStringLiteral("--dossier"), Donnees()} + argumentsPlus);
    EXPECT_TRUE(copie->waitForStarted(10000)) << copie->errorString().toStdString();
    copies_.push_back(std::move(copie));
    journaux_.push_back(journal);
    return *copies_.back();
}

bool LanceurTessaron::AttendreFin(QProcess& copie, int millisecondes) {
    return Attendre([&copie] { return copie.state() == QProcess::NotRunning; }, millisecondes);
}

QString LanceurTessaron::Erreurs(const QProcess& copie) const {
    for (std::size_t i = 0; i < copies_.size(); ++i) {
        if (copies_[i].get() != &copie) continue;
        QFile journal(journaux_[i]);
        return journal.open(QIODevice::ReadOnly) ? QString::fromUtf8(journal.readAll()) : QString();
    }
    return {};
}

QString LanceurTessaron::Donnees(const QString& nom) const {
    return racine_.filePath(QStringLiteral("donnees")) + (nom.isEmpty() ? QString() : u'/' + nom);
}

QString LanceurTessaron::Travail(const QString& nom) const {
    return racine_.filePath(QStringLiteral("travail")) + (nom.isEmpty() ? QString() : u'/' + nom);
}

qint64 LanceurTessaron::PidVerrou() const {
    QFile verrou(Donnees(QStringLiteral("Tessaron.verrou")));
    if (!verrou.open(QIODevice::ReadOnly)) return 0;
    bool ok = false;
    const qint64 pid = verrou.readLine().trimmed().toLongLong(&ok);
    return ok && ProcessusVivant(pid) ? pid : 0;
}

qint64 LanceurTessaron::AttendreVerrou(int millisecondes) const {
    qint64 pid = 0;
    Attendre([&] { return (pid = PidVerrou()) != 0; }, millisecondes);
    return pid;
}

QStringList LanceurTessaron::LignesIni() const {
    QFile ini(Donnees(QStringLiteral("Tessaron.ini")));
    if (!ini.open(QIODevice::ReadOnly)) return {};
    QStringList lignes = QString::fromLatin1(ini.readAll()).split(u'\n');
    for (QString& ligne : lignes) {
        if (ligne.endsWith(u'\r')) ligne.chop(1);
    }
    return lignes;
}
