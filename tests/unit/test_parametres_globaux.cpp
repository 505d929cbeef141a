// Réglages globaux : défauts, règles de lecture, enregistrement de sortie dans son ordre.
#include "donnees/FichierIni.h"
#include "donnees/ParametresGlobaux.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class ParametresGlobauxTest : public ::testing::Test {
protected:
    FichierIni& fichier(const std::string& contenu) {
        EXPECT_TRUE(dossier_.isValid());
        const QString chemin = dossier_.filePath(QStringLiteral("Tessaron.ini"));
        QFile f(chemin);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(contenu.data(), static_cast<qint64>(contenu.size()));
        f.close();
        ini_ = std::make_unique<FichierIni>(chemin);
        return *ini_;
    }
    std::string contenu() const {
        QFile f(ini_->chemin());
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        return f.readAll().toStdString();
    }

    QTemporaryDir dossier_;
    std::unique_ptr<FichierIni> ini_;
};

TEST_F(ParametresGlobauxTest, SansFichierTousLesDefauts) {
    const FichierIni absent(dossier_.filePath(QStringLiteral("absent.ini")));
    const ParametresGlobaux p = LireParametresGlobaux(absent);
    EXPECT_EQ(p.Left, 10);
    EXPECT_EQ(p.Top, 10);
    EXPECT_EQ(p.Width, 640);
    EXPECT_EQ(p.Height, 478);
    EXPECT_TRUE(p.FiltresActifs);
    EXPECT_TRUE(p.Son);
    EXPECT_TRUE(p.RecenseDemar);
    EXPECT_FALSE(p.TestInternet);
    EXPECT_EQ(p.CouleurListes, 0xFF000005u);
    EXPECT_EQ(p.ListeConsonnes, kListeConsonnesDefaut);
    EXPECT_EQ(p.ListeAlphaNum, kListeAlphaNumDefaut);
    EXPECT_EQ(p.ListeJokers, kListeJokersDefaut);
    EXPECT_EQ(p.FromReturnPath, 1);
    EXPECT_EQ(p.NbFicSauv, 5);
    EXPECT_EQ(p.SMTPId, "identifiant");
    EXPECT_EQ(p.SpamTexte, SpamTexteDefaut());
    EXPECT_EQ(std::count(p.SpamTexte.begin(), p.SpamTexte.end(), '\n'), 5);
    for (int largeur : p.Col) EXPECT_EQ(largeur, -1);
}

TEST_F(ParametresGlobauxTest, ReglesDeLecture) {
    const ParametresGlobaux p = LireParametresGlobaux(fichier(
        "[Tessaron]\r\nTop=-30\r\nLeft=-1\r\nListeConsonnes=BCD\r\nListeAlphaNum=\r\nCouleurListes=255\r\n"
        "SpamTexte=un\xB6\xB6" "deux\xB6\xB6trois\r\nNbHisto=abc\r\nCol7=80\r\nSon=0\r\nFichierSon=/absent.wav\r\n"
        "SMTPMdP=.secret\r\nProtege=\r\n"));
    EXPECT_EQ(p.Top, 0);
    EXPECT_EQ(p.Left, 0);
    EXPECT_EQ(p.ListeConsonnes, "bcd");
    EXPECT_EQ(p.ListeAlphaNum, kListeAlphaNumDefaut);
    EXPECT_EQ(p.CouleurListes, 255u);
    EXPECT_EQ(p.SpamTexte, "un\r\ndeux\r\ntrois");
    EXPECT_EQ(p.NbHisto, 500);
    EXPECT_EQ(p.Col[7], 80);
    EXPECT_FALSE(p.Son);
    EXPECT_EQ(p.SMTPMdP, "secret");
    EXPECT_EQ(p.Protege, "");

    ParametresGlobaux sons = p;
    sons.SonAmi = "/present.wav";
    OublierSonsAbsents(sons, [](const std::string& chemin) { return chemin == "/present.wav"; });
    EXPECT_EQ(sons.FichierSon, "");
    EXPECT_EQ(sons.SonAmi, "/present.wav");
}

TEST_F(ParametresGlobauxTest, EnregistrementDeSortieDansLOrdre) {
    FichierIni& ini = fichier("[Perso]\r\nPop3ID=moi\r\n");
    ParametresGlobaux p;
    p.Top = 25;
    p.ListeConsonnes = "xyz";
    ASSERT_TRUE(SauverParametresGlobaux(ini, p, "Tessaron V 3.9.1.11"));

    const std::string texte = contenu();
    const std::vector<std::string> ordre = {
        "Version=Tessaron V 3.9.1.11", "TestInternet=0", "RecenseDemar=1", "IconeListeBlanche=0",
        "AlerteVisuelleRejet=1", "HistoriseSuppression=1", "VerifVersionDemar=1", "AfficheAmis=0",
        "NbFicSauv=5", "DelaiRejeterGarder=30", "RejetInex=0", "ConditionsRejetInex=0", "AvantRejetInex=0",
        "IPDns=", "Son=1", "NbHisto=500", "HistoNbLigSav=1", "NbHistoDate=15", "HistoDateSav=1",
        "PleinEcran=0", "Top=25", "Left=10", "Width=640", "Height=478", "ListeConsonnes=xyz", "ListeAlphaNum=",
        "Col0=-1", "Col9=-1", "Col10=-1", "Col17=-1", "HauteurBoites=138", "SujetVide=3", "DestAVide=3",
        "DestPasArobase=3", "ExpEtSujetDetruire=0", "FromReturnPath=1", "ColHist0=0", "ColHist5=0",
        "FiltresActifs=1"};
    std::size_t position = texte.find("[Tessaron]");
    ASSERT_NE(position, std::string::npos);
    for (const std::string& attendu : ordre) {
        const std::size_t trouve = texte.find("\r\n" + attendu, position);
        ASSERT_NE(trouve, std::string::npos) << attendu << " absent ou hors d'ordre dans\n" << texte;
        position = trouve + 1;
    }
    EXPECT_EQ(texte.rfind("[Perso]\r\nPop3ID=moi\r\n", 0), 0u) << "les sections des boîtes restent en tête";

    // Relu, il redonne les mêmes valeurs.
    const ParametresGlobaux relu = LireParametresGlobaux(ini);
    EXPECT_EQ(relu.Top, 25);
    EXPECT_EQ(relu.ListeConsonnes, "xyz");
    EXPECT_EQ(relu.Version, "Tessaron V 3.9.1.11");
}

} // namespace
