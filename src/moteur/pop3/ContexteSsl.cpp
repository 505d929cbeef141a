#include "ContexteSsl.h"

#include <QDir>
#include <QSslCertificate>

bool AjouterAutorites(QSslConfiguration& contexte, const QString& fichierPem) {
    const QList<QSslCertificate> certificats = QSslCertificate::fromPath(fichierPem, QSsl::Pem);
    if (certificats.isEmpty()) return false;
    contexte.addCaCertificates(certificats);
    return true;
}

QSslConfiguration CreerContexteSsl() {
    QSslConfiguration contexte = QSslConfiguration::defaultConfiguration();
    contexte.setPeerVerifyMode(QSslSocket::VerifyPeer);
    const QString fichier = qEnvironmentVariable("SSL_CERT_FILE");
    if (!fichier.isEmpty()) AjouterAutorites(contexte, fichier);
    const QString dossier = qEnvironmentVariable("SSL_CERT_DIR");
    if (!dossier.isEmpty()) {
        const QDir d(dossier);
        for (const QString& nom : d.entryList(QDir::Files)) AjouterAutorites(contexte, d.filePath(nom));
    }
    return contexte;
}
