#pragma once
// Réglages d'une boîte aux lettres tels que sa section du fichier de paramètres les donne.
#include "FichierIni.h"

#include <string>
#include <vector>

// Hôte proposé quand la section n'en donne pas : un nom qui ne mène nulle part.
inline constexpr const char* kServeurPop3Defaut = "pop.serveur-a-renseigner.invalid";

struct ParametresBoite {
    std::string Label;  // nom de la section
    std::string Pop3ID = "maboite";
    std::string Pop3Mail = kServeurPop3Defaut;
    std::string PasseClair;
    int TimeOut = 25;
    int Port = 110;
    bool Ssl = false;
    int Intervalle = 300;
    std::string DestUnique;
    int TypeRejet = 2;
    int NatureRejet = 1;
    bool Demarrage = true;
    bool Apop = false;
    bool AppliqueRejets = true;
};

// Noms des sections de boîtes, dans l'ordre du fichier : toutes sauf "Tessaron" et "JokerPerso".
std::vector<std::string> SectionsBoites(const FichierIni& ini);

// Le texte du refus d'un nom de boîte que le fichier de paramètres ne saurait garder comme
// nom de section (vide, avec "]" ou un retour à la ligne, commençant par "[" ou ";", ou l'un des
// noms réservés "Tessaron" et "JokerPerso") ; vide quand le nom est accepté.
std::string RefusLibelleBoite(const std::string& libelle);

// Le texte "Filtre destinataire" : le domaine puis ",partie" pour chaque destinataire ; vide
// sans domaine.
std::string ConstruireDestUnique(const std::string& domaine, const std::vector<std::string>& parties);

// Lit une section ; `motDePasseDemarrage` non nul quand la protection au démarrage est active
// (le mot de passe stocké est alors démasqué avant d'être débrouillé).
ParametresBoite LireParametresBoite(const FichierIni& ini, const std::string& section,
                                    const std::string* motDePasseDemarrage);
