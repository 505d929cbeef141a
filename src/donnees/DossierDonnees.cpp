#include "DossierDonnees.h"

#include <QDir>
#include <QFileInfo>

QString DossierDonnees::fichier(const QString& extension) const {
    return dossier + u'/' + nomBase + extension;
}

namespace {

QString dossierXdg(const QString& nomBase) {
    QString base = qEnvironmentVariable("XDG_DATA_HOME");
    if (base.isEmpty() || !QDir::isAbsolutePath(base)) base = QDir::homePath() + QStringLiteral("/.local/share");
    return base + u'/' + nomBase;
}

bool dossierInscriptible(const QString& chemin) {
    const QFileInfo info(chemin);
    return info.isDir() && info.isWritable();
}

} // namespace

DossierDonnees TrouverDossierDonnees(const QStringList& arguments, const QString& cheminExecutable) {
    DossierDonnees resultat;
    const QFileInfo executable(cheminExecutable);
    resultat.nomBase = executable.completeBaseName().isEmpty() ? QStringLiteral("Tessaron")
                                                               : executable.completeBaseName();
    QString explicite;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        if (arguments[i] == QLatin1String("--dossier") && i + 1 < arguments.size()) {
            explicite = arguments[++i];
        } else if (arguments[i].startsWith(QLatin1String("--dossier="))) {
            explicite = arguments[i].mid(10);
        } else {
            resultat.argumentsRestants << arguments[i];
        }
    }
    if (!explicite.isEmpty()) {
        resultat.dossier = QFileInfo(explicite).absoluteFilePath();
    } else if (dossierInscriptible(executable.absolutePath())) {
        resultat.dossier = executable.absolutePath();
    } else {
        resultat.dossier = dossierXdg(resultat.nomBase);
    }
    QDir().mkpath(resultat.dossier);
    return resultat;
}
