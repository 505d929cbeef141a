// Lecture d'un message de la liste sur un vrai serveur, sans le retirer : corps décodé,
// en-tête brut, nombre de lignes, ligne périmée, APOP, échec de connexion, client occupé.
#include "BancMoteur.h"
#include "donnees/Chaines.h"
#include "moteur/FormaterEntier.h"
#include "moteur/VoirMessage.h"

using ServeursTest::DeposerBrut;
using ServeursTest::RetirerMessage;
using ServeursTest::Utilisateur;
using ServeursTest::ViderBoite;

namespace {

using Textes = std::vector<std::string>;

// Un message complet : les en-têtes communs, ceux qui sont donnés, puis le corps.
std::string message(const std::string& sujet, const std::string& entetes, const std::string& corps) {
    return "From: =?ISO-8859-1?Q?Andr=E9?= <andre@exemple.test>\r\n"
           "To: =?UTF-8?B?w4lsb8Ovc2U=?= <eloise@exemple.test>\r\n"
           "Subject: " + sujet + "\r\n"
           "Date: Fri, 11 Dec 2026 10:20:30 +0100\r\n"
           "MIME-Version: 1.0\r\n" + entetes + "\r\n" + corps;
}

std::string taille(const std::string& contenu) {
    return FormaterEntier(static_cast<long long>(contenu.size()), ".") + Chaine(1019);
}

} // namespace

using VoirMessageTest = BancMoteur;

TEST_F(VoirMessageTest, CorpsDecodeSelonSonCodageEtSonJeu) {
    struct Cas {
        const char* sujet;
        std::string entetes;
        std::string corps;
        Textes attendu;
    };
    const Cas cas[] = {
        {"qp", "Content-Type: text/plain; charset=windows-1252\r\nContent-Transfer-Encoding: quoted-printable\r\n",
         "Caf=E9 cr=E8me =80\r\n\r\nlongue ligne cou=\r\np=E9e\r\n", {"Caf\xE9 cr\xE8me \x80", "longue ligne coup\xE9" "e"}},
        {"base64", "Content-Type: text/plain; charset=utf-8\r\nContent-Transfer-Encoding: base64\r\n",
         "w4l0w6kKCsOgIGJpZW50w7R0Cg==\r\n", {"\xC9t\xE9", "\xE0 bient\xF4t"}},
        {"utf8 8 bits", "Content-Type: text/plain; charset=UTF-8\r\nContent-Transfer-Encoding: 8bit\r\n",
         "No\xC3\xABl co\xC3\xBBte 5 \xE2\x82\xAC\r\n", {"No\xEBl co\xFBte 5 \x80"}},
        {"latin1", "Content-Type: text/plain; charset=ISO-8859-1\r\nContent-Transfer-Encoding: 8bit\r\n",
         "\xE9t\xE9 \xE0 la plage\r\n", {"\xE9t\xE9 \xE0 la plage"}},
        {"sans jeu", "", "brut \xE9\r\n", {"brut \xE9"}},
        {"multipart",
         "Content-Type: multipart/alternative; boundary=\"F\"\r\n",
         "pr\xE9" "ambule\r\n--F\r\nContent-Type: text/html\r\n\r\n<p>html</p>\r\n"
         "--F\r\nContent-Type: text/plain; charset=iso-8859-15\r\nContent-Transfer-Encoding: quoted-printable\r\n\r\n"
         "Prix : 3 =A4\r\n--F--\r\n",
         {"Prix : 3 \x80"}},
    };
    const std::string u = Utilisateur(51);
    ViderBoite(u);
    std::vector<std::string> contenus;
    for (const Cas& c : cas) {
        contenus.push_back(message(c.sujet, c.entetes, c.corps));
        DeposerBrut(u, contenus.back());
    }
    Charger({{.label = "Lecture", .utilisateur = u}});
    Interroger(0);
    ASSERT_EQ(messages_.Nombre(), static_cast<int>(std::size(cas)));

    for (std::size_t i = 0; i < std::size(cas); ++i) {
        const Cas& c = cas[i];
        SCOPED_TRACE(c.sujet);
        const int index = LigneDuSujet(c.sujet);
        ASSERT_GE(index, 0);
        ui_.historique.clear();
        const std::string uidl = messages_.Ligne(index).Colonnes[ColUidl];

        const ResultatVoir r = VoirMessage(contexte_, index, ModeVoir::Texte, 10);

        EXPECT_EQ(r.Etat, EtatVoir::Ok) << r.Erreur;
        EXPECT_EQ(r.Lignes, c.attendu);
        EXPECT_EQ(r.Uidl, uidl);
        EXPECT_EQ(r.EnvoiDe, "Andr\xE9 <andre@exemple.test>");
        EXPECT_EQ(r.Pour, "\xC9lo\xEFse <eloise@exemple.test>");
        EXPECT_EQ(r.Sujet, c.sujet);
        EXPECT_EQ(r.Date, "11/12/2026 10:20:30");
        EXPECT_EQ(r.Taille, taille(contenus[i]));
        EXPECT_EQ(r.LigneBoite, 0);
        EXPECT_EQ(messages_.Ligne(index).Icone & 1, 1) << "variante « lu »";
        EXPECT_EQ(ui_.historique, (Textes{Chaine(1011) + "Lecture...", Chaine(1014) + "Lecture", Chaine(1023),
                                          Chaine(1025) + "Lecture"}));
        EXPECT_FALSE(Client(0).Connected());
        EXPECT_FALSE(Client(0).OnMessageLine);
    }
    // Rien n'a été retiré du serveur.
    Interroger(0);
    EXPECT_EQ(messages_.Nombre(), static_cast<int>(std::size(cas)));
}

