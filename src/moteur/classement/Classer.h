#pragma once
// Classement d'un message nouveau : les trois listes de filtres dans l'ordre, les règles
// globales, la règle des destinataires exclusifs de la boîte et la vérification de
// l'expéditeur donnent une lettre d'action, la décision. Sans Qt : la vérification de
// l'expéditeur et le journal de débogage passent par des interfaces.
#include "donnees/Filtres.h"
#include "moteur/entete/structMessage.h"
#include "moteur/filtrage/Correspondance.h"

#include <array>
#include <functional>
#include <string>
#include <vector>

// Rang d'une lettre d'action : position de la lettre en minuscule dans " cgdr", moins un ;
// 4 pour une lettre absente de ce texte.
int RangAction(char lettre);

// La lettre d'action (en minuscule) d'un index des listes de choix : "Rdgc " ; hors de 0..4, `defaut`.
char LettreAction(int index, char defaut);

// Ce que la classification lit de la boîte.
struct BoiteAClasser {
    std::string DestUnique;    // "Filtre destinataire" : domaine puis ",partie" par destinataire
    std::string TypeRejet;     // "Type de rejet" : une lettre de "Rdgc "
    int NatureRejet = 1;       // bits de la règle des destinataires
    bool AppliqueRejets = true;
};

// Réglages globaux lus par la classification.
struct ReglesClassement {
    int SujetVide = 3;
    int DestAVide = 3;
    int DestPasArobase = 3;
    bool ExpEtSujetDetruire = false;
    bool RejetInex = false;     // vérification de l'expéditeur active
    int AvantRejetInex = 0;     // action sur un expéditeur inexistant
    bool FiltresActifs = true;  // bouton des filtres
};

// Vérification de l'existence de l'expéditeur, faite ailleurs (réseau).
class VerificationExpediteur {
public:
    virtual ~VerificationExpediteur() = default;
    virtual void Reinitialiser() = 0;
    virtual void VerifierExpediteur(const std::string& expediteurTeste) = 0;
    virtual bool DecisionInexistant() = 0;
    // 1 l'adresse existe ; 0 non vérifiée ; -1 refusée par son serveur ; -2 pas de serveur.
    virtual int EtatVerification() const = 0;
};

// Une ligne de filtre retenue : sa position dans sa liste et une copie (la liste peut changer
// pendant que le message attend une décision de l'utilisateur).
struct FiltreRetenu {
    int Index = -1;
    structFiltre Filtre;
    bool Present() const { return Index >= 0; }
};

enum IndexMarque { MarqueExpediteur = 0, MarqueSujet = 1, MarqueA = 2, MarqueCc = 3 };

struct ResultatClassement {
    char Decision = ' ';  // ' ', 'c', 'g', 'd' ou 'r'
    bool Ami = false;
    FiltreRetenu FiltreExpediteur, FiltreSujet, FiltreDestinataire;
    std::array<std::string, 4> MarquesFiltres;  // expéditeur, sujet, À, Cc
    int ChampsRejetes = 0;     // 1 : À ; 2 : Cc ; 4 : règle des destinataires exclusifs
    int ResultatExclusif = 0;  // 0, 1 (intrus) ou 2 (absence du destinataire privilégié)
    int RaisonInterception = 0;  // numéro du texte, 0 sans filtre de rejet
    // Éléments qui ont causé le rejet, pour la fenêtre d'interception.
    std::array<bool, 4> Causes = {false, false, false, false};
    bool DestinataireVide = false;  // À et Cc vides : montrés "<Destinataire vide>"
    char ActionExpediteur = ' ', ActionSujet = ' ', ActionDestinataire = ' ', ActionExclusif = ' ';
    bool ExpediteurInexistant = false;  // la vérification a rendu un état négatif
};

// Journal de débogage : appelé seulement quand `actif`.
struct JournalClassement {
    bool actif = false;
    std::function<void(int numero, const std::string& texte)> ecrire;
    void operator()(int numero, const std::string& texte) const {
        if (actif && ecrire) ecrire(numero, texte);
    }
};

// Tout ce qu'une classification consulte, à part le message.
struct ContexteClassement {
    ListesFiltres& listes;
    const ReglesClassement& regles;
    const ContexteCorrespondance& correspondance;
    VerificationExpediteur* verification = nullptr;  // nulle : pas de vérification
    JournalClassement journal;
};

// Classe le message ; son SujetTeste devient "<Vide>" (suivi d'une espace insécable quand la
// règle du sujet vide agit) quand il est vide.
ResultatClassement Classer(structMessage& message, const BoiteAClasser& boite, ContexteClassement& contexte);

// Règle des destinataires exclusifs : vrai quand le message passe ; `resultat` reçoit 0, 1 ou 2.
bool VerifierDestExclusifs(const std::string& champA, const std::string& champCc, int bits,
                           const std::string& destUnique, int& resultat, const JournalClassement& journal);
