#pragma once
// Demandes d'arrêt venues du système (SIGTERM, SIGINT) : le gestionnaire de signal ne fait
// qu'écrire un octet dans une paire de sockets ; la boucle d'événements le lit et émet
// FinDemandee, où le programme peut faire sa séquence de fermeture normalement.
#include <QObject>
#include <csignal>

class QSocketNotifier;

class SignauxFin : public QObject {
    Q_OBJECT
public:
    // Installe les gestionnaires ; une seule instance à la fois (les suivantes n'installent rien).
    explicit SignauxFin(QObject* parent = nullptr);
    // Remet les gestionnaires d'avant.
    ~SignauxFin() override;

    bool Installe() const { return installe_; }

signals:
    // Émis dans la boucle d'événements, une fois par signal reçu.
    void FinDemandee(int numeroSignal);

private:
    void lireSignaux();

    int descripteurs_[2] = {-1, -1};  // [0] lu par la boucle, [1] écrit par le gestionnaire
    QSocketNotifier* notificateur_ = nullptr;
    struct sigaction ancienTerm_ {};
    struct sigaction ancienInt_ {};
    bool installe_ = false;
};
