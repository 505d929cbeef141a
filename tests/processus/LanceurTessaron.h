#pragma once
// Essais qui lancent le vrai programme : un dossier de données (son fichier de paramètres porte
// déjà la version courante, sans premier lancement) et un dossier de travail temporaires, les
// copies lancées (suivies et tuées à la fin de chaque essai), et les attentes bornées.
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

// Sert les événements jusqu'à ce que la condition soit vraie ; faux au bout du délai.
template <typename Condition>
bool Attendre(Condition condition, int millisecondes = 30000) {
    QDeadlineTimer limite(millisecondes);
    while (!condition()) {
        if (limite.hasExpired()) return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }
    return true;
}

// Le processus existe et n'est pas un zombie.
bool ProcessusVivant(qint64 pid);

class LanceurTessaron : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Lance le programme avec `--dossier` sur le dossier de données, depuis le dossier de
    // travail, hors écran et avec les messages de démarrage automatiques.
    QProcess& Lancer(const QStringList& argumentsPlus = {});
    // Attend la fin d'une copie ; faux au bout du délai.
    bool AttendreFin(QProcess& copie, int millisecondes = 30000);
    // Ce que la copie a écrit sur sa sortie d'erreur.
    QString Erreurs(const QProcess& copie) const;
    // Une copie lancée hors de ces essais (relance détachée) : tuée à la fin aussi.
    void Suivre(qint64 pid) { detaches_.push_back(pid); }

    // Chemin d'un fichier du dossier de données ou du dossier de travail.
    QString Donnees(const QString& nom = {}) const;
    QString Travail(const QString& nom = {}) const;
    // Le PID inscrit dans le verrou de copie unique quand ce processus est vivant, sinon 0.
    qint64 PidVerrou() const;
    // Attend qu'une copie vivante tienne le verrou ; rend son PID (0 au bout du délai).
    qint64 AttendreVerrou(int millisecondes = 30000) const;
    // Les lignes du fichier de paramètres.
    QStringList LignesIni() const;

private:
    QTemporaryDir racine_;
    std::vector<std::unique_ptr<QProcess>> copies_;
    std::vector<QString> journaux_;
    std::vector<qint64> detaches_;
};
