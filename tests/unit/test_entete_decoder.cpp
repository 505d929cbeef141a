// Décodage des mots codés d'une valeur d'en-tête : Q, B, jonction des mots voisins,
// conversion UTF-8, mots coupés court et textes énormes.
#include "moteur/entete/DecoderTexteEntete.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Cas {
    const char* quoi;
    std::string entree;
    std::string attendu;
};

void verifier(const Cas* debut, const Cas* fin) {
    for (const Cas* c = debut; c != fin; ++c) {
        SCOPED_TRACE(c->quoi);
        EXPECT_EQ(DecoderTexteEntete(c->entree), c->attendu);
    }
}

template <std::size_t N>
void verifier(const Cas (&cas)[N]) { verifier(cas, cas + N); }

TEST(DecoderTexteEntete, TexteSansMotCode) {
    const Cas cas[] = {
        {"vide", "", ""},
        {"simple", "Bonjour", "Bonjour"},
        {"espaces de tête ôtées", "   Bonjour", "Bonjour"},
        {"deux espaces -> une", "a  b", "a b"},
        {"réduction par paires", "a   b    c", "a  b  c"},
        {"octets hauts bruts gardés", "Caf\xE9 cr\xE8me", "Caf\xE9 cr\xE8me"},
        {"point d'interrogation seul", "Vraiment ? Oui", "Vraiment ? Oui"},
    };
    verifier(cas);
}

TEST(DecoderTexteEntete, MotsCodesQ) {
    const Cas cas[] = {
        {"é et soulignement", "=?ISO-8859-1?Q?caf=E9_cr=E8me?=", "caf\xE9 cr\xE8me"},
        {"jeu et lettre en minuscules, hexa minuscule", "=?iso-8859-1?q?caf=e9?=", "caf\xE9"},
        {"le texte codé garde sa casse", "=?iso-8859-1?q?AbC?=", "AbC"},
        {"texte avant et après", "Re: =?ISO-8859-1?Q?Caf=E9?= du matin", "Re: Caf\xE9 du matin"},
        {"paire non hexadécimale", "=?ISO-8859-1?Q?a=ZZb=4Gc?=", "a#b#c"},
        {"= sans deux caractères derrière", "=?ISO-8859-1?Q?a=4?=", "a=4"},
        {"=5F devient aussi une espace", "=?ISO-8859-1?Q?a=5Fb?=", "a b"},
        {"ISO-8859-15 : octets tels quels", "=?ISO-8859-15?Q?=A4_=BD?=", "\xA4 \xBD"},
        {"Windows-1252 : octets tels quels", "=?windows-1252?Q?=80_=9C?=", "\x80 \x9C"},
        {"jeu inconnu : octets tels quels", "=?x-inconnu?Q?=E9?=", "\xE9"},
        {"lettre inconnue : texte inchangé", "=?ISO-8859-1?X?a=E9_b?=", "a=E9_b"},
        {"mot vide", "a=?ISO-8859-1?Q?" "?=b", "ab"},
    };
    verifier(cas);
}

TEST(DecoderTexteEntete, MotsCodesB) {
    const Cas cas[] = {
        {"complet", "=?ISO-8859-1?B?Q2Fm6Q==?=", "Caf\xE9"},
        {"lettre en minuscule", "=?iso-8859-1?b?Q2Fm6Q==?=", "Caf\xE9"},
        {"sans remplissage", "=?ISO-8859-1?B?QQ?=", "A"},
        {"caractères invalides sautés", "=?ISO-8859-1?B?QU*J.D?=", "ABC"},
        {"un = clôt le groupe", "=?ISO-8859-1?B?QQ==QQ==?=", "AA"},
        {"rien de décodable", "=?ISO-8859-1?B?!!!?=", ""},
        {"un seul caractère", "=?ISO-8859-1?B?Q?=", ""},
    };
    verifier(cas);
}

