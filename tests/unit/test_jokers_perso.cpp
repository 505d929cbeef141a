// Jokers personnels : chargement, ajout, changement et retrait écrits aussitôt.
#include "donnees/FichierIni.h"
#include "donnees/JokersPerso.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class JokersPersoTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dossier_.isValid());
        chemin_ = dossier_.filePath(QStringLiteral("Tessaron.ini"));
    }
    void ecrire(const std::string& contenu) {
        QFile f(chemin_);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(contenu.data(), static_cast<qint64>(contenu.size()));
    }

    QTemporaryDir dossier_;
    QString chemin_;
};

TEST_F(JokersPersoTest, ChargementSauteLesValeursTropCourtes) {
    ecrire("[JokerPerso]\r\nvoyelles=\xA2,aeiouy\r\ncourt=\xA4,\r\nvide=\r\ndeux=\xA2,xyz\r\nsans virgule=\xA5;12\r\n");
    const FichierIni ini(chemin_);
    JokersPerso jokers;
    jokers.Charger(ini);

    ASSERT_EQ(jokers.Nombre(), 3);
    EXPECT_EQ(jokers.CaracteresJokersPerso(), "\xA2\xA2\xA5");
    EXPECT_EQ(jokers.Libelles(), (std::vector<std::string>{"voyelles", "deux", "sans virgule"}));
    EXPECT_EQ(jokers.ListeJokersPerso()[0].Caracteres, "aeiouy");
    EXPECT_EQ(jokers.ListeJokersPerso()[2].Caracteres, "12");
    // Deux jokers sur le même caractère : le premier sert.
    ASSERT_NE(jokers.JokerDe('\xA2'), nullptr);
    EXPECT_EQ(jokers.JokerDe('\xA2')->Caracteres, "aeiouy");
    EXPECT_EQ(jokers.JokerDe('x'), nullptr);
}

TEST_F(JokersPersoTest, AjoutChangementRetraitEcritsAussitot) {
    FichierIni ini(chemin_);
    JokersPerso jokers;
    ASSERT_TRUE(jokers.Ajouter(ini, "voyelles", '\xA2', "aeiou"));
    ASSERT_TRUE(jokers.Ajouter(ini, "chiffres", '\xA4', "0123"));
    ASSERT_TRUE(jokers.Ajouter(ini, "court", '\xA5', ""));  // accepté pendant l'exécution
    ASSERT_TRUE(jokers.ChangerCaracteres(ini, 0, "aeiouy"));
    ASSERT_TRUE(jokers.Retirer(ini, 1));
    EXPECT_EQ(jokers.CaracteresJokersPerso(), "\xA2\xA5");
    EXPECT_EQ(jokers.Libelles(), (std::vector<std::string>{"voyelles", "court"}));

    const FichierIni relu(chemin_);
    EXPECT_EQ(relu.LireTexte("JokerPerso", "voyelles", "?"), "\xA2,aeiouy");
    EXPECT_TRUE(relu.SectionExiste("JokerPerso"));
    const auto cles = relu.Cles("JokerPerso");
    EXPECT_NE(std::find(cles.begin(), cles.end(), "chiffres"), cles.end()) << "la clé retirée reste, vide";
    EXPECT_EQ(relu.LireTexte("JokerPerso", "chiffres", "?"), "");

    JokersPerso recharges;
    recharges.Charger(relu);
    EXPECT_EQ(recharges.CaracteresJokersPerso(), "\xA2") << "le retiré et le trop court ne reviennent pas";

    // Un nouveau joker sous le libellé retiré remplace la clé vide.
    ASSERT_TRUE(jokers.Ajouter(ini, "chiffres", '\xA9', "789"));
    EXPECT_EQ(FichierIni(chemin_).LireTexte("JokerPerso", "chiffres", "?"), "\xA9,789");
}

TEST(JokersPerso, LibellesRefuses) {
    const struct {
        const char* libelle;
        bool refuse;
    } cas[] = {{"voyelles", false}, {"a=b", true}, {";commentaire", true}, {"[section", true},
               {"", true},          {"deux\nlignes", true}, {"ok;milieu", false}};
    for (const auto& c : cas) EXPECT_EQ(!JokersPerso::RefusLibelle(c.libelle).empty(), c.refuse) << c.libelle;
}

} // namespace
