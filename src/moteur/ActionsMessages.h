#pragma once
// Ce que les entrées du menu de la liste des messages tirent des lignes : entrées actives selon
// la sélection, textes copiés, lien de réponse, motif du filtre d'une cellule, motifs proposés
// pour un nouveau filtre. Rien ici ne touche aux fenêtres ni au réseau.
#include "Messages.h"
#include "donnees/Filtres.h"

#include <optional>
#include <string>
#include <vector>

// Le texte avant la première espace insécable suivie de "(" (début de la marque du filtre qui
// a décidé) ; le texte entier quand il n'en a pas.
std::string SansMarqueFiltre(const std::string& texte);

// Les entrées du sous-menu "Copie dans le Presse-Papier".
enum class EntreeCopie { Expediteur, Sujet, DestinatairePrincipal, DestinataireCopie };

// La colonne de la ligne que copie l'entrée (1, 2, 8 ou 9).
int ColonneCopie(EntreeCopie entree);
// Le texte que l'entrée met dans le presse-papier : la cellule sans sa marque de filtre.
std::string TexteCopie(const LigneMessage& ligne, EntreeCopie entree);

// "mailto:" + adresse + "?subject=Re: " + sujet (sans marques), encodé pour un lien : chaque
// caractère hors de ceux qu'un lien mailto garde tels quels devient %XX de son UTF-8 (une
// espace donne %20). Le texte rendu est en ASCII.
std::string LienReponse(const LigneMessage& ligne);

// Le motif désigné par la marque d'une cellule (espace insécable, "(", motif, ")", espace
// insécable, en fin de cellule) et la liste de filtres où le chercher, selon la colonne :
// expéditeurs (1), sujets (2), destinataires (8 et 9).
struct MotifCellule {
    std::string Motif;
    IndexListe Liste = ListeIndexExpediteurs;
};
// Rien quand la colonne n'est pas l'une de celles-là, ou que la cellule ne finit pas par une
// marque au motif non vide.
std::optional<MotifCellule> MotifDeCellule(const std::string& cellule, int colonne);

// Ce que le menu de la liste des messages montre actif (ou visible) pour une sélection.
struct EtatMenuMessages {
    bool VoirTexte = false;            // une seule ligne choisie
    bool VoirEntete = false;
    bool Analyser = false;
    bool Supprimer = false;            // au moins une ligne choisie
    int LegendeSupprimer = 1545;       // numéro du texte de l'entrée : 1546 pour plusieurs lignes
    bool Copie = false;                // le sous-menu et "L'expéditeur"
    bool CopieSujet = false;           // une seule ligne, cellule non vide
    bool CopieDestinataire = false;
    bool CopieCopie = false;
    bool Repondre = false;
    bool AjouterExpediteur = false;
    bool FaireAmi = false;
    bool AjouterSujet = false;         // comme "Le sujet"
    bool LancerClient = true;          // toujours
    bool Vider = false;                // la liste a des lignes
    bool ToutSelectionner = false;     // la liste a des lignes
    bool ToutSelectionnerVisible = false;  // réglage ToutSelectionner
};

// `selection` : index des lignes choisies (un index hors de la liste ne compte pas).
EtatMenuMessages EtatMenu(const StockMessages& messages, const std::vector<int>& selection,
                          bool toutSelectionner);
