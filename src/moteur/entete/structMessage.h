#pragma once
// Résumé décodé de l'en-tête d'un message nouveau trouvé sur un serveur : ce que testent les
// filtres, ce que montrent la liste des messages, la fenêtre d'interception et l'historique.
#include <string>

struct structMessage {
    std::string Uidl;              // identifiant unique donné par le serveur
    int NumeroMsg = 0;             // numéro sur le serveur, moins les messages supprimés avant
    std::string ExpediteurTeste;   // expéditeur soumis aux filtres (From décodé ou Return-Path)
    std::string AdresseExpediteur; // adresse nue de ExpediteurTeste, en minuscules
    std::string SujetDecode;       // sujet, mots codés décodés
    std::string SujetTeste;        // SujetDecode en minuscules
    std::string ChampA;            // valeur du To, telle quelle
    std::string ChampCc;           // première ligne du Cc
    std::string DateAffichee;      // "jj/mm/aaaa hh:mm:ss", vide si la date est inutilisable
    long long Taille = 0;          // en octets
    std::string TypeContenu;       // "jeu de caractères/type/codage de transfert"
    bool Multipart = false;        // le type de contenu contient "multipart"
};
