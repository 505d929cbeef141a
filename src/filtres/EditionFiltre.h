#pragma once
// Création et modification d'un filtre par l'éditeur, dans une des trois listes de filtres :
// préparation de l'éditeur (depuis une ligne ou selon l'origine de la création), contrôle des
// doublons, écriture de la ligne, tri de la liste par motif.
#include "donnees/Filtres.h"

#include <QPointer>
#include <functional>
#include <string>
#include <string_view>

class FichierIni;
class QWidget;
class TForm6;
struct ChoixEditeur;
struct EtatProgramme;

// D'où vient une création.
enum class OrigineCreation {
    Gestionnaire,    // bouton ou menu "Créer" de la fenêtre des filtres
    AjoutExpediteur, // "A&joute l'expéditeur à la liste des filtres" de la fenêtre principale
    AjoutSujet,      // "Ajoute le sujet à la liste des filtres"
    Ami              // bouton Ami de la fenêtre d'interception, "Faire de cet expéditeur un Ami"
};

struct ResultatEdition {
    bool Valide = false;   // l'éditeur a été fermé par OK
    bool Rejeter = false;  // "Rejeter (spam)" était choisi quand l'éditeur s'est fermé (OK ou Annuler)
    int LigneDoublon = -1; // le motif était déjà dans la liste : sa ligne (rien n'a été écrit)
    int Ligne = -1;        // ligne créée ou réécrite, après le tri final ; -1 sinon
};

// Ce que l'édition demande à la vue de la liste visible.
struct VueListeFiltres {
    std::function<void()> AvantChangement;       // avant d'ajouter, de réécrire ou de trier des lignes
    std::function<void()> ApresChangement;       // après
    std::function<void(int ligne)> MontrerLigne; // seule ligne sélectionnée, amenée dans la vue
};

class EditionFiltre {
public:
    EditionFiltre(EtatProgramme& etat, FichierIni& ini, QWidget* parent);
    ~EditionFiltre();

    // `onglet` : 0 expéditeurs, 1 sujets, 2 destinataires. `texte` : la cellule de l'expéditeur
    // (AjoutExpediteur) ou du sujet (AjoutSujet) sans marque de filtre, le texte de l'expéditeur
    // de la fenêtre d'interception (Ami), rien pour Gestionnaire.
    ResultatEdition Creer(int onglet, OrigineCreation origine, const std::string& texte,
                          const VueListeFiltres& vue);
    // Modifie la ligne `ligne` de la liste de l'onglet ; ligne hors de la liste : rien.
    // Pendant que l'éditeur est ouvert, une autre création ou modification ne fait rien.
    ResultatEdition Modifier(int onglet, int ligne, const VueListeFiltres& vue);

    TForm6& Dialogue();

    EditionFiltre(const EditionFiltre&) = delete;
    EditionFiltre& operator=(const EditionFiltre&) = delete;

private:
    ListeFiltres* listeDeLOnglet(int onglet);
    // Choix proposés pour un nouveau filtre : ceux enregistrés par "Dé&faut" quand ils existent.
    void choixParDefaut(ChoixEditeur& choix) const;
    void titrer(int onglet, const char* verbe);
    // Montre l'éditeur, modal ; vrai quand il est fermé par OK.
    bool montrer(ResultatEdition& resultat);
    void signalerDoublon(int ligne, std::string_view motif, const VueListeFiltres& vue);

    EtatProgramme& etat_;
    FichierIni& ini_;
    QPointer<TForm6> dialogue_; // enfant de la fenêtre mère, détruit avec l'édition
    bool enCours_ = false;      // l'éditeur est ouvert : une autre édition ne fait rien
};
