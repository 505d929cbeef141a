#include "Messages.h"

#include "donnees/Casse1252.h"
#include "pop3/ClientPop3.h"

#include <algorithm>

namespace {


bool memeCompte(const ClientPop3* a, const ClientPop3& b) {
    return a && (a == &b || (MemeTexteSansCasse(a->Host, b.Host) && a->UserName == b.UserName));
}

} // namespace

void StockMessages::indexerUidl(const LigneMessage* ligne) {
    parUidl_.emplace(ligne->Colonnes[ColUidl], ligne);
}

void StockMessages::desindexerUidl(const LigneMessage* ligne) {
    auto [debut, fin] = parUidl_.equal_range(ligne->Colonnes[ColUidl]);
    for (auto it = debut; it != fin; ++it) {
        if (it->second == ligne) {
            parUidl_.erase(it);
            return;
        }
    }
}

void StockMessages::renumeroter(std::size_t depuis) {
    for (std::size_t i = depuis; i < lignes_.size(); ++i) indexDe_[lignes_[i].get()] = static_cast<int>(i);
}

int StockMessages::Ajouter(LigneMessage ligne) {
    const int index = Nombre();
    for (auto* o : observateurs_) o->avantAjout(index, index);
    lignes_.push_back(std::make_unique<LigneMessage>(std::move(ligne)));
    indexDe_[lignes_.back().get()] = index;
    indexerUidl(lignes_.back().get());
    for (auto* o : observateurs_) o->apresAjout();
    return index;
}

void StockMessages::ChangerColonne(int index, int colonne, const std::string& texte) {
    if (index < 0 || index >= Nombre() || colonne < 0 || colonne >= NbColonnesMessage) return;
    LigneMessage& ligne = *lignes_[static_cast<std::size_t>(index)];
    auto& cellule = ligne.Colonnes[static_cast<std::size_t>(colonne)];
    if (cellule == texte) return;
    if (colonne == ColUidl) desindexerUidl(&ligne);
    cellule = texte;
    if (colonne == ColUidl) indexerUidl(&ligne);
    for (auto* o : observateurs_) o->ligneChangee(index);
}

void StockMessages::ChangerIcone(int index, int icone) {
    if (index < 0 || index >= Nombre()) return;
    LigneMessage& ligne = *lignes_[static_cast<std::size_t>(index)];
    if (ligne.Icone == icone) return;
    ligne.Icone = icone;
    for (auto* o : observateurs_) o->ligneChangee(index);
}

int StockMessages::TrouverMessage(const std::string& uidl, const ClientPop3& client) const {
    int trouve = -1;
    auto [debut, fin] = parUidl_.equal_range(uidl);
    for (auto it = debut; it != fin; ++it) {
        if (!memeCompte(it->second->Client.data(), client)) continue;
        const int index = indexDe_.at(it->second);
        if (trouve < 0 || index < trouve) trouve = index;
    }
    return trouve;
}

void StockMessages::RetirerSi(const std::function<bool(const LigneMessage&)>& aRetirer) {
    // Du bas vers le haut, un bloc de lignes contiguës à la fois.
    std::size_t fin = lignes_.size();
    std::size_t plusBasRetire = lignes_.size();
    while (fin > 0) {
        if (!aRetirer(*lignes_[fin - 1])) {
            --fin;
            continue;
        }
        std::size_t debut = fin - 1;
        while (debut > 0 && aRetirer(*lignes_[debut - 1])) --debut;
        for (auto* o : observateurs_) o->avantRetrait(static_cast<int>(debut), static_cast<int>(fin - 1));
        for (std::size_t i = debut; i < fin; ++i) {
            desindexerUidl(lignes_[i].get());
            indexDe_.erase(lignes_[i].get());
        }
        lignes_.erase(lignes_.begin() + static_cast<std::ptrdiff_t>(debut),
                      lignes_.begin() + static_cast<std::ptrdiff_t>(fin));
        plusBasRetire = debut;
        for (auto* o : observateurs_) o->apresRetrait();
        fin = debut;
    }
    // Les index des lignes restantes sont remis à jour une seule fois, à la fin.
    renumeroter(plusBasRetire);
}

void StockMessages::Trier(const std::function<bool(const LigneMessage&, const LigneMessage&)>& avant) {
    for (auto* o : observateurs_) o->avantReorganisation();
    std::stable_sort(lignes_.begin(), lignes_.end(),
                     [&avant](const std::unique_ptr<LigneMessage>& a, const std::unique_ptr<LigneMessage>& b) {
                         return avant(*a, *b);
                     });
    renumeroter(0);
    for (auto* o : observateurs_) o->apresReorganisation();
}

void StockMessages::Vider() {
    RetirerSi([](const LigneMessage&) { return true; });
}

void StockMessages::RetirerObservateur(ObservateurStock* observateur) {
    std::erase(observateurs_, observateur);
}
