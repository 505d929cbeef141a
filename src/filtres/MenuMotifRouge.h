#pragma once
// Menu dont une entrée est dessinée par le programme : un début de texte ordinaire puis un
// motif de filtre en rouge ("Trouver le filtre " + motif). L'entrée reste une action ordinaire
// du menu (clavier, survol, choix).
#include <QMenu>

class MenuMotifRouge : public QMenu {
public:
    using QMenu::QMenu;

    // Ajoute l'entrée « debut + motif » et la rend ; le motif s'affiche sur une ligne, raccourci
    // s'il est très long.
    QAction* AjouterEntreeMotif(const QString& debut, const QString& motif);

protected:
    void paintEvent(QPaintEvent* evenement) override;

private:
    QAction* entree_ = nullptr;
    QString debut_;
    QString motif_;
};
