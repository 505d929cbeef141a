#pragma once
// Ce qui arrive à un message nouveau trouvé par une session : il est listé.
#include "ContexteMoteur.h"

#include <string>

class ClientPop3;

struct MessageRecu {
    int numero = 0;           // numéro sur le serveur
    std::string uidl;
    std::string entete;       // lignes d'en-tête, chacune suivie de CR LF
    long long taille = 0;     // en octets
};

// Ajoute la ligne du message à la liste, avec le numéro `numeroAffiche`.
void ListerMessage(ContexteMoteur& contexte, ClientPop3& client, const std::string& label,
                   const MessageRecu& message, int numeroAffiche);
