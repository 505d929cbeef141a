// Choix du dossier des données : option, dossier de l'exécutable, repli XDG.
#include "donnees/DossierDonnees.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(DossierDonnees, OptionDossierPuisExecutablePuisXdg) {
    QTemporaryDir racine;
    ASSERT_TRUE(racine.isValid());
    const QString executable = racine.filePath(QStringLiteral("bin/Courrier"));
    QDir().mkpath(racine.filePath(QStringLiteral("bin")));
    qputenv("XDG_DATA_HOME", racine.filePath(QStringLiteral("xdg")).toUtf8());

    const DossierDonnees explicite = TrouverDossierDonnees(
        {QStringLiteral("Courrier"), QStringLiteral("/icon"), QStringLiteral("--dossier"), racine.filePath(QStringLiteral("d"))},
        executable);
    EXPECT_EQ(explicite.dossier, racine.filePath(QStringLiteral("d")));
    EXPECT_TRUE(QDir(explicite.dossier).exists());
    EXPECT_EQ(explicite.argumentsRestants, QStringList{QStringLiteral("/icon")});
    EXPECT_EQ(explicite.fichierIni(), racine.filePath(QStringLiteral("d/Courrier.ini")));

    const DossierDonnees aCote = TrouverDossierDonnees({QStringLiteral("Courrier")}, executable);
    EXPECT_EQ(aCote.dossier, racine.filePath(QStringLiteral("bin")));
    EXPECT_EQ(aCote.fichier(QStringLiteral(".his")), racine.filePath(QStringLiteral("bin/Courrier.his")));

    // Un exécutable dont le dossier n'est pas utilisable se replie sur le dossier XDG.
    const DossierDonnees repli = TrouverDossierDonnees({QStringLiteral("Courrier")},
                                                       racine.filePath(QStringLiteral("absent/Courrier")));
    EXPECT_EQ(repli.dossier, racine.filePath(QStringLiteral("xdg/Courrier")));
    EXPECT_TRUE(QDir(repli.dossier).exists());
    qunsetenv("XDG_DATA_HOME");
}
