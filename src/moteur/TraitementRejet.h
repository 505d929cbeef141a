#pragma once
// Ce qui arrive à un message que le classement rejette : fenêtre d'interception pour les
// actions d et g, comptage des filtres, historique, suppression sur le serveur, réponse et bulle.
#include "ContexteMoteur.h"
#include "classement/Classer.h"
#include "entete/structMessage.h"

#include <string>

class ClientPop3;

// Ajoute un au compteur de chaque ligne de rejet retenue ; rend le `Pendant` de la dernière
// (destinataire, sinon sujet, sinon expéditeur), vide sans ligne retenue.
std::string CompterFiltres(ListesFiltres& listes, const ResultatClassement& classement);

// Décision r, d ou g pour le message numéro `numeroServeur` de la session ; `supprimes` compte
// les messages supprimés depuis le début de la session (augmenté quand celui-ci l'est).
void TraiterRejet(ContexteMoteur& contexte, ClientPop3& client, int ligneBoite, const structMessage& message,
                  const ResultatClassement& classement, int numeroServeur, int& supprimes);
