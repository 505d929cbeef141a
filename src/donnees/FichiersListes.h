#pragma once
// Fichiers des listes de filtres et de l'historique : lecture avec réparation des lignes,
// ordre de départ, chargement des quatre listes, enregistrement avec copies de sauvegarde.
//
// Format commun : texte Windows-1252, une ligne par rangée terminée par CR LF (LF seul accepté
// à la lecture), champs séparés par des virgules, sans guillemets ni échappement.
#include "Filtres.h"

#include <QString>

#include <functional>
#include <optional>
#include <string>

// Texte pour la ligne d'état (octets Windows-1252) ; un texte vide efface la ligne.
using RappelStatut = std::function<void(const std::string& texte)>;
// Boîte de message d'erreur : titre et texte (octets Windows-1252).
using RappelErreur = std::function<void(const std::string& titre, const std::string& texte)>;

// Extension du fichier d'une liste : ".rej", ".rjs", ".rjd" ou ".his".
QString ExtensionListe(IndexListe index);
// dossier/nomBase + extension de la liste.
QString CheminFichierListe(const QString& dossier, const QString& nomBase, IndexListe index);

// Valeur d'un compteur `Effectues` : un entier décimal (un "-" facultatif puis des chiffres,
// sans blanc, tenant sur 32 bits) ; rien pour tout autre texte.
std::optional<int> LireCompteur(const std::string& effectues);

enum class ResultatLecture {
    Lu,           // fichier lu en entier, rangées ajoutées
    NonOuvert,    // absent, illisible à l'ouverture ou pas un fichier ordinaire : liste inchangée
    ErreurLecture // erreur pendant la lecture : liste inchangée
};

// Ajoute les rangées du fichier `chemin` à la liste d'index `index`, réparées pour les trois
// listes de filtres. Une réparation de compteur lève le drapeau Modifiee de la liste.
ResultatLecture LireFichierListe(IndexListe index, const QString& chemin, ListesFiltres& listes);

// Amis d'abord, puis compteur décroissant (un compteur non entier vaut 0) ; ordre stable.
void TrierFiltres(ListeFiltres& liste);

// Contenu du fichier d'une liste : exactement ses colonnes, la dernière "A" ou "R" pour un
// filtre, six colonnes pour l'historique, CR LF en fin de ligne.
std::string TexteFichierFiltres(const ListeFiltres& liste);
std::string TexteFichierHistorique(const ListeHisto& historique);

// Charge dans l'ordre expéditeurs, sujets, destinataires, historique chaque liste encore vide
// dont le fichier existe. Une erreur de lecture est signalée par `erreur` et arrête la lecture
// des fichiers suivants. Puis les trois listes de filtres sont triées par TrierFiltres.
void ChargerListes(ListesFiltres& listes, const QString& dossier, const QString& nomBase,
                   const RappelStatut& statut, const RappelErreur& erreur);

// Enregistre les listes modifiées (copies tournantes dans dossier/sauv), appelle
// `ecrireGeometrie` s'il y en a une, puis sauvegarde le fichier de paramètres `cheminIni`.
// Une liste dont le fichier n'a pu être écrit (ou supprimé, pour une liste vide) garde son
// drapeau Modifiee et un message le nomme. Vrai quand toutes les listes ont été enregistrées.
bool EnregistrerListes(ListesFiltres& listes, const QString& dossier, const QString& nomBase, int nbFicSauv,
                       const QString& cheminIni, const std::function<void()>& ecrireGeometrie,
                       const RappelStatut& statut);
