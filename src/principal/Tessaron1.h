#pragma once
// Fenêtre principale : la liste des boîtes, la liste des messages et la barre d'état.
// Elle détient l'état du programme et les deux listes, et sert d'interface au moteur.
#include "donnees/DossierDonnees.h"
#include "donnees/FichierIni.h"
#include "filtres/EditionFiltre.h"
#include "moteur/ActionsMessages.h"
#include "moteur/Boites.h"
#include "moteur/ContexteMoteur.h"
#include "moteur/EtatProgramme.h"
#include "moteur/InterfaceMoteur.h"
#include "moteur/Messages.h"
#include "moteur/Scrutation.h"
#include "principal/ClientMessagerie.h"
#include "principal/Icones.h"

#include <QMainWindow>
#include <memory>

class BarreEtat;
class JournalDebug;
class IconeTray;
class QAction;
class QMenu;
class QToolButton;
class Veille;
class TForm3;
class TForm7;
class TFormRejets;
class ModeleTableau;
class QComboBox;
class QTimer;
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
    QComboBox* HistoriqueEtat() const;
    QPushButton* BtnInterrompre() const;
    BarreEtat* Barre() const { return barre_; }
    JournalDebug* Journal() const { return journal_; }
    // Texte d'un panneau de la barre d'état (" " + texte écrit).
    QString TextePanneau(int numero) const;
    TForm7* FenetreInterception() const { return form7_; }
    TFormRejets* GestionnaireFiltres() const { return formRejets_; }

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
    // Faux quand le mot de passe de démarrage a été refusé : le programme doit s'arrêter.
    bool Accepte() const { return !refuse_; }

    // Un autre exemplaire du programme a été lancé : la fenêtre revient, ou la relève reprend.
    void AutreInstance();
    // Client de messagerie trouvé auprès du bureau (exécutable et icône).
    void DefinirClientMessagerie(const ClientMessagerie& client);

    // Commandes de la fenêtre.
    void Reduire(bool avecMotDePasse);
    void Restaurer();
    void PleinEcran();
    void BasculerScrutation(bool active);
    bool ScrutationActive() const { return etat_.ScrutationActive; }
    void BasculerFiltres(bool actifs);
    void ActualiserIconeTray();
    void ViderListe();
    // Fond de toutes les listes : couleur système (0xFF0000nn) ou RGB (0x00BBGGRR).
    void AppliquerCouleurListes(std::uint32_t couleur);
    void LancerClientMessagerie();
    // Affiche le début (texte) ou l'en-tête du message sélectionné, sans le retirer du serveur.
    void VoirMessageSelectionne(bool entete);
    // Supprime sur les serveurs les messages sélectionnés (question sauf `sansConfirmation`).
    void SupprimerMessagesSelectionnes(bool sansConfirmation);
    void SignalerListePerimee() override;
    TForm3* Visionneuse() const { return form3_; }
    IconeTray* Tray() const { return tray_; }
    QAction* EntreeScrutation() const { return entreeScrutation_; }
    QToolButton* BoutonScrutation() const { return boutonScrutation_; }
    QToolButton* BoutonFiltres() const { return boutonFiltres_; }
    QMenu* MenuFermeture() const { return menuFermeture_; }
    bool ReduitProtege() const { return reduitProtege_; }
    void ChangementVeille(bool miseEnVeille);
    // Sélection de la liste des boîtes changée : boutons de la liste, couleur des messages.
    void SelectionBoiteChangee();
    // Un pas du séparateur des deux listes.
    void SeparateurDeplace();
    QToolButton*
    BoutonBoite(int index) const; // 0 ordre, 1 monter, 2 descendre, 3 créer, 4 supprimer, 5 modifier

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
    void CompteursFiltresChanges() override;

protected:
    void closeEvent(QCloseEvent* evenement) override;
    bool event(QEvent* evenement) override;
    void changeEvent(QEvent* evenement) override;
    bool eventFilter(QObject* objet, QEvent* evenement) override;

private:
    void construireListes();
    void construireBarreEtat();
    void afficherAide(const QString& aide);
    void construireRaccourcis();
    void construireBoutonsBoites(class QBoxLayout* gauche, class QBoxLayout* droite);
    void deplacerBoite(int sens);
    void ouvrirEditeurBoite();
    void construireCommandes(class QGridLayout* disposition);
    void construireTray();
    void construireMenuFermeture();
    void appliquerEtatScrutation();
    void ouvrirGestionnaireFiltres(int onglet);
    void creerGestionnaireFiltres();
    void trouverFiltre(int liste, const std::string& motif);
    void ajouterFiltreDuMessage(bool sujet);
    void faireAmiDuMessage();
    void enregistrerListes();
    void afficherAideEnLigne();
    bool demanderMotDePasse(int texte, QWidget* parent);
    struct ContexteCreationBoite contexteCreationBoite();
    void chargerDonnees();
    void creerFenetreInterception();
    void creerVisionneuse();
    bool lireMessage(bool entete, int nbLignes, bool relecture);
    int ligneMessageSelectionnee() const;
    std::vector<int> lignesMessagesSelectionnees() const;
    void construireRaccourcisMessages();
    void ouvrirMenuMessages(const QPoint& position);
    void ouvrirMenuBoites(const QPoint& position);
    void copierCellule(EntreeCopie quoi);
    void repondre();
    void appliquerParametres();
    void legenderGroupeBoites();
    void relireDisposition();
    void SauverParametres();
    QStringList entetesMessages() const;
    QVariant styleMessage(int ligne, int colonne, int role) const;
    void trierMessages(int colonne);
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
    QPushButton* button1_ = nullptr;
    class QGroupBox* groupeBoites_ = nullptr;
    BarreEtat* barre_ = nullptr;
    JournalDebug* journal_ = nullptr;
    QTimer* minuteurAide_ = nullptr;
    ModeleTableau* modeleBoites_ = nullptr;
    ModeleTableau* modeleMessages_ = nullptr;
    class QSplitter* separateur_ = nullptr;
    bool fermetureFaite_ = false;
    TForm7* form7_ = nullptr;
    TForm3* form3_ = nullptr;
    TFormRejets* formRejets_ = nullptr;
    IconeTray* tray_ = nullptr;
    QMenu* menuTray_ = nullptr;
    QMenu* menuFermeture_ = nullptr;
    QAction* entreeScrutation_ = nullptr;
    QAction* entreeReduireProtege_ = nullptr;
    QToolButton* boutonScrutation_ = nullptr;
    QToolButton* boutonFiltres_ = nullptr;
    QToolButton* boutonVider_ = nullptr;
    Veille* veille_ = nullptr;
    bool reduitProtege_ = false;
    bool refuse_ = false;
    bool quitter_ = false; // fermeture demandée pour de bon (Quitter, Alt, fin de session)
    std::string commandeMessagerie_;
    ClientMessagerie clientBureau_;
    JeuIcones icones_;
    QMetaObject::Connection sortieListeBoites_;
    std::unique_ptr<class MaintenanceBoites> maintenance_;
    QToolButton* btnOrdre_ = nullptr;
    QToolButton* btnMonter_ = nullptr;
    QToolButton* btnDescendre_ = nullptr;
    QToolButton* btnCreer_ = nullptr;
    QToolButton* btnSupprimer_ = nullptr;
    QToolButton* btnModifier_ = nullptr;
    static constexpr int kHauteurMinBoites = 138;
    static constexpr int kHauteurMinMessages = 100;
    int colonneTri_ = -1;
    bool ordreDecroissant_ = false;
};
