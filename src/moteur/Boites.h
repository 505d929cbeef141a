#pragma once
// Les boîtes aux lettres en cours d'exécution : une ligne par boîte, dans l'ordre de la liste.
#include "donnees/ObservateurStock.h"

#include <QTimer>
#include <array>
#include <memory>
#include <string>
#include <vector>

class ClientPop3;

// Fiche d'exécution d'une boîte : son client POP3, son minuteur et ses drapeaux.
struct structBoite {
    ClientPop3* Client = nullptr;
    QTimer* Timer = nullptr;
    std::string PasseClair;
    bool Demarrage = true;
    bool Apop = false;
    bool AppliqueRejets = true;
    bool Ssl = false;
    int Port = 110;
};

// Colonnes d'une ligne de boîte (la colonne 0 est le nom de la boîte).
enum ColonneBoite {
    ColIntervalle = 1,
    ColNbMsg = 2,
    ColIdentifiant = 3,
    ColServeur = 4,
    ColFiltreDestinataire = 5,
    ColTypeRejet = 6,
    ColNatureRejet = 7,
    NbColonnesBoite = 8
};

// Images de ligne : 8 quand les filtres de rejet s'appliquent à la boîte, 15 sinon.
inline constexpr int kIconeBoiteFiltree = 8;
inline constexpr int kIconeBoiteNonFiltree = 15;

struct LigneBoite {
    std::array<std::string, NbColonnesBoite> Colonnes;  // Colonnes[0] : nom de la boîte
    int Icone = kIconeBoiteFiltree;
    std::unique_ptr<structBoite> Donnees;

    const std::string& Caption() const { return Colonnes[0]; }
};

class StockBoites {
public:
    int Nombre() const { return static_cast<int>(lignes_.size()); }
    const LigneBoite& Ligne(int index) const { return lignes_.at(static_cast<std::size_t>(index)); }

    // La fiche de la ligne à cet index ; nulle hors des lignes.
    structBoite* BoiteDeLigne(int index) const;
    // L'index de la ligne dont la fiche tient ce client ; -1 sinon.
    int LigneDeClient(const ClientPop3* client) const;

    int Ajouter(LigneBoite ligne);
    void Inserer(int index, LigneBoite ligne);
    // Retire la ligne et la rend (avec sa fiche) ; la ligne doit exister.
    LigneBoite Retirer(int index);
    void Deplacer(int depuis, int vers);
    void ChangerColonne(int index, int colonne, const std::string& texte);
    void ChangerIcone(int index, int icone);

    void AjouterObservateur(ObservateurStock* observateur) { observateurs_.push_back(observateur); }
    void RetirerObservateur(ObservateurStock* observateur);

private:
    std::vector<LigneBoite> lignes_;
    std::vector<ObservateurStock*> observateurs_;
};
