// Client de messagerie : l'exécutable d'une ligne de commande, puis la recherche auprès du
// bureau (xdg-mime et fichiers .desktop).
#include "principal/ClientMessagerie.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <map>
#include <set>

namespace {

struct CasExecutable {
    const char* nom;
    std::string ligne;
    std::map<std::string, std::string> variables;
    std::set<std::string> fichiers;
    std::string attendu;
};

void PrintTo(const CasExecutable& cas, std::ostream* sortie) { *sortie << cas.nom; }

const std::string k126(126, 'a');
const std::string k200(200, 'a');

class ExtraireExecutableCas : public testing::TestWithParam<CasExecutable> {};

TEST_P(ExtraireExecutableCas, DonneLeChemin) {
    const CasExecutable& c = GetParam();
    const auto variable = [&](const std::string& nom) {
        const auto it = c.variables.find(nom);
        return it == c.variables.end() ? std::string() : it->second;
    };
    const auto existe = [&](const std::string& chemin) { return c.fichiers.count(chemin) > 0; };
    EXPECT_EQ(ExtraireExecutable(c.ligne, variable, existe), c.attendu);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ExtraireExecutableCas,
    testing::Values(
        CasExecutable{"CheminEntreGuillemetsAvecArguments",
                      "\"C:\\Program Files\\Courrier\\courrier.exe\" -compose \"%1\"",
                      {},
                      {"C:\\Program Files\\Courrier\\courrier.exe"},
                      "C:\\Program Files\\Courrier\\courrier.exe"},
        CasExecutable{"GuillemetNonFerme", "\"C:\\Mail\\m.exe", {}, {"C:\\Mail\\m.exe"}, "C:\\Mail\\m.exe"},
        CasExecutable{"VariableEtIndiceIcone",
                      "%ProgramFiles%\\Courrier\\courrier.exe,0",
                      {{"ProgramFiles", "C:\\Program Files"}},
                      {"C:\\Program Files\\Courrier\\courrier.exe"},
                      "C:\\Program Files\\Courrier\\courrier.exe"},
        CasExecutable{"VariableEntreGuillemets",
                      "\"%SystemRoot%\\notepad.exe\" %1",
                      {{"SystemRoot", "C:\\Windows"}},
                      {"C:\\Windows\\notepad.exe"},
                      "C:\\Windows\\notepad.exe"},
        CasExecutable{"SansGuillemetsRaccourciJusquAuFichier",
                      "C:\\Mail\\m.exe /mailurl:%1",
                      {},
                      {"C:\\Mail\\m.exe", "C:\\Mail"},
                      "C:\\Mail\\m.exe"},
        CasExecutable{"AucunFichierDonneVide", "C:\\absent\\x.exe -a", {}, {}, ""},
        CasExecutable{"VirguleDansLeChemin", "C:\\a,b\\x.exe", {}, {"C:\\a,b\\x.exe", "C:\\"}, "C:\\"},
        CasExecutable{"LigneVide", "", {}, {""}, ""},
        // La valeur est coupée à 126 caractères avant d'y ajouter la suite.
        CasExecutable{"VariableTropLongue",
                      "%LONGUE%\\x.exe",
                      {{"LONGUE", k200}},
                      {k126 + "\\x.exe", k200 + "\\x.exe", k126 + "a\\x.exe"},
                      k126 + "\\x.exe"},
        // Sans "%" fermant, le nom s'arrête à l'avant-dernier caractère : le dernier est perdu.
        CasExecutable{"SansPourcentFermant", "%WINDIR", {{"WINDI", "C:\\W"}, {"WINDIR", "C:\\X"}}, {"C:\\W", "C:\\X"},
                      "C:\\W"},
        CasExecutable{"PourcentSeul", "%", {}, {}, ""},
        CasExecutable{"VariableInconnue", "%INCONNUE%\\x.exe", {}, {"\\x.exe"}, "\\x.exe"}),
    [](const testing::TestParamInfo<CasExecutable>& cas) { return std::string(cas.param.nom); });

// Seule une variable en tête de la ligne est développée, et seulement la première.
TEST(ExtraireExecutable, NeDemandeQueLaVariableDeTete) {
    std::vector<std::string> demandees;
    const auto variable = [&](const std::string& nom) {
        demandees.push_back(nom);
        return std::string();
    };
    const auto rien = [](const std::string&) { return false; };
    ExtraireExecutable("%A%B%\\c", variable, rien);
    EXPECT_EQ(demandees, std::vector<std::string>{"A"});
    demandees.clear();
    ExtraireExecutable("C:\\x.exe %PATH% %1", variable, rien);
    ExtraireExecutable("\"C:\\x.exe\" \"%1\"", variable, rien);
    EXPECT_TRUE(demandees.empty());
}

TEST(EntreeBureau, ExecEtIconeDuGroupePrincipal) {
    const EntreeBureau entree = LireEntreeBureau(
        "# commentaire\n"
        "[Desktop Entry]\n"
        "Name=Courrier\n"
        "Icon[fr]=autre\n"
        "Exec = /opt/Mon\\sCourrier/courrier --compose %u\n"
        "Icon=courrier-icone\n"
        "Exec=/usr/bin/seconde\n"
        "[Desktop Action Compose]\n"
        "Icon=action\n");
    EXPECT_EQ(entree.exec, QStringLiteral("/opt/Mon Courrier/courrier --compose %u"));
    EXPECT_EQ(entree.icone, QStringLiteral("courrier-icone"));

    // Les clés d'un autre groupe ne comptent pas ; un contenu quelconque ne donne rien.
    EXPECT_TRUE(LireEntreeBureau("[Desktop Action X]\nExec=x\n").exec.isEmpty());
    EXPECT_TRUE(LireEntreeBureau(QByteArray("\0\xff[\n=\n", 6)).exec.isEmpty());
}

TEST(EntreeBureau, CodesDeChampRetires) {
    EXPECT_EQ(RetirerCodesChamp(QStringLiteral("thunderbird %u")), QStringLiteral("thunderbird"));
    EXPECT_EQ(RetirerCodesChamp(QStringLiteral("prog %U --x %f %F %i %c %k %d")), QStringLiteral("prog --x"));
    EXPECT_EQ(RetirerCodesChamp(QStringLiteral("prog 100%% %z")), QStringLiteral("prog 100% %z"));
    EXPECT_EQ(RetirerCodesChamp(QStringLiteral("prog %")), QStringLiteral("prog %"));
}

// Dossiers XDG factices et faux xdg-mime en tête du PATH, remis en place à la fin.
class Bureau : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(racine_.isValid());
        for (const char* nom : {"PATH", "XDG_DATA_HOME", "XDG_DATA_DIRS"}) anciens_[nom] = qgetenv(nom);
        QDir().mkpath(chemin("bin"));
        QDir().mkpath(chemin("maison/applications"));
        QDir().mkpath(chemin("systeme/applications/kde4"));
        qputenv("PATH", (chemin("bin") + u':' + QString::fromLocal8Bit(anciens_["PATH"])).toLocal8Bit());
        qputenv("XDG_DATA_HOME", chemin("maison").toLocal8Bit());
        qputenv("XDG_DATA_DIRS", chemin("systeme").toLocal8Bit());
    }
    void TearDown() override {
        for (const auto& [nom, valeur] : anciens_) {
            if (valeur.isNull()) qunsetenv(nom.c_str());
            else qputenv(nom.c_str(), valeur);
        }
    }
    QString chemin(const char* relatif) const { return racine_.filePath(QString::fromUtf8(relatif)); }
    void ecrire(const QString& fichier, const QByteArray& contenu, bool executable = false) {
        QFile f(fichier);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(contenu);
        f.close();
        if (executable) f.setPermissions(f.permissions() | QFileDevice::ExeOwner);
    }
    void fauxXdgMime(const QByteArray& corps) { ecrire(chemin("bin/xdg-mime"), "#!/bin/sh\n" + corps + "\n", true); }

    QTemporaryDir racine_;
    std::map<std::string, QByteArray> anciens_;
};

