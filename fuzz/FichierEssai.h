#pragma once
// Outils communs des cibles de fuzzing qui passent par un fichier : une promesse vérifiée
// (arrêt du programme sinon, que libFuzzer signale) et un fichier d'essai dans un dossier
// temporaire gardé toute la séance, en mémoire quand c'est possible (écritures rapides).
#include <QDir>
#include <QString>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

inline void verifier(bool condition, const char* quoi) {
    if (condition) return;
    std::fprintf(stderr, "promesse non tenue : %s\n", quoi);
    std::abort();
}

// `modele` : le début du nom du dossier ; `nom` : le nom du fichier dans ce dossier.
inline QString FichierEssai(const char* modele, const char* nom) {
    const QString base = QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm/") : QDir::tempPath() + u'/';
    static const QTemporaryDir dossier(base + QString::fromLatin1(modele) + QStringLiteral("_XXXXXX"));
    return dossier.filePath(QString::fromLatin1(nom));
}
