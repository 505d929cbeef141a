#include "ServeurFactice.h"

#include <QHostAddress>

ServeurFactice::ServeurFactice(QByteArray accueil, Gestionnaire gestionnaire)
    : accueil_(std::move(accueil)), gestionnaire_(std::move(gestionnaire)) {
    connect(&serveur_, &QTcpServer::newConnection, this, &ServeurFactice::accepter);
    serveur_.listen(QHostAddress::LocalHost, 0);
}

void ServeurFactice::accepter() {
    while (QTcpSocket* connexion = serveur_.nextPendingConnection()) {
        connect(connexion, &QTcpSocket::readyRead, this, [this, connexion] { lireLignes(*connexion); });
        if (!accueil_.isEmpty()) connexion->write(accueil_ + "\r\n");
    }
}

void ServeurFactice::lireLignes(QTcpSocket& connexion) {
    while (connexion.canReadLine()) {
        QByteArray ligne = connexion.readLine();
        while (ligne.endsWith('\n') || ligne.endsWith('\r'))
            ligne.chop(1);
        lignesRecues << ligne;
        if (gestionnaire_) gestionnaire_(connexion, ligne);
        if (connexion.state() != QAbstractSocket::ConnectedState) return;
    }
    if (surOctetsSansFinDeLigne && connexion.bytesAvailable() > 0) surOctetsSansFinDeLigne(connexion);
}
