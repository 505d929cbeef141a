#include "InstanceUnique.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QLocalSocket>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <unistd.h>

namespace {

// Ce qu'une deuxième copie envoie à la première.
const QByteArray kMessageAutreInstance = QByteArrayLiteral("Tessaron:autre-instance\n");
// Une connexion qui n'a rien dit d'utile dans ce délai est coupée.
constexpr int kDelaiConnexionMs = 5000;
// Intervalle entre deux essais de connexion au canal pas encore ouvert.
constexpr int kIntervalleEssaiMs = 20;

} // namespace

QString NomCanalInstance(const DossierDonnees& dossier) {
    QString chemin = QFileInfo(dossier.dossier).canonicalFilePath();
    if (chemin.isEmpty()) chemin = dossier.dossier;
    // L'utilisateur compte aussi : le canal vit dans le dossier temporaire commun.
    const QByteArray cle = (chemin + u'/' + dossier.nomBase).toUtf8() + '\0' + QByteArray::number(getuid());
    return QStringLiteral("Tessaron-") +
           QString::fromLatin1(QCryptographicHash::hash(cle, QCryptographicHash::Sha256).toHex().left(24));
}

InstanceUnique::InstanceUnique(const DossierDonnees& dossier, QObject* parent)
    : QObject(parent),
      cheminVerrou_(dossier.fichier(QStringLiteral(".verrou"))),
      nomCanal_(NomCanalInstance(dossier)),
      verrou_(cheminVerrou_) {
    // Un verrou n'est jamais abandonné par son âge, seulement quand la copie qui l'a pris
    // n'existe plus : la première copie peut tourner des semaines.
    verrou_.setStaleLockTime(0);
    connect(&canal_, &QLocalServer::newConnection, this, &InstanceUnique::accueillir);
}

InstanceUnique::~InstanceUnique() {
    canal_.close();
}

InstanceUnique::Issue InstanceUnique::Prendre(int delaiMs) {
    if (verrou_.tryLock(0)) {
        ecouter();
        return Issue::Premiere;
    }
    const QLockFile::LockError erreur = verrou_.error();
    if (prevenirPremiere(delaiMs)) return Issue::AutreAvertie;
    // La copie qui tient le verrou ne répond pas : le verrou est repris quand plus personne
    // ne le tient réellement (sinon la suppression échoue et le verrou reste à son détenteur).
    if (erreur == QLockFile::LockFailedError && verrou_.removeStaleLockFile() && verrou_.tryLock(0)) {
        ecouter();
        return Issue::Premiere;
    }
    return Issue::Echec;
}

bool InstanceUnique::prevenirPremiere(int delaiMs) {
    const QDeadlineTimer limite(delaiMs);
    QLocalSocket connexion;
    for (;;) {
        connexion.connectToServer(nomCanal_);
        if (connexion.waitForConnected(static_cast<int>(limite.remainingTime()))) {
            connexion.write(kMessageAutreInstance);
            connexion.waitForBytesWritten(static_cast<int>(limite.remainingTime()));
            const bool ecrit = connexion.bytesToWrite() == 0;
            connexion.disconnectFromServer();
            return ecrit;
        }
        connexion.abort();
        // La première copie vient peut-être de prendre le verrou et n'écoute pas encore.
        if (limite.hasExpired()) return false;
        QThread::msleep(static_cast<unsigned long>(std::min<qint64>(kIntervalleEssaiMs, limite.remainingTime())));
    }
}

void InstanceUnique::ecouter() {
    canal_.setSocketOptions(QLocalServer::UserAccessOption);
    // Un canal resté d'une copie arrêtée brutalement : le verrou est à nous, il est périmé.
    QLocalServer::removeServer(nomCanal_);
    if (!canal_.listen(nomCanal_)) {
        std::fprintf(stderr, "Tessaron : canal %s indisponible (%s)\n", qPrintable(nomCanal_),
                     qPrintable(canal_.errorString()));
    }
}

void InstanceUnique::accueillir() {
    while (QLocalSocket* connexion = canal_.nextPendingConnection()) {
        connect(connexion, &QLocalSocket::readyRead, this, [this, connexion] { lire(connexion); });
        connect(connexion, &QLocalSocket::disconnected, connexion, &QObject::deleteLater);
        QTimer::singleShot(kDelaiConnexionMs, connexion, [connexion] { connexion->abort(); });
        lire(connexion);
    }
}

void InstanceUnique::lire(QLocalSocket* connexion) {
    if (connexion->bytesAvailable() < kMessageAutreInstance.size()) return;
    const QByteArray recu = connexion->read(kMessageAutreInstance.size());
    // Un seul message par connexion ; ce qui suit est ignoré.
    connexion->disconnect(this);
    connexion->abort();
    if (recu == kMessageAutreInstance) emit AutreInstance();
}
