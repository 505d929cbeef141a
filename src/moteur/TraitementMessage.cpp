#include "TraitementMessage.h"

#include "FormaterEntier.h"
#include "pop3/ClientPop3.h"

void ListerMessage(ContexteMoteur& contexte, ClientPop3& client, const std::string& label,
                   const MessageRecu& message, int numeroAffiche) {
    LigneMessage ligne;
    ligne.Client = &client;
    ligne.Colonnes[0] = std::to_string(numeroAffiche);
    ligne.Colonnes[ColTaille] = FormaterEntier(message.taille, ".");
    ligne.Colonnes[ColBoiteOrigine] = label;
    ligne.Colonnes[ColUidl] = message.uidl;
    ligne.Icone = 0;
    contexte.messages.Ajouter(std::move(ligne));
}
