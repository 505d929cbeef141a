// Bloc d'en-tête d'un message : lecture des champs, lignes brutes, champ Cc et résumé décodé.
#include "moteur/entete/ConstruireMessage.h"
#include "moteur/entete/EnteteMessage.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Un en-tête réel : lignes pliées, mots codés, paramètres entre guillemets.
const std::string kEnteteReel =
    "Return-Path: <bounces+1234@liste.exemple.org>\r\n"
    "Received: from mx.exemple.org (mx.exemple.org [192.0.2.1])\r\n"
    "\tby pop.exemple.fr with ESMTP id 42\r\n"
    "\tfor <moi@exemple.fr>; Tue, 8 Jan 2008 10:20:31 +0100\r\n"
    "From: =?ISO-8859-1?Q?Ren=E9?= Dupont <Rene.Dupont@Exemple.ORG>\r\n"
    "To: \"Moi\" <moi@exemple.fr>,\r\n"
    " autre@exemple.fr\r\n"
    "Cc: Copie <copie@exemple.fr>,\r\n"
    "\tdeuxieme@exemple.fr\r\n"
    "Subject: =?ISO-8859-1?Q?R=E9union_de?=\r\n"
    " =?ISO-8859-1?Q?_l'=E9t=E9?=\r\n"
    "Date: Tue, 8 Jan 08 10:20:30 +0100 (CET)\r\n"
    "MIME-Version: 1.0\r\n"
    "Content-Type: multipart/alternative;\r\n"
    "\tboundary=\"----=_Part_1;charset=faux\";\r\n"
    "\tCharSet=\"ISO-8859-1\"\r\n"
    "Content-Transfer-Encoding: 8bit\r\n"
    "\r\n";

TEST(AnalyserEntete, EnteteReel) {
    const EnteteMessage entete = AnalyserEntete(kEnteteReel);
    EXPECT_EQ(entete.From, "=?ISO-8859-1?Q?Ren=E9?= Dupont <Rene.Dupont@Exemple.ORG>");
    EXPECT_EQ(entete.To, "\"Moi\" <moi@exemple.fr>, autre@exemple.fr");
    EXPECT_EQ(entete.Subject, "=?ISO-8859-1?Q?R=E9union_de?= =?ISO-8859-1?Q?_l'=E9t=E9?=");
    EXPECT_EQ(entete.Date, "Tue, 8 Jan 08 10:20:30 +0100 (CET)");
    EXPECT_EQ(entete.ReturnPath, "bounces+1234@liste.exemple.org");
    EXPECT_EQ(entete.TypeMedia, "multipart/alternative");
    EXPECT_EQ(entete.Charset, "ISO-8859-1");
    EXPECT_EQ(entete.EncodageTransfert, "8bit");
    ASSERT_EQ(entete.Lignes.size(), 17u);
    EXPECT_EQ(entete.Lignes[2], "\tby pop.exemple.fr with ESMTP id 42");
    EXPECT_EQ(entete.Lignes.back(), "Content-Transfer-Encoding: 8bit");
}

TEST(AnalyserEntete, LectureDesLignes) {
    // Noms sans casse, première occurrence gagnante (ses lignes de suite aussi), LF seul,
    // fin à la première ligne vide, dernière ligne sans fin de ligne.
    const EnteteMessage entete = AnalyserEntete(
        "SUBJECT:  premier \n"
        "subject: second\r\n"
        " suite du second\r\n"
        "Ligne sans deux-points\r\n"
        " suite orpheline\r\n"
        "from :\tMoi <moi@exemple.fr>\t\r\n"
        "\r\n"
        "To: dans le corps\r\n");
    EXPECT_EQ(entete.Subject, "premier");
    EXPECT_EQ(entete.From, "Moi <moi@exemple.fr>");
    EXPECT_EQ(entete.To, "");
    EXPECT_EQ(entete.Lignes.size(), 6u);

    EXPECT_EQ(AnalyserEntete("To: a@b").To, "a@b");
    EXPECT_EQ(AnalyserEntete("\r\nTo: a@b\r\n").Lignes.size(), 0u);
    EXPECT_EQ(AnalyserEntete("").Lignes.size(), 0u);
    EXPECT_EQ(AnalyserEntete("Subject: \xE9t\xE9 \xFF\r\n").Subject, "\xE9t\xE9 \xFF");
}