TEST_F(Bureau, DossiersDansLOrdreDePriorite) {
    EXPECT_EQ(DossiersApplications(), (QStringList{chemin("maison/applications"), chemin("systeme/applications")}));
}

TEST_F(Bureau, FichierCherchéDabordChezLUtilisateurPuisDansLesSousDossiers) {
    const QStringList dossiers = DossiersApplications();
    ecrire(chemin("systeme/applications/courrier.desktop"), "[Desktop Entry]\n");
    EXPECT_EQ(TrouverFichierBureau(QStringLiteral("courrier.desktop"), dossiers),
              chemin("systeme/applications/courrier.desktop"));
    ecrire(chemin("maison/applications/courrier.desktop"), "[Desktop Entry]\n");
    EXPECT_EQ(TrouverFichierBureau(QStringLiteral("courrier.desktop"), dossiers),
              chemin("maison/applications/courrier.desktop"));
    ecrire(chemin("systeme/applications/kde4/kmail.desktop"), "[Desktop Entry]\n");
    EXPECT_EQ(TrouverFichierBureau(QStringLiteral("kde4-kmail.desktop"), dossiers),
              chemin("systeme/applications/kde4/kmail.desktop"));
    EXPECT_TRUE(TrouverFichierBureau(QStringLiteral("absent.desktop"), dossiers).isEmpty());
    EXPECT_TRUE(TrouverFichierBureau(QStringLiteral("../maison/applications/courrier.desktop"), dossiers).isEmpty());
}

