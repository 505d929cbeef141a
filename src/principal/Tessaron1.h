#pragma once
// Fenêtre principale : la liste des boîtes, la liste des messages et la barre d'état.
// Elle détient l'état du programme et les deux listes, et sert d'interface au moteur.
#include "donnees/DossierDonnees.h"
#include "donnees/FichierIni.h"
#include "moteur/Boites.h"
#include "moteur/ContexteMoteur.h"
#include "moteur/EtatProgramme.h"
#include "moteur/InterfaceMoteur.h"
#include "moteur/Messages.h"
#include "moteur/Scrutation.h"

#include <QMainWindow>
#include <memory>

class HistoriqueStatut;
class TForm7;
class ModeleTableau;
class QComboBox;
class QLabel;
class QPushButton;
class QTreeView;

class TForm1 : public QMainWindow, public InterfaceMoteur {
    Q_OBJECT
public:
    explicit TForm1(DossierDonnees dossier, QWidget* parent = nullptr);
    ~TForm1() override;

    EtatProgramme& Etat() { return etat_; }
    StockBoites& Boites() { return boites_; }
    StockMessages& Messages() { return messages_; }
    Scrutation& Moteur() { return *scrutation_; }
    QTreeView* ListeBoites() const { return listeBoites_; }
    QTreeView* ListeMessages() const { return listeMessages_; }
    QComboBox* HistoriqueEtat() const { return historique_; }
    QPushButton* BtnInterrompre() const { return btnInterrompre_; }
    QLabel* Panneau(int numero) const;
    TForm7* FenetreInterception() const { return form7_; }

    // Seconde phase du démarrage : minuteur de démarrage et recensement.
    void DemarrageSuite();

    // InterfaceMoteur
    void EcrireStatut(int panneau, const std::string& texte) override;
    void EcrireDebug(int numero, const std::string& texte) override;
    void AfficherEtatFiltres() override;
    void AfficherEtatFichierDebug() override;
    bool IconeErreurBoite() override;
    void FocaliserBoite(int index) override;
    void ListeMessagesOccupee(bool occupee) override;
    void DonnerFocusListeMessages() override;
    void AfficherInterrompre(bool visible) override;
    void ActiverInterrompre(bool actif, const std::string& bulle) override;
    void ActiverBoutonVider(bool actif) override;
    void MontrerMessage(int index) override;
    void CurseurAttente(bool attente) override;
    void Bip() override;
    void Avertir(const std::string& texte) override;
    void TitreDialogueParametres(const std::string& texte) override;
    bool Demander(const std::string& texte, const std::string& titre) override;
    void SelectionnerBoite(int index) override;
    void ActiverBoutonOrdre(bool actif) override;

    // Séquence de fermeture : une seule fois, même si la fin de session et la fermeture arrivent
    // toutes deux ; Maj enfoncée au moment de fermer saute tout l'enregistrement.
    void FermerProgramme();

protected:
    void closeEvent(QCloseEvent* evenement) override;
    std::string LegendeFenetre() override;
    void AnimerIconeTray(bool animer) override;
    void ImageIconeTray(int image) override;
    void BulleIconeTray(const std::string& texte) override;
    void TitreListeMessages(const std::string& texte) override;
    void JouerSon(const std::string& fichier, SonSysteme systeme) override;
    void DemarrerVerificationActualites() override;
    ResultatInterception Intercepter(const DonneesInterception& donnees) override;
    void BulleRejet(const std::string& titre, const std::string& texte) override;
    void Erreur(const std::string& texte) override;
    void HistoriqueChange() override;

private:
    void construireListes();
    void construireBarreEtat();
    void construireRaccourcis();
    void chargerDonnees();
    void creerFenetreInterception();
    void appliquerParametres();
    void relireDisposition();
    void SauverParametres();
    QStringList entetesMessages() const;
    QStringList entetesBoites() const;
    int ligneBoiteSelectionnee() const;

    DossierDonnees dossier_;
    FichierIni ini_;
    EtatProgramme etat_;
    StockBoites boites_;
    StockMessages messages_;
    ContexteMoteur contexte_;
    std::unique_ptr<Scrutation> scrutation_;

    QTreeView* listeBoites_ = nullptr;
    QTreeView* listeMessages_ = nullptr;
    QLabel* titreMessages_ = nullptr;
    QComboBox* historique_ = nullptr;
    QPushButton* btnInterrompre_ = nullptr;
    QPushButton* button1_ = nullptr;
    QLabel* panneau1_ = nullptr;
    QLabel* panneau2_ = nullptr;
    ModeleTableau* modeleBoites_ = nullptr;
    ModeleTableau* modeleMessages_ = nullptr;
    class QSplitter* separateur_ = nullptr;
    bool fermetureFaite_ = false;
    TForm7* form7_ = nullptr;
};