TEST(AnalyserEntete, ReturnPathEtContentType) {
    struct Cas {
        std::string ligne;
        std::string returnPath;
        std::string typeMedia;
        std::string charset;
    };
    const Cas cas[] = {
        {"Return-Path: <a@b.fr>", "a@b.fr", "", ""},
        {"Return-Path:   a@b.fr  ", "a@b.fr", "", ""},
        {"Return-Path: <>", "", "", ""},
        {"Return-Path: <<a@b.fr>>", "<a@b.fr>", "", ""},
        {"Return-Path: <a@b.fr", "<a@b.fr", "", ""},
        {"Content-Type: text/plain", "", "text/plain", ""},
        {"Content-Type: Text/Plain ; charset=utf-8 ; format=flowed", "", "Text/Plain", "utf-8"},
        {"Content-Type: text/html; CHARSET = \"windows-1252\"", "", "text/html", "windows-1252"},
        {"Content-Type: text/plain; charset=\"sans-fin", "", "text/plain", "sans-fin"},
        {"Content-Type: text/plain; charset=a; charset=b", "", "text/plain", "a"},
        {"Content-Type: text/plain; name=\"x\\\";charset=faux\"", "", "text/plain", ""},
        {"Content-Type: ; charset=us-ascii", "", "", "us-ascii"},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.ligne);
        const EnteteMessage entete = AnalyserEntete(c.ligne + "\r\n");
        EXPECT_EQ(entete.ReturnPath, c.returnPath);
        EXPECT_EQ(entete.TypeMedia, c.typeMedia);
        EXPECT_EQ(entete.Charset, c.charset);
    }
}

TEST(LireChampCc, Cas) {
    struct Cas {
        const char* quoi;
        std::vector<std::string> lignes;
        std::string attendu;
    };
    const Cas cas[] = {
        {"plié : première ligne seule", {"Cc: a@b.fr,", "\tc@d.fr"}, "a@b.fr,"},
        {"casse du nom ignorée, valeur gardée", {"To: x", "CC: A@B.fr"}, "A@B.fr"},
        {"sans espace après les deux-points", {"Cc:a@b.fr"}, ""},
        {"première ligne Cc gagnante", {"cC: un", "Cc: deux"}, "un"},
        {"Bcc ne compte pas", {"Bcc: a@b.fr"}, ""},
        {"valeur vide", {"Cc: "}, ""},
        {"aucune ligne", {}, ""},
        {"255 caractères au plus", {"Cc: " + std::string(300, 'x')}, std::string(255, 'x')},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.quoi);
        EXPECT_EQ(LireChampCc(c.lignes), c.attendu);
    }
}

TEST(ConstruireMessage, EnteteReel) {
    const structMessage message = ConstruireMessage(kEnteteReel, false);
    EXPECT_EQ(message.ExpediteurTeste, "Ren\xE9 Dupont <Rene.Dupont@Exemple.ORG>");
    EXPECT_EQ(message.AdresseExpediteur, "rene.dupont@exemple.org");
    EXPECT_EQ(message.SujetDecode, "R\xE9union de l'\xE9t\xE9");
    EXPECT_EQ(message.SujetTeste, "r\xE9union de l'\xE9t\xE9");
    EXPECT_EQ(message.ChampA, "\"Moi\" <moi@exemple.fr>, autre@exemple.fr");
    EXPECT_EQ(message.ChampCc, "Copie <copie@exemple.fr>,");
    EXPECT_EQ(message.DateAffichee, "08/01/2008 10:20:30");
    EXPECT_EQ(message.TypeContenu, "ISO-8859-1/multipart/alternative/8bit");
    EXPECT_TRUE(message.Multipart);
    EXPECT_EQ(message.Uidl, "");
    EXPECT_EQ(message.NumeroMsg, 0);
    EXPECT_EQ(message.Taille, 0);
}

