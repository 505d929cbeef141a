#pragma once
// Visionneuse d'un message : les champs de son en-tête et ses premières lignes (ou son en-tête
// brut), lus sans le retirer du serveur. Elle montre, copie, imprime, relit avec un autre nombre
// de lignes et passe la main à l'analyse et à la suppression par ses rappels.
#include "moteur/VoirMessage.h"

#include <QDialog>
#include <functional>
#include <memory>
#include <string>

class FichierIni;
class QAction;
class QLabel;
class QLineEdit;
class QPrinter;
class QPushButton;
class QTextDocument;
class QTextEdit;
class QToolButton;

class TForm3 : public QDialog {
    Q_OBJECT
public:
    // `nbLigMsg` : le réglage NbLigMsg, position de départ du nombre de lignes (ramenée à 10..999).
    explicit TForm3(int nbLigMsg = 10, QWidget* parent = nullptr);
    ~TForm3() override;

    // Remplit la visionneuse d'une lecture réussie (état Ok) et la montre, modale.
    void Montrer(const ResultatVoir& resultat);
    // Remplit la visionneuse ouverte (relecture par "&Voir") ; une lecture qui n'a pas abouti
    // (état autre que Ok) ne change rien.
    void Remplir(const ResultatVoir& resultat);

    // Le nombre de lignes du compteur (10 à 999).
    int NbLignes() const;
    // L'identifiant du message montré.
    const std::string& Uidl() const { return uidl_; }

    // "Défaut" écrit NbLigMsg dans la section Tessaron de ce fichier (nul : pas d'écriture).
    void UtiliserFichierIni(FichierIni* ini) { ini_ = ini; }
    // Imprimante des impressions, non détenue ; nulle : l'imprimante par défaut.
    void ReglerImprimante(QPrinter* imprimante) { imprimante_ = imprimante; }

    // Rappels, chacun facultatif.
    std::function<void(int nbLignes)> SurVoir;       // relire le message avec ce nombre de lignes
    std::function<void(int nbLignes)> SurDefaut;     // après l'écriture de NbLigMsg
    std::function<void()> SurAnalyser;               // ouvrir l'analyse du contenu
    std::function<void()> SurAide;                   // aide de la fenêtre principale
    // La sélection de la liste des messages tient-elle exactement ce message ?
    std::function<bool(const std::string& uidl)> SelectionEstLeMessage;
    // Supprimer le message du serveur ; vrai : Ctrl enfoncé, sans confirmation.
    std::function<void(bool sansConfirmation)> SurSupprimer;
    // Signal sonore d'une saisie refusée (par défaut, celui du système).
    std::function<void()> Bip;

    // Contrôles, pour les essais.
    QLineEdit* EnvoiDe() const { return envoiDe_; }
    QLabel* Pour() const { return pour_; }
    QLabel* Date() const { return date_; }
    QLabel* Taille() const { return taille_; }
    QLabel* Sujet() const { return sujet_; }
    QTextEdit* Texte() const { return richEdit1_; }
    QLineEdit* Compteur() const { return edit1_; }
    QToolButton* Plus() const { return plus_; }
    QToolButton* Moins() const { return moins_; }
    QPushButton* BoutonVoir() const { return voir_; }
    QPushButton* BoutonDefaut() const { return btnDefaut_; }
    QPushButton* BoutonAnalyser() const { return btnAnalyser_; }
    QToolButton* BoutonCopier() const { return btnCopier_; }
    QToolButton* BoutonImprimer() const { return btnImpr_; }
    QToolButton* BoutonAide() const { return bitBtn7_; }
    QToolButton* BoutonSupprimer() const { return bitBtn1_; }
    QPushButton* BoutonFermer() const { return fermer_; }
    QAction* MenuCopier() const { return menuCopier_; }
    QAction* MenuImprimer() const { return menuImprimer_; }

    // Le document imprimé : les trois lignes d'en-tête, une ligne vide, puis le texte.
    std::unique_ptr<QTextDocument> DocumentImpression() const;

public slots:
    void VoirClick();
    void BtnDefautClick();
    void BtnCopierClick();
    void BtnImprClick();
    void BitBtn1Click();

protected:
    void showEvent(QShowEvent* evenement) override;
    void keyPressEvent(QKeyEvent* evenement) override;

private:
    void construireEntete(class QHBoxLayout* haut);
    void construireTexte(class QVBoxLayout* colonne);
    void construireCompteur(QHBoxLayout* ligne);
    void construireBoutons(QHBoxLayout* haut);
    void Edit1Change(const QString& texte);
    void pas(int sens);
    void activer();

    std::string uidl_;
    QString compteurValide_ = QStringLiteral("10");
    FichierIni* ini_ = nullptr;
    QPrinter* imprimante_ = nullptr;

    QLineEdit* envoiDe_ = nullptr;
    QLabel* pour_ = nullptr;
    QLabel* date_ = nullptr;
    QLabel* taille_ = nullptr;
    QLabel* sujet_ = nullptr;
    QTextEdit* richEdit1_ = nullptr;
    QAction* menuCopier_ = nullptr;
    QAction* menuImprimer_ = nullptr;
    QPushButton* voir_ = nullptr;
    QLineEdit* edit1_ = nullptr;
    QToolButton* plus_ = nullptr;
    QToolButton* moins_ = nullptr;
    QPushButton* btnDefaut_ = nullptr;
    QPushButton* btnAnalyser_ = nullptr;
    QToolButton* btnCopier_ = nullptr;
    QToolButton* btnImpr_ = nullptr;
    QToolButton* bitBtn7_ = nullptr;
    QToolButton* bitBtn1_ = nullptr;
    QPushButton* fermer_ = nullptr;
};
