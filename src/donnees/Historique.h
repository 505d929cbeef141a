#pragma once
// Historique des rejets : une ligne par message retiré d'un serveur, la plus récente en tête.
#include <cstddef>
#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

struct structHisto {
    std::string DateHeure;           // "jj/mm/aaaa hh:mm:ss"
    std::string Expediteur;
    std::string Sujet;
    std::string Destinataires;
    std::string DestinatairesCopie;
    std::string Boite;               // suivi d'une espace insécable pour une suppression à la main
};

struct ListeHisto {
    std::vector<structHisto> Lignes;
    bool Modifiee = false;
};

inline constexpr char kEspaceInsecable = '\xA0';
inline constexpr char kPointMedian = '\xB7';  // "·" : expéditeur inexistant

// Couleur d'une cellule de l'historique, selon ses marques.
enum class CouleurHisto { Normale, Rouge, Vert, Bleu, Violet, Olive };

// Le texte sans virgule, CR ni LF, et sans espaces doublées.
std::string NettoyerChamp(const std::string& texte);

// Espace insécable, "(", le motif tel qu'il est stocké, ")", espace insécable.
std::string MarqueFiltre(const std::string& motif);

// Ce que le traitement d'un rejet donne pour écrire sa ligne.
struct RejetAHistoriser {
    std::string ExpediteurTeste;
    std::string SujetTeste;      // "<Vide>" éventuel déjà en place
    bool SujetVideAvecAction = false;  // sujet vide et règle du sujet vide réglée sur une action
    std::string ChampA;
    std::string ChampCc;
    std::string Boite;
    std::string MarqueExpediteur, MarqueSujet, MarqueA, MarqueCc;  // MarqueFiltre ou vide
    bool ExpediteurInexistant = false;  // vérification de l'expéditeur négative
    bool FiltreExpediteur = false;      // un filtre d'expéditeur a décidé
    bool FiltreSujet = false;           // un filtre de sujet a décidé
    int ResultatExclusif = 0;           // 0, 1 (intrus) ou 2 (absence)
    int ChampsRejetes = 0;              // bit 1 : À ; bit 2 : Cc
};

// Longueur maximale d'une ligne écrite (six champs et cinq virgules) : le lecteur coupe à 1021.
inline constexpr std::size_t kLongueurMaxLigneHisto = 1020;

// Longueur de la ligne que l'écriture du fichier donnera pour `ligne` (champs et virgules).
std::size_t LongueurLigneHisto(const structHisto& ligne);

// Ligne d'un rejet, datée de `maintenant`, tenant sous la limite de lecture des fichiers.
//  - Sujet vide : la classification a déjà mis "<Vide>" (et son espace insécable quand la
//    règle du sujet vide agit) dans SujetTeste ; ce texte est gardé tel quel et compte dans le
//    budget comme tout sujet. LigneRejet ne fait que compléter : un sujet qui arrive vide (ou
//    vidé par le nettoyage) devient "<Vide>", et "<Vide>" reçoit l'espace insécable quand
//    SujetVideAvecAction est levé et qu'elle manque. Jamais doublée.
//  - Destinataires vides : la classification ne change pas ChampA ; c'est LigneRejet qui met
//    "<Destinataire vide>" dans la cellule À, après la réduction au budget, quand À et Cc
//    arrivent vides tous deux. Un texte vidé par la réduction ne compte pas pour vide (ni pour
//    le préfixe de la cellule Cc, posé seulement quand le message a un Cc).
//  - Budget de 993 caractères : réduction proportionnelle du sujet, de À et de Cc. Quand la
//    cellule de l'expéditeur dépasse à elle seule le budget, les trois textes sont vidés.
//  - Si la ligne entière dépasse encore kLongueurMaxLigneHisto (marques, préfixes, libellé de
//    boîte, expéditeur trop long), les textes de l'expéditeur, du sujet, de À et de Cc sont
//    raccourcis, le plus long d'abord, marques gardées entières ; en dernier recours seulement
//    les marques de filtre et le libellé de la boîte. Virgules du libellé changées en ";".
structHisto LigneRejet(const RejetAHistoriser& rejet, std::time_t maintenant);

// Ligne d'une suppression à la main, copiée des cellules du message (virgules -> ";").
// CR et LF deviennent des espaces ; une ligne trop longue est raccourcie par la fin de ses
// cellules (expéditeur, sujet, À, Cc, la plus longue d'abord), la date jamais.
structHisto LigneSuppressionManuelle(const std::string& date, const std::string& expediteur,
                                     const std::string& sujet, const std::string& destinataires,
                                     const std::string& copie, const std::string& boite);

// Date et heure "jj/mm/aaaa hh:mm:ss" d'un instant local, et l'inverse (faux si illisible).
std::string FormaterDateHeure(std::time_t instant);
bool LireDateHeure(const std::string& texte, std::time_t& instant);

// Plus récente en tête ; une date illisible va en queue, dans son ordre.
void TrierHistorique(ListeHisto& historique);

struct ReglagesHistorique {
    bool HistoNbLigSav = true;
    int NbHisto = 500;
    bool HistoDateSav = true;
    int NbHistoDate = 15;
};

// Élagage par nombre de lignes et par âge ; chaque retrait lève Modifiee.
// Une ligne dont la date est illisible n'est jamais retirée pour son âge.
void ElaguerHistorique(ListeHisto& historique, const ReglagesHistorique& reglages, std::time_t maintenant);

// Couleur d'une cellule (colonne 0 à 5) d'une ligne, la règle olive s'appliquant à toute la ligne.
// Une cellule vide reste Normale ; chaque marque n'est cherchée que là où elle peut être posée.
CouleurHisto CouleurCellule(const structHisto& ligne, int colonne);
