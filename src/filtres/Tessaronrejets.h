#pragma once
// Fenêtre de gestion des filtres : les trois listes de filtres et l'historique des rejets, les
// règles globales (sujet vide, destinataires vides, adresse sans arobase, expéditeur et sujet,
// champ de l'expéditeur testé) et la conservation de l'historique. Créée cachée au démarrage,
// elle vit jusqu'à la fin du programme ; la fermer la cache seulement.
//
// Les vues montrent les listes de etat.Listes dans leur ordre (trier une vue réordonne la liste
// elle-même) ; les réglages sont écrits dans etat.Parametres à chaque changement, le moteur les
// y lit.
#include "filtres/EditionFiltre.h"
#include "filtres/OperationsListes.h"

#include <QColor>
#include <QMessageBox>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class FichierIni;
class ModeleHistorique;
class ModeleListe;
class ModeleListeFiltres;
class QAbstractButton;
class QAction;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QMenu;
class QPrinter;
class QPushButton;
class QShortcut;
class QSpinBox;
class QStackedWidget;
class QTabBar;
class QTreeView;
struct EtatProgramme;

class TFormRejets : public QWidget {
    Q_OBJECT
public:
    // Onglets ; l'index est aussi celui de la liste (0, 1, 2 et 5).
    enum Onglet {
        OngletExpediteurs = 0,
        OngletSujets = 1,
        OngletDestinataires = 2,
        OngletReponse = 3,
        OngletInexistant = 4,
        OngletHistorique = 5,
        NbOnglets = 6
    };
    enum class Commande {
        Creer,
        Modifier,
        Supprimer,
        ImportExport,
        Rechercher,
        Imprimer,
        RemiseAZero,
        Vider,
        Exporter,
        Aide,
        Fermer
    };
    // Les trois règles globales à quatre actions.
    enum Regle { RegleSujetVide = 0, RegleDestAVide = 1, RegleDestPasArobase = 2 };

    TFormRejets(EtatProgramme& etat, FichierIni& ini, QWidget* parent = nullptr);
    ~TFormRejets() override;

    // Montre la fenêtre sans bloquer, sur cet onglet (0 à 5), au premier plan.
    void Montrer(int onglet);
    // Montre l'onglet puis crée un filtre par l'éditeur, préparé selon l'origine.
    ResultatEdition CreerDepuis(int onglet, OrigineCreation origine, const std::string& texte);
    // Montre la liste (0, 1 ou 2), sélectionne sa première ligne et y cherche le motif à partir
    // de celle-ci ; prévient quand il n'y est plus.
    void TrouverFiltre(int liste, const std::string& motif);
    // Les listes viennent d'être chargées dans etat.Listes : vues, nombres et boutons à jour.
    void ListesChargees();
    // Le moteur a changé des compteurs ou l'historique.
    void Rafraichir();
    // Fond des quatre listes.
    void AppliquerCouleur(const QColor& fond);
    // Le délai d'interception a changé : libellés des actions refaits, choix gardés.
    void DelaiChange();
    // Relit dans etat.Parametres les règles globales et la conservation de l'historique (une
    // valeur hors des choix prend le défaut, les nombres sont ramenés entre 10 et 9999, et
    // etat.Parametres reçoit ce que montrent les contrôles) ; annonce le champ de l'expéditeur.
    void RelireOptions();
    // Montrée au moins une fois pendant cette exécution (sa géométrie est alors à enregistrer).
    bool AEteMontree() const { return montree_; }
    // Position et taille dans RejTop, RejLeft, RejHeight, RejWidth (fenêtre montrée seulement),
    // largeurs des colonnes de l'historique dans ColHist.
    void MemoriserGeometrie();

    // Le champ de l'expéditeur testé a changé (0 From sans alias, 1 ReturnPath).
    std::function<void(int fromReturnPath)> SurChampExpediteur;
    // Légende actuelle de la colonne de l'expéditeur dans la liste des messages.
    std::function<QString()> LegendeColonneExpediteur;
    // Fermer avec Alt enfoncée : enregistrer tout de suite les listes et leurs copies.
    std::function<void()> SurEnregistrerListes;
    // Sujet d'aide à ouvrir ("historique", "gestion_filtres").
    std::function<void(const std::string& sujet)> SurAide;
    // Touches tenues au moment d'une commande ; par défaut l'état réel du clavier.
    std::function<Qt::KeyboardModifiers()> Modificateurs;
    // Appelé sur l'imprimante par défaut réglée (orientation, nom du travail), avant l'impression.
    std::function<void(QPrinter&)> PreparerImprimante;

    // Commandes des boutons, des menus et des touches.
    void BtnCreerClick();
    void BtnModifierClick();
    void BtnSupprimerClick();
    // `demander` : le bouton ou Ctrl+F ; F3 ne demande que si rien n'a encore été cherché.
    void Rechercher(bool demander);
    void BtnImprimerClick();
    void BtnRemiseAZeroClick();
    void BtnViderClick();
    void BtnAideClick();
    void BtnFermerClick();
    void OngletVoisin(int pas);

    // Menu du clic droit sur une cellule de l'historique (à montrer par l'appelant).
    std::unique_ptr<QMenu> MenuHistorique(const QModelIndex& cellule);

