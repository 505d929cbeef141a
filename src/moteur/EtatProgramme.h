#pragma once
// État partagé du programme : un seul objet, détenu par la fenêtre principale et passé
// explicitement à ceux qui en ont besoin.
#include "donnees/Filtres.h"
#include "donnees/JokersPerso.h"
#include "donnees/ParametresGlobaux.h"
#include "moteur/filtrage/Correspondance.h"

#include <QPointer>
#include <QSslConfiguration>
#include <string>
#include <vector>

class ClientPop3;

inline constexpr const char* kVersionProgramme = "Tessaron V 3.9.1.11";

struct EtatProgramme {
    // Tant qu'il est levé, l'entrée d'interrogation rend la main sans rien faire.
    bool MoteurOccupe = false;
    bool VerifActualitesFaite = false;
    // Pendant le recensement de démarrage, l'interrogation générale saute les boîtes
    // qui n'y participent pas.
    bool RecensementEnCours = false;
    // Demande d'interruption de la session en cours (bouton "Interrompre").
    bool DemandeInterruption = false;
    // Interrogation programmée active (bouton de programmation enfoncé).
    bool ScrutationActive = true;
    // L'utilisateur a coupé l'interrogation depuis le dialogue d'interception.
    bool ArretDepuisInterception = false;
    // Client POP3 de la session en cours.
    QPointer<ClientPop3> ClientCourant;
    // Index de la boîte interrogée par l'interrogation générale.
    int IndexInterrogationGenerale = 0;

    ParametresGlobaux Parametres;
    ListesFiltres Listes;
    JokersPerso Jokers;
    // Listes de caractères et jokers vus par la correspondance des motifs ; à reconstruire
    // (PreparerCorrespondance) après tout changement des listes de lettres ou des jokers.
    ContexteCorrespondance Correspondance;

    void PreparerCorrespondance() {
        Correspondance.ListeConsonnes = Parametres.ListeConsonnes;
        Correspondance.ListeAlphaNum = Parametres.ListeAlphaNum;
        Correspondance.Jokers = &Jokers;
        Correspondance.ReconstruireTables();
    }
    std::vector<std::string> SectionsBoites;
    std::string MotDePasseDemarrage;  // vide : pas de protection
    // Vérification de l'existence des expéditeurs : adresses déjà jugées pendant l'exécution,
    // serveur DNS interrogé, port SMTP des sondes (25 ; les tests le changent).
    std::vector<std::string> AdressesExistantes;
    std::vector<std::string> AdressesInexistantes;
    std::string ServeurDNS;
    int PortSondeSmtp = 25;
    int AttenteDnsMs = 5000;  // attente maximale d'une réponse DNS
    int PortReponseSmtp = 0;  // port SMTP des réponses ; 0 : celui des réglages (25 ou 587)
    // Contexte TLS partagé par tous les clients (autorités de confiance).
    QSslConfiguration ContexteSsl;
};
