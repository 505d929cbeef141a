#pragma once
// L'historique d'état : la ligne la plus récente en haut, au plus `NbEvenements` + 1 lignes.
#include <QString>

class QComboBox;

// Pousse " " + texte en tête ; une ligne " Désactivé" n'est pas répétée quand elle est déjà en tête.
// Vrai quand la ligne a été ajoutée.
bool PousserLigneHistorique(QComboBox& historique, const QString& texte, int nbEvenements);
