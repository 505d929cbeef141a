#pragma once
// Bilan de fin d'interrogation d'une boîte : zone de notification, son, titre de la liste, état.
#include "ContexteMoteur.h"

#include <string>

// `nombreAvant` : nombre de lignes de la liste des messages quand l'interrogation a été demandée.
void BilanFinScrutation(ContexteMoteur& contexte, const std::string& label, int nombreAvant);
