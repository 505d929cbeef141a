#pragma once
// Accès au réseau avant une interrogation programmée, quand le réglage le demande.
#include "ContexteMoteur.h"

// Vrai sans rien demander quand le test est désactivé ; sinon vrai tant que le système ne
// se déclare pas déconnecté. Sans service de connaissance du réseau, l'utilisateur est averti
// et le test échoue.
bool TesterInternet(ContexteMoteur& contexte);
