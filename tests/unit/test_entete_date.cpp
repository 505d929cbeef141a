// Date d'en-tête mise en forme pour l'affichage, et dates inutilisables.
#include "moteur/entete/DateEntete.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Cas {
    const char* quoi;
    std::string entree;
    std::string attendu;
};

TEST(FormaterDateEntete, DatesLisibles) {
    const Cas cas[] = {
        {"forme habituelle", "Tue, 08 Jan 2008 10:20:30 +0100", "08/01/2008 10:20:30"},
        {"année sur deux chiffres et fuseau", "Tue, 8 Jan 08 10:20:30 +0100 (CET)", "08/01/2008 10:20:30"},
        {"sans jour de la semaine, mois en minuscules", "8 jan 2008 10:20:30", "08/01/2008 10:20:30"},
        {"mois en capitales, espaces en trop", "Tue,   8  DEC   2008  23:59", "08/12/2008 23:59"},
        {"heure arrêtée à la virgule", "Tue, 1 Jan 2008 10:20:30,suite", "01/01/2008 10:20:30"},
        {"heure prise telle qu'elle est écrite", "1 Jan 2008 n'importe", "01/01/2008 n'importe"},
        {"29 février bissextile", "Fri, 29 Feb 2008 00:00:00", "29/02/2008 00:00:00"},
        {"29 février 2000", "29 Feb 2000 00:00", "29/02/2000 00:00"},
        {"année 0 -> 2000", "1 Jan 0 12:00", "01/01/2000 12:00"},
        {"année 99 -> 2099", "1 Jan 99 12:00", "01/01/2099 12:00"},
        {"année sur trois chiffres", "1 Jan 999 12:00", "01/01/0999 12:00"},
        {"zéros de tête", "0000000000000000000001 Jan 2008 12:00", "01/01/2008 12:00"},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.quoi);
        EXPECT_EQ(FormaterDateEntete(c.entree), c.attendu);
    }
}

TEST(FormaterDateEntete, DatesInutilisables) {
    const Cas cas[] = {
        {"vide", "", ""},
        {"mois hors de la liste", "Tue, 8 Janvier 2008 10:20:30", ""},
        {"mois en chiffres", "8 01 2008 10:20:30", ""},
        {"sans heure", "Tue, 8 Jan 2008", ""},
        {"virgule après l'heure sans jour de la semaine", "1 Jan 2008 10:20:30, suite", ""},
        {"heure vide avant une virgule", "Tue, 8 Jan 2008 ,10:20", ""},
        {"31 février", "31 Feb 2008 10:00:00", ""},
        {"29 février 1900", "29 Feb 1900 10:00:00", ""},
        {"31 avril", "31 Apr 2008 10:00:00", ""},
        {"jour 0", "0 Jan 2008 10:00:00", ""},
        {"jour négatif", "-1 Jan 2008 10:00:00", ""},
        {"année 10000", "1 Jan 10000 10:00:00", ""},
        {"jour énorme", "99999999999999999999999 Jan 2008 10:00:00", ""},
        {"année énorme", "1 Jan 99999999999999999999999 10:00:00", ""},
        {"année énorme négative", "1 Jan -99999999999999999999999 10:00:00", ""},
        {"jour non numérique", "Tue, 8a Jan 2008 10:00:00", ""},
        {"signe seul", "+ Jan 2008 10:00:00", ""},
        {"n'importe quoi", "n'importe quoi", ""},
        {"virgule seule", ",", ""},
        {"octets hauts", "\xE9\xFF, \x80 Jan 2008 10:00", ""},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.quoi);
        EXPECT_EQ(FormaterDateEntete(c.entree), c.attendu);
    }
}

TEST(FormaterDateEntete, TexteEnorme) {
    EXPECT_EQ(FormaterDateEntete("1 Jan 2008 " + std::string(1'000'000, '9')), "01/01/2008 " + std::string(1'000'000, '9'));
    EXPECT_EQ(FormaterDateEntete(std::string(1'000'000, ',')), "");
}

} // namespace