TEST(DecoderTexteEntete, MotsVoisinsJoints) {
    const Cas cas[] = {
        {"séparés par un saut de ligne", "=?ISO-8859-1?Q?Bon?=\r\n =?ISO-8859-1?Q?jour?=", "Bonjour"},
        {"séparés par une tabulation (ligne dépliée)", "=?ISO-8859-1?Q?Bon?=\t=?ISO-8859-1?Q?jour?=", "Bonjour"},
        {"séparés par des espaces", "=?ISO-8859-1?Q?a?=   =?ISO-8859-1?B?Yg==?=", "ab"},
        {"des = et ? dans la séparation", "=?ISO-8859-1?Q?a?=?= =?ISO-8859-1?Q?b?=", "ab"},
        {"un mot du texte garde les espaces", "=?ISO-8859-1?Q?a?= et =?ISO-8859-1?Q?b?=", "a et b"},
        {"séparation sans mot derrière", "=?ISO-8859-1?Q?a?= = b", "a = b"},
        {"trois mots", "=?UTF-8?B?w6l0?= =?UTF-8?Q?=C3=A9?= =?UTF-8?B?ISE=?=", "\xE9t\xE9!!"},
        // Le "=" de remplissage d'un mot B, collé à son "?=", n'ouvre pas de nouveau mot : les
        // mots voisins se joignent et le texte qui suit garde sa casse.
        {"remplissage Base64 collé au ?=, mots joints", "=?UTF-8?B?w6k=?= =?UTF-8?Q?t=C3=A9?=", "\xE9t\xE9"},
        {"texte derrière un remplissage inchangé", "=?ISO-8859-1?B?6Q==?= <a@b.fr>", "\xE9 <a@b.fr>"},
    };
    verifier(cas);
}

TEST(DecoderTexteEntete, ConversionUtf8SeulementSurUtf8EnCapitales) {
    const Cas cas[] = {
        {"UTF-8 en capitales : converti", "=?UTF-8?B?w6l0w6k=?=", "\xE9t\xE9"},
        {"utf-8 en minuscules : décodé, pas converti", "=?utf-8?B?w6l0w6k=?=", "\xC3\xA9t\xC3\xA9"},
        {"Utf-8 mélangé : pas converti", "=?Utf-8?Q?=C3=A9?=", "\xC3\xA9"},
        {"euro", "=?UTF-8?Q?=E2=82=AC_50?=", "\x80 50"},
        {"hors Windows-1252", "=?UTF-8?B?5Lit?=", "?"},
        {"un seul UTF-8 en capitales convertit tout",
         "=?utf-8?Q?=C3=A9?= =?UTF-8?Q?=C3=A8?=", "\xE9\xE8"},
        {"UTF-8 dans le texte clair convertit aussi le reste", "R\xE9sum\xE9 UTF-8", "R?sum? UTF-8"},
    };
    verifier(cas);
}

TEST(DecoderTexteEntete, MotsIncompletsOuCoupesCourt) {
    const Cas cas[] = {
        {"sans ?= : le reste passe tel quel", "=?ISO-8859-1?Q?abc", "abc"},
        {"sans ?= après du texte", "Avant =?ISO-8859-1?Q?caf=E9", "Avant caf=E9"},
        {"sans ?= : le ?= du mot suivant le ferme", "=?ISO-8859-1?Q?a =?ISO-8859-1?Q?=41?=", "a #SO-8859-1?Q41?="},
        {"sans lettre : le reste après =? seul", "Avant =?iso-8859-1", "ISO-8859-1"},
        {"lettre sans ? derrière", "Avant =?iso-8859-1?q", "ISO-8859-1?Q"},
        {"=? en fin de texte", "Prix =?", ""},
        {"ce qui était décodé est perdu", "=?ISO-8859-1?Q?=41?= puis =?abc", "ABC"},
        {"reste non converti malgré UTF-8", "=?UTF-8?Q?=C3=A9?= =?UTF-8", "UTF-8"},
    };
    verifier(cas);
}

// Textes énormes : un traitement qui recopierait le reste du texte à chaque mot prendrait des
// minutes ; ceux-ci doivent passer en un instant.
TEST(DecoderTexteEntete, TextesEnormes) {
    constexpr std::size_t kMots = 200'000;
    std::string motsComplets;
    std::string motsSansFin;
    for (std::size_t i = 0; i < kMots; ++i) {
        motsComplets += "=?ISO-8859-1?Q?=41?= ";
        motsSansFin += "=?a?Q?b";
    }
    EXPECT_EQ(DecoderTexteEntete(motsComplets), std::string(kMots, 'A') + " ");
    EXPECT_EQ(DecoderTexteEntete(motsSansFin), std::string(kMots, 'b'));

    std::string finsSansDebut;
    for (std::size_t i = 0; i < kMots; ++i) finsSansDebut += "?= ";
    EXPECT_EQ(DecoderTexteEntete(finsSansDebut + "x"), finsSansDebut + "x");

    EXPECT_EQ(DecoderTexteEntete(std::string(1'000'000, ' ') + "x"), "x");
    EXPECT_EQ(DecoderTexteEntete("x" + std::string(1'000'000, ' ')), "x" + std::string(500'000, ' '));

    const std::string base64 = "=?UTF-8?B?" + std::string(1'000'000, 'Q') + "?=";
    EXPECT_EQ(DecoderTexteEntete(base64).size(), 750'000u);
}

} // namespace
