#pragma once
// Éditeur d'un filtre : le motif et son mode, rejet ou ami, l'action et la réponse d'un rejet,
// le champ testé (liste des destinataires), le test immédiat du motif sur un texte d'essai et
// l'enregistrement des choix comme valeurs par défaut. Modal, au-dessus des autres fenêtres,
// centré sur sa fenêtre mère ; refuse à la fermeture par OK les motifs que les listes ne
// peuvent pas tenir.
#include "filtres/RegleFiltre.h"

#include <QDialog>
#include <QMessageBox>
#include <QPalette>
#include <functional>
#include <string>

class FichierIni;
class QButtonGroup;
class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QToolButton;
class QVBoxLayout;
struct ContexteCorrespondance;

class TForm6 : public QDialog {
    Q_OBJECT
public:
    // `correspondance` : listes de caractères et jokers du test immédiat ; doit survivre au dialogue.
    explicit TForm6(const ContexteCorrespondance& correspondance, QWidget* parent = nullptr);
    ~TForm6() override;

    // Onglet de la fenêtre des filtres (0 expéditeurs, 1 sujets, 2 destinataires) : modes offerts
    // et leur disposition, champ de l'en-tête montré sur l'onglet des destinataires seulement.
    // Un mode que l'onglet n'offre pas devient Partiel.
    void ReglerOnglet(int onglet);
    int Onglet() const { return onglet_; }
    // Délai d'interception écrit dans les deux actions "Demander mais ...".
    void ReglerDelai(int secondes);
    // Titre de la fenêtre et étiquette au-dessus du motif.
    void ReglerTitres(const QString& titre, const QString& etiquette);

    // Met les choix dans les contrôles (sans remise à zéro de la réponse pour "comptabiliser").
    void Appliquer(const ChoixEditeur& choix);
    ChoixEditeur Choix() const;
    int Mode() const;
    bool Ami() const;

    // "Dé&faut" écrit ses quatre clés dans ce fichier (nul : pas d'écriture).
    void UtiliserFichierIni(FichierIni* ini) { ini_ = ini; }

    // Rappels.
    std::function<void(const std::string& sujet)> SurAide; // sujet d'aide : "jokers", "gestion_filtres"
    // Gestionnaire des jokers perso, modal ; sans lui le bouton ne fait qu'un bip.
    std::function<void()> SurJokers;
    std::function<void(const ChoixEditeur& choix)> SurDefaut; // après l'écriture réussie des valeurs
    std::function<void()> Bip;                                // par défaut, celui du système
    // Une boîte de message (texte tel quel, "\r" ou "\r\n" pour les retours à la ligne) ; par
    // défaut une QMessageBox modale.
    std::function<void(QMessageBox::Icon icone, const QString& texte)> Message;

    // Contrôles, pour les essais.
    QLabel* EtiquetteMotif() const { return etiquetteMotif_; }
    QLineEdit* Marque() const { return marque_; }
    QLineEdit* Motif() const { return motif_; }
    QToolButton* BoutonJokers() const { return btnJokers_; }
    QLabel* LienJokers() const { return lienJokers_; }
    QGroupBox* GroupeModes() const { return groupeModes_; }
    QRadioButton* BoutonMode(int index) const;
    QGroupBox* GroupeActions() const { return groupeActions_; }
    QRadioButton* BoutonAction(int index) const;
    QGroupBox* GroupeReponse() const { return groupeReponse_; }
    QGroupBox* GroupeExecuter() const { return groupeExecuter_; }
    QRadioButton* BoutonReponse(int index) const;
    QGroupBox* GroupeInclure() const { return groupeInclure_; }
    QRadioButton* BoutonInclure(int index) const;
    QLabel* LienReponse() const { return lienReponse_; }
    QGroupBox* GroupeChamp() const { return groupeChamp_; }
    QRadioButton* BoutonChamp(int index) const;
    QRadioButton* BoutonRejeter() const { return rejeter_; }
    QRadioButton* BoutonAmi() const { return ami_; }
    QWidget* FormeRejeter() const { return formeRejeter_; }
    QWidget* FormeAmi() const { return formeAmi_; }
    QLineEdit* Echantillon() const { return echantillon_; }
    QLabel* Indicateur() const { return indicateur_; }
    QPushButton* BoutonOk() const { return ok_; }
    QPushButton* BoutonAnnuler() const { return annuler_; }
    QPushButton* BoutonAide() const { return aide_; }
    QPushButton* BoutonDefaut() const { return defaut_; }

public slots:
    // OK : le motif est contrôlé ; un refus sonne, montre son message et garde le dialogue ouvert.
    void accept() override;
    void BtnDefautClick();

protected:
    void showEvent(QShowEvent* evenement) override;
    void keyPressEvent(QKeyEvent* evenement) override;
    bool eventFilter(QObject* objet, QEvent* evenement) override;

private:
    // D'où vient ce qui relance le test immédiat : le motif reprend le focus, sauf après un
    // changement du texte d'essai ou quand le focus quitte les modes pour un autre contrôle.
    enum class Origine { Motif, Echantillon, Mode, SortieModes, Activation };

    void construireMotif(QVBoxLayout* colonne);
    void construireModes(QVBoxLayout* colonne);
    void construireActions(QVBoxLayout* colonne);
    void construireReponse(QVBoxLayout* colonne);
    void construireChamp(QVBoxLayout* colonne);
    void construireRejetAmi(QVBoxLayout* colonne);
    void construireTest(QVBoxLayout* colonne);
    void construireBoutons(QVBoxLayout* colonne);
    void disposerModes();

    void Tester(Origine origine);
    void ActionClick(int index);
    void RejetAmiClick();
    // Groupes actifs et couleurs selon rejet ou ami, l'action et la réponse.
    void appliquerEtats();
    void afficher(QMessageBox::Icon icone, const QString& texte);

    const ContexteCorrespondance& correspondance_;
    FichierIni* ini_ = nullptr;
    int onglet_ = kOngletExpediteurs;
    int delai_ = 30;
    QPalette paletteEchantillon_;

    QLabel* etiquetteMotif_ = nullptr;
    QLineEdit* marque_ = nullptr;
    QLineEdit* motif_ = nullptr;
    QToolButton* btnJokers_ = nullptr;
    QLabel* lienJokers_ = nullptr;
    QGroupBox* groupeModes_ = nullptr;
    QGridLayout* grilleModes_ = nullptr;
    QButtonGroup* modes_ = nullptr;
    QGroupBox* groupeActions_ = nullptr;
    QButtonGroup* actions_ = nullptr;
    QGroupBox* groupeReponse_ = nullptr;
    QGroupBox* groupeExecuter_ = nullptr;
    QButtonGroup* reponses_ = nullptr;
    QGroupBox* groupeInclure_ = nullptr;
    QButtonGroup* inclusions_ = nullptr;
    QLabel* lienReponse_ = nullptr;
    QGroupBox* groupeChamp_ = nullptr;
    QButtonGroup* champs_ = nullptr;
    QRadioButton* rejeter_ = nullptr;
    QRadioButton* ami_ = nullptr;
    QWidget* formeRejeter_ = nullptr;
    QWidget* formeAmi_ = nullptr;
    QLineEdit* echantillon_ = nullptr;
    QLabel* indicateur_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* annuler_ = nullptr;
    QPushButton* aide_ = nullptr;
    QPushButton* defaut_ = nullptr;
};
