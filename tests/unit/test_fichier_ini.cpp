// Fichier de paramètres : lecture, écriture, conservation des lignes, codages des valeurs.
#include "LimiteTailleFichier.h"
#include "donnees/FichierIni.h"
#include "donnees/MotDePasse.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <climits>
#include <csignal>
#include <ctime>
#include <fcntl.h>
#include <random>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {

class FichierIniTest : public testing::Test {
protected:
    QString chemin() const { return dossier_.filePath("tessaron.ini"); }

    void ecrireBrut(const std::string& octets) const { ecrireBrut(chemin(), octets); }
    static void ecrireBrut(const QString& vers, const std::string& octets) {
        QFile fichier(vers);
        ASSERT_TRUE(fichier.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(fichier.write(octets.data(), static_cast<qint64>(octets.size())),
                  static_cast<qint64>(octets.size()));
    }
    void dater(const timespec& date) const {
        const timespec dates[2] = {date, date};
        ASSERT_EQ(utimensat(AT_FDCWD, QFile::encodeName(chemin()).constData(), dates, 0), 0);
    }
    std::string lireBrut() const {
        QFile fichier(chemin());
        if (!fichier.open(QIODevice::ReadOnly)) return "<absent>";
        const QByteArray octets = fichier.readAll();
        return std::string(octets.constData(), static_cast<std::size_t>(octets.size()));
    }

    QTemporaryDir dossier_;
};

unsigned droitsPosix(const QString& chemin) {
    struct stat infos {};
    if (stat(QFile::encodeName(chemin).constData(), &infos) != 0) return 0;
    return infos.st_mode & 07777u;
}

std::vector<std::string> liste(std::initializer_list<const char*> textes) { return {textes.begin(), textes.end()}; }

// --- Lecture d'un fichier existant ---

TEST_F(FichierIniTest, LectureDesLignes) {
    ecrireBrut(
        "avant=rien\r\n"
        "; commentaire=non\r\n"
        "[Compte]\r\n"
        "  Serveur  =  pop.exemple.fr \t\r\n"
        "Guillemets=\"  entre  \"\r\n"
        "Apostrophes=' x '\r\n"
        "Dépareillés=\"x'\r\n"
        "Seul=\"\r\n"
        "Vide=\r\n"
        "Egal=a=b\r\n"
        "=sans clé\r\n"
        "ligne sans égal\r\n"
        "Double=premier\r\n"
        "DOUBLE=second\r\n"
        "\t[ Pas fermée \r\n"
        "k=v\n"
        "[compte]\r\n"
        "Serveur=ignoré\r\n"
        "Autre=aussi ignoré\r\n"
        "[Mi\rlieu]\r\n"
        "c\rl=5\r\n"
        "\r=vide\r\n"
        "[Fin]\r\n"
        "CR=a\rb\r\r\n"
        "derniere=sans fin de ligne");
    FichierIni ini(chemin());
    const struct { const char* section; const char* cle; const char* attendu; } cas[] = {
        {"Compte", "Serveur", "pop.exemple.fr"},
        {"Compte", "Guillemets", "  entre  "},
        {"Compte", "Apostrophes", " x "},
        {"Compte", "Dépareillés", "\"x'"},
        {"Compte", "Seul", "\""},
        {"Compte", "Vide", ""},
        {"Compte", "Egal", "a=b"},
        {"Compte", "Double", "premier"},
        {"Compte", "Autre", "<défaut>"},        // seule la première section [Compte] compte
        {"Compte", "", "<défaut>"},
        {"Compte", "ligne sans égal", "<défaut>"},
        {"Pas fermée", "k", "v"},
        {"Mi\rlieu", "c\rl", "5"},  // un CR isolé compte comme un espace dans les noms
        {"mi lieu", "C L", "5"},
        {"Mi\rlieu", "\r", "<défaut>"},
        {"Fin", "CR", "a\rb\r"},
        {"Fin", "derniere", "sans fin de ligne"},
        {"", "avant", "<défaut>"},
        {"Inconnue", "Serveur", "<défaut>"},
    };
    for (const auto& c : cas)
        EXPECT_EQ(ini.LireTexte(c.section, c.cle, "<défaut>"), c.attendu) << c.section << " / " << c.cle;
    EXPECT_EQ(ini.Sections(), liste({"Compte", "Pas fermée", "Mi\rlieu", "Fin"}));
    EXPECT_EQ(ini.Cles("COMPTE"), liste({"Serveur", "Guillemets", "Apostrophes", "Dépareillés", "Seul", "Vide",
                                         "Egal", "Double"}));
    EXPECT_TRUE(ini.SectionExiste(" compte "));
    EXPECT_FALSE(ini.SectionExiste("Autre"));
    EXPECT_TRUE(ini.Cles("Inconnue").empty());
}

TEST_F(FichierIniTest, NomsComparesSansCasseWindows1252) {
    // É/é, Š/š (0x8A/0x9A), Œ/œ, Ž/ž, Ÿ/ÿ (0x9F/0xFF), Þ/þ ; × (0xD7) et ÷ (0xF7) ne sont pas une paire.
    ecrireBrut("[\xC9T\xC9]\r\nCL\xC9=1\r\n\x8A\x8C\x8E\x9F\xDE=2\r\n\xD7=3\r\n");
    FichierIni ini(chemin());
    const struct { const char* section; const char* cle; int attendu; } cas[] = {
        {"\xE9t\xE9", "cl\xE9", 1},
        {"\xC9T\xC9", "Cl\xC9", 1},
        {"\xE9T\xE9", "\x9A\x9C\x9E\xFF\xFE", 2},
        {"\xE9t\xE9", "\xD7", 3},
        {"\xE9t\xE9", "\xF7", -1},
        {"ete", "cle", -1},
    };
    for (const auto& c : cas) EXPECT_EQ(ini.LireEntier(c.section, c.cle, -1), c.attendu) << c.section << "/" << c.cle;

    // L'écriture retrouve la même ligne et garde l'orthographe du fichier.
    ASSERT_TRUE(ini.EcrireTexte("\xE9t\xE9", "cl\xE9", "9"));
    EXPECT_EQ(lireBrut(), "[\xC9T\xC9]\r\nCL\xC9=9\r\n\x8A\x8C\x8E\x9F\xDE=2\r\n\xD7=3\r\n");
}

TEST_F(FichierIniTest, FichierAbsentDonneLesDefautsSansLeCreer) {
    FichierIni ini(chemin());
    EXPECT_EQ(ini.LireTexte("S", "k", "d"), "d");
    EXPECT_EQ(ini.LireEntier("S", "k", 7), 7);
    EXPECT_TRUE(ini.LireBooleen("S", "k", true));
    EXPECT_EQ(LireCouleur(ini, "S", "k", 0xFF000005u), 0xFF000005u);
    EXPECT_EQ(LireMotDePasse(ini, "S", "k", "clair"), "clair");
    EXPECT_EQ(LireMultiLigne(ini, "S", "k", "a\xB6\xB6" "b"), "a\xB6\xB6" "b");  // défaut rendu tel quel
    EXPECT_TRUE(ini.Sections().empty());
    EXPECT_FALSE(ini.SectionExiste("S"));
    EXPECT_TRUE(ini.EffacerSection("S"));
    EXPECT_EQ(lireBrut(), "<absent>");
}

TEST_F(FichierIniTest, EntiersEtBooleensInvalidesDonnentLeDefaut) {
    const struct { const char* valeur; int entier; } cas[] = {
        {"0", 0}, {"42", 42}, {" \t42\t ", 42}, {"+7", 7}, {"-7", -7}, {"007", 7}, {"\"12\"", 12},
        {"2147483647", INT_MAX}, {"-2147483648", INT_MIN}, {"00000000000000000000001", 1},
        {"2147483648", -99}, {"-2147483649", -99}, {"99999999999999999999999", -99},
        {"", -99}, {"+", -99}, {"-", -99}, {"+-1", -99}, {"12abc", -99}, {"1 2", -99}, {"1.5", -99},
        {"0x10", -99}, {"oui", -99},
    };
    for (const auto& c : cas) {
        ecrireBrut(std::string("[S]\r\nk=") + c.valeur + "\r\n");
        FichierIni ini(chemin());
        EXPECT_EQ(ini.LireEntier("S", "k", -99), c.entier) << "'" << c.valeur << "'";
        EXPECT_EQ(ini.LireBooleen("S", "k", true), c.entier != 0) << "'" << c.valeur << "'";
        EXPECT_EQ(ini.LireBooleen("S", "k", false), c.entier != 0 && c.entier != -99) << "'" << c.valeur << "'";
    }
}

TEST_F(FichierIniTest, CouleursEnDecimalSigne) {
    ecrireBrut("[Couleurs]\r\nSysteme=-16777211\r\nRouge=255\r\nFaux=rouge\r\n");
    FichierIni ini(chemin());
    EXPECT_EQ(LireCouleur(ini, "Couleurs", "Systeme", 0), 0xFF000005u);
    EXPECT_EQ(LireCouleur(ini, "Couleurs", "Rouge", 0), 0x000000FFu);
    EXPECT_EQ(LireCouleur(ini, "Couleurs", "Faux", 0x00123456u), 0x00123456u);

    ASSERT_TRUE(EcrireCouleur(ini, "Couleurs", "Systeme", 0xFF000008u));
    ASSERT_TRUE(EcrireCouleur(ini, "Couleurs", "Blanc", 0x00FFFFFFu));
    ASSERT_TRUE(EcrireCouleur(ini, "Couleurs", "Max", 0xFFFFFFFFu));
    EXPECT_EQ(lireBrut(),
              "[Couleurs]\r\nSysteme=-16777208\r\nRouge=255\r\nFaux=rouge\r\nBlanc=16777215\r\nMax=-1\r\n");
    FichierIni relu(chemin());
    EXPECT_EQ(LireCouleur(relu, "Couleurs", "Max", 0), 0xFFFFFFFFu);
}

// --- Allers-retours ---

TEST_F(FichierIniTest, AllerRetourDesTextes) {
    std::string octets;
    for (int o = 1; o < 256; ++o)
        if (o != '\r' && o != '\n') octets.push_back(static_cast<char>(o));
    const std::string cas[] = {
        "simple", "", " ", "  blancs aux bouts\t", "\"entre guillemets\"", "'apostrophes'", "\"", "\"\"",
        "'x\"", "a=b=c", "[pas une section]", ";commentaire", std::string("avec\0nul", 8), octets,
        std::string(4 << 20, 'x') + "fin",
    };
    FichierIni ini(chemin());
    for (std::size_t i = 0; i < std::size(cas); ++i)
        ASSERT_TRUE(ini.EcrireTexte("Textes", "k" + std::to_string(i), cas[i]));
    FichierIni relu(chemin());
    for (std::size_t i = 0; i < std::size(cas); ++i) {
        EXPECT_EQ(ini.LireTexte("Textes", "k" + std::to_string(i), "<défaut>"), cas[i]) << i;
        EXPECT_EQ(relu.LireTexte("Textes", "k" + std::to_string(i), "<défaut>"), cas[i]) << i;
    }
}

TEST_F(FichierIniTest, AllerRetourDesEntiersBooleensEtCouleurs) {
    FichierIni ini(chemin());
    for (int valeur : {0, 1, -1, 255, INT_MAX, INT_MIN}) {
        ASSERT_TRUE(ini.EcrireEntier("N", "e", valeur));
        EXPECT_EQ(FichierIni(chemin()).LireEntier("N", "e", 5), valeur);
    }
    for (bool valeur : {true, false}) {
        ASSERT_TRUE(ini.EcrireBooleen("N", "b", valeur));
        EXPECT_EQ(FichierIni(chemin()).LireBooleen("N", "b", !valeur), valeur);
        EXPECT_EQ(FichierIni(chemin()).LireTexte("N", "b", ""), valeur ? "1" : "0");
    }
    for (std::uint32_t couleur : {0u, 0xFFu, 0x00FFFFFFu, 0x7FFFFFFFu, 0x80000000u, 0xFF000005u, 0xFFFFFFFFu}) {
        ASSERT_TRUE(EcrireCouleur(ini, "N", "c", couleur));
        EXPECT_EQ(LireCouleur(FichierIni(chemin()), "N", "c", 1), couleur);
    }
}

TEST_F(FichierIniTest, MotsDePasseSurTousLesOctetsEtAuHasard) {
    std::vector<std::string> cas = {"", "motdepasse", std::string(255, 'a'), std::string(300, '\n'),
                                    std::string("\0\r", 2)};
    for (int o = 0; o < 256; ++o) cas.emplace_back(1, static_cast<char>(o));
    std::mt19937 hasard(1234);
    for (int i = 0; i < 100; ++i) {
        std::string texte(hasard() % 300, '\0');
        for (char& c : texte) c = static_cast<char>(hasard() % 256);
        cas.push_back(texte);
    }
    // Un clair dont le brouillé commence par "." (relu sinon comme un clair) : (0xB0 ^ 0x80) - 2.
    cas.emplace_back("\xB0" "a");
    ASSERT_EQ(BrouillePasse(cas.back()).front(), '.');

    FichierIni ini(chemin());
    for (std::size_t i = 0; i < cas.size(); ++i) {
        ASSERT_TRUE(EcrireMotDePasse(ini, "Comptes", "p" + std::to_string(i), cas[i]));
    }
    FichierIni relu(chemin());
    for (std::size_t i = 0; i < cas.size(); ++i) {
        // Une des deux formes doit traverser le fichier : le clair (255 octets au plus) ou le
        // brouillé, sans CR ni LF, et sans "." en tête pour le brouillé.
        const auto sansFinDeLigne = [](const std::string& t) { return t.find_first_of("\r\n") == std::string::npos; };
        const std::string brouille = BrouillePasse(cas[i]);
        const bool revient = (cas[i].size() <= 255 && sansFinDeLigne(cas[i])) ||
                             (sansFinDeLigne(brouille) && (brouille.empty() || brouille.front() != '.'));
        if (!revient) continue;
        EXPECT_EQ(LireMotDePasse(relu, "Comptes", "p" + std::to_string(i), "d"), cas[i]) << "cas " << i;
    }
    // Le brouillé reste la forme ordinaire quand il traverse le fichier.
    EXPECT_EQ(relu.LireTexte("Comptes", "p1", ""), BrouillePasse("motdepasse"));
    EXPECT_EQ(LireMotDePasse(relu, "Comptes", "absent", "clair"), "clair");
}

TEST_F(FichierIniTest, TexteSurPlusieursLignes) {
    ecrireBrut("[Filtres]\r\nSpamTexte=premi\xE8re\xB6\xB6seconde\xB6\xB6troisi\xE8me\r\n");
    FichierIni ini(chemin());
    EXPECT_EQ(LireMultiLigne(ini, "Filtres", "SpamTexte", ""), "premi\xE8re\r\nseconde\r\ntroisi\xE8me");

    const struct { const char* ecrit; const char* brut; const char* relu; } cas[] = {
        {"a\r\nb", "a\xB6\xB6" "b", "a\r\nb"},
        {"a\nb\rc", "a\xB6\xB6" "b\xB6\xB6" "c", "a\r\nb\r\nc"},
        {"a\r\n\r\nb", "a\xB6\xB6\xB6\xB6" "b", "a\r\n\r\nb"},
        {"\r\nfin\r\n", "\xB6\xB6" "fin\xB6\xB6", "\r\nfin\r\n"},
        {" a\r\n", " a\xB6\xB6", " a\r\n"},
        {"seul \xB6 garde", "seul \xB6 garde", "seul \xB6 garde"},
    };
    for (const auto& c : cas) {
        ASSERT_TRUE(EcrireMultiLigne(ini, "Filtres", "m", c.ecrit));
        EXPECT_EQ(FichierIni(chemin()).LireTexte("Filtres", "m", ""), c.brut);
        EXPECT_EQ(LireMultiLigne(FichierIni(chemin()), "Filtres", "m", ""), c.relu);
    }
}

// --- Écriture ---

TEST_F(FichierIniTest, EcritureGardeLesLignesEtLOrdre) {
    ecrireBrut(
        "; en-tete\n"
        "orpheline=1\n"
        "[Premiere]\n"
        "  Cle = ancienne ; pas un commentaire\n"
        "# commentaire\n"
        "autre=2\n"
        "n'importe quoi \x01\x02\n"
        "\n"
        "\n"
        "[Seconde]\n"
        "; rien\n"
        "[premiere]\n"
        "x=doublon\n");
    FichierIni ini(chemin());
    ASSERT_TRUE(ini.EcrireTexte("PREMIERE", "cle", "nouvelle"));
    ASSERT_TRUE(ini.EcrireTexte("premiere", "ajoutee", "3"));
    ASSERT_TRUE(ini.EcrireTexte("Seconde", "s", "4"));
    ASSERT_TRUE(ini.EcrireTexte("Troisieme", "t", "5"));
    ASSERT_TRUE(ini.EcrireTexte("Troisieme", "u", "6"));
    EXPECT_EQ(lireBrut(),
              "; en-tete\r\n"
              "orpheline=1\r\n"
              "[Premiere]\r\n"
              "Cle=nouvelle\r\n"
              "# commentaire\r\n"
              "autre=2\r\n"
              "ajoutee=3\r\n"
              "n'importe quoi \x01\x02\r\n"
              "\r\n"
              "\r\n"
              "[Seconde]\r\n"
              "s=4\r\n"
              "; rien\r\n"
              "[premiere]\r\n"
              "x=doublon\r\n"
              "[Troisieme]\r\n"
              "t=5\r\n"
              "u=6\r\n");
    EXPECT_EQ(ini.Sections(), liste({"Premiere", "Seconde", "Troisieme"}));
    EXPECT_EQ(ini.Cles("premiere"), liste({"Cle", "autre", "ajoutee"}));
}

TEST_F(FichierIniTest, CleEnDoubleEcriteSurLaPremiere) {
    ecrireBrut("[S]\r\nk=1\r\nK=2\r\n");
    FichierIni ini(chemin());
    ASSERT_TRUE(ini.EcrireEntier("s", "k", 3));
    EXPECT_EQ(lireBrut(), "[S]\r\nk=3\r\nK=2\r\n");
    EXPECT_EQ(ini.LireEntier("S", "K", 0), 3);
    EXPECT_EQ(ini.Cles("S"), liste({"k"}));
}

TEST_F(FichierIniTest, EffacerSectionOteToutesSesOccurrences) {
    ecrireBrut("[A]\r\na=1\r\n; note\r\n[B]\r\nb=2\r\n[a]\r\na=3\r\n[C]\r\n");
    FichierIni ini(chemin());
    ASSERT_TRUE(ini.EffacerSection("a"));
    EXPECT_EQ(lireBrut(), "[B]\r\nb=2\r\n[C]\r\n");
    EXPECT_FALSE(ini.SectionExiste("A"));
    EXPECT_EQ(ini.Sections(), liste({"B", "C"}));
    EXPECT_TRUE(ini.EffacerSection("Inconnue"));
    ASSERT_TRUE(ini.EcrireTexte("A", "a", "4"));
    EXPECT_EQ(lireBrut(), "[B]\r\nb=2\r\n[C]\r\n[A]\r\na=4\r\n");
}

TEST_F(FichierIniTest, NomsRefusesNEcriventRien) {
    ecrireBrut("[S]\r\nk=1\r\n");
    FichierIni ini(chemin());
    const struct { const char* section; const char* cle; } cas[] = {
        {"", "k"}, {" \t", "k"}, {"S", ""}, {"S", "  "}, {"S", "a=b"}, {"S", "[k"}, {"a]b", "k"}, {"\r\n", "k"},
    };
    for (const auto& c : cas) {
        EXPECT_FALSE(ini.EcrireTexte(c.section, c.cle, "x")) << "'" << c.section << "' / '" << c.cle << "'";
        EXPECT_EQ(lireBrut(), "[S]\r\nk=1\r\n");
    }
    EXPECT_FALSE(ini.EffacerSection(""));
}

TEST_F(FichierIniTest, UneFinDeLigneNInjecteRien) {
    FichierIni ini(chemin());
    ASSERT_TRUE(ini.EcrireTexte("S", "k", "a\r\n[Autre]\r\nb=c\nd=e\r"));
    ASSERT_TRUE(ini.EcrireTexte("S\n[X", "cle\r\n[Y]", "v\n[Z]\nz=1"));
    EXPECT_EQ(lireBrut(), "[S]\r\nk=\"a  [Autre]  b=c d=e \"\r\n[S [X]\r\ncle  [Y]=v [Z] z=1\r\n");
    FichierIni relu(chemin());
    EXPECT_EQ(relu.LireTexte("S", "k", ""), "a  [Autre]  b=c d=e ");
    EXPECT_EQ(relu.LireTexte("S [X", "cle  [Y]", ""), "v [Z] z=1");
    EXPECT_EQ(relu.LireTexte("Autre", "b", "absent"), "absent");
    EXPECT_EQ(relu.LireTexte("S", "d", "absent"), "absent");
    EXPECT_EQ(relu.Sections(), liste({"S", "S [X"}));
    for (const char* section : {"X", "Y", "Z"}) EXPECT_FALSE(relu.SectionExiste(section));
}

TEST_F(FichierIniTest, NouveauFichierLisibleParSonSeulProprietaire) {
    FichierIni ini(chemin());
    ASSERT_TRUE(ini.EcrireTexte("S", "k", "1"));
    EXPECT_EQ(droitsPosix(chemin()), 0600u);

    const QString autre = dossier_.filePath("partage.ini");
    ecrireBrut(autre, "[S]\r\n");
    ASSERT_EQ(chmod(QFile::encodeName(autre).constData(), 0640), 0);
    FichierIni existant(autre);
    ASSERT_TRUE(existant.EcrireTexte("S", "k", "1"));
    EXPECT_EQ(droitsPosix(autre), 0640u);
}

// --- Échecs d'écriture ---


TEST_F(FichierIniTest, EcritureImpossibleLaisseLeFichierIntact) {
    const std::string origine = "; garde\n[S]\nk=ancien\n";
    ecrireBrut(origine);
    FichierIni ini(chemin());
    ASSERT_EQ(ini.LireTexte("S", "k", ""), "ancien");
    {
        LimiteTailleFichier limite(64 * 1024);
        EXPECT_FALSE(ini.EcrireTexte("S", "k", std::string(1 << 20, 'v')));
        EXPECT_FALSE(ini.EcrireTexte("S", "nouvelle", std::string(1 << 20, 'v')));
    }
    EXPECT_EQ(lireBrut(), origine);
    EXPECT_EQ(QDir(dossier_.path()).entryList(QDir::Files | QDir::Hidden), QStringList {"tessaron.ini"});
    // Le contenu en mémoire est revenu à celui du disque.
    EXPECT_EQ(ini.LireTexte("S", "k", ""), "ancien");
    EXPECT_EQ(ini.LireTexte("S", "nouvelle", "absente"), "absente");
    EXPECT_EQ(ini.Cles("S"), liste({"k"}));
    ASSERT_TRUE(ini.EcrireTexte("S", "k2", "2"));
    EXPECT_EQ(lireBrut(), "; garde\r\n[S]\r\nk=ancien\r\nk2=2\r\n");
}

TEST_F(FichierIniTest, DossierAbsentOuCheminInutilisable) {
    // Le dossier n'est pas créé par la classe ; un fichier à la place du dossier non plus.
    ecrireBrut(dossier_.filePath("fichier"), "x");
    ASSERT_TRUE(QDir(dossier_.path()).mkdir("dossier.ini"));
    const QString chemins[] = {dossier_.filePath("absent/tessaron.ini"), dossier_.filePath("fichier/tessaron.ini"),
                               dossier_.filePath("dossier.ini")};
    for (const QString& c : chemins) {
        FichierIni ini(c);
        EXPECT_FALSE(ini.EcrireTexte("S", "k", "v")) << c.toStdString();
        EXPECT_EQ(ini.LireTexte("S", "k", "d"), "d") << c.toStdString();
    }
    EXPECT_FALSE(QFile::exists(dossier_.filePath("absent")));
}

// --- Modifications par un autre programme ---

TEST_F(FichierIniTest, ModificationExterieureVueALaLectureSuivante) {
    FichierIni ini(chemin());
    ASSERT_TRUE(ini.EcrireTexte("S", "k", "1"));
    ASSERT_EQ(ini.LireTexte("S", "k", ""), "1");

    // Même taille, même inode, aussitôt après.
    ecrireBrut("[S]\r\nk=2\r\n");
    EXPECT_EQ(ini.LireTexte("S", "k", ""), "2");

    // Même taille, même inode et même date (deux écritures dans le même tic d'horloge) : une
    // date récente ne prouve rien, le contenu doit être relu.
    const timespec recente {std::time(nullptr) + 3600, 0};
    for (const char* contenu : {"[S]\r\nk=3\r\n", "[S]\r\nk=4\r\n"}) {
        ecrireBrut(contenu);
        dater(recente);
        EXPECT_EQ(ini.LireTexte("S", "k", ""), std::string(contenu).substr(7, 1));
    }
    // Une date ancienne et un stat() inchangé : le fichier n'est ni relu ni réanalysé.
    const timespec ancienne {1'000'000'000, 0};
    dater(ancienne);
    ASSERT_EQ(ini.LireTexte("S", "k", ""), "4");
    ecrireBrut("[S]\r\nk=5\r\n");
    dater(ancienne);
    EXPECT_EQ(ini.LireTexte("S", "k", ""), "4");

    // Remplacement par renommage (autre inode).
    const QString temporaire = dossier_.filePath("remplacant");
    ecrireBrut(temporaire, "[T]\nk=3\n");
    ASSERT_TRUE(QFile::remove(chemin()));
    ASSERT_TRUE(QFile::rename(temporaire, chemin()));
    EXPECT_EQ(ini.Sections(), liste({"T"}));
    // Une écriture part du contenu du disque, pas de l'ancienne copie en mémoire.
    ASSERT_TRUE(ini.EcrireTexte("T", "j", "4"));
    EXPECT_EQ(lireBrut(), "[T]\r\nk=3\r\nj=4\r\n");

    ASSERT_TRUE(QFile::remove(chemin()));
    EXPECT_EQ(ini.LireTexte("T", "k", "d"), "d");
    EXPECT_TRUE(ini.Sections().empty());
}

// --- Contenu abîmé ---

TEST_F(FichierIniTest, ContenuAbimeNeFaitQueDesDefauts) {
    std::string binaire;
    std::mt19937 hasard(99);
    for (int i = 0; i < 100000; ++i) binaire.push_back(static_cast<char>(hasard() % 256));
    const std::string cas[] = {
        binaire,
        std::string("\0\0[\0]\0=\0\n\0=\0", 13),
        "[",
        "[[[[\n]]]]\n=\n==\n[]\n=x\n",
        std::string(3 << 20, '[') + "\nk=v",
        "sans section\nk=v\n",
        "\r\r\r\n\n\r",
    };
    for (const std::string& contenu : cas) {
        ecrireBrut(contenu);
        FichierIni ini(chemin());
        EXPECT_EQ(ini.LireTexte("S", "k", "d"), "d");
        EXPECT_EQ(ini.LireEntier("", "", 5), 5);
        for (const std::string& section : ini.Sections()) (void)ini.Cles(section);
        ASSERT_TRUE(ini.EcrireTexte("S", "k", "v"));
        EXPECT_EQ(FichierIni(chemin()).LireTexte("S", "k", "d"), "v");
    }
}

} // namespace

TEST_F(FichierIniTest, EcrituresGroupeesUnSeulRemplacement) {
    ecrireBrut("[S]\nk=1\n");
    FichierIni ini(chemin());
    {
        LotEcritures lot(ini);
        ASSERT_TRUE(ini.EcrireTexte("S", "k", "2"));
        ASSERT_TRUE(ini.EcrireTexte("T", "x", "3"));
        ASSERT_TRUE(ini.EffacerSection("S"));
        // Rien n'est encore écrit, mais la mémoire répond déjà.
        EXPECT_EQ(lireBrut(), "[S]\nk=1\n");
        EXPECT_EQ(ini.LireTexte("T", "x", ""), "3");
        EXPECT_TRUE(lot.Terminer());
    }
    EXPECT_EQ(lireBrut(), "[T]\r\nx=3\r\n");

    // Un lot dont l'enregistrement échoue laisse le fichier et rend la mémoire du disque.
    {
        LimiteTailleFichier limite(64 * 1024);
        LotEcritures lot(ini);
        ini.EcrireTexte("T", "gros", std::string(1 << 20, 'v'));
        EXPECT_FALSE(lot.Terminer());
    }
    EXPECT_EQ(lireBrut(), "[T]\r\nx=3\r\n");
    EXPECT_EQ(ini.LireTexte("T", "gros", "absente"), "absente");
}
