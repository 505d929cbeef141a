#pragma once
// Les messages en attente sur les serveurs : une ligne par message, dans l'ordre de la liste.
// C'est aussi la mémoire de ce que le programme a déjà vu : un message dont l'identifiant
// figure ici n'est pas examiné de nouveau.
#include "donnees/ObservateurStock.h"

#include <QPointer>
#include <array>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

class ClientPop3;

// Colonnes d'une ligne de message (la colonne 0 est le numéro du message sur le serveur).
enum ColonneMessage {
    ColExpediteur = 1,
    ColSujet = 2,
    ColDate = 3,
    ColTaille = 4,
    ColBoiteOrigine = 5,
    ColTypeContenu = 6,
    ColUidl = 7,
    ColDestinataireA = 8,
    ColDestinataireCc = 9,
    NbColonnesMessage = 10
};

struct LigneMessage {
    std::array<std::string, NbColonnesMessage> Colonnes;  // Colonnes[0] : "N° Msg"
    int Icone = 0;
    QPointer<ClientPop3> Client;  // client de la boîte d'où vient le message

    const std::string& Caption() const { return Colonnes[0]; }
};

class StockMessages {
public:
    int Nombre() const { return static_cast<int>(lignes_.size()); }
    const LigneMessage& Ligne(int index) const { return *lignes_.at(static_cast<std::size_t>(index)); }

    int Ajouter(LigneMessage ligne);
    void ChangerColonne(int index, int colonne, const std::string& texte);
    void ChangerIcone(int index, int icone);

    // La ligne déjà connue d'un message : même identifiant, sur le même compte (même serveur,
    // même identifiant d'utilisateur) que `client`, quelle que soit la boîte qui l'a listée ; -1 sinon.
    int TrouverMessage(const std::string& uidl, const ClientPop3& client) const;

    // Retire les lignes pour lesquelles `aRetirer` répond vrai, par blocs contigus.
    void RetirerSi(const std::function<bool(const LigneMessage&)>& aRetirer);
    void Vider();
    // Réordonne les lignes (tri stable) ; `avant(a, b)` dit si a vient avant b.
    void Trier(const std::function<bool(const LigneMessage&, const LigneMessage&)>& avant);

    void AjouterObservateur(ObservateurStock* observateur) { observateurs_.push_back(observateur); }
    void RetirerObservateur(ObservateurStock* observateur);

private:
    void indexerUidl(const LigneMessage* ligne);
    void desindexerUidl(const LigneMessage* ligne);
    void renumeroter(std::size_t depuis);

    std::vector<std::unique_ptr<LigneMessage>> lignes_;
    // Identifiant -> lignes qui le portent (en général une seule) ; ligne -> son index.
    std::unordered_multimap<std::string, const LigneMessage*> parUidl_;
    std::unordered_map<const LigneMessage*, int> indexDe_;
    std::vector<ObservateurStock*> observateurs_;
};
