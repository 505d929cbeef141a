// Brouillage des mots de passe et lettres de type de rejet.
#include "donnees/MotDePasse.h"
#include "donnees/TypeRejet.h"

#include <gtest/gtest.h>

TEST(MotDePasse, BrouillerPuisDebrouillerRendLeTexteSurTousLesOctets) {
    std::string tous;
    for (int o = 0; o < 256; ++o) tous.push_back(static_cast<char>(o));
    for (std::size_t longueur : {1u, 2u, 7u, 255u, 256u}) {
        const std::string texte = tous.substr(256 - longueur) ;
        const std::string brouille = BrouillePasse(texte);
        ASSERT_EQ(brouille.size(), texte.size());
        if (brouille[0] == '.') continue;  // un "." en tête se lit comme un mot de passe en clair
        EXPECT_EQ(DebrouillePasse(brouille), texte) << "longueur " << longueur;
    }
}

TEST(MotDePasse, ValeursConnues) {
    // "ab" : L = 2 ; 'a' (0x61) ^ 0x80 = 0xE1, - 2 = 0xDF ; 'b' (0x62) ^ 0x80 = 0xE2, - 3 = 0xDF.
    EXPECT_EQ(BrouillePasse("ab"), std::string("\xDF\xDF"));
    EXPECT_EQ(DebrouillePasse(std::string("\xDF\xDF")), "ab");
    EXPECT_EQ(DebrouillePasse(""), "");
}

TEST(MotDePasse, PointEnTeteDonneLeMotDePasseEnClair) {
    EXPECT_EQ(DebrouillePasse(".secret"), "secret");
    EXPECT_EQ(DebrouillePasse("."), "");
    EXPECT_EQ(DebrouillePasse("." + std::string(300, 'x')), std::string(255, 'x'));
}

TEST(MotDePasse, MasqueEstSonPropreInverse) {
    const std::string demarrage = "clé";
    for (const std::string texte : {"", "a", "abc", "motdepasse long", "\x80\xff\x01"}) {
        const std::string masque = MasquePasse(texte, demarrage);
        EXPECT_EQ(MasquePasse(masque, demarrage), texte);
        if (texte.size() > demarrage.size()) {
            EXPECT_EQ(masque.substr(demarrage.size()), texte.substr(demarrage.size()));
        }
    }
    EXPECT_EQ(MasquePasse("abc", ""), "abc");
}

TEST(TypeRejet, LettresEtIndex) {
    const struct { std::string lettre; int index; } cas[] = {
        {"R", 0}, {"d", 1}, {"g", 2}, {"c", 3}, {" ", 4}, {"x", 2}, {"r", 2}, {"", 2}};
    for (const auto& c : cas) EXPECT_EQ(IndexTypeRejet(c.lettre), c.index) << "'" << c.lettre << "'";
    EXPECT_EQ(LettreTypeRejet(0), "R");
    EXPECT_EQ(LettreTypeRejet(2), "g");
    EXPECT_EQ(LettreTypeRejet(4), " ");
    EXPECT_EQ(LettreTypeRejet(7), "g");
    EXPECT_EQ(LettreTypeRejet(-1), "g");
}