TEST_F(VoirMessageTest, EnteteBrutEtNombreDeLignesDuCorps) {
    const std::string u = Utilisateur(52);
    ViderBoite(u);
    std::string corps;
    for (int i = 1; i <= 30; ++i) corps += "ligne " + std::to_string(i) + "\r\n\r\n";
    const std::string entetes = "Content-Type: text/plain; charset=UTF-8\r\nX-Note: d\xC3\xA9j\xC3\xA0 vu\r\n";
    DeposerBrut(u, message("long", entetes, corps));
    Charger({{.label = "Entête", .utilisateur = u}});
    Interroger(0);
    ASSERT_EQ(messages_.Nombre(), 1);
    messages_.ChangerIcone(0, 2);

    const ResultatVoir entete = VoirMessage(contexte_, 0, ModeVoir::Entete, 10);
    ASSERT_EQ(entete.Etat, EtatVoir::Ok) << entete.Erreur;
    // Chaque ligne telle que reçue, ligne vide de fin d'en-tête comprise, convertie d'UTF-8.
    const Textes attendu = {"From: =?ISO-8859-1?Q?Andr=E9?= <andre@exemple.test>",
                            "To: =?UTF-8?B?w4lsb8Ovc2U=?= <eloise@exemple.test>",
                            "Subject: long",
                            "Date: Fri, 11 Dec 2026 10:20:30 +0100",
                            "MIME-Version: 1.0",
                            "Content-Type: text/plain; charset=UTF-8",
                            "X-Note: d\xE9j\xE0 vu",
                            ""};
    EXPECT_EQ(entete.Lignes, attendu);
    EXPECT_EQ(entete.Sujet, "long");
    EXPECT_EQ(messages_.Ligne(0).Icone, 2) << "l'en-tête seul ne marque pas le message lu";

    // Dix lignes de corps demandées : cinq lignes de texte, les lignes vides ôtées.
    const ResultatVoir texte = VoirMessage(contexte_, 0, ModeVoir::Texte, 10);
    ASSERT_EQ(texte.Etat, EtatVoir::Ok) << texte.Erreur;
    EXPECT_EQ(texte.Lignes, (Textes{"ligne 1", "ligne 2", "ligne 3", "ligne 4", "ligne 5"}));
    EXPECT_EQ(messages_.Ligne(0).Icone, 3);
    EXPECT_EQ(VoirMessage(contexte_, 0, ModeVoir::Texte, 999).Lignes.size(), 30u);
}

