#include "HistoriqueStatut.h"

#include "donnees/Chaines.h"

#include <QComboBox>

bool PousserLigneHistorique(QComboBox& historique, const QString& texte, int nbEvenements) {
    const QString ligne = u' ' + texte;
    const QString desactive = u' ' + ChaineQ(1010);
    if (ligne == desactive && historique.count() > 0 && historique.itemText(0) == desactive) return false;
    while (historique.count() > std::max(nbEvenements, 0)) historique.removeItem(historique.count() - 1);
    historique.insertItem(0, ligne);
    historique.setCurrentIndex(0);
    return true;
}
