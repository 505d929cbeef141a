#include "EnvoyerReponse.h"

#include "donnees/Chaines.h"
#include "moteur/entete/Adresses.h"
#include "moteur/smtp/ClientSmtp.h"

ReponseAEnvoyer PreparerReponse(const std::string& pendant, const std::string& expediteur, const std::string& champA,
                                const std::string& champCc, const std::string& sujet, const std::string& spamTexte,
                                const std::string& adresseSpecifique) {
    ReponseAEnvoyer r;
    const char reponse = pendant.empty() ? 'o' : pendant[0];
    const std::string reception = ExtraireAdresse(champA);
    if (reponse == 's') r.Expediteur = adresseSpecifique;
    else if (reponse == 'v') r.Expediteur = reception;
    else r.Expediteur = reception.empty() ? "Postmaster" : "Postmaster@" + DomaineAdresse(reception);
    r.Sujet = "Re:" + sujet;
    r.Corps = spamTexte;
    const char inclure = pendant.size() >= 2 ? pendant[1] : ' ';
    if (inclure == 'a' || inclure == 'x') r.Corps += Chaine(90210) + champA;
    if (inclure == 'c' || inclure == 'x') r.Corps += Chaine(90211) + champCc;
    r.Destinataire = ExtraireAdresse(expediteur);
    return r;
}

void EnvoyerReponse(ContexteMoteur& contexte, const std::string& pendant, const std::string& expediteur,
                    const std::string& champA, const std::string& champCc, const std::string& sujet) {
    const ParametresGlobaux& p = contexte.etat.Parametres;
    const ReponseAEnvoyer r = PreparerReponse(pendant, expediteur, champA, champCc, sujet, p.SpamTexte, p.SMTPExped);
    ClientSmtp client;
    client.Host = p.SMTPServeur;
    client.Port = contexte.etat.PortReponseSmtp > 0 ? std::to_string(contexte.etat.PortReponseSmtp)
                                                   : p.PortSMTP == 1 ? "587" : "25";
    client.Username = p.SMTPId;
    client.Password = p.SMTPMdP;
    client.Authentification = p.SMTPAuth;
    client.SslContext = &contexte.etat.ContexteSsl;
    contexte.ui.EcrireStatut(1, Chaine(90212) + expediteur);
    const bool envoye = client.OpenSync() && client.MailFromSync(r.Expediteur) && client.RcptToSync(r.Destinataire) &&
                        client.DataSync(ConstruireMessageSmtp(r.Expediteur, r.Sujet, r.Corps));
    contexte.ui.EcrireStatut(2, client.LastResponse);
    if (client.Connected()) client.QuitSync();
    if (!envoye) contexte.ui.Erreur(Chaine(90213));
}
