#pragma once
// Adaptateur d'affichage de l'historique des rejets : six colonnes, une ligne sur deux sur fond
// gris, le texte de chaque cellule coloré selon ses marques.
#include "ModeleListeFiltres.h"
#include "donnees/Historique.h"

class ModeleHistorique : public ModeleListe {
public:
    explicit ModeleHistorique(ListeHisto& historique, QObject* parent = nullptr);

    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    ListeHisto& Historique() { return historique_; }
    const ListeHisto& Historique() const { return historique_; }

    // Couleur du texte d'une cellule : rouge, vert, bleu, violet, olive ; invalide pour le texte ordinaire.
    static QColor Couleur(CouleurHisto couleur);

protected:
    int NombreReel() const override { return static_cast<int>(historique_.Lignes.size()); }

private:
    ListeHisto& historique_;
};
