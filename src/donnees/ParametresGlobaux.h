#pragma once
// Réglages globaux (section "Tessaron" du fichier de paramètres) : valeurs en mémoire, lecture
// au démarrage et enregistrement à la sortie.
#include "JokersPerso.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class FichierIni;

inline constexpr const char* kSectionGlobale = "Tessaron";
inline constexpr const char* kListeConsonnesDefaut = "bcdfghjklmnpqrstvwxz";
// Lettres, chiffres et lettres accentuées usuelles (octets Windows-1252).
inline constexpr const char* kListeAlphaNumDefaut =
    "abcdefghijklmnopqrstuvwxyz0123456789\xE0\xE2\xEA\xEB\xE9\xE8\xEE\xEF\xF4\xF6\xF9\xFB\xFC";
// Serveur SMTP proposé quand rien n'est réglé : un nom qui ne mène nulle part.
inline constexpr const char* kServeurSmtpDefaut = "smtp.serveur-a-renseigner.invalid";
inline constexpr int kNbColonnesHistorique = 6;

// Texte de réponse par défaut (six lignes séparées par CR LF).
std::string SpamTexteDefaut();

struct ParametresGlobaux {
    // Programme et fenêtre principale.
    bool PlusieursInstances = false;
    bool ModeDebug = false;
    std::string Version;
    int Top = 10, Left = 10, Height = 478, Width = 640;
    bool PleinEcran = false;
    int HauteurBoites = 138;
    std::array<int, 18> Col = {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
    std::uint32_t CouleurListes = 0xFF000005;
    int NbEvenements = 100;
    bool ToutSelectionner = false;
    std::string Messager;
    std::string Protege;  // mot de passe de démarrage, en clair

    // Relève et interception.
    bool TestInternet = false;
    bool RecenseDemar = true;
    bool VerifVersionDemar = true;
    bool FiltresActifs = true;
    int DelaiRejeterGarder = 30;
    int DelaiAvantRejeterActif = 3;
    int NbLigMsg = 10;

    // Notification et affichage ; un son dont le fichier manquait au démarrage est vide.
    bool Son = true;
    std::string FichierSon, SonRejet, SonAmi;
    bool AlerteVisuelleRejet = true;
    bool IconeListeBlanche = false;
    bool AfficheAmis = false;
    bool HistoriseSuppression = true;

    // Filtrage.
    std::string ListeConsonnes = kListeConsonnesDefaut;
    std::string ListeAlphaNum = kListeAlphaNumDefaut;
    std::string ListeJokers = kListeJokersDefaut;
    int SujetVide = 3, DestAVide = 3, DestPasArobase = 3;
    bool ExpEtSujetDetruire = false;
    int FromReturnPath = 1;
    bool RejetInex = false;
    int ConditionsRejetInex = 0;
    int AvantRejetInex = 0;
    std::string IPDns;

    // Historique.
    int NbHisto = 500;
    bool HistoNbLigSav = true;
    int NbHistoDate = 15;
    bool HistoDateSav = true;
    std::array<int, kNbColonnesHistorique> ColHist = {0, 0, 0, 0, 0, 0};

    // Réponse aux expéditeurs rejetés.
    std::string SMTPServeur = kServeurSmtpDefaut;
    bool SMTPAuth = false;
    std::string SMTPId = "identifiant";
    std::string SMTPMdP;  // en clair
    int PortSMTP = 0;
    std::string SpamTexte = SpamTexteDefaut();
    std::string SMTPExped;

    // Fenêtre des filtres.
    int RejTop = 10, RejLeft = 10, RejHeight = 478, RejWidth = 640;

    // Copies de sauvegarde et actualités.
    int NbFicSauv = 5;
    int DelaiVersion = 0;
    std::string DateActualites;
};

// Lit toutes les clés de la section globale avec leurs règles : Top et Left négatifs lus 0,
// listes de lettres passées en minuscules et remplacées par le défaut quand elles sont vides.
// Les noms de sons sont lus tels quels (voir OublierSonsAbsents).
ParametresGlobaux LireParametresGlobaux(const FichierIni& ini);

// Vide les noms de sons dont le fichier n'existe pas ; `existe` dit si un chemin existe.
template <typename Existe>
void OublierSonsAbsents(ParametresGlobaux& p, Existe existe) {
    for (std::string* son : {&p.FichierSon, &p.SonRejet, &p.SonAmi})
        if (!son->empty() && !existe(*son)) son->clear();
}

// Enregistrement de sortie : les clés dans leur ordre, de `Version` à `FiltresActifs`.
// Faux quand une écriture a échoué (les suivantes sont tout de même tentées).
bool SauverParametresGlobaux(FichierIni& ini, const ParametresGlobaux& p, const std::string& versionProgramme);

// La géométrie de la fenêtre des filtres, écrite avec les listes quand la fenêtre a été montrée.
bool SauverGeometrieFiltres(FichierIni& ini, const ParametresGlobaux& p);
