// Fichiers des listes de filtres et de l'historique : lecture, réparation, tri de départ,
// chargement, enregistrement et copies de sauvegarde tournantes.
#include "FiltreEssai.h"
#include "LimiteTailleFichier.h"
#include "donnees/Chaines.h"
#include "donnees/FichiersListes.h"
#include "donnees/Sauvegardes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <climits>
#include <csignal>
#include <map>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using Contenus = std::map<std::string, std::string>; // nom de fichier -> octets

structFiltre filtre(std::string motif, std::string champ, std::string avant, std::string pendant,
                    std::string effectues, bool ami) {
    return {std::move(motif),   std::move(champ),     std::move(avant),
            std::move(pendant), std::move(effectues), ami};
}

std::vector<std::string> motifs(const ListeFiltres& liste) {
    std::vector<std::string> resultat;
    for (const structFiltre& f : liste.Lignes)
        resultat.push_back(f.Motif);
    return resultat;
}

class FichiersListesTest : public testing::Test {
protected:
    QString chemin(const std::string& nom) const { return dossier_.filePath(QString::fromStdString(nom)); }
    QString sauv() const { return DossierSauvegarde(dossier_.path()); }
    QString ini() const { return chemin("Tessaron.ini"); }
    QString fichierListe(IndexListe index) const {
        return CheminFichierListe(dossier_.path(), "Tessaron", index);
    }

