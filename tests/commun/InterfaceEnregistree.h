#pragma once
// Interface du moteur pour les tests : elle retient ce que le moteur lui demande.
#include "moteur/InterfaceMoteur.h"

#include <functional>
#include <string>
#include <vector>

class InterfaceEnregistree : public InterfaceMoteur {
public:
    std::vector<std::string> historique; // panneau 0, dans l'ordre d'écriture
    std::string panneau1;
    std::string panneau2;
    std::vector<std::string> debug;
    int bips = 0;
    int avertissements = 0;
    int listesPerimees = 0; // avis "La liste va être rafraichie"
    bool interrompreVisible = false;
    bool interrompreActif = false;
    std::string bulleInterrompre;
    std::string titreListe;
    std::string bulleTray;
    int sonsJoues = 0;
    bool animation = false;
    int imageTray = -1;
    int verificationsActualites = 0;
    bool listeOccupee = false;
    std::vector<std::string> questions;
    std::vector<DonneesInterception> interceptions;
    std::function<ResultatInterception(const DonneesInterception&)> reponseInterception;
    const bool* moteurOccupe = nullptr; // observé pendant l'interception
    bool moteurOccupePendantInterception = false;
    std::vector<std::string> bulles;
    std::vector<std::string> erreurs;
    int changementsHistorique = 0;
    std::vector<std::string> sons;
    bool reponseOui = true;
    int boiteSelectionnee = -1;
    bool boutonOrdreActif = false;
    // Appelé chaque fois que le bouton "Interrompre" est montré (une fois par message parcouru).
    std::function<void()> surAffichageInterrompre;
    // Retour de IconeErreurBoite.
    std::function<bool()> erreurBoite = [] { return false; };

    int compter(const std::string& debutLigne) const {
        int n = 0;
        for (const auto& l : historique)
            n += l.rfind(debutLigne, 0) == 0 ? 1 : 0;
        return n;
    }

    void EcrireStatut(int panneau, const std::string& texte) override {
        if (panneau == 1)
            panneau1 = texte;
        else if (panneau == 2)
            panneau2 = texte;
        else
            historique.push_back(texte);
    }
    void EcrireDebug(int numero, const std::string& texte) override {
        debug.push_back(std::to_string(numero) + ":" + texte);
    }
    void AfficherEtatFiltres() override { panneau1 = "version"; }
    void AfficherEtatFichierDebug() override {}
    bool IconeErreurBoite() override { return erreurBoite(); }
    void FocaliserBoite(int) override {}
    void ListeMessagesOccupee(bool occupee) override { listeOccupee = occupee; }
    void DonnerFocusListeMessages() override {}
    void AfficherInterrompre(bool visible) override {
        interrompreVisible = visible;
        if (visible && surAffichageInterrompre) surAffichageInterrompre();
    }
    void ActiverInterrompre(bool actif, const std::string& bulle) override {
        interrompreActif = actif;
        if (!bulle.empty()) bulleInterrompre = bulle;
    }
    void ActiverBoutonVider(bool) override {}
    void MontrerMessage(int) override {}
    void CurseurAttente(bool) override {}
    void Bip() override { ++bips; }
    void Avertir(const std::string&) override { ++avertissements; }
    void TitreDialogueParametres(const std::string&) override {}
    void SignalerListePerimee() override { ++listesPerimees; }
    bool Demander(const std::string& texte, const std::string&) override {
        questions.push_back(texte);
        return reponseOui;
    }
    void SelectionnerBoite(int index) override { boiteSelectionnee = index; }
    void ActiverBoutonOrdre(bool actif) override { boutonOrdreActif = actif; }
    std::string LegendeFenetre() override { return "Tessaron"; }
    void AnimerIconeTray(bool animer) override { animation = animer; }
    void ImageIconeTray(int image) override { imageTray = image; }
    void BulleIconeTray(const std::string& texte) override { bulleTray = texte; }
    void TitreListeMessages(const std::string& texte) override { titreListe = texte; }
    void JouerSon(const std::string& fichier, SonSysteme systeme) override {
        ++sonsJoues;
        sons.push_back(!fichier.empty()                       ? fichier
                       : systeme == SonSysteme::Avertissement ? "SystemExclamation"
                                                              : "MailBeep");
    }
    void DemarrerVerificationActualites() override { ++verificationsActualites; }
    ResultatInterception Intercepter(const DonneesInterception& donnees) override {
        interceptions.push_back(donnees);
        moteurOccupePendantInterception = moteurOccupe && *moteurOccupe;
        return reponseInterception ? reponseInterception(donnees)
                                   : ResultatInterception{5, ResultatModal::Oui};
    }
    void BulleRejet(const std::string& titre, const std::string& texte) override {
        bulles.push_back(titre + "|" + texte);
    }
    void Erreur(const std::string& texte) override { erreurs.push_back(texte); }
    void HistoriqueChange() override { ++changementsHistorique; }
};
