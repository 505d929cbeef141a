// Entrées du menu de la liste des messages : entrées actives selon la sélection, textes
// copiés, lien de réponse, motif du filtre d'une cellule, motifs d'un nouveau filtre.
#include "filtres/RegleFiltre.h"
#include "moteur/ActionsMessages.h"

#include <gtest/gtest.h>

namespace {

// Une ligne de message : expéditeur, sujet, À et Cc, tels que la liste les montre.
LigneMessage ligne(const std::string& expediteur, const std::string& sujet, const std::string& a = {},
                   const std::string& cc = {}) {
    LigneMessage l;
    l.Colonnes[0] = "1";
    l.Colonnes[ColExpediteur] = expediteur;
    l.Colonnes[ColSujet] = sujet;
    l.Colonnes[ColDestinataireA] = a;
    l.Colonnes[ColDestinataireCc] = cc;
    return l;
}

} // namespace

TEST(ActionsMessages, SansMarqueFiltreCoupeAuDebutDeLaPremiereMarque) {
    const struct {
        const char* texte;
        const char* attendu;
    } cas[] = {
        {"jean@exemple.test", "jean@exemple.test"},
        {"jean@exemple.test\xA0(\xB6jean)\xA0", "jean@exemple.test"},
        {"\xA0(motif)\xA0", ""},
        {"Offre (promo)", "Offre (promo)"},           // parenthèse sans espace insécable devant
        {"Prix\xA0" "100\xA0(euros)", "Prix\xA0" "100"},  // la première marque possible compte
        {"a\xA0", "a\xA0"},
        {"", ""},
    };
    for (const auto& c : cas) EXPECT_EQ(SansMarqueFiltre(c.texte), c.attendu) << c.texte;
}

TEST(ActionsMessages, EntreesActivesSelonLaSelection) {
    StockMessages messages;
    messages.Ajouter(ligne("a@exemple.test", "Bonjour", "b@exemple.test", "c@exemple.test"));
    messages.Ajouter(ligne("d@exemple.test", "", "", ""));
    messages.Ajouter(ligne("e@exemple.test", "Sujet", "", "f@exemple.test"));
    StockMessages vide;

    struct Cas {
        const char* nom;
        const StockMessages* stock;
        std::vector<int> selection;
        bool toutSelectionner;
        bool une;  // voir, analyser, copier l'expéditeur, répondre, ajouter l'expéditeur, ami
        bool supprimer;
        int legende;
        bool sujet, destinataire, copie, vider;
    };
    const Cas cas[] = {
        {"aucune ligne choisie", &messages, {}, false, false, false, 1545, false, false, false, true},
        {"liste vide", &vide, {}, true, false, false, 1545, false, false, false, false},
        {"une ligne complète", &messages, {0}, false, true, true, 1545, true, true, true, true},
        {"une ligne aux cellules vides", &messages, {1}, false, true, true, 1545, false, false, false, true},
        {"une ligne sans À", &messages, {2}, true, true, true, 1545, true, false, true, true},
        {"trois lignes", &messages, {0, 1, 2}, false, false, true, 1546, false, false, false, true},
        {"la même ligne deux fois", &messages, {2, 2}, false, true, true, 1545, true, false, true, true},
        {"index hors de la liste", &messages, {7}, false, false, false, 1545, false, false, false, true},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        const EtatMenuMessages e = EtatMenu(*c.stock, c.selection, c.toutSelectionner);
        for (const bool entree : {e.VoirTexte, e.VoirEntete, e.Analyser, e.Copie, e.Repondre, e.AjouterExpediteur,
                                  e.FaireAmi})
            EXPECT_EQ(entree, c.une);
        EXPECT_EQ(e.Supprimer, c.supprimer);
        EXPECT_EQ(e.LegendeSupprimer, c.legende);
        EXPECT_EQ(e.CopieSujet, c.sujet);
        EXPECT_EQ(e.AjouterSujet, c.sujet);
        EXPECT_EQ(e.CopieDestinataire, c.destinataire);
        EXPECT_EQ(e.CopieCopie, c.copie);
        EXPECT_TRUE(e.LancerClient);
        EXPECT_EQ(e.Vider, c.vider);
        EXPECT_EQ(e.ToutSelectionner, c.vider);
        EXPECT_EQ(e.ToutSelectionnerVisible, c.toutSelectionner);
    }
}

TEST(ActionsMessages, CopieDonneLaCelluleSansSaMarque) {
    const LigneMessage l = ligne("jean@exemple.test\xA0(\xB6jean)\xA0", "Gagnez\xA0(\xA7gagnez argent)\xA0",
                                 "moi@exemple.test, toi@exemple.test\xA0(moi@exemple.test)\xA0", "copie@exemple.test");
    EXPECT_EQ(TexteCopie(l, EntreeCopie::Expediteur), "jean@exemple.test");
    EXPECT_EQ(TexteCopie(l, EntreeCopie::Sujet), "Gagnez");
    EXPECT_EQ(TexteCopie(l, EntreeCopie::DestinatairePrincipal), "moi@exemple.test, toi@exemple.test");
    EXPECT_EQ(TexteCopie(l, EntreeCopie::DestinataireCopie), "copie@exemple.test");
}

