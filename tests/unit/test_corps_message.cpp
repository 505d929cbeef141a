// Décodage du début du corps d'un message pour la visionneuse : codages de transfert, jeux de
// caractères, choix de la partie d'un multipart, messages invalides, coupés ou démesurés.
#include "moteur/mime/CorpsMessage.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Lignes = std::vector<std::string>;

// Un message : en-têtes (sans leur fin de ligne) puis corps, lignes terminées par CR LF.
std::string message(const Lignes& entetes, const std::string& corps) {
    std::string texte;
    for (const auto& e : entetes) texte += e + "\r\n";
    return texte + "\r\n" + corps;
}

std::string texteBrut(const char* jeu, const char* codage = "8bit") {
    return std::string("Content-Type: text/plain; charset=") + jeu + "\r\nContent-Transfer-Encoding: " + codage;
}

// Un multipart dont chaque partie est donnée par ses en-têtes et son corps. La fin de ligne qui
// précède une frontière appartient à la frontière : la dernière ligne d'une partie n'en a pas.
std::string multipart(const char* sousType, const std::vector<std::pair<std::string, std::string>>& parties,
                      bool fermer = true) {
    std::string corps = "Ceci est un message MIME.\r\n";
    for (const auto& [entetes, contenu] : parties) corps += "--FRONTIERE\r\n" + entetes + "\r\n\r\n" + contenu;
    if (fermer) corps += "--FRONTIERE--\r\n";
    return message({"MIME-Version: 1.0",
                    std::string("Content-Type: multipart/") + sousType + "; boundary=\"FRONTIERE\""},
                   corps);
}

struct Cas {
    const char* quoi;
    std::string brut;
    Lignes attendu;  // lignes de DecoderCorps
    std::string jeuParDefaut = {};
};

TEST(CorpsMessage, CodagesEtJeuxDeCaracteres) {
    const Cas cas[] = {
        {"quoted-printable Windows-1252, coupure douce, ligne vide gardée",
         message({texteBrut("windows-1252", "quoted-printable")},
                 "Caf=E9 cr=E8me, tr=\r\nop long =3D 1 =80\r\n\r\nFin\r\n"),
         {"Caf\xE9 cr\xE8me, trop long = 1 \x80\r\n", "\r\n", "Fin\r\n"}},
        {"Base64 UTF-8, fins de ligne LF seules",
         message({texteBrut("utf-8", "base64")}, "w4l0w6kKw6AgYmllbnTDtHQK\r\n"),  // "Été\nà bientôt\n"
         {"\xC9t\xE9\r\n", "\xE0 bient\xF4t\r\n"}},
        {"Base64 sur plusieurs lignes, CR LF dans le texte décodé",
         message({texteBrut("us-ascii", "base64")}, "dW4NCmRl\r\ndXgNCg==\r\n"),  // "un\r\ndeux\r\n"
         {"un\r\n", "deux\r\n"}},
        {"UTF-8 en 8 bits : euro converti, flèche sans équivalent, séquence invalide",
         message({texteBrut("UTF-8")}, "10 \xE2\x82\xAC \xE2\x86\x92 fin \xC3\r\n"),
         {"10 \x80 ? fin ?\r\n"}},
        {"ISO-8859-1 : octets gardés", message({texteBrut("iso-8859-1")}, "\xE9t\xE9 \xA0\r\n"),
         {"\xE9t\xE9 \xA0\r\n"}},
        {"ISO-8859-15 : l'euro passe par iconv", message({texteBrut("ISO-8859-15")}, "\xA4 \xBD\r\n"),
         {"\x80 \x9C\r\n"}},
        {"jeu entre guillemets, en capitales",
         message({"Content-Type: text/plain; charset=\"UTF-8\""}, "\xC3\xA0\r\n"), {"\xE0\r\n"}},
        {"sans jeu déclaré : octets gardés", message({"Content-Type: text/plain"}, "\xC3\xA9t\xE9\r\n"),
         {"\xC3\xA9t\xE9\r\n"}},
        {"sans jeu déclaré, jeu par défaut UTF-8", message({"Content-Type: text/plain"}, "\xC3\xA9t\xC3\xA9\r\n"),
         {"\xE9t\xE9\r\n"}, "UTF-8"},
        {"jeu déclaré plus fort que le jeu par défaut", message({texteBrut("windows-1252")}, "\xE9\r\n"),
         {"\xE9\r\n"}, "UTF-8"},
        {"jeu inconnu : octets gardés", message({texteBrut("x-inconnu")}, "\xE9\xC3\xA9\r\n"),
         {"\xE9\xC3\xA9\r\n"}},
        {"sans Content-Type du tout", message({"Subject: essai"}, "Bonjour\r\n\r\n\r\nFin"),
         {"Bonjour\r\n", "\r\n", "\r\n", "Fin"}},
        {"codage de transfert inconnu : texte tel quel", message({texteBrut("us-ascii", "x-zip")}, "abc=E9\r\n"),
         {"abc=E9\r\n"}},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.quoi);
        EXPECT_EQ(DecoderCorps(c.brut, c.jeuParDefaut), c.attendu);
    }
}

