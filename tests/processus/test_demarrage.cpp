// Avant la fenêtre : ménage des anciens fichiers de langue et relance, traductions de Qt.
#include "LanceurTessaron.h"
#include "principal/Demarrage.h"

#include <QFile>
#include <QTranslator>
#include <set>

namespace {

const std::string kEchecFra = "Impossible de supprimer l'ancien fichier.\nVeuillez d\xE9truire manuellement le fichier "
                              "Tessaron.FRA.\nTessaron va \xEAtre ferm\xE9";
const std::string kEchecEnu = "Impossible de supprimer l'ancien fichier.\nVeuillez d\xE9truire manuellement le fichier "
                              "Tessaron.ENU.\nTessaron va \xEAtre ferm\xE9";
const std::string kRelance = "D'anciens fichiers ont \xE9t\xE9 supprim\xE9s.\nTessaron va \xEAtre ferm\xE9 puis relanc\xE9";

struct CasNettoyage {
    const char* nom;
    std::set<QString> presents;
    std::set<QString> indelebiles;  // leur suppression échoue
    IssueNettoyage issue;
    std::vector<std::string> messages;
    std::vector<QString> tentatives;  // suppressions essayées, dans l'ordre
    std::set<QString> restants;
};

void PrintTo(const CasNettoyage& cas, std::ostream* sortie) { *sortie << cas.nom; }

class Nettoyage : public testing::TestWithParam<CasNettoyage> {};

TEST_P(Nettoyage, SupprimeDansLOrdreEtSArreteAuPremierEchec) {
    const CasNettoyage& c = GetParam();
    QTemporaryDir dossier;
    ASSERT_TRUE(dossier.isValid());
    for (const QString& nom : c.presents) {
        QFile fichier(dossier.filePath(nom));
        ASSERT_TRUE(fichier.open(QIODevice::WriteOnly));
    }

    std::vector<QString> tentatives;
    std::vector<std::string> messages;
    const IssueNettoyage issue = NettoyerAnciensFichiers(
        QDir(dossier.path()),
        [&](const QString& chemin) {
            const QString nom = QFileInfo(chemin).fileName();
            tentatives.push_back(nom);
            return !c.indelebiles.count(nom) && QFile::remove(chemin);
        },
        [&](const std::string& texte) { messages.push_back(texte); });

    EXPECT_EQ(issue, c.issue);
    EXPECT_EQ(messages, c.messages);
    EXPECT_EQ(tentatives, c.tentatives);
    std::set<QString> restants;
    for (const QString& nom : {QStringLiteral("Tessaron.FRA"), QStringLiteral("Tessaron.ENU")})
        if (QFile::exists(dossier.filePath(nom))) restants.insert(nom);
    EXPECT_EQ(restants, c.restants);
}

const QString FRA = QStringLiteral("Tessaron.FRA");
const QString ENU = QStringLiteral("Tessaron.ENU");

INSTANTIATE_TEST_SUITE_P(
    Table, Nettoyage,
    testing::Values(CasNettoyage{"Aucun", {}, {}, IssueNettoyage::Continuer, {}, {}, {}},
                    CasNettoyage{"Enu", {ENU}, {}, IssueNettoyage::Relancer, {kRelance}, {ENU}, {}},
                    CasNettoyage{"LesDeux", {FRA, ENU}, {}, IssueNettoyage::Relancer, {kRelance}, {FRA, ENU}, {}},
                    CasNettoyage{"FraIndelebile", {FRA, ENU}, {FRA}, IssueNettoyage::Terminer, {kEchecFra}, {FRA},
                                 {FRA, ENU}},
                    CasNettoyage{"EnuIndelebile", {FRA, ENU}, {ENU}, IssueNettoyage::Terminer, {kEchecEnu}, {FRA, ENU},
                                 {ENU}}),
    [](const testing::TestParamInfo<CasNettoyage>& cas) { return std::string(cas.param.nom); });

TEST(TraductionsQt, BoutonsEnFrancais) {
    QTranslator* traducteur = ChargerTraductionsQt(*QCoreApplication::instance());
    ASSERT_NE(traducteur, nullptr) << "qtbase_fr.qm introuvable";
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "&Yes"), QStringLiteral("&Oui"));
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "&No"), QStringLiteral("&Non"));
    delete traducteur;
}

class Relance : public LanceurTessaron {};

TEST_F(Relance, UnVieuxFichierEnuEstSupprimeEtLeProgrammeRelance) {
    {
        QFile ancien(Travail(QStringLiteral("Tessaron.ENU")));
        ASSERT_TRUE(ancien.open(QIODevice::WriteOnly));
    }
    QProcess& copie = Lancer();
    ASSERT_TRUE(AttendreFin(copie));
    EXPECT_EQ(copie.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(copie.exitCode(), 0) << Erreurs(copie).toStdString();
    EXPECT_FALSE(QFile::exists(Travail(QStringLiteral("Tessaron.ENU"))));
    EXPECT_TRUE(Erreurs(copie).contains(QStringLiteral("D'anciens fichiers ont été supprimés.\nTessaron va être fermé puis relancé")))
        << Erreurs(copie).toStdString();

    // La copie relancée prend le verrou du même dossier de données et continue de tourner.
    const qint64 relancee = AttendreVerrou();
    ASSERT_NE(relancee, 0) << "aucune copie relancée";
    Suivre(relancee);
    EXPECT_NE(relancee, copie.processId());
    const QFileInfo executable(QStringLiteral("/proc/%1/exe").arg(relancee));
    EXPECT_EQ(executable.symLinkTarget(), QFileInfo(QStringLiteral(TESSARON_EXECUTABLE)).canonicalFilePath());
}

} // namespace