TEST(ActionsMessages, LienDeReponseEncodePourMailto) {
    const struct {
        const char* nom;
        const char* expediteur;
        const char* sujet;
        const char* attendu;
    } cas[] = {
        {"espaces", "jean@exemple.test", "Hello world", "mailto:jean@exemple.test?subject=Re:%20Hello%20world"},
        {"marques ôtées", "jean@exemple.test\xA0(\xB6jean)\xA0", "Promo\xA0(promo)\xA0",
         "mailto:jean@exemple.test?subject=Re:%20Promo"},
        {"séparateurs d'un lien", "a@b.test", "Q&R = 50% ? #1 + /x",
         "mailto:a@b.test?subject=Re:%20Q%26R%20%3D%2050%25%20%3F%20%231%20%2B%20%2Fx"},
        {"accents et euro en UTF-8", "a@b.test", "Caf\xE9 \x80", "mailto:a@b.test?subject=Re:%20Caf%C3%A9%20%E2%82%AC"},
        {"adresse à étiquette et virgule", "jean+liste@b.test, x?y", "a, b",
         "mailto:jean+liste@b.test%2C%20x%3Fy?subject=Re:%20a,%20b"},
        {"cellules vides", "", "", "mailto:?subject=Re:%20"},
    };
    for (const auto& c : cas) EXPECT_EQ(LienReponse(ligne(c.expediteur, c.sujet)), c.attendu) << c.nom;
}

TEST(ActionsMessages, MotifDuFiltreDUneCellule) {
    const struct {
        const char* nom;
        const char* cellule;
        int colonne;
        const char* motif;  // nul : pas d'entrée "Trouver le filtre"
        IndexListe liste;
    } cas[] = {
        {"expéditeur", "jean@exemple.test\xA0(\xB6jean)\xA0", ColExpediteur, "\xB6jean", ListeIndexExpediteurs},
        {"sujet", "Gagnez\xA0(\xA7gagnez argent)\xA0", ColSujet, "\xA7gagnez argent", ListeIndexSujets},
        {"À", "moi@exemple.test\xA0(moi@exemple.test)\xA0", ColDestinataireA, "moi@exemple.test",
         ListeIndexDestinataires},
        {"Cc", "x@y.test\xA0(~y)\xA0", ColDestinataireCc, "~y", ListeIndexDestinataires},
        {"parenthèses dans le motif", "Offre\xA0(\xB6(pub))\xA0", ColSujet, "\xB6(pub)", ListeIndexSujets},
        {"texte du message imitant une marque", "Prix\xA0(promo) !\xA0(~prix)\xA0", ColSujet, "~prix",
         ListeIndexSujets},
        {"parenthèses sans marque", "Offre (promo)", ColSujet, nullptr, ListeIndexSujets},
        {"fin sans espace insécable", "Offre\xA0(promo)", ColSujet, nullptr, ListeIndexSujets},
        {"motif vide", "Offre\xA0()\xA0", ColSujet, nullptr, ListeIndexSujets},
        {"cellule vide", "", ColSujet, nullptr, ListeIndexSujets},
        {"reste trop court", ")\xA0", ColSujet, nullptr, ListeIndexSujets},
        {"colonne sans filtre", "11/12/2026\xA0(x)\xA0", ColDate, nullptr, ListeIndexSujets},
        {"boîte d'origine", "Boite\xA0(x)\xA0", ColBoiteOrigine, nullptr, ListeIndexSujets},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.nom);
        const std::optional<MotifCellule> trouve = MotifDeCellule(c.cellule, c.colonne);
        ASSERT_EQ(trouve.has_value(), c.motif != nullptr);
        if (!trouve) continue;
        EXPECT_EQ(trouve->Motif, c.motif);
        EXPECT_EQ(trouve->Liste, c.liste);
    }
}

TEST(ActionsMessages, MotifsProposesPourUnNouveauFiltre) {
    const LigneMessage l = ligne("Jean.Dupont@Exemple.TEST\xA0(\xB6jean)\xA0", "\xC9T\xC9 Chaud\xA0(\xB6\xE9t\xE9)\xA0");
    EXPECT_EQ(MotifPropose(SansMarqueFiltre(l.Colonnes[ColExpediteur]), true), "jean.dupont@exemple.test");
    EXPECT_EQ(MotifPropose(SansMarqueFiltre(l.Colonnes[ColSujet]), false), "\xE9t\xE9 chaud");
}