TEST(CorpsMessage, ChoixDeLaPartieDUnMultipart) {
    const std::string html = "Content-Type: text/html; charset=us-ascii";
    const std::string plain = "Content-Type: text/plain; charset=iso-8859-1\r\nContent-Transfer-Encoding: quoted-printable";
    const std::string joint = "Content-Type: text/plain; name=\"a.txt\"\r\nContent-Disposition: attachment; filename=\"a.txt\"";
    const std::string pdf = "Content-Type: application/pdf\r\nContent-Transfer-Encoding: base64";
    const Cas cas[] = {
        {"text/plain préféré au text/html qui le précède",
         multipart("alternative", {{html, "<p>HTML</p>\r\n"}, {plain, "Texte d'=E9t=E9\r\n"}}),
         {"Texte d'\xE9t\xE9"}},
        {"alternative imbriquée dans mixed, après une pièce jointe texte",
         multipart("mixed", {{joint, "joint\r\n"},
                             {"Content-Type: multipart/alternative; boundary=\"INTERNE\"",
                              "--INTERNE\r\n" + html + "\r\n\r\n<b>x</b>\r\n--INTERNE\r\n" + plain +
                                  "\r\n\r\nle texte\r\n--INTERNE--\r\n"}}),
         {"le texte"}},
        {"html seul : montré comme du texte", multipart("mixed", {{pdf, "JVBERi0=\r\n"}, {html, "<p>\r\nSalut</p>\r\n"}}),
         {"<p>\r\n", "Salut</p>"}},
        {"aucune partie texte : rien", multipart("mixed", {{pdf, "JVBERi0=\r\n"}, {joint, "joint\r\n"}}), {}},
        {"coupé avant la fin de la partie, sans frontière finale",
         multipart("mixed", {{plain, "d=E9but\r\nsuite\r\n"}}, false), {"d\xE9" "but\r\n", "suite\r\n"}},
        {"coupé dans l'en-tête de la première partie",
         message({"MIME-Version: 1.0", "Content-Type: multipart/mixed; boundary=\"F\""},
                 "pr\xE9" "ambule\r\n--F\r\nContent-Type: text/pl"),
         {}},
        {"message joint seul : sa partie texte",
         message({"Content-Type: message/rfc822"}, "Subject: joint\r\n" + plain + "\r\n\r\nint=E9rieur\r\n"),
         {"int\xE9rieur\r\n"}},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.quoi);
        EXPECT_EQ(DecoderCorps(c.brut), c.attendu);
    }
}

TEST(CorpsMessage, MessagesCoupesOuInvalides) {
    const Cas cas[] = {
        {"Base64 coupé au milieu d'un groupe : ce qui est complet",
         message({texteBrut("us-ascii", "base64")}, "QUJDREVGR"), {"ABCDEF"}},
        {"Base64 avec des caractères hors alphabet", message({texteBrut("us-ascii", "base64")}, "QU*JD!\r\nRA==\r\n"),
         {"ABCD"}},
        {"quoted-printable coupé après un =", message({texteBrut("us-ascii", "quoted-printable")}, "a=E"), {"a"}},
        {"UTF-8 coupé au milieu d'un caractère", message({texteBrut("utf-8")}, "abc\xE2\x82"), {"abc?"}},
        {"ISO-8859-15 coupé : pas de reste", message({texteBrut("iso-8859-15")}, "x"), {"x"}},
        {"en-tête seul, sans ligne vide", "From: a@b\r\nSubject: s\r\n", {}},
        {"texte vide", "", {}},
        {"multipart sans frontière déclarée",
         message({"Content-Type: multipart/mixed"}, "--X\r\nContent-Type: text/plain\r\n\r\ncorps\r\n--X--\r\n"), {}},
        {"en-tête sans deux-points, suivi du corps", "n'importe quoi\r\n\r\ncorps\r\n", {"corps\r\n"}},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.quoi);
        EXPECT_EQ(DecoderCorps(c.brut), c.attendu);
    }
}

// Ce qui ne se prête pas à une table : tailles et imbrications démesurées, octets quelconques.
TEST(CorpsMessage, TextesDemesuresSansPlantage) {
    const std::string longue(100 * 1024, 'a');
    EXPECT_EQ(DecoderCorps(message({texteBrut("utf-8")}, longue + "\r\nfin\r\n")), (Lignes{longue + "\r\n", "fin\r\n"}));

    std::string base64;
    for (int i = 0; i < 100 * 1024 / 4; ++i) base64 += "YWFh";  // "aaa"
    const Lignes decode = DecoderCorps(message({texteBrut("utf-8", "base64")}, base64 + "\r\n"));
    ASSERT_EQ(decode.size(), 1u);
    EXPECT_EQ(decode[0], std::string(100 * 1024 / 4 * 3, 'a'));

    // Mille multiparts imbriqués : la recherche s'arrête en profondeur sans rien trouver.
    std::string imbrique = "MIME-Version: 1.0\r\n";
    for (int i = 0; i < 1000; ++i)
        imbrique += "Content-Type: multipart/mixed; boundary=\"F" + std::to_string(i) + "\"\r\n\r\n--F" +
                    std::to_string(i) + "\r\n";
    imbrique += "Content-Type: text/plain\r\n\r\nau fond\r\n";
    EXPECT_TRUE(DecoderCorps(imbrique).empty());

    // Tous les octets, dans tous les ordres de CR et LF.
    std::string octets;
    for (int i = 0; i < 4096; ++i) octets += static_cast<char>((i * 37 + i / 256) & 0xFF);
    EXPECT_NO_FATAL_FAILURE(DecoderCorps(octets));
    EXPECT_NO_FATAL_FAILURE(DecoderCorps(message({texteBrut("utf-16", "base64")}, "////\r\n" + octets)));
}

TEST(CorpsMessage, LignesVisionneuse) {
    const Lignes entree = {"", "\r\n", "abc\r\n", "sans fin", "a\r\nb\r\n", " \r\n", "\r", "\n", "\r\n\r\n"};
    const Lignes attendu = {"abc", "sans fin", "ab\r\n", " ", "\r", "\n", "\r\n"};
    EXPECT_EQ(LignesVisionneuse(entree), attendu);
}

} // namespace
