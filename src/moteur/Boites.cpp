#include "Boites.h"

#include <algorithm>

structBoite* StockBoites::BoiteDeLigne(int index) const {
    if (index < 0 || index >= Nombre()) return nullptr;
    return lignes_[static_cast<std::size_t>(index)].Donnees.get();
}

int StockBoites::LigneDeClient(const ClientPop3* client) const {
    if (!client) return -1;
    for (std::size_t i = 0; i < lignes_.size(); ++i)
        if (lignes_[i].Donnees && lignes_[i].Donnees->Client == client) return static_cast<int>(i);
    return -1;
}

int StockBoites::Ajouter(LigneBoite ligne) {
    const int index = Nombre();
    for (auto* o : observateurs_) o->avantAjout(index, index);
    lignes_.push_back(std::move(ligne));
    for (auto* o : observateurs_) o->apresAjout();
    return index;
}

void StockBoites::Inserer(int index, LigneBoite ligne) {
    index = std::clamp(index, 0, Nombre());
    for (auto* o : observateurs_) o->avantAjout(index, index);
    lignes_.insert(lignes_.begin() + index, std::move(ligne));
    for (auto* o : observateurs_) o->apresAjout();
}

LigneBoite StockBoites::Retirer(int index) {
    for (auto* o : observateurs_) o->avantRetrait(index, index);
    LigneBoite ligne = std::move(lignes_.at(static_cast<std::size_t>(index)));
    lignes_.erase(lignes_.begin() + index);
    for (auto* o : observateurs_) o->apresRetrait();
    return ligne;
}

void StockBoites::Deplacer(int depuis, int vers) {
    if (depuis == vers || depuis < 0 || depuis >= Nombre() || vers < 0 || vers >= Nombre()) return;
    Inserer(vers, Retirer(depuis));
}

void StockBoites::ChangerIcone(int index, int icone) {
    if (index < 0 || index >= Nombre()) return;
    lignes_[static_cast<std::size_t>(index)].Icone = icone;
    for (auto* o : observateurs_) o->ligneChangee(index);
}

void StockBoites::ChangerColonne(int index, int colonne, const std::string& texte) {
    if (index < 0 || index >= Nombre() || colonne < 0 || colonne >= NbColonnesBoite) return;
    auto& cellule = lignes_[static_cast<std::size_t>(index)].Colonnes[static_cast<std::size_t>(colonne)];
    if (cellule == texte) return;
    cellule = texte;
    for (auto* o : observateurs_) o->ligneChangee(index);
}

void StockBoites::RetirerObservateur(ObservateurStock* observateur) {
    std::erase(observateurs_, observateur);
}
