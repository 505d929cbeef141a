#include "TransportSocket.h"

#include <QStringList>
#include <utility>

std::unique_ptr<Transport> CreerTransportSocket() {
    return std::make_unique<TransportSocket>();
}

TransportSocket::TransportSocket() {
    connect(&socket_, &QSslSocket::connected, this, &TransportSocket::surConnexion);
    connect(&socket_, &QSslSocket::encrypted, this, &TransportSocket::surChiffrement);
    connect(&socket_, &QSslSocket::readyRead, this, &Transport::donneesRecues);
    connect(&socket_, &QSslSocket::disconnected, this, &Transport::deconnecte);
    connect(&socket_, &QSslSocket::errorOccurred, this, &TransportSocket::surErreurSocket);
    connect(&socket_, &QSslSocket::sslErrors, this, &TransportSocket::surErreursTls);
}

TransportSocket::~TransportSocket() {
    // Plus aucun signal pendant la destruction de la socket.
    disconnect(&socket_, nullptr, this, nullptr);
    socket_.abort();
}

void TransportSocket::connecter(const QString& hote, quint16 port, bool tls,
                                const QSslConfiguration& configuration) {
    socket_.abort();
    hote_ = hote;
    erreursTls_.clear();
    if (!tls) {
        negociation_ = Negociation::Aucune;
        socket_.connectToHost(hote, port);
        return;
    }
    negociation_ = Negociation::ALaConnexion;
    preparerTls(configuration);
    socket_.connectToHostEncrypted(hote, port, hote);
}

void TransportSocket::demarrerTls(const QSslConfiguration& configuration) {
    negociation_ = Negociation::SurConnexionOuverte;
    erreursTls_.clear();
    preparerTls(configuration);
    socket_.startClientEncryption();
}

// Vérification du certificat obligatoire, au nom du serveur demandé ; ses erreurs ne sont
// jamais ignorées.
void TransportSocket::preparerTls(const QSslConfiguration& configuration) {
    QSslConfiguration verifiee = configuration;
    verifiee.setPeerVerifyMode(QSslSocket::VerifyPeer);
    socket_.setSslConfiguration(verifiee);
    socket_.setPeerVerifyName(hote_);
}

void TransportSocket::ecrire(const QByteArray& donnees) {
    socket_.write(donnees);
}

QByteArray TransportSocket::lire() {
    return socket_.readAll();
}

void TransportSocket::fermer() {
    negociation_ = Negociation::Aucune;
    // Ce qui attend d'être écrit (un QUIT d'adieu) part sans bloquer avant la coupure.
    if (socket_.state() == QAbstractSocket::ConnectedState) socket_.flush();
    socket_.abort();
}

bool TransportSocket::estConnecte() const {
    return socket_.state() == QAbstractSocket::ConnectedState && negociation_ != Negociation::ALaConnexion;
}

void TransportSocket::surConnexion() {
    // En TLS dès la connexion, la connexion n'est utilisable qu'une fois chiffrée.
    if (negociation_ != Negociation::ALaConnexion) emit connecte();
}

void TransportSocket::surChiffrement() {
    const Negociation terminee = std::exchange(negociation_, Negociation::Aucune);
    if (terminee == Negociation::ALaConnexion)
        emit connecte();
    else if (terminee == Negociation::SurConnexionOuverte)
        emit chiffre();
}

void TransportSocket::surErreurSocket(QAbstractSocket::SocketError code) {
    // La fermeture par le serveur est annoncée par `deconnecte`, qui suit.
    if (code == QAbstractSocket::RemoteHostClosedError) return;
    if (code == QAbstractSocket::SslHandshakeFailedError || !erreursTls_.isEmpty()) {
        const QString detail = erreursTls_.isEmpty() ? socket_.errorString() : erreursTls_;
        emit erreur(QStringLiteral("Erreur TLS : ") + detail);
        return;
    }
    emit erreur(socket_.errorString());
}

void TransportSocket::surErreursTls(const QList<QSslError>& erreurs) {
    QStringList textes;
    for (const QSslError& e : erreurs)
        textes << e.errorString();
    erreursTls_ = textes.join(QStringLiteral(" ; "));
}
