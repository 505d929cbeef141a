#pragma once
// Couture de transport des clients de messagerie : une connexion TCP, chiffrée ou non.
// Les clients POP3 et SMTP ne parlent qu'à cette interface, par ConnexionLignes ; les tests
// peuvent y brancher une conversation écrite à l'avance ou des pannes (silence, coupure, déchets).
#include <QByteArray>
#include <QObject>
#include <QSslConfiguration>
#include <QString>
#include <functional>
#include <memory>

class Transport : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~Transport() override = default;

    // Ouvre la connexion ; avec `tls`, négocie TLS dès la connexion (certificat vérifié
    // avec `configuration`). Annonce `connecte` ou `erreur`.
    virtual void connecter(const QString& hote, quint16 port, bool tls, const QSslConfiguration& configuration) = 0;
    // Passe en TLS sur la connexion ouverte (STARTTLS) ; annonce `chiffre` ou `erreur`.
    virtual void demarrerTls(const QSslConfiguration& configuration) = 0;
    virtual void ecrire(const QByteArray& donnees) = 0;
    // Rend et retire tout ce qui a été reçu.
    virtual QByteArray lire() = 0;
    // Ferme tout de suite, sans échange.
    virtual void fermer() = 0;
    virtual bool estConnecte() const = 0;

signals:
    void connecte();
    void chiffre();
    void donneesRecues();
    void deconnecte();
    void erreur(const QString& message);
};

using FabriqueTransport = std::function<std::unique_ptr<Transport>()>;

// Le transport réel, sur QSslSocket.
std::unique_ptr<Transport> CreerTransportSocket();
