#pragma once
// Passage du bloc d'en-tête d'un message nouveau à son résumé décodé.
#include "structMessage.h"

#include <string>

// Remplit tout le résumé sauf Uidl, NumeroMsg et Taille (laissés au demandeur). `lignesEntete`
// est la réponse à TOP, chaque ligne suivie de CR LF. `returnPath` : l'expéditeur à tester est
// le Return-Path (choix « ReturnPath » du gestionnaire de filtres) quand il contient une adresse ;
// sinon c'est le From décodé. SujetTeste est le sujet décodé en minuscules, vide s'il l'est.
structMessage ConstruireMessage(const std::string& lignesEntete, bool returnPath);
