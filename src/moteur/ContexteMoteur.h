#pragma once
// Ce que chaque partie du moteur reçoit : l'état du programme, les deux listes et l'interface.
#include "Boites.h"
#include "EtatProgramme.h"
#include "InterfaceMoteur.h"
#include "Messages.h"

struct ContexteMoteur {
    EtatProgramme& etat;
    StockBoites& boites;
    StockMessages& messages;
    InterfaceMoteur& ui;
};