    // Accès pour les essais.
    int OngletCourant() const;
    QTabBar* Onglets() const { return onglets_; }
    QTreeView* Vue(int onglet) const; // 0, 1, 2 et 5 ; nul pour les autres
    QAbstractButton* Bouton(Commande commande) const;
    QMenu* MenuListe() const { return menuListe_; }
    QAction* EntreeMenuListe(Commande commande) const; // Creer, Supprimer, Modifier
    QComboBox* ChoixAction(Regle regle) const { return actions_[static_cast<std::size_t>(regle)]; }
    QCheckBox* CaseExpEtSujet() const { return caseExpEtSujet_; }
    QAbstractButton* ChoixChampExpediteur(int valeur) const;
    QCheckBox* CaseConserverNombre() const { return caseNbLig_; }
    QCheckBox* CaseConserverJours() const { return caseJours_; }
    QSpinBox* ChampNombre() const { return champNbHisto_; }
    QSpinBox* ChampJours() const { return champNbHistoDate_; }
    QLabel* NombreRejets() const { return nombreRejets_; }
    QWidget* PanneauLettres() const { return panneauLettres_; }
    QWidget* PanneauHistorique() const { return panneauHisto_; }
    QWidget* PanneauBas() const { return panneauBas_; }
    QLabel* LegendeMotsMultiples() const { return legendeMotsMultiples_; }

protected:
    void closeEvent(QCloseEvent* evenement) override;
    void showEvent(QShowEvent* evenement) override;

private:
    // Construction (Tessaronrejets.cpp).
    QTreeView* creerVue(ModeleListe* modele, bool plusieurs);
    QWidget* construirePanneauLettres();
    QWidget* construirePanneauBas();
    QWidget* construirePageFiltres(int onglet);
    void construireMenuListe();
    void construireRaccourcis();
    void appliquerGeometrieInitiale();
    void TabControl1Change(int onglet);
    void actualiserBoutons();
    void donnerFocusListe();

    // Règles globales et conservation (TessaronrejetsOptions.cpp).
    QWidget* construireOptionsExpediteur();
    QWidget* construireOptionsSujet();
    QWidget* construireOptionsDestinataires();
    QWidget* construireConservation();
    void relibellerActions();
    void relibellerExpEtSujet();
    void ChampExpediteurClick(int valeur);
    void cocherChampExpediteur(int valeur);
    void leverNombresConserves();

    // Historique (TessaronrejetsHistorique.cpp).
    QWidget* construirePanneauHistorique();
    QWidget* construirePageHistorique();
    void ouvrirMenuHistorique(const QPoint& position);
    void copierCellule(int colonne);
    void actualiserNombreRejets();
    void elaguerALaFermeture();

    // Commandes (TessaronrejetsCommandes.cpp).
    VueListeFiltres vueEdition(int onglet);
    void ListView1ColumnClick(int onglet, int colonne);
    void ouvrirMenuListe(int onglet, const QPoint& position);
    bool chercherDepuis(int onglet, int depart, const std::string& texte);
    QMessageBox::StandardButton demander(QMessageBox::Icon icone, const QString& titre, const QString& texte);
    void fermer(bool enregistrer);

    // Impression (TessaronrejetsImpression.cpp).
    void imprimer(QPrinter& imprimante, const QTreeView& vue, const QString& titre) const;

    // Outils de sélection.
    ModeleListe* modele(int onglet) const;
    ListeFiltres* listeFiltres(int onglet) const;
    QTreeView* vueVisible() const { return Vue(OngletCourant()); }
    std::vector<int> lignesSelectionnees(const QTreeView* vue) const;
    void selectionnerSeule(QTreeView* vue, int ligne);

    EtatProgramme& etat_;
    std::unique_ptr<EditionFiltre> edition_;
    bool montree_ = false;
    std::string derniereRecherche_;
    std::array<EtatTri, NbOnglets> tris_{};

    QTabBar* onglets_ = nullptr;
    QStackedWidget* pages_ = nullptr;
    std::array<ModeleListeFiltres*, 3> modelesFiltres_{};
    std::array<QTreeView*, 3> vuesFiltres_{};
    ModeleHistorique* modeleHisto_ = nullptr;
    QTreeView* vueHisto_ = nullptr;

    QWidget* panneauLettres_ = nullptr;
    QWidget* lettresDestinataires_ = nullptr;
    QLabel* legendeMotsMultiples_ = nullptr;
    QWidget* panneauHisto_ = nullptr;
    QLabel* nombreRejets_ = nullptr;
    QWidget* panneauBas_ = nullptr;

    QPushButton* btnCreer_ = nullptr;
    QPushButton* btnModifier_ = nullptr;
    QPushButton* btnSupprimer_ = nullptr;
    QPushButton* btnExcel_ = nullptr;
    QPushButton* btnRechercher_ = nullptr;
    QPushButton* btnImprimer_ = nullptr;
    QPushButton* btnRaz_ = nullptr;
    QPushButton* btnVider_ = nullptr;
    QPushButton* btnExporter_ = nullptr;
    QPushButton* btnAide_ = nullptr;
    QPushButton* btnFermer_ = nullptr;

    QMenu* menuListe_ = nullptr;
    QAction* entreeCreer_ = nullptr;
    QAction* entreeSupprimer_ = nullptr;
    QAction* entreeModifier_ = nullptr;
    std::vector<QShortcut*> raccourcisFiltres_; // Inser, Suppr, Entrée : onglets 0 à 2

    std::array<QComboBox*, 3> actions_{};
    QCheckBox* caseExpEtSujet_ = nullptr;
    QButtonGroup* champExpediteur_ = nullptr;
    QCheckBox* caseNbLig_ = nullptr;
    QSpinBox* champNbHisto_ = nullptr;
    QCheckBox* caseJours_ = nullptr;
    QSpinBox* champNbHistoDate_ = nullptr;
};
