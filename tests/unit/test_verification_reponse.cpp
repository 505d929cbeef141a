// Règles pures de la vérification des expéditeurs et de la préparation des réponses.
#include "moteur/reponse/EnvoyerReponse.h"
#include "moteur/verification/VerificateurExpediteur.h"

#include <QTemporaryDir>
#include <fstream>
#include <gtest/gtest.h>

TEST(VerificationExpediteur, DecisionSelonEtatEtConditions) {
    const struct {
        int etat, conditions;
        bool rejet;
    } cas[] = {{-1, 0, true},  {-1, 1, false}, {-1, 2, true},  {-2, 0, false}, {-2, 1, true},
               {-2, 2, true},  {0, 2, false},  {1, 2, false},  {-1, 7, false}};
    for (const auto& c : cas)
        EXPECT_EQ(DecisionInexistantPour(c.etat, c.conditions), c.rejet) << c.etat << " / " << c.conditions;
}

TEST(VerificationExpediteur, PremierServeurDnsIpv4DuFichierResolv) {
    QTemporaryDir dossier;
    const std::string chemin = dossier.filePath(QStringLiteral("resolv.conf")).toStdString();
    const struct {
        const char* contenu;
        const char* attendu;
    } cas[] = {{"# commentaire\nsearch local\nnameserver 10.0.0.53\nnameserver 10.0.0.54\n", "10.0.0.53"},
               {"nameserver ::1\nnameserver 192.0.2.1\n", "192.0.2.1"},
               {"nameserver\nnameserver pas-une-adresse\n", ""},
               {"", ""}};
    for (const auto& c : cas) {
        std::ofstream(chemin) << c.contenu;
        EXPECT_EQ(TrouverServeurDNS(chemin), c.attendu) << c.contenu;
    }
    EXPECT_EQ(TrouverServeurDNS(chemin + ".absent"), "");
}

TEST(Reponse, AdresseDExpeditionEtLignesIncluses) {
    const std::string a = "Moi <moi@ici.test>, autre@ailleurs.test";
    const std::string cc = "copie@ici.test";
    const struct {
        const char* pendant;
        const char* specifique;
        const char* expediteur;
        bool ligneA, ligneCc;
    } cas[] = {{"oa", "", "Postmaster@ailleurs.test", true, false},
               {"vc", "", "autre@ailleurs.test", false, true},
               {"sx", "robot@moi.test", "robot@moi.test", true, true},
               {"s ", "", "", false, false},
               {"v", "", "autre@ailleurs.test", false, false}};
    for (const auto& c : cas) {
        const ReponseAEnvoyer r = PreparerReponse(c.pendant, "Vendeur <V@Spam.test>", a, cc, "Offre", "Texte", c.specifique);
        EXPECT_EQ(r.Expediteur, c.expediteur) << c.pendant;
        EXPECT_EQ(r.Destinataire, "v@spam.test") << c.pendant;
        EXPECT_EQ(r.Sujet, "Re:Offre");
        EXPECT_EQ(r.Corps.find("\r\nDestinataire(s) de votre message: " + a) != std::string::npos, c.ligneA) << c.pendant;
        EXPECT_EQ(r.Corps.find("\r\nDestinataire(s) en copie de votre message: " + cc) != std::string::npos, c.ligneCc)
            << c.pendant;
    }
    EXPECT_EQ(PreparerReponse("oa", "x@y.test", "groupe:;", "", "s", "t", "").Expediteur, "Postmaster");
}
