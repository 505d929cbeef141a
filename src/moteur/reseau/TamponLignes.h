#pragma once
// Octets reçus d'un serveur, découpés en lignes (CR LF ou LF seul) : longueur de ligne bornée,
// et compte des octets lus depuis la dernière commande pour borner une réponse entière.
#include <QByteArray>
#include <cstddef>
#include <string>

class TamponLignes {
public:
    // Sort d'une ligne plus longue que la limite : coupée à la limite (le reste de la ligne est
    // écarté), ou refusée.
    enum class LignesLongues { Coupees, Refusees };
    enum class Decoupe { Ligne, Incomplete, TropLongue };

    TamponLignes(std::size_t longueurMax, LignesLongues lignesLongues);

    void ajouter(const QByteArray& octets);
    // Ligne complète suivante, sans sa fin de ligne. TropLongue n'arrive qu'avec Refusees ; le
    // tampon n'est alors plus utilisable avant oublier().
    Decoupe extraire(std::string& ligne);
    // Écarte tout ce qui a été reçu, début de ligne compris.
    void oublier();

    // Octets consommés depuis le dernier appel à nouvelleReponse().
    std::size_t octetsReponse() const { return octetsReponse_; }
    void nouvelleReponse() { octetsReponse_ = 0; }

private:
    void consommer(std::size_t octets);

    std::size_t longueurMax_;
    LignesLongues lignesLongues_;
    QByteArray recu_;          // octets reçus, pas encore découpés en lignes
    qsizetype position_ = 0;   // début de la partie non lue de `recu_`
    std::string ligneEnCours_; // début de ligne (au plus longueurMax_ + 1 octets)
    std::size_t octetsReponse_ = 0;
};