    static void ecrireBrut(const QString& vers, const std::string& octets) {
        QFile fichier(vers);
        ASSERT_TRUE(fichier.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(fichier.write(octets.data(), static_cast<qint64>(octets.size())),
                  static_cast<qint64>(octets.size()));
    }
    static std::string lireBrut(const QString& depuis) {
        QFile fichier(depuis);
        if (!fichier.open(QIODevice::ReadOnly)) return "<absent>";
        const QByteArray octets = fichier.readAll();
        return std::string(octets.constData(), static_cast<std::size_t>(octets.size()));
    }
    // Les fichiers d'un dossier (cachés compris) avec leur contenu.
    static Contenus contenus(const QString& ou) {
        Contenus resultat;
        for (const QString& nom : QDir(ou).entryList(QDir::Files | QDir::Hidden | QDir::System))
            resultat[nom.toStdString()] = lireBrut(QDir(ou).filePath(nom));
        return resultat;
    }
    void ecrireSauv(const Contenus& fichiers) const {
        QDir().mkpath(sauv());
        for (const auto& [nom, octets] : fichiers)
            ecrireBrut(QDir(sauv()).filePath(QString::fromStdString(nom)), octets);
    }

    // Lit un seul fichier dans une liste neuve.
    ListesFiltres lire(IndexListe index, const std::string& octets) const {
        ListesFiltres listes;
        ecrireBrut(fichierListe(index), octets);
        EXPECT_EQ(LireFichierListe(index, fichierListe(index), listes), ResultatLecture::Lu);
        return listes;
    }

    bool enregistrer(ListesFiltres& listes, int nbFicSauv = 5) {
        return EnregistrerListes(listes, dossier_.path(), "Tessaron", nbFicSauv, ini(), {},
                                 [this](const std::string& texte) { statuts_.push_back(texte); });
    }
    void charger(ListesFiltres& listes) {
        ChargerListes(
            listes, dossier_.path(), "Tessaron",
            [this](const std::string& texte) { statuts_.push_back(texte); },
            [this](const std::string& titre, const std::string& texte) {
                erreurs_.push_back(titre + "|" + texte);
            });
    }

    QTemporaryDir dossier_;
    std::vector<std::string> statuts_;
    std::vector<std::string> erreurs_;
};

// --- Lecture et réparation d'une ligne ---

struct CasReparation {
    const char* nom;
    IndexListe index;
    std::string ligne;
    structFiltre attendu;
    bool modifiee;
};

void PrintTo(const CasReparation& cas, std::ostream* sortie) {
    *sortie << cas.nom;
}

class ReparationTest : public FichiersListesTest, public testing::WithParamInterface<CasReparation> {};

TEST_P(ReparationTest, LigneLueEtReparee) {
    const CasReparation& cas = GetParam();
    ListesFiltres listes = lire(cas.index, cas.ligne + "\r\n");
    const ListeFiltres& liste =
        cas.index == ListeIndexDestinataires ? listes.ListeDestinataires : listes.ListeExpediteurs;
    ASSERT_EQ(liste.Lignes.size(), 1u);
    EXPECT_EQ(liste.Lignes[0], cas.attendu);
    EXPECT_EQ(liste.Modifiee, cas.modifiee);
}

const auto E = ListeIndexExpediteurs;
const auto D = ListeIndexDestinataires;

INSTANTIATE_TEST_SUITE_P(
    Lignes, ReparationTest,
    testing::Values(
        CasReparation{"MotifSeul", E, "casino", filtre("casino", "", "g", "N ", "", false), false},
        CasReparation{"RejetComplet", E,
                      "\xB6"
                      "casino,d,oa,3,R",
                      filtre("\xB6"
                             "casino",
                             "", "d", "oa", "3", false),
                      false},
        CasReparation{"Ami", E,
                      "\xB6"
                      "info, , ,12,A",
                      filtre("\xB6"
                             "info",
                             "", " ", " ", "12", true),
                      false},
        CasReparation{"AmiGardeTout", E, "ami,zz,qq,12x,A", filtre("ami", "", "zz", "qq", "12x", true),
                      false},
        CasReparation{"AMinusculeEstUnRejet", E, "x,d,oa,3,a", filtre("x", "", "d", "oa", "3", false), false},
        CasReparation{"DerniereInconnue", E, "x,c,s,1,Z", filtre("x", "", "c", "s", "1", false), false},
        CasReparation{"ActionMinuscule", E, "x,r,N ,1,R", filtre("x", "", "g", "N ", "1", false), false},
        CasReparation{"ActionVide", E, "x,,N ,1,R", filtre("x", "", "g", "N ", "1", false), false},
        CasReparation{"ReponseNSeul", E, "x,R,N,1,R", filtre("x", "", "R", "N ", "1", false), false},
        CasReparation{"ReponseMinuscule", E, "x,R,n ,1,R", filtre("x", "", "R", "N ", "1", false), false},
        CasReparation{"ReponseVide", E, "x,R,,1,R", filtre("x", "", "R", "N ", "1", false), false},
        CasReparation{"ReponseInconnue", E, "x,R,Na,1,R", filtre("x", "", "R", "N ", "1", false), false},
        CasReparation{"ReponseVGardee", E, "x,g,vx,1,R", filtre("x", "", "g", "vx", "1", false), false},
        CasReparation{"CompteurNonEntier", E, "x,g,N ,12x,R", filtre("x", "", "g", "N ", "", false), true},
        CasReparation{"CompteurEspace", E, "x,g,N , ,R", filtre("x", "", "g", "N ", "", false), true},
        CasReparation{"CompteurTropGrand", E, "x,g,N ,99999999999,R", filtre("x", "", "g", "N ", "", false),
                      true},
        CasReparation{"CompteurNegatif", E, "x,g,N ,-4,R", filtre("x", "", "g", "N ", "-4", false), false},
        CasReparation{"VirguleFinale", E, "x,g,N ,2,R,", filtre("x", "", "g", "N ", "2", false), false},
        CasReparation{"ChampsEnTrop", E, "x,g,N ,2,A,R,encore", filtre("x", "", "g", "N ", "2", true), false},
        CasReparation{"RienQueDesVirgules", E, ",,,,", filtre("", "", "g", "N ", "", false), false},
        CasReparation{"AmiVide", E, ",,,,A", filtre("", "", "", "", "", true), false},
        CasReparation{"ChampX", D, "a@b,X,R,N ,2,R", filtre("a@b", "A", "R", "N ", "2", false), false},
        CasReparation{"ChampDUnAmi", D, "a@b,c, , ,,A", filtre("a@b", "A", " ", " ", "", true), false},
        CasReparation{"ChampLGarde", D, "a@b,L,c,oa,,R", filtre("a@b", "L", "c", "oa", "", false), false},
        CasReparation{"DestinataireIncomplet", D, "a@b,C,d", filtre("a@b", "C", "d", "N ", "", false),
                      false}),
    [](const testing::TestParamInfo<CasReparation>& parametre) { return std::string(parametre.param.nom); });

// --- Découpage du fichier en lignes ---

struct CasDecoupage {
    const char* nom;
    std::string octets;
    std::vector<std::string> motifs;
};

void PrintTo(const CasDecoupage& cas, std::ostream* sortie) {
    *sortie << cas.nom;
}

class DecoupageTest : public FichiersListesTest, public testing::WithParamInterface<CasDecoupage> {};

TEST_P(DecoupageTest, RangeesLues) {
    EXPECT_EQ(motifs(lire(ListeIndexExpediteurs, GetParam().octets).ListeExpediteurs), GetParam().motifs);
}

std::string fois(std::size_t n, char c) {
    return std::string(n, c);
}

INSTANTIATE_TEST_SUITE_P(
    Fichiers, DecoupageTest,
    testing::Values(
        CasDecoupage{"FinsDeLigneEtLignesVides", "a,R\r\n\r\nb,R\n\n\nc,R", {"a", "b", "c"}},
        CasDecoupage{"QueDesLignesVides", "\r\n\n\r\n", {}},
        CasDecoupage{
            "LigneDeCinqMilleCaracteres",
            fois(5000, 'x') + "\r\nfin\r\n",
            {fois(1021, 'x'), fois(1021, 'x'), fois(1021, 'x'), fois(1021, 'x'), fois(916, 'x'), "fin"}},
        CasDecoupage{"LigneDe1021Caracteres", fois(1021, 'x') + "\r\nfin\r\n", {fois(1021, 'x'), "fin"}},
        CasDecoupage{"LigneDe1020CaracteresEtCr", fois(1020, 'x') + "\r\nfin\n", {fois(1020, 'x'), "fin"}},
        CasDecoupage{"LigneDe1022Caracteres", fois(1022, 'x') + "\nfin\n", {fois(1021, 'x'), "x", "fin"}},
        CasDecoupage{"OctetsNuls",
                     std::string("a\0b,R\r\n\0c,d\r\n\0\r\nz,R\r\n", 19),
                     {std::string("a\0b", 3), std::string("\0c", 2), std::string("\0", 1), "z"}},
        CasDecoupage{"OctetsSansCaractere", "\x81\x8D\xFF\x9D,R\r\n", {"\x81\x8D\xFF\x9D"}}),
    [](const testing::TestParamInfo<CasDecoupage>& parametre) { return std::string(parametre.param.nom); });

TEST_F(FichiersListesTest, HistoriqueSansReparationNiLigneSansChiffre) {
    const ListesFiltres listes = lire(ListeIndexHistorique, "09/12/2026 23:55:04,exp\xA0,sujet,->\xA0"
                                                            "a@b,c@d,Boite\r\n"
                                                            "<sans date>,x,y,z,t,u\r\n"
                                                            ",x\r\n"
                                                            "\r\n"
                                                            "1,,,,,\n"
                                                            "2,a,b,c,d,e,f,g,\n");
    ASSERT_EQ(listes.Historique.Lignes.size(), 3u);
    const structHisto& h = listes.Historique.Lignes[0];
    EXPECT_EQ(h.DateHeure, "09/12/2026 23:55:04");
    EXPECT_EQ(h.Expediteur, "exp\xA0");
    EXPECT_EQ(h.Sujet, "sujet");
    EXPECT_EQ(h.Destinataires, "->\xA0"
                               "a@b");
    EXPECT_EQ(h.DestinatairesCopie, "c@d");
    EXPECT_EQ(h.Boite, "Boite");
    EXPECT_EQ(listes.Historique.Lignes[1].DateHeure, "1");
    EXPECT_EQ(listes.Historique.Lignes[1].Boite, "");
    EXPECT_EQ(listes.Historique.Lignes[2].Boite, "e");
    EXPECT_FALSE(listes.Historique.Modifiee);
}

// --- Tri de départ ---

TEST_F(FichiersListesTest, TrierFiltresAmisPuisCompteurDecroissant) {
    ListeFiltres liste(false);
    for (const auto& [motif, effectues, ami] :
         std::vector<std::tuple<std::string, std::string, bool>>{{"r3", "3", false},
                                                                 {"a1", "1", true},
                                                                 {"rx", "x", false},
                                                                 {"r10", "10", false},
                                                                 {"a-", "", true},
                                                                 {"r0", "0", false},
                                                                 {"a5", "5", true},
                                                                 {"r-2", "-2", false},
                                                                 {"rvide", " ", false}})
        liste.Lignes.push_back(filtre(motif, "", "g", "N ", effectues, ami));
    TrierFiltres(liste);
    // Les compteurs non entiers valent 0 et gardent leur ordre avec le vrai 0.
    EXPECT_EQ(motifs(liste),
              (std::vector<std::string>{"a5", "a1", "a-", "r10", "r3", "rx", "r0", "rvide", "r-2"}));

    // Assez de rangées égales pour qu'un tri non stable les mélange.
    ListeFiltres longue(false);
    std::vector<std::string> attendus[3];
    for (int i = 0; i < 60; ++i) {
        const std::string motif = "m" + std::to_string(i);
        longue.Lignes.push_back(filtre(motif, "", "g", "N ", std::to_string(i % 3), false));
        attendus[2 - i % 3].push_back(motif);
    }
    TrierFiltres(longue);
    std::vector<std::string> ordre = attendus[0];
    ordre.insert(ordre.end(), attendus[1].begin(), attendus[1].end());
    ordre.insert(ordre.end(), attendus[2].begin(), attendus[2].end());
    EXPECT_EQ(motifs(longue), ordre);
}

// --- Chargement ---

TEST_F(FichiersListesTest, ChargerListesLitTrieEtGardeLesListesDejaRemplies) {
    ecrireBrut(fichierListe(ListeIndexExpediteurs), "r1,g,N ,1,R\r\nr9,g,N ,9,R\r\nami,g,N ,0,A\r\n");
    ecrireBrut(fichierListe(ListeIndexSujets), "lu,g,N ,1,R\r\n");
    ecrireBrut(fichierListe(ListeIndexDestinataires), "d1,A,g,N ,1,R\r\nd2,A,g,N ,2,R\r\n");
    ecrireBrut(fichierListe(ListeIndexHistorique),
               "01/01/2020 00:00:00,a,,,,\r\n02/01/2020 00:00:00,b,,,,\r\n");
    ListesFiltres listes;
    listes.ListeSujets.Lignes.push_back(filtre("deja", "", "g", "N ", "", false));
    charger(listes);
    EXPECT_EQ(motifs(listes.ListeExpediteurs), (std::vector<std::string>{"ami", "r9", "r1"}));
    EXPECT_EQ(motifs(listes.ListeSujets), std::vector<std::string>{"deja"});
    EXPECT_EQ(motifs(listes.ListeDestinataires), (std::vector<std::string>{"d2", "d1"}));
    ASSERT_EQ(listes.Historique.Lignes.size(), 2u);
    EXPECT_EQ(listes.Historique.Lignes[0].Expediteur, "a"); // l'historique n'est pas retrié
    EXPECT_TRUE(erreurs_.empty());
    EXPECT_EQ(statuts_, (std::vector<std::string>{Chaine(90100), ""}));
    EXPECT_FALSE(listes.ListeExpediteurs.Modifiee || listes.ListeSujets.Modifiee ||
                 listes.ListeDestinataires.Modifiee || listes.Historique.Modifiee);
}

TEST_F(FichiersListesTest, ErreurDeLectureSignaleeEtFichiersSuivantsIgnores) {
    // Expéditeurs absents : rien n'est dit. Sujets : une lecture qui échoue (EIO).
    ASSERT_EQ(::symlink("/proc/self/mem", QFile::encodeName(fichierListe(ListeIndexSujets)).constData()), 0);
    ecrireBrut(fichierListe(ListeIndexDestinataires), "d,A,g,N ,1,R\r\n");
    ecrireBrut(fichierListe(ListeIndexHistorique), "01/01/2020 00:00:00,a,,,,\r\n");
    ListesFiltres listes;
    charger(listes);
    const std::string cheminSujets = fichierListe(ListeIndexSujets).toStdString();
    EXPECT_EQ(erreurs_, std::vector<std::string>{"Tessaron - Erreur|Une erreur s'est produite pendant le "
                                                 "chargement du fichier " +
                                                 cheminSujets});
    EXPECT_TRUE(listes.ListeExpediteurs.Lignes.empty());
    EXPECT_TRUE(listes.ListeSujets.Lignes.empty());
    EXPECT_TRUE(listes.ListeDestinataires.Lignes.empty());
    EXPECT_TRUE(listes.Historique.Lignes.empty());
    EXPECT_EQ(statuts_.back(), "");
}

// --- Enregistrement ---

TEST_F(FichiersListesTest, EcritureExacteEtRelecture) {
    ecrireBrut(fichierListe(ListeIndexSujets), "intact,g,N ,1,R\n");
    ListesFiltres listes;
    listes.ListeExpediteurs.Lignes = {filtre("\xB6"
                                             "info",
                                             "", " ", " ", "12", true),
                                      filtre("a,b\r\nc", "", "d", "oa", "3", false)};
    listes.ListeExpediteurs.Modifiee = true;
    listes.ListeDestinataires.Lignes = {filtre("x@y", "L", "R", "N ", "", false)};
    listes.ListeDestinataires.Modifiee = true;
    listes.Historique.Lignes = {{"01/02/2026 10:00:00", "ancien", "s", "a", "", "B"},
                                {"03/02/2026 09:00:00", "recent", "s,t", "a", "c", "B\xA0"}};
    listes.Historique.Modifiee = true;

    ASSERT_TRUE(enregistrer(listes));
    EXPECT_EQ(lireBrut(fichierListe(ListeIndexExpediteurs)), "\xB6"
                                                             "info, , ,12,A\r\na b  c,d,oa,3,R\r\n");
    EXPECT_EQ(lireBrut(fichierListe(ListeIndexSujets)), "intact,g,N ,1,R\n"); // non modifiée : pas réécrite
    EXPECT_EQ(lireBrut(fichierListe(ListeIndexDestinataires)), "x@y,L,R,N ,,R\r\n");
    EXPECT_EQ(lireBrut(fichierListe(ListeIndexHistorique)), // la plus récente en tête
              "03/02/2026 09:00:00,recent,s t,a,c,B\xA0\r\n01/02/2026 10:00:00,ancien,s,a,,B\r\n");
    EXPECT_FALSE(listes.ListeExpediteurs.Modifiee || listes.ListeDestinataires.Modifiee ||
                 listes.Historique.Modifiee);
    EXPECT_EQ(statuts_, (std::vector<std::string>{Chaine(90102), Chaine(90103)}));
    EXPECT_EQ(Chaine(90103), "Listes de filtres sauvegard\xE9"
                             "es");

    ListesFiltres relues;
    charger(relues);
    ASSERT_EQ(relues.ListeExpediteurs.Lignes.size(), 2u);
    EXPECT_EQ(relues.ListeExpediteurs.Lignes[0], listes.ListeExpediteurs.Lignes[0]);
    EXPECT_EQ(relues.ListeExpediteurs.Lignes[1], filtre("a b  c", "", "d", "oa", "3", false));
    EXPECT_EQ(relues.ListeDestinataires.Lignes, listes.ListeDestinataires.Lignes);
    EXPECT_EQ(relues.Historique.Lignes.size(), 2u);
    EXPECT_TRUE(erreurs_.empty());
}

TEST_F(FichiersListesTest, ListeVideeSupprimeSonFichierEtSeRechargeVide) {
    ecrireBrut(fichierListe(ListeIndexExpediteurs), "a,g,N ,1,R\r\n");
    ecrireBrut(fichierListe(ListeIndexHistorique), "01/01/2020 00:00:00,a,,,,\r\n");
    ListesFiltres listes;
    charger(listes);
    listes.ListeExpediteurs.Lignes.clear();
    listes.ListeExpediteurs.Modifiee = true;
    listes.Historique.Lignes.clear();
    listes.Historique.Modifiee = true;
    ASSERT_TRUE(enregistrer(listes));
    EXPECT_FALSE(CheminExiste(fichierListe(ListeIndexExpediteurs)));
    EXPECT_FALSE(CheminExiste(fichierListe(ListeIndexHistorique)));
    EXPECT_FALSE(listes.ListeExpediteurs.Modifiee);

    ListesFiltres relues;
    charger(relues);
    EXPECT_TRUE(relues.ListeExpediteurs.Lignes.empty());
    EXPECT_TRUE(relues.Historique.Lignes.empty());
    EXPECT_TRUE(erreurs_.empty());
}

TEST_F(FichiersListesTest, CompteurRepareReecritAuProchainEnregistrement) {
    ecrireBrut(fichierListe(ListeIndexSujets), "x,g,N ,12x,R\r\n");
    ListesFiltres listes;
    charger(listes);
    ASSERT_TRUE(listes.ListeSujets.Modifiee);
    ASSERT_TRUE(enregistrer(listes));
    EXPECT_EQ(lireBrut(fichierListe(ListeIndexSujets)), "x,g,N ,,R\r\n");
    EXPECT_EQ(lireBrut(QDir(sauv()).filePath("Tessaron.rjs")), "x,g,N ,12x,R\r\n");
}

// Trois enregistrements de sortie, une modification avant chacun, cinq copies permises.
TEST_F(FichiersListesTest, TroisEnregistrementsGardentLesVersionsPrecedentes) {
    ecrireBrut(ini(), "ini0");
    ASSERT_EQ(::chmod(QFile::encodeName(ini()).constData(), 0600), 0);
    ecrireBrut(fichierListe(ListeIndexExpediteurs), "v0,g,N ,,R\r\n");
    ListesFiltres listes;
    charger(listes);
    for (int i = 1; i <= 3; ++i) {
        listes.ListeExpediteurs.Lignes[0].Motif = "v" + std::to_string(i);
        listes.ListeExpediteurs.Modifiee = true;
        ASSERT_TRUE(enregistrer(listes));
        ecrireBrut(ini(), "ini" + std::to_string(i));
    }
    EXPECT_EQ(contenus(sauv()), (Contenus{{"Tessaron.ini", "ini2"},
                                          {"Tessaron.ini1", "ini1"},
                                          {"Tessaron.ini2", "ini0"},
                                          {"Tessaron.rej", "v2,g,N ,,R\r\n"},
                                          {"Tessaron.rej1", "v1,g,N ,,R\r\n"},
                                          {"Tessaron.rej2", "v0,g,N ,,R\r\n"}}));
    EXPECT_EQ(lireBrut(fichierListe(ListeIndexExpediteurs)), "v3,g,N ,,R\r\n");
    // La copie du fichier de paramètres (mots de passe) n'est lisible que par son propriétaire.
    struct stat infos {};
    ASSERT_EQ(::stat(QFile::encodeName(QDir(sauv()).filePath("Tessaron.ini")).constData(), &infos), 0);
    EXPECT_EQ(infos.st_mode & 0777u, 0600u);
}

// Copies du fichier de paramètres après une suite d'enregistrements sans liste modifiée.
struct CasRotation {
    const char* nom;
    int nbFicSauv;
    Contenus avant;                    // dossier sauv au départ
    std::vector<std::string> versions; // contenu du fichier de paramètres à chaque enregistrement
    Contenus apres;
};

void PrintTo(const CasRotation& cas, std::ostream* sortie) {
    *sortie << cas.nom;
}

class RotationTest : public FichiersListesTest, public testing::WithParamInterface<CasRotation> {};

TEST_P(RotationTest, CopiesDuFichierDeParametres) {
    const CasRotation& cas = GetParam();
    if (!cas.avant.empty()) ecrireSauv(cas.avant);
    for (const std::string& version : cas.versions) {
        ecrireBrut(ini(), version);
        ListesFiltres listes;
        ASSERT_TRUE(enregistrer(listes, cas.nbFicSauv));
    }
    EXPECT_EQ(contenus(sauv()), cas.apres);
}

INSTANTIATE_TEST_SUITE_P(
    Copies, RotationTest,
    testing::Values(
        CasRotation{"CinqCopiesPleines",
                    5,
                    {{"Tessaron.ini", "b"},
                     {"Tessaron.ini1", "1"},
                     {"Tessaron.ini2", "2"},
                     {"Tessaron.ini3", "3"},
                     {"Tessaron.ini4", "4"},
                     {"Tessaron.ini5", "5"}},
                    {"neuf"},
                    {{"Tessaron.ini", "neuf"},
                     {"Tessaron.ini1", "b"},
                     {"Tessaron.ini2", "1"},
                     {"Tessaron.ini3", "2"},
                     {"Tessaron.ini4", "3"},
                     {"Tessaron.ini5", "4"}}},
        CasRotation{"UneCopieNumeroteeJamaisRemplacee",
                    1,
                    {},
                    {"v1", "v2", "v3", "v4"},
                    {{"Tessaron.ini", "v4"}, {"Tessaron.ini1", "v1"}}},
        CasRotation{"ZeroCommeUn",
                    0,
                    {{"Tessaron.ini", "b"}, {"Tessaron.ini1", "1"}, {"Tessaron.ini2", "2"}},
                    {"v1", "v2"},
                    {{"Tessaron.ini", "v2"}, {"Tessaron.ini1", "1"}, {"Tessaron.ini2", "2"}}},
        CasRotation{
            "NombreDemesure",
            INT_MAX,
            {{"Tessaron.ini", "b"}, {"Tessaron.ini1", "1"}, {"Tessaron.ini01", "z"}},
            {"v"},
            {{"Tessaron.ini", "v"}, {"Tessaron.ini1", "b"}, {"Tessaron.ini2", "1"}, {"Tessaron.ini01", "z"}}},
        CasRotation{"TrouDansLaSuite",
                    3,
                    {{"Tessaron.ini", "b"}, {"Tessaron.ini2", "2"}},
                    {"v"},
                    {{"Tessaron.ini", "v"}, {"Tessaron.ini1", "b"}, {"Tessaron.ini3", "2"}}}),
    [](const testing::TestParamInfo<CasRotation>& parametre) { return std::string(parametre.param.nom); });

TEST_F(FichiersListesTest, RenommageVersUnNomPrisLaisseLesDeuxFichiers) {
    // La dernière copie ne peut être supprimée (un dossier non vide) : rien ne descend, rien
    // n'est écrasé ; seule la copie non numérotée est remplacée.
    ecrireSauv({{"Tessaron.ini", "b"}, {"Tessaron.ini1", "1"}, {"Tessaron.ini2", "2"}});
    ASSERT_TRUE(QDir(sauv()).mkpath("Tessaron.ini3/dedans"));
    ecrireBrut(ini(), "neuf");
    EXPECT_FALSE(TournerSauvegardes(ini(), sauv(), 3));
    EXPECT_TRUE(CopierFichierAtomique(ini(), QDir(sauv()).filePath("Tessaron.ini")));
    EXPECT_EQ(contenus(sauv()),
              (Contenus{{"Tessaron.ini", "neuf"}, {"Tessaron.ini1", "1"}, {"Tessaron.ini2", "2"}}));
    EXPECT_FALSE(
        RenommerSansEcraser(QDir(sauv()).filePath("Tessaron.ini1"), QDir(sauv()).filePath("Tessaron.ini2")));
    EXPECT_TRUE(RenommerSansEcraser(QDir(sauv()).filePath("Tessaron.ini1"), QDir(sauv()).filePath("libre")));
    EXPECT_EQ(contenus(sauv()), (Contenus{{"Tessaron.ini", "neuf"}, {"Tessaron.ini2", "2"}, {"libre", "1"}}));
}

TEST_F(FichiersListesTest, EcritureImpossibleGardeLAncienFichierEtLaModification) {
    const std::string ancien = "ancien,g,N ,1,R\r\n";
    ecrireBrut(fichierListe(ListeIndexExpediteurs), ancien);
    ListesFiltres listes;
    listes.ListeExpediteurs.Lignes = {filtre(std::string(200000, 'x'), "", "g", "N ", "", false)};
    listes.ListeExpediteurs.Modifiee = true;
    listes.ListeSujets.Lignes = {filtre("petit", "", "g", "N ", "", false)};
    listes.ListeSujets.Modifiee = true;
    {
        const LimiteTailleFichier limite(64 * 1024);
        EXPECT_FALSE(enregistrer(listes));
    }
    const QString cheminListe = fichierListe(ListeIndexExpediteurs);
    EXPECT_EQ(lireBrut(cheminListe), ancien);
    EXPECT_TRUE(listes.ListeExpediteurs.Modifiee);
    EXPECT_EQ(statuts_, (std::vector<std::string>{Chaine(90102), "Impossible d'enregistrer le fichier " +
                                                                     cheminListe.toStdString()}));
    // Les autres listes sont enregistrées ; aucun fichier temporaire ne traîne.
    EXPECT_FALSE(listes.ListeSujets.Modifiee);
    EXPECT_EQ(lireBrut(fichierListe(ListeIndexSujets)), "petit,g,N ,,R\r\n");
    EXPECT_EQ(QDir(dossier_.path()).entryList(QDir::Files | QDir::Hidden),
              (QStringList{"Tessaron.rej", "Tessaron.rjs"}));
    EXPECT_EQ(lireBrut(QDir(sauv()).filePath("Tessaron.rej")), ancien);

    // Une fois la place revenue, l'enregistrement suivant écrit la liste.
    ASSERT_TRUE(enregistrer(listes));
    EXPECT_FALSE(listes.ListeExpediteurs.Modifiee);
    EXPECT_EQ(lireBrut(cheminListe).size(), 200000u + 10u);
}

TEST_F(FichiersListesTest, SuppressionImpossibleGardeLaModification) {
    ASSERT_TRUE(QDir(dossier_.path()).mkpath("Tessaron.rjd/dedans")); // ne se supprime pas
    ListesFiltres listes;
    listes.ListeDestinataires.Modifiee = true;
    EXPECT_FALSE(enregistrer(listes));
    EXPECT_TRUE(listes.ListeDestinataires.Modifiee);
    EXPECT_EQ(statuts_, (std::vector<std::string>{Chaine(90102),
                                                  "Impossible de supprimer le fichier " +
                                                      fichierListe(ListeIndexDestinataires).toStdString()}));
}

} // namespace
