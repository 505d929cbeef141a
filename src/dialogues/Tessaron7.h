#pragma once
// Fenêtre d'interception d'un rejet : montre le message retenu par un filtre d'action d ou g,
// décompte les secondes et rend la façon dont l'utilisateur (ou le délai) a tranché.
#include "moteur/InterfaceMoteur.h"

#include <QDialog>
#include <QTimer>
#include <functional>
#include <string>

class QGroupBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QToolButton;
class QVBoxLayout;

class TForm7 : public QDialog {
    Q_OBJECT
public:
    // `delaiAuDemarrage` : le délai en vigueur au lancement, maximum de la barre de progression
    // jusqu'au prochain lancement.
    explicit TForm7(int delaiAuDemarrage, QWidget* parent = nullptr);

    // Remplit la fenêtre, la montre modale et rend les secondes restantes et le résultat.
    ResultatInterception Intercepter(const DonneesInterception& d);

    // Appelés par les boutons ; chacun peut rester vide.
    std::function<void(const std::string& expediteur)> SurAmi;  // texte de l'expéditeur affiché
    std::function<void()> SurInterrompre;
    std::function<void(bool enfonce)> SurArretScrutation;

    // Remonte le bouton d'arrêt sans prévenir personne (interrogation réactivée ailleurs).
    void RelacherArret();
    bool ArretEnfonce() const;

    // Les étiquettes de la fenêtre.
    enum class Champ { Defaut, Rejet, Expediteur, Sujet, Destinataires, Copie, Taille, Date, Question };
    QLabel* Etiquette(Champ champ) const;
    QGroupBox* GroupeRaison() const { return groupeRaison_; }
    QPushButton* BoutonRejeter() const { return button1_; }
    QPushButton* BoutonGarder() const { return button2_; }
    QPushButton* BoutonAmi() const { return btnAmi_; }
    QPushButton* BoutonInterrompre() const { return btnInterrompre_; }
    QToolButton* BoutonArret() const { return speedButtonOff_; }
    QProgressBar* Progression() const { return progressBar1_; }
    int SecondesRestantes() const { return secondes_; }
    bool DecompteActif() const { return timer1_.isActive(); }

    // Période du décompte en millisecondes (1000 par défaut).
    void ReglerIntervalle(int ms);

public slots:
    // Une seconde du décompte.
    void Timer1Timer();
    // Toute fermeture passe ici : le décompte s'arrête.
    void done(int resultat) override;

protected:
    void showEvent(QShowEvent* evenement) override;
    void keyPressEvent(QKeyEvent* evenement) override;

private:
    // Résultat « Oui » des boutons Garder, Ami et Interrompre.
    static constexpr int CodeOui = 2;

    void construireEntete(QVBoxLayout* colonne);
    void construireGroupes(QVBoxLayout* colonne);
    void construireBoutons(QVBoxLayout* colonne);
    void remplirEtiquettes(const DonneesInterception& d);
    void choisirActionParDefaut(const DonneesInterception& d);
    void Button1Click();
    void BitBtn1Click();
    void BtnInterrompreClick();
    void SpeedButtonOffClick(bool enfonce);

    QTimer timer1_;
    int secondes_ = 0;
    int delai_ = 0;
    int delaiAvantRejeterActif_ = 0;
    bool rejeterParDefaut_ = false;
    std::string expediteur_;

    QLabel* lblDefaut_ = nullptr;
    QProgressBar* progressBar1_ = nullptr;
    QGroupBox* groupeRaison_ = nullptr;
    QLabel* lblRejet_ = nullptr;
    QLabel* lblExp_ = nullptr;
    QLabel* lblSujet_ = nullptr;
    QLabel* lblDest_ = nullptr;
    QLabel* lblDestCc_ = nullptr;
    QLabel* lblTaille_ = nullptr;
    QLabel* lblDate_ = nullptr;
    QLabel* label2_ = nullptr;
    QToolButton* speedButtonOff_ = nullptr;
    QPushButton* btnInterrompre_ = nullptr;
    QPushButton* button1_ = nullptr;
    QPushButton* button2_ = nullptr;
    QPushButton* btnAmi_ = nullptr;
};
