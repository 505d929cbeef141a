#pragma once
// Le contexte TLS partagé par tous les clients du programme.
#include <QSslConfiguration>

// Les autorités de confiance du système, plus celles que nomment les variables d'environnement
// usuelles SSL_CERT_FILE (un fichier PEM) et SSL_CERT_DIR (un dossier de fichiers PEM).
QSslConfiguration CreerContexteSsl();

// Ajoute au contexte les autorités d'un fichier PEM ; faux quand le fichier n'en donne aucune.
bool AjouterAutorites(QSslConfiguration& contexte, const QString& fichierPem);
