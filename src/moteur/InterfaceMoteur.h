#pragma once
// Ce que le moteur demande à l'interface. Les fenêtres l'implémentent ; les tests d'intégration
// en ont une version qui enregistre les appels.
#include "donnees/Chaines.h"

#include <string>

// Sons système utilisés par le moteur.
enum class SonSysteme { NouveauMessage, Avertissement };

// Ce que la fenêtre d'interception montre d'un message en attente de décision.
struct DonneesInterception {
    std::string Titre;          // légende de la fenêtre
    std::string Raison;         // titre du groupe ; vide : le précédent reste
    std::string Filtre;         // motif du filtre qui a intercepté le message
    std::string Expediteur, Sujet, Destinataires, Copie, Taille, Date;
    bool RougeExpediteur = false, RougeSujet = false, RougeDestinataires = false, RougeCopie = false;
    char Action = 'd';          // 'd' : supprimé au bout du délai ; 'g' : gardé
    int Delai = 30;             // secondes du compte à rebours
    int DelaiAvantRejeterActif = 3;  // secondes pendant lesquelles "&Rejeter" reste grisé
};

// Comment la fenêtre d'interception s'est fermée.
enum class ResultatModal { Ok, Annuler, Oui };
struct ResultatInterception {
    int SecondesRestantes = 0;  // 0 : "&Rejeter" ; -1 : compte à rebours écoulé
    ResultatModal Resultat = ResultatModal::Annuler;
};

class InterfaceMoteur {
public:
    virtual ~InterfaceMoteur() = default;

    // Panneau 1 ou 2 de la barre d'état, ou nouvelle ligne de l'historique d'état (panneau 0).
    virtual void EcrireStatut(int panneau, const std::string& texte) = 0;
    // Entrée de débogage numérotée ; sans effet hors du mode de débogage.
    virtual void EcrireDebug(int numero, const std::string& texte) = 0;
    // Panneau 1 : version du programme, ou "Les filtres sont désactivés".
    virtual void AfficherEtatFiltres() = 0;
    // Panneau 1 : taille du fichier de débogage, quand il est en cours d'écriture.
    virtual void AfficherEtatFichierDebug() = 0;
    // Icône d'erreur de la zone de notification quand une boîte est en erreur ; vrai dans ce cas.
    virtual bool IconeErreurBoite() = 0;
    // Met en avant la ligne de boîte, puis rend le focus à la liste des messages.
    virtual void FocaliserBoite(int index) = 0;
    // Liste des messages occupée (curseur d'attente, désactivée) ou de nouveau disponible.
    virtual void ListeMessagesOccupee(bool occupee) = 0;
    virtual void DonnerFocusListeMessages() = 0;
    // Bouton "Interrompre" : visible ou caché ; actif ou non, avec sa bulle (vide : inchangée).
    virtual void AfficherInterrompre(bool visible) = 0;
    virtual void ActiverInterrompre(bool actif, const std::string& bulle) = 0;
    virtual void ActiverBoutonVider(bool actif) = 0;
    // Fait défiler la liste des messages jusqu'à cette ligne.
    virtual void MontrerMessage(int index) = 0;
    virtual void CurseurAttente(bool attente) = 0;
    virtual void Bip() = 0;
    // Boîte de message d'avertissement (icône point d'exclamation).
    virtual void Avertir(const std::string& texte) = 0;
    virtual void TitreDialogueParametres(const std::string& texte) = 0;
    // Prévient que la liste des messages ne correspond plus au serveur et va être rafraîchie
    // (texte 1075, légende 1076, point d'exclamation, bouton OK). Par défaut, un simple
    // avertissement du texte, sous la légende ordinaire.
    virtual void SignalerListePerimee() { Avertir(Chaine(1075)); }
    // Question Oui/Non (Non par défaut) ; vrai pour Oui.
    virtual bool Demander(const std::string& texte, const std::string& titre) = 0;
    // Sélectionne, montre et met en avant la ligne de boîte.
    virtual void SelectionnerBoite(int index) = 0;
    // Bouton "Enregistrer l'ordre actuel des boîtes".
    virtual void ActiverBoutonOrdre(bool actif) = 0;

    // Zone de notification et liste des messages, pour le bilan de fin d'interrogation.
    virtual std::string LegendeFenetre() = 0;
    virtual void AnimerIconeTray(bool animer) = 0;
    virtual void ImageIconeTray(int image) = 0;
    virtual void BulleIconeTray(const std::string& texte) = 0;
    virtual void TitreListeMessages(const std::string& texte) = 0;
    // Son d'un fichier (nom vide : le son système donné).
    virtual void JouerSon(const std::string& fichier, SonSysteme systeme) = 0;

    // Montre la fenêtre d'interception, modale, et rend la façon dont elle s'est fermée.
    virtual ResultatInterception Intercepter(const DonneesInterception& donnees) = 0;
    // Bulle de la zone de notification (icône d'information).
    virtual void BulleRejet(const std::string& titre, const std::string& texte) = 0;
    // Message d'erreur (icône d'erreur).
    virtual void Erreur(const std::string& texte) = 0;
    // Le nombre de lignes de l'historique a changé (étiquette de la fenêtre des filtres).
    virtual void HistoriqueChange() = 0;
    // Les compteurs de rejets des listes de filtres ont changé (fenêtre des filtres).
    virtual void CompteursFiltresChanges() {}

    // Lance la vérification des actualités (une fois par exécution).
    virtual void DemarrerVerificationActualites() = 0;
};
