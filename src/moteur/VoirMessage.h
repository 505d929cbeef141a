#pragma once
// Lecture du début ou de l'en-tête d'un message de la liste, sans le retirer du serveur :
// courte connexion sur le client de sa boîte, contrôle de l'identifiant, TOP, LIST, QUIT.
#include "ContexteMoteur.h"

#include <string>
#include <vector>

enum class ModeVoir {
    Texte,  // en-tête et premières lignes du corps, corps décodé
    Entete  // en-tête seul, lignes brutes
};

enum class EtatVoir {
    Ok,              // message lu (Erreur non vide : TOP a échoué, les lignes reçues sont gardées)
    Perime,          // le message n'est plus celui de la ligne sur le serveur, ou le serveur a refusé
    EchecConnexion,  // connexion ou authentification impossible (Erreur en dit la raison)
    Occupe           // le client de la boîte est déjà connecté (interrogation en cours) : rien n'a été fait
};

// Ce que la visionneuse montre d'un message, et comment la lecture s'est passée.
struct ResultatVoir {
    EtatVoir Etat = EtatVoir::Ok;
    ModeVoir Mode = ModeVoir::Texte;
    std::string Erreur;      // texte d'erreur du client
    std::string Uidl;        // identifiant du message montré
    int LigneBoite = -1;     // ligne de la boîte du message, à interroger de nouveau s'il le faut
    std::string EnvoiDe;     // From décodé
    std::string Pour;        // To décodé
    std::string Date;        // "jj/mm/aaaa hh:mm:ss", vide si la date est inutilisable
    std::string Taille;      // "1.234 octets."
    std::string Sujet;       // sujet décodé
    std::vector<std::string> Lignes;  // en-tête brut (mode Entete) ou corps décodé sans lignes vides

    // La liste n'est plus fidèle au serveur : l'appelant prévient (texte 1075) et interroge
    // de nouveau la boîte. Un échec de connexion mène au même contrôle d'identifiant manqué.
    bool ListeARafraichir() const { return Etat == EtatVoir::Perime || Etat == EtatVoir::EchecConnexion; }
};

// Lit le message de la ligne `indexMessage` de la liste des messages. `nbLignes` : lignes de
// corps demandées en mode Texte. Les étapes sont écrites dans l'historique d'état ; en mode
// Texte, la ligne du message prend sa variante « lu » (bit 0 de son image).
ResultatVoir VoirMessage(ContexteMoteur& contexte, int indexMessage, ModeVoir mode, int nbLignes);