TEST_F(Bureau, ClientTrouveParXdgMime) {
    fauxXdgMime("[ \"$*\" = 'query default x-scheme-handler/mailto' ] && echo courrier.desktop");
    ecrire(chemin("bin/courrier-essai"), "#!/bin/sh\n", true);
    ecrire(chemin("maison/applications/courrier.desktop"),
           "[Desktop Entry]\nExec=courrier-essai --compose %u\nIcon=courrier-icone\n");
    const ClientMessagerie client = TrouverClientMessagerie(5000);
    // Le nom trouvé dans le PATH devient un chemin complet.
    EXPECT_EQ(client.executable, chemin("bin/courrier-essai").toStdString());
    EXPECT_EQ(client.icone, "courrier-icone");

    // Un chemin avec une espace, entre guillemets.
    QDir().mkpath(chemin("Mon Courrier"));
    ecrire(chemin("Mon Courrier/courrier"), "#!/bin/sh\n", true);
    ecrire(chemin("maison/applications/courrier.desktop"),
           "[Desktop Entry]\nExec=\"" + chemin("Mon Courrier/courrier").toUtf8() + "\" %U\n");
    EXPECT_EQ(TrouverClientMessagerie(5000).executable, chemin("Mon Courrier/courrier").toStdString());
}

TEST_F(Bureau, RienSansReponseUtilisable) {
    ecrire(chemin("maison/applications/courrier.desktop"), "[Desktop Entry]\nExec=/bin/sh\nIcon=i\n");
    const auto rien = [](const ClientMessagerie& c) { return c.executable.empty() && c.icone.empty(); };

    // Outil absent (PATH sans xdg-mime).
    const QByteArray chemins = qgetenv("PATH");
    qputenv("PATH", chemin("bin").toLocal8Bit());
    EXPECT_TRUE(rien(TrouverClientMessagerie(5000)));
    qputenv("PATH", chemins);

    fauxXdgMime("exit 3");
    EXPECT_TRUE(rien(TrouverClientMessagerie(5000)));
    fauxXdgMime("echo ../courrier.desktop");
    EXPECT_TRUE(rien(TrouverClientMessagerie(5000)));
    fauxXdgMime("echo absent.desktop");
    EXPECT_TRUE(rien(TrouverClientMessagerie(5000)));
    // Un outil qui ne répond jamais est abandonné au bout du délai.
    fauxXdgMime("exec sleep 60");
    EXPECT_TRUE(rien(TrouverClientMessagerie(300)));
}

} // namespace
