#pragma once
// Adaptateur d'affichage d'un magasin de lignes (boîtes ou messages) : la vue montre le
// magasin tel quel, dans son ordre.
#include "donnees/ObservateurStock.h"

#include <QAbstractTableModel>
#include <QStringList>
#include <functional>
#include <string>

class ModeleTableau : public QAbstractTableModel, public ObservateurStock {
public:
    struct Acces {
        std::function<int()> nombre;
        std::function<const std::string&(int ligne, int colonne)> cellule;
        std::function<QVariant(int ligne, int colonne, int role)> style;  // rôles autres que le texte
    };
    ModeleTableau(Acces acces, QStringList entetes, QObject* parent = nullptr);

    void changerEntete(int colonne, const QString& texte);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    void avantAjout(int premiere, int derniere) override;
    void apresAjout() override;
    void avantRetrait(int premiere, int derniere) override;
    void apresRetrait() override;
    void ligneChangee(int ligne) override;
    void avantReorganisation() override { emit layoutAboutToBeChanged(); }
    void apresReorganisation() override { emit layoutChanged(); }

private:
    Acces acces_;
    QStringList entetes_;
};
