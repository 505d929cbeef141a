#pragma once
// Réponse à l'expéditeur d'un message rejeté, à la manière d'un avis de non-remise.
#include "moteur/ContexteMoteur.h"

#include <string>

// Ce que la réponse envoie : adresse d'expédition (enveloppe et en-tête From), destinataire de
// l'enveloppe, sujet et corps. Sans effet de bord, pour être vérifié à part.
struct ReponseAEnvoyer {
    std::string Expediteur;
    std::string Destinataire;
    std::string Sujet;
    std::string Corps;
};

// `pendant` : lettre de réponse ("o" Postmaster, "v" adresse de réception, "s" adresse
// spécifique) puis lettre d'inclusion (" ", "a", "c", "x").
ReponseAEnvoyer PreparerReponse(const std::string& pendant, const std::string& expediteur, const std::string& champA,
                                const std::string& champCc, const std::string& sujet, const std::string& spamTexte,
                                const std::string& adresseSpecifique);

// Envoie la réponse avec les réglages SMTP du moment ; "Erreur SMTP" en cas d'échec.
void EnvoyerReponse(ContexteMoteur& contexte, const std::string& pendant, const std::string& expediteur,
                    const std::string& champA, const std::string& champCc, const std::string& sujet);
