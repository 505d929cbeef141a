#pragma once
// Dossier de données d'un essai de fenêtre : le fichier de paramètres y est écrit (sauf pour un
// contenu nul : l'essai l'a déjà préparé), puis le dossier est désigné comme par --dossier.
#include "donnees/DossierDonnees.h"

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

inline DossierDonnees DossierEssai(const QTemporaryDir& dossier, const QByteArray& ini) {
    if (!ini.isNull()) {
        QFile fichier(dossier.filePath(QStringLiteral("Tessaron.ini")));
        if (fichier.open(QIODevice::WriteOnly)) fichier.write(ini);
    }
    return TrouverDossierDonnees({QStringLiteral("Tessaron"), QStringLiteral("--dossier"), dossier.path()},
                                 QStringLiteral("/opt/Tessaron"));
}