TEST_F(VoirMessageTest, LignePerimeeQuandLeMessageAQuitteLeServeur) {
    const std::string u = Utilisateur(53);
    ViderBoite(u);
    const std::string premier = DeposerBrut(u, message("premier", "", "un\r\n"));
    DeposerBrut(u, message("second", "", "deux\r\n"));
    Charger({{.label = "Périmée", .utilisateur = u}});
    Interroger(0);
    ASSERT_EQ(messages_.Nombre(), 2);
    RetirerMessage(u, premier);  // un autre client l'a pris : le second devient le numéro 1

    for (const char* sujet : {"premier", "second"}) {
        SCOPED_TRACE(sujet);
        ui_.historique.clear();
        const int index = LigneDuSujet(sujet);
        const int iconeAvant = messages_.Ligne(index).Icone;

        const ResultatVoir r = VoirMessage(contexte_, index, ModeVoir::Texte, 10);

        EXPECT_EQ(r.Etat, EtatVoir::Perime);
        EXPECT_TRUE(r.ListeARafraichir());
        EXPECT_TRUE(r.Lignes.empty());
        EXPECT_EQ(r.LigneBoite, 0);
        EXPECT_EQ(messages_.Ligne(index).Icone, iconeAvant);
        EXPECT_EQ(ui_.historique, (Textes{Chaine(1011) + "Périmée...", Chaine(1014) + "Périmée",
                                          Chaine(1009) + "Périmée"}));
        EXPECT_EQ(ui_.panneau1.rfind("Périmée=>", 0), 0u) << ui_.panneau1;
        EXPECT_FALSE(Client(0).Connected());
    }

    // L'interrogation que l'appelant relance remet la liste d'accord avec le serveur.
    Interroger(0);
    ASSERT_EQ(messages_.Nombre(), 1);
    EXPECT_EQ(VoirMessage(contexte_, 0, ModeVoir::Texte, 10).Lignes, Textes{"deux"});
}

TEST_F(VoirMessageTest, ApopEchecDeConnexionEtClientOccupe) {
    const std::string u = Utilisateur(54);
    ViderBoite(u);
    DeposerBrut(u, message("apop", "", "par APOP\r\n"));
    Charger({{.label = "Apop", .utilisateur = u, .apop = true},
             {.label = "Refusée", .utilisateur = u, .motDePasse = "faux"}});
    Interroger(0);
    ASSERT_EQ(messages_.Nombre(), 1);
    const ResultatVoir apop = VoirMessage(contexte_, 0, ModeVoir::Texte, 10);
    EXPECT_EQ(apop.Etat, EtatVoir::Ok) << apop.Erreur;
    EXPECT_EQ(apop.Lignes, Textes{"par APOP"});

    // La même ligne, rattachée à la boîte au mauvais mot de passe.
    LigneMessage refusee = messages_.Ligne(0);
    refusee.Client = &Client(1);
    const int index = messages_.Ajouter(refusee);
    ui_.historique.clear();
    const ResultatVoir echec = VoirMessage(contexte_, index, ModeVoir::Texte, 10);
    EXPECT_EQ(echec.Etat, EtatVoir::EchecConnexion);
    EXPECT_TRUE(echec.ListeARafraichir());
    EXPECT_FALSE(echec.Erreur.empty());
    EXPECT_EQ(echec.LigneBoite, 1);
    EXPECT_EQ(ui_.compter(Chaine(1012) + "Refusée"), 1);
    EXPECT_EQ(ui_.compter(Chaine(1009) + "Refusée"), 1);
    EXPECT_EQ(ui_.panneau1, "Refusée=>" + echec.Erreur);

    // Une session déjà ouverte sur le client de la boîte : rien n'est fait.
    ASSERT_TRUE(Client(0).OpenSync());
    ui_.historique.clear();
    const long long commandes = Client(0).CommandesEnvoyees();
    const ResultatVoir occupe = VoirMessage(contexte_, 0, ModeVoir::Entete, 10);
    EXPECT_EQ(occupe.Etat, EtatVoir::Occupe);
    EXPECT_FALSE(occupe.ListeARafraichir());
    EXPECT_TRUE(ui_.historique.empty());
    EXPECT_EQ(Client(0).CommandesEnvoyees(), commandes);
    EXPECT_TRUE(Client(0).Connected());
    Client(0).QuitSync();
}
