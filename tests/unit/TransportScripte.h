#pragma once
#include <functional>
#include <gtest/gtest.h>
// Transport de test : déroule une conversation écrite à l'avance. Ce que le client écrit est
// comparé octet pour octet aux lignes attendues ; les répliques du serveur sont livrées plus
// tard, une par tour de boucle d'événements, pour que le client attende vraiment.
#include "moteur/reseau/Transport.h"

#include <QPointer>
#include <memory>
#include <string>
#include <vector>

struct Replique {
    enum class Genre { Client, Serveur, Brut, Fermeture, Pause, Chiffrement };
    Genre genre;
    std::string texte;   // ligne sans fin de ligne (Client, Serveur) ou octets tels quels (Brut)
    int repetitions = 1; // Brut : le même texte livré tant de fois, une fois par tour
};

Replique Client(std::string ligne);  // ligne que le client doit écrire (CR LF ajouté)
Replique Serveur(std::string ligne); // ligne envoyée par le serveur (CR LF ajouté)
Replique Brut(std::string octets, int repetitions = 1);
Replique Fermeture();   // le serveur coupe la connexion
Replique Pause();       // le serveur se tait jusqu'à Conversation::reprendre()
Replique Chiffrement(); // le client passe ici en TLS (demarrerTls) ; annoncé par `chiffre`

using Repliques = std::vector<Replique>;
// Une conversation puis une autre à sa suite.
Repliques operator+(Repliques debut, const Repliques& suite);

class TransportScripte;

// État partagé entre le test et les transports successifs d'un même client.
struct Conversation {
    std::vector<Replique> repliques;
    std::size_t suivante = 0;
    std::vector<std::string> ecarts; // écritures du client qui ne suivent pas la conversation
    QString refus;                   // non vide : la connexion échoue avec ce message
    QString refusTls;                // non vide : le passage en TLS échoue avec ce message
    bool bavard = false;             // le transport émet encore des signaux une fois fermé
    int signauxTardifs = 0;
    int transportsCrees = 0;
    QPointer<TransportScripte> actif;

    bool terminee() const { return suivante == repliques.size(); }
    void reprendre();
};

std::shared_ptr<Conversation> NouvelleConversation(std::vector<Replique> repliques);
FabriqueTransport FabriquePour(const std::shared_ptr<Conversation>& conversation);

class TransportScripte : public Transport {
    Q_OBJECT
public:
    explicit TransportScripte(std::shared_ptr<Conversation> conversation);
    ~TransportScripte() override;

    void connecter(const QString& hote, quint16 port, bool tls,
                   const QSslConfiguration& configuration) override;
    void demarrerTls(const QSslConfiguration& configuration) override;
    void ecrire(const QByteArray& donnees) override;
    QByteArray lire() override;
    void fermer() override;
    bool estConnecte() const override;

    void reprendre();

private:
    void planifier();
    void livrer();
    void couper(const std::string& ecart);
    void emettreTardifs();

    std::shared_ptr<Conversation> conversation_;
    QByteArray aLire_;
    QByteArray ecrit_;
    bool ouvert_ = false;
    bool etabli_ = false;
    bool livraisonPrevue_ = false;
    bool enPause_ = false;
    int livraisons_ = 0; // livraisons déjà faites de la réplique Brut en cours
};

// Le client a écrit exactement ce qui était attendu, et toute la conversation a eu lieu.
testing::AssertionResult ConversationSuivie(const Conversation& conversation);

// Sert les événements jusqu'à ce que la condition soit vraie (relue au moins toutes les 20 ms) ;
// rend sa dernière valeur au bout du délai.
bool AttendreQue(const std::function<bool()>& condition, int delaiMs = 5000);
