#pragma once
// Petit serveur TCP de test sur 127.0.0.1, dans le processus même : envoie un accueil puis
// confie chaque ligne reçue (sans fin de ligne) à un gestionnaire qui répond ce qu'il veut.
#include <QByteArray>
#include <QObject>
#include <QTcpServer>
#include <QTcpSocket>
#include <functional>

class ServeurFactice : public QObject {
    Q_OBJECT
public:
    using Gestionnaire = std::function<void(QTcpSocket& connexion, const QByteArray& ligne)>;

    // `accueil` vide : le serveur accepte la connexion et se tait ; sans gestionnaire, il ne
    // répond à rien.
    ServeurFactice(QByteArray accueil, Gestionnaire gestionnaire);

    bool ecoute() const { return serveur_.isListening(); }
    quint16 port() const { return serveur_.serverPort(); }
    QList<QByteArray> lignesRecues;
    // Facultatif : appelé quand il reste des octets reçus sans fin de ligne (une négociation
    // TLS, par exemple), pour y répondre.
    std::function<void(QTcpSocket& connexion)> surOctetsSansFinDeLigne;

private:
    void accepter();
    void lireLignes(QTcpSocket& connexion);

    QTcpServer serveur_;
    QByteArray accueil_;
    Gestionnaire gestionnaire_;
};
