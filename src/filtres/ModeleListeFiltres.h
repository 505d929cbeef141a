#pragma once
// Adaptateurs d'affichage des listes de la fenêtre des filtres : la vue montre le vecteur de
// la liste tel quel, dans son ordre ; trier la vue réordonne le vecteur lui-même.
//
// Le moteur change les listes sans prévenir (compteurs, lignes de l'historique) puis demande
// un rafraîchissement : jusque-là le modèle garde le nombre de lignes qu'il a annoncé à la vue,
// et une ligne disparue entre-temps s'affiche vide.
#include "donnees/Filtres.h"

#include <QAbstractTableModel>
#include <QColor>
#include <QIcon>
#include <cstddef>
#include <functional>
#include <vector>

// Ce qui est commun aux modèles des filtres et de l'historique : nombre de lignes annoncé,
// remise à zéro, rafraîchissement après le moteur, réordonnancement qui garde la sélection.
class ModeleListe : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : nombre_; }

    // Toutes les lignes ont pu changer (chargement, vidage, suppression) : la vue repart de zéro.
    void Recharger();
    // Après le moteur : même nombre de lignes, seuls les textes sont redessinés (la sélection
    // reste) ; sinon comme Recharger.
    void Actualiser();
    // Encadrent un changement fait directement dans le vecteur (éditeur de filtres, élagage).
    void AvantChangement();
    void ApresChangement();
    // Textes changés dans ces colonnes, sur toutes les lignes.
    void ColonnesChangees(int premiere, int derniere);
    // `trier` réordonne le vecteur et rend ordre[nouvelle] = ancienne position ; les lignes
    // sélectionnées le restent à leur nouvelle place.
    void Reordonner(const std::function<std::vector<std::size_t>()>& trier);

protected:
    // Nombre de lignes du vecteur à cet instant.
    virtual int NombreReel() const = 0;
    // La ligne existe dans la vue et dans le vecteur.
    bool LigneValide(const QModelIndex& index) const {
        return index.isValid() && index.row() < nombre_ && index.row() < NombreReel();
    }

private:
    int nombre_ = 0;
    bool enChangement_ = false;
};

// Une des trois listes de filtres : motif, [champ,] avant, pendant, effectués, ami ("A"/"R").
class ModeleListeFiltres : public ModeleListe {
public:
    // `indexListe` : 0 expéditeurs, 1 sujets, 2 destinataires (légende et couleur des lignes).
    ModeleListeFiltres(ListeFiltres& liste, int indexListe, QObject* parent = nullptr);

    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    ListeFiltres& Liste() { return liste_; }
    const ListeFiltres& Liste() const { return liste_; }

    // Fond des lignes paires (2e, 4e... en comptant de 1) de chaque liste, historique compris (5).
    static QColor FondAlterne(int indexListe);
    // Couleur du motif : fuchsia pour "¶" (partiel), bleu pour "§" (mots multiples).
    static QColor CouleurMotif(const std::string& motif);

protected:
    int NombreReel() const override { return static_cast<int>(liste_.Lignes.size()); }

private:
    ListeFiltres& liste_;
    int indexListe_;
    QIcon iconeAmi_;
    QIcon iconeRejet_;
};
