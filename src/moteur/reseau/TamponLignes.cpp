#include "TamponLignes.h"

#include <algorithm>
#include <cstring>
#include <utility>

TamponLignes::TamponLignes(std::size_t longueurMax, LignesLongues lignesLongues)
    : longueurMax_(longueurMax), lignesLongues_(lignesLongues) {}

void TamponLignes::ajouter(const QByteArray& octets) {
    recu_.append(octets);
}

TamponLignes::Decoupe TamponLignes::extraire(std::string& ligne) {
    if (position_ >= recu_.size()) return Decoupe::Incomplete;
    const char* debut = recu_.constData() + position_;
    const std::size_t reste = static_cast<std::size_t>(recu_.size() - position_);
    const char* fin = static_cast<const char*>(std::memchr(debut, '\n', reste));
    const std::size_t longueur = fin ? static_cast<std::size_t>(fin - debut) : reste;
    // Un octet de plus que la limite, pour le CR d'une ligne de longueur maximale.
    const std::size_t place = longueurMax_ + 1 - std::min(ligneEnCours_.size(), longueurMax_ + 1);
    const bool coupee = lignesLongues_ == LignesLongues::Coupees;
    if (longueur > place && !coupee) return Decoupe::TropLongue;
    ligneEnCours_.append(debut, std::min(longueur, place));
    consommer(longueur + (fin ? 1 : 0));
    if (!fin) return Decoupe::Incomplete;
    if (!ligneEnCours_.empty() && ligneEnCours_.back() == '\r') ligneEnCours_.pop_back();
    if (ligneEnCours_.size() > longueurMax_) {
        if (!coupee) return Decoupe::TropLongue;
        ligneEnCours_.resize(longueurMax_);
    }
    ligne = std::move(ligneEnCours_);
    ligneEnCours_.clear();
    return Decoupe::Ligne;
}

void TamponLignes::oublier() {
    recu_.clear();
    position_ = 0;
    ligneEnCours_.clear();
}

void TamponLignes::consommer(std::size_t octets) {
    position_ += static_cast<qsizetype>(octets);
    octetsReponse_ += octets;
    if (position_ < recu_.size()) return;
    recu_.clear();
    position_ = 0;
}
