#pragma once
// Suppression à la main, sur les serveurs, des messages choisis dans la liste : confirmation,
// une courte session par boîte concernée (contrôle de l'identifiant, DELE, ligne d'historique),
// fermeture de ces sessions, puis nouvelle interrogation des boîtes pour que les lignes
// supprimées disparaissent et que les autres soient renumérotées.
#include "ContexteMoteur.h"

#include <vector>

class Scrutation;

struct DemandeSuppression {
    std::vector<int> Lignes;         // index des lignes choisies dans la liste des messages
    bool SansConfirmation = false;   // bouton de suppression de la visionneuse, Ctrl enfoncé
    // Attente au plus (ms) de la fin d'une session déjà ouverte sur une boîte concernée ;
    // au-delà, les lignes de cette boîte sont laissées.
    int AttenteBoiteOccupeeMs = 5000;
};

enum class IssueSuppression {
    Rien,     // aucune ligne choisie
    Refusee,  // l'utilisateur a répondu Non : rien n'a été fait
    Occupe,   // le moteur était déjà occupé (autre suppression, compte à rebours, fermeture)
    Menee     // confirmée et menée ; les compteurs disent ce qu'il en est
};

struct ResultatSuppression {
    IssueSuppression Issue = IssueSuppression::Rien;
    int Effaces = 0;      // messages pour lesquels le serveur a accepté DELE
    int Perimes = 0;      // lignes qui ne correspondaient plus au serveur (signalées)
    int Laisses = 0;      // lignes d'une boîte injoignable, restée occupée ou disparue
    int BoitesReinterrogees = 0;

    bool Confirmee() const { return Issue == IssueSuppression::Menee; }
};

// Supprime des serveurs les messages des lignes `demande.Lignes`. Pose MoteurOccupe pendant
// tout le travail et le rabaisse avant de rendre la main. Chaque étape est écrite dans
// l'historique d'état ; une ligne périmée fait appeler InterfaceMoteur::SignalerListePerimee.
ResultatSuppression SupprimerMessages(ContexteMoteur& contexte, Scrutation& scrutation,
                                      const DemandeSuppression& demande);
