#pragma once
// Ce qui arrive à un message nouveau trouvé par une session : il est classé puis listé.
#include "ContexteMoteur.h"
#include "classement/Classer.h"
#include "entete/structMessage.h"

#include <string>

class ClientPop3;

// Classe le message de la boîte `ligneBoite` puis le liste ; `supprimes` compte les messages
// supprimés sur le serveur pendant la session.
void TraiterNouveauMessage(ContexteMoteur& contexte, ClientPop3& client, int ligneBoite, structMessage& message,
                           int& supprimes);

// Ajoute la ligne du message à la liste, avec ses marques et son icône (rien pour un ami
// quand les amis ne sont pas affichés).
void ListerMessage(ContexteMoteur& contexte, ClientPop3& client, const std::string& label,
                   const structMessage& message, const ResultatClassement& classement);
