#pragma once
// Barre d'état de la fenêtre principale : panneau 0 couvert par l'historique d'état, le bouton
// "Interrompre" et le drapeau de langue ; panneau 1 (état des filtres, erreurs, fichier de
// débogage) ; panneau 2 (compteurs des expéditeurs existants et inexistants).
#include <QStatusBar>

#include <array>
#include <cstddef>
#include <functional>
#include <string>
#include <utility>

class ListeHistorique;
class QComboBox;
class QPushButton;
class QToolButton;

class BarreEtat : public QStatusBar {
    Q_OBJECT
public:
    static constexpr int LargeurPanneau0 = 340;
    static constexpr int LargeurPanneau2 = 50;

    explicit BarreEtat(QWidget* parent = nullptr);

    // Panneau 1 ou 2 : " " + texte ; panneau 0 : nouvelle ligne " " + texte de l'historique.
    // Dans tous les cas la barre est redessinée et l'historique rendu visible.
    void EcrireStatut(int panneau, const std::string& texte);
    void SetNbEvenements(int nombre);

    // Bulle d'aide : l'historique et le drapeau s'effacent, le panneau 0 montre le texte.
    void AfficherAide(const QString& texte);
    // Fin de la bulle : l'historique et le drapeau reviennent.
    void RetablirApresAide();

    bool AfficheStatsDns() const { return afficheStatsDns_; }
    void BasculerStatsDns();

    QComboBox* Historique() const;
    QPushButton* BtnInterrompre() const { return btnInterrompre_; }
    QToolButton* BtnDrapeau() const { return btnDrapeau_; }
    // Texte du panneau (0 : la bulle d'aide affichée).
    QString TextePanneau(int panneau) const;
    QRect ZonePanneau(int panneau) const;

    // Nombres d'adresses existantes et inexistantes montrés dans le panneau 2.
    std::function<std::pair<std::size_t, std::size_t>()> CompteursDns;
    // Appelé avec le texte de chaque ligne ajoutée à l'historique.
    std::function<void(const std::string&)> SurLigneHistorique;

protected:
    void paintEvent(QPaintEvent* evenement) override;
    void resizeEvent(QResizeEvent* evenement) override;
    void mouseDoubleClickEvent(QMouseEvent* evenement) override;

private:
    void placerControles();

    ListeHistorique* historique_ = nullptr;
    QPushButton* btnInterrompre_ = nullptr;
    QToolButton* btnDrapeau_ = nullptr;
    std::array<QString, 3> textes_;
    int nbEvenements_ = 100;
    bool afficheStatsDns_ = false;
};
