// Adresse nue d'un champ d'expéditeur, domaine et partie locale.
#include "moteur/entete/Adresses.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Cas {
    const char* quoi;
    std::string entree;
    std::string attendu;
};

TEST(ExtraireAdresse, Cas) {
    const Cas cas[] = {
        {"nom affiché et chevrons, capitales", "Jean Dupont <Jean.Dupont@Exemple.COM>", "jean.dupont@exemple.com"},
        {"nom entre guillemets avec virgule", "\"Dupont, Jean\" <jd@exemple.fr>", "jd@exemple.fr"},
        {"adresse seule", "jd@exemple.fr", "jd@exemple.fr"},
        {"chevrons seuls", "<jd@exemple.fr>", "jd@exemple.fr"},
        {"le + arrête la partie locale", "toto+liste@exemple.fr", "liste@exemple.fr"},
        {"sans @", "Jean Dupont", ""},
        {"@ en première position", "@exemple.fr", ""},
        {"@ en deuxième position", "a@exemple.fr", "a@exemple.fr"},
        {"chevrons vides", "<>", ""},
        {"le dernier @ compte", "x@y@exemple.fr", "y@exemple.fr"},
        {"@ dans le nom affiché", "\"jd@maison\" <jd@travail.fr>", "jd@travail.fr"},
        {"guillemets gardés à gauche seulement", "\"jd\"@exemple.fr", "\"jd\"@exemple.fr"},
        {"tirets, points, soulignés", "Le_Nom-X.Y@sous-domaine.exemple_1.fr", "le_nom-x.y@sous-domaine.exemple_1.fr"},
        {"lettre accentuée : arrêt", "\xC9lodie <\xC9lodie@exemple.fr>", "lodie@exemple.fr"},
        {"domaine vide", "Jean <jd@>", "jd@"},
        {"255 caractères au plus retirés", "jd@exemple.fr>" + std::string(300, 'x'), "jd@exemple.fr" + std::string(46, 'x')},
        {"exactement 255 retirés", "jd@exemple.fr>" + std::string(254, 'x'), "jd@exemple.fr"},
        {"la fin gardée garde ses capitales abaissées", "a@b " + std::string(254, 'x') + "FIN", "a@bfin"},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.quoi);
        EXPECT_EQ(ExtraireAdresse(c.entree), c.attendu);
    }
}

// Des @ par milliers, un texte énorme : un seul passage.
TEST(ExtraireAdresse, TextesEnormes) {
    EXPECT_EQ(ExtraireAdresse(std::string(1'000'000, '@')), "@");
    std::string arobases;
    for (int i = 0; i < 200'000; ++i) arobases += "a@";
    EXPECT_EQ(ExtraireAdresse(arobases + "b.fr"), "a@b.fr");
    EXPECT_EQ(ExtraireAdresse("a@b " + std::string(1'000'000, 'c')), "a@b" + std::string(1'000'000 - 254, 'c'));
}

TEST(DomaineEtPartieLocale, Cas) {
    struct Moities {
        std::string adresse;
        std::string domaine;
        std::string locale;
    };
    const Moities cas[] = {
        {"jd@exemple.fr", "exemple.fr", "jd"},
        {"sans-arobase", "sans-arobase", ""},
        {"a@b@c", "b@c", "a"},
        {"@exemple.fr", "exemple.fr", ""},
        {"jd@", "", "jd"},
        {"", "", ""},
    };
    for (const Moities& c : cas) {
        SCOPED_TRACE(c.adresse);
        EXPECT_EQ(DomaineAdresse(c.adresse), c.domaine);
        EXPECT_EQ(PartieLocale(c.adresse), c.locale);
    }
}

} // namespace
