#pragma once
// Transport réel : une QSslSocket, en clair ou chiffrée, certificat du serveur toujours vérifié.
#include "Transport.h"

#include <QSslError>
#include <QSslSocket>

class TransportSocket : public Transport {
    Q_OBJECT
public:
    TransportSocket();
    ~TransportSocket() override;

    void connecter(const QString& hote, quint16 port, bool tls,
                   const QSslConfiguration& configuration) override;
    void demarrerTls(const QSslConfiguration& configuration) override;
    void ecrire(const QByteArray& donnees) override;
    QByteArray lire() override;
    void fermer() override;
    bool estConnecte() const override;

private:
    // Négociation TLS attendue : aucune, dès la connexion, ou sur la connexion ouverte (STARTTLS).
    enum class Negociation { Aucune, ALaConnexion, SurConnexionOuverte };

    void preparerTls(const QSslConfiguration& configuration);
    void surConnexion();
    void surChiffrement();
    void surErreurSocket(QAbstractSocket::SocketError code);
    void surErreursTls(const QList<QSslError>& erreurs);

    QSslSocket socket_;
    QString hote_;
    Negociation negociation_ = Negociation::Aucune;
    QString erreursTls_; // erreurs de certificat de la dernière négociation
};
