#pragma once
// Création, modification, suppression et déplacement des boîtes, en gardant d'accord leur
// section du fichier de paramètres, leur ligne, leur fiche, leur client et leur minuteur.
#include "ChargerBoites.h"
#include "ContexteMoteur.h"
#include "donnees/FichierIni.h"
#include "donnees/ParametresBoite.h"

#include <string>

class MaintenanceBoites {
public:
    MaintenanceBoites(ContexteMoteur& contexte, FichierIni& ini, ContexteCreationBoite creation);

    // `valeurs.Label` est le nom de la boîte ; `valeurs.DestUnique` le texte déjà construit.
    void CreerBoite(const ParametresBoite& valeurs);
    void ModifierBoite(int ligne, const std::string& libelleOrigine, const ParametresBoite& valeurs);
    // Faux (et rien n'est fait) quand la boîte est en cours d'interrogation.
    bool SupprimerBoite(int ligne, const std::string& libelleOrigine);
    // Vrai quand la boîte de la ligne a des messages dans la liste ; l'utilisateur en est averti.
    bool BoiteALesMessages(int ligne);
    // Vrai quand la boîte de la ligne est en cours d'interrogation ; l'utilisateur en est averti.
    bool BoiteOccupee(int ligne);
    void MonterBoite(int ligne);
    void DescendreBoite(int ligne);
    // Réécrit toutes les sections de boîtes dans l'ordre de la liste (après question si `demander`).
    void SauverOrdreBoites(bool demander);

private:
    std::string passeStocke(const std::string& clair) const;
    void remplirColonnes(int ligne, const ParametresBoite& valeurs);
    void ecrireSectionModifiee(const ParametresBoite& valeurs);
    void ecrireSectionOrdonnee(int ligne);
    void deplacer(int ligne, int vers);

    ContexteMoteur& contexte_;
    FichierIni& ini_;
    ContexteCreationBoite creation_;
};
