#pragma once
// Création des boîtes au démarrage : lignes, fiches, clients POP3 et minuteurs.
#include "Boites.h"
#include "donnees/FichierIni.h"
#include "donnees/ParametresBoite.h"

#include <QObject>
#include <QSslConfiguration>
#include <array>
#include <functional>
#include <string>
#include <vector>

class ClientPop3;

struct ContexteCreationBoite {
    QObject* proprietaire = nullptr;                 // parent des clients et des minuteurs
    const QSslConfiguration* contexteSsl = nullptr;  // contexte TLS partagé du programme
    std::function<void(ClientPop3*)> surMinuteur;    // appelé à chaque tic du minuteur d'une boîte
};

// Les colonnes de la ligne d'une boîte (nombre de messages vide).
std::array<std::string, NbColonnesBoite> ColonnesBoite(const ParametresBoite& p);

// Règle le client (identifiant, serveur, mot de passe, port, TLS) et la fiche de la boîte.
void ReglerBoite(structBoite& boite, const ParametresBoite& p, const QSslConfiguration* contexteSsl);

// La ligne d'une boîte et sa fiche, client et minuteur compris ; le minuteur est lancé
// (sauf pour un intervalle nul : la boîte n'est alors interrogée qu'à la demande).
LigneBoite CreerLigneBoite(const ParametresBoite& p, const ContexteCreationBoite& contexte);

// Lit toutes les sections de boîtes du fichier, dans l'ordre, et remplit `boites` et la liste
// des noms de sections.
void ChargerBoites(const FichierIni& ini, const std::string* motDePasseDemarrage, StockBoites& boites,
                   std::vector<std::string>& sectionsBoites, const ContexteCreationBoite& contexte);

// Période du minuteur pour un intervalle en secondes : 0 (jamais) pour un intervalle nul ou
// négatif, bornée à ce qu'un minuteur peut tenir.
int IntervalleMs(int secondes);

// Relance le minuteur d'une boîte (sa période repart de zéro) ; sans effet pour un intervalle nul.
void RelancerMinuteur(structBoite& boite);