TEST(ConstruireMessage, ExpediteurTeste) {
    struct Cas {
        const char* quoi;
        std::string entete;
        bool returnPath;
        std::string expediteur;
        std::string adresse;
    };
    const std::string from = "From: =?UTF-8?Q?=C3=89lodie?= <Elodie@Exemple.fr>\r\n";
    const Cas cas[] = {
        {"From choisi", from + "Return-Path: <rebond@liste.fr>\r\n", false, "\xC9lodie <Elodie@Exemple.fr>", "elodie@exemple.fr"},
        {"Return-Path choisi", from + "Return-Path: <Rebond@Liste.fr>\r\n", true, "Rebond@Liste.fr", "rebond@liste.fr"},
        {"Return-Path aux chevrons vides", from + "Return-Path: <>\r\n", true, "\xC9lodie <Elodie@Exemple.fr>", "elodie@exemple.fr"},
        {"Return-Path absent", from, true, "\xC9lodie <Elodie@Exemple.fr>", "elodie@exemple.fr"},
        // L'adresse est cherchée dans le Return-Path décodé, mais c'est la valeur brute qui est testée.
        {"Return-Path codé gardé tel quel",
         from + "Return-Path: =?ISO-8859-1?Q?r=40b.fr?=\r\n", true, "=?ISO-8859-1?Q?r=40b.fr?=", ""},
        {"From sans @", "From: Jean Dupont\r\n", false, "Jean Dupont", ""},
        {"pas de From", "Subject: x\r\n", false, "", ""},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.quoi);
        const structMessage message = ConstruireMessage(c.entete, c.returnPath);
        EXPECT_EQ(message.ExpediteurTeste, c.expediteur);
        EXPECT_EQ(message.AdresseExpediteur, c.adresse);
    }
}

TEST(ConstruireMessage, SujetTypeDeContenu) {
    struct Cas {
        std::string entete;
        std::string sujetDecode;
        std::string sujetTeste;
        std::string typeContenu;
        bool multipart;
    };
    const Cas cas[] = {
        {"Subject: =?utf-8?Q?=C3=89t=C3=A9?=\r\n", "\xC3\x89t\xC3\xA9", "\xE3\x89t\xE3\xA9", "//", false},
        {"Subject: =?windows-1252?Q?=8A=C9T=C9?=\r\nContent-Type: text/plain\r\n", "\x8A\xC9T\xC9", "\x9A\xE9t\xE9",
         "/text/plain/", false},
        {"Subject:\r\nContent-Type: Multipart/Mixed; boundary=x\r\nContent-Transfer-Encoding: 7bit\r\n", "", "",
         "/Multipart/Mixed/7bit", true},
        {"Content-Type: text/plain; charset=us-ascii\r\n", "", "", "us-ascii/text/plain/", false},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.entete);
        const structMessage message = ConstruireMessage(c.entete, false);
        EXPECT_EQ(message.SujetDecode, c.sujetDecode);
        EXPECT_EQ(message.SujetTeste, c.sujetTeste);
        EXPECT_EQ(message.TypeContenu, c.typeContenu);
        EXPECT_EQ(message.Multipart, c.multipart);
    }
}

// En-têtes énormes : un sujet plié sur des centaines de milliers de lignes et de mots codés,
// des centaines de milliers de lignes d'en-tête, une ligne d'un mégaoctet.
TEST(ConstruireMessage, EntetesEnormes) {
    constexpr std::size_t kLignes = 200'000;
    std::string sujetPlie = "Subject: =?ISO-8859-1?Q?=E9?=\r\n";
    std::string lignesNombreuses;
    for (std::size_t i = 1; i < kLignes; ++i) {
        sujetPlie += " =?ISO-8859-1?Q?=E9?=\r\n";
        lignesNombreuses += "X-Trace: " + std::to_string(i) + "\r\n";
    }
    EXPECT_EQ(ConstruireMessage(sujetPlie + "\r\n", false).SujetTeste, std::string(kLignes, '\xE9'));

    const structMessage message = ConstruireMessage(lignesNombreuses + "Cc: fin\r\nTo: " + std::string(1'000'000, 'a') + "\r\n", false);
    EXPECT_EQ(message.ChampCc, "fin");
    EXPECT_EQ(message.ChampA.size(), 1'000'000u);
}

} // namespace
