#pragma once
// Où vivent le fichier de paramètres, les listes, l'historique, les copies et le journal.
#include <QString>
#include <QStringList>

struct DossierDonnees {
    QString dossier;  // chemin absolu, sans barre finale
    QString nomBase;  // nom de l'exécutable sans extension : "Tessaron"
    QStringList argumentsRestants;  // la ligne de commande sans le programme ni "--dossier DIR"

    // Chemin d'un fichier du dossier nommé d'après l'exécutable : fichier(".ini") -> .../Tessaron.ini
    QString fichier(const QString& extension) const;
    QString fichierIni() const { return fichier(QStringLiteral(".ini")); }
};

// `--dossier DIR` nomme le dossier ; sinon le dossier de l'exécutable quand on peut y écrire ;
// sinon $XDG_DATA_HOME/<nomBase> (par défaut ~/.local/share/<nomBase>), créé au besoin.
DossierDonnees TrouverDossierDonnees(const QStringList& arguments, const QString& cheminExecutable);
