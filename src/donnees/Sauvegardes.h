#pragma once
// Copies de sauvegarde numérotées des fichiers de données, et écritures qui ne laissent jamais
// un fichier à moitié écrit.
#include <QString>

#include <string_view>

// Dossier des copies : "sauv" dans le dossier des données.
QString DossierSauvegarde(const QString& dossierDonnees);

// Vrai quand le chemin désigne quelque chose (un lien symbolique même cassé compte).
bool CheminExiste(const QString& chemin);

// Renomme sans jamais écraser : quand `nouveau` existe, rien ne change et la réponse est faux.
bool RenommerSansEcraser(const QString& ancien, const QString& nouveau);

// Remplace le fichier par ces octets : fichier temporaire dans le même dossier, vidé sur le
// disque, puis renommé par-dessus l'ancien. En cas d'échec l'ancien fichier reste intact.
bool EcrireFichierAtomique(const QString& chemin, std::string_view contenu);

// Copie `source` sur `destination` (remplacée de la même façon), avec les droits de la source.
bool CopierFichierAtomique(const QString& source, const QString& destination);

// Décale les copies de `cheminFichier` dans `dossierSauvegarde` : avec B le dossier suivi du
// nom du fichier et N = nbFicSauv, BN est supprimée, B(n-1) devient Bn pour n de N à 2, puis
// B devient B1. Un renommage vers un nom pris échoue et laisse les deux fichiers ; avec N de 1
// ou moins, B1 n'est donc créée qu'une fois. Vrai quand B est libre à la fin. L'appelant
// copie ensuite le fichier vers B.
bool TournerSauvegardes(const QString& cheminFichier, const QString& dossierSauvegarde, int nbFicSauv);
