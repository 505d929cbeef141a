// Messages réels d'un serveur POP3, décodés et classés par l'interrogation : colonnes de la
// liste, marques des filtres et icônes.
#include "BancMoteur.h"

using ServeursTest::DeposerBrut;
using ServeursTest::Utilisateur;
using ServeursTest::ViderBoite;

namespace {

const std::string kNbsp = "\xA0";

std::string message(const std::string& from, const std::string& sujet, const std::string& a,
                    const std::string& autres = "") {
    return "Return-Path: <" + from + ">\r\nFrom: " + from + "\r\nTo: " + a + "\r\nSubject: " + sujet +
           "\r\nDate: Wed, 9 Dec 2026 23:55:04 +0100\r\n" + autres + "\r\ncorps\r\n";
}

structFiltre filtre(const std::string& motif, bool ami, const std::string& avant = "g", const std::string& champ = "") {
    return {motif, champ, ami ? " " : avant, ami ? " " : "N ", "", ami};
}

} // namespace

class ClassementPop3Test : public BancMoteur {
protected:
    // La ligne de la liste dont le sujet commence par ce texte.
    const LigneMessage* ligne(const std::string& debutSujet) const {
        for (int i = 0; i < messages_.Nombre(); ++i)
            if (messages_.Ligne(i).Colonnes[ColSujet].rfind(debutSujet, 0) == 0) return &messages_.Ligne(i);
        return nullptr;
    }
};

TEST_F(ClassementPop3Test, ChaqueBrancheDuClassementSeVoitDansLaListe) {
    const std::string u = Utilisateur(25);
    ViderBoite(u);
    DeposerBrut(u, message("Ami <copain@amis.test>", "de mon ami", "moi@ici.test"));
    DeposerBrut(u, message("vendeur@promo.test", "=?UTF-8?Q?Soldes_d'=C3=A9t=C3=A9?=", "moi@ici.test"));
    DeposerBrut(u, message("x@y.test", "avec pièce jointe", "moi@ici.test",
                           "Cc: Copie <copie@ici.test>\r\nContent-Type: multipart/mixed; boundary=\"b\"\r\n"));
    DeposerBrut(u, message("x@y.test", "liste", "liste@diffusion.test"));
    DeposerBrut(u, message("x@y.test", "ordinaire", "moi@ici.test"));
    etat_.Listes.ListeExpediteurs.Lignes = {filtre("\xB6" "amis.test", true)};
    etat_.Listes.ListeSujets.Lignes = {filtre("\xB6soldes", false, "c")};
    etat_.Listes.ListeDestinataires.Lignes = {filtre("\xB6liste@", false, "c", "A")};
    etat_.Parametres.IconeListeBlanche = true;
    etat_.Parametres.FromReturnPath = 0;
    etat_.PreparerCorrespondance();
    Charger({{.label = "Classée", .utilisateur = u}});

    Interroger(0);

    ASSERT_EQ(messages_.Nombre(), 5);
    const LigneMessage* amiL = ligne("de mon ami");
    ASSERT_NE(amiL, nullptr);
    EXPECT_EQ(amiL->Icone, 4);
    EXPECT_EQ(amiL->Colonnes[ColExpediteur], "Ami <copain@amis.test>" + kNbsp + "(\xB6" "amis.test)" + kNbsp);
    EXPECT_EQ(amiL->Colonnes[ColDate], "09/12/2026 23:55:04");

    const LigneMessage* soldes = ligne("Soldes");
    ASSERT_NE(soldes, nullptr);
    EXPECT_EQ(soldes->Colonnes[ColSujet], "Soldes d'\xE9t\xE9" + kNbsp + "(\xB6soldes)" + kNbsp);
    EXPECT_EQ(soldes->Icone, 2);

    const LigneMessage* joint = ligne("avec pi");
    ASSERT_NE(joint, nullptr);
    EXPECT_EQ(joint->Icone, 6);
    EXPECT_EQ(joint->Colonnes[ColTypeContenu], "/multipart/mixed/");
    EXPECT_EQ(joint->Colonnes[ColDestinataireCc], "Copie <copie@ici.test>");

    const LigneMessage* liste = ligne("liste");
    ASSERT_NE(liste, nullptr);
    EXPECT_EQ(liste->Colonnes[ColDestinataireA], "liste@diffusion.test" + kNbsp + "(\xB6liste@)" + kNbsp);
    EXPECT_EQ(liste->Icone, 2);

    const LigneMessage* ordinaire = ligne("ordinaire");
    ASSERT_NE(ordinaire, nullptr);
    EXPECT_EQ(ordinaire->Icone, 0);
    EXPECT_EQ(ordinaire->Colonnes[ColExpediteur], "x@y.test");
    EXPECT_TRUE(etat_.Listes.ListeSujets.Modifiee);
    EXPECT_FALSE(etat_.Listes.ListeExpediteurs.Modifiee);
}

TEST_F(ClassementPop3Test, AmisCachesQuandIlsNeSontPasAffiches) {
    const std::string u = Utilisateur(26);
    ViderBoite(u);
    DeposerBrut(u, message("copain@amis.test", "ami caché", "moi@ici.test"));
    DeposerBrut(u, message("x@y.test", "montré", "moi@ici.test"));
    etat_.Listes.ListeExpediteurs.Lignes = {filtre("\xB6" "amis.test", true)};
    etat_.Parametres.AfficheAmis = true;
    Charger({{.label = "Amis", .utilisateur = u}});

    Interroger(0);

    ASSERT_EQ(messages_.Nombre(), 1);
    EXPECT_EQ(messages_.Ligne(0).Colonnes[ColSujet], "montré");
    EXPECT_EQ(messages_.Ligne(0).Caption(), "2");
    EXPECT_EQ(NbMsg(0), "2");
}
