#pragma once
// Connexion synchrone à un serveur qui répond par lignes (POP3, SMTP), sur un Transport.
// Chaque attente fait tourner une boucle d'événements locale jusqu'à un signal du transport,
// une fermeture ou le délai d'inactivité, de sorte que minuteurs et clics restent servis ; une
// attente peut en contenir une autre (d'une autre connexion ou de celle-ci).
//
// Les opérations rendent faux en cas d'échec, la raison étant alors dans echec() (octets
// Windows-1252). Une fois fermée, la connexion le reste jusqu'au prochain ouvrir() ; les
// signaux tardifs de l'ancien transport ne lui parviennent plus.
#include "TamponLignes.h"
#include "Transport.h"

#include <QObject>
#include <QSslConfiguration>
#include <QTimer>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>

class QEventLoop;

class ConnexionLignes : public QObject {
    Q_OBJECT
public:
    struct Reglages {
        std::size_t longueurMaxLigne;
        TamponLignes::LignesLongues lignesLongues;
        std::size_t tailleMaxReponse;  // octets reçus depuis la dernière commande, au plus
        const char* motifDelaiDepasse; // en UTF-8
        int delaiParDefaut;            // secondes, quand le délai demandé n'est pas positif
    };

    // `delaiSecondes` (le réglage du client) est relu à chaque attente ; `surFermeture` est
    // appelé à chaque fermeture d'une connexion ouverte.
    ConnexionLignes(const Reglages& reglages, FabriqueTransport fabrique, const int& delaiSecondes,
                    std::function<void()> surFermeture);
    ~ConnexionLignes() override;

    // Ferme la connexion en cours, puis se connecte à `hote` (Windows-1252) sur `port` (texte
    // décimal) et attend que le transport soit prêt ; avec `tls`, chiffré dès la connexion.
    bool ouvrir(const std::string& hote, const std::string& port, bool tls,
                const QSslConfiguration& configuration);
    // Passe en TLS sur la connexion ouverte (STARTTLS accepté) ; ce qui a été reçu en clair
    // jusque-là est écarté.
    bool passerEnTls(const QSslConfiguration& configuration);
    // Le serveur a accueilli le client : une erreur du transport est désormais une perte de
    // connexion, et non plus une connexion impossible.
    void noterAccueil();

    void fermer(const std::string& motif);
    void terminer();    // fermeture normale : « Connexion terminée »
    void interrompre(); // fermeture imposée : « Connexion interrompue »
    // Envoie la ligne `adieu` sans attendre de réponse, puis termine.
    void abandonner(const std::string& adieu);

    bool ouverte() const { return ouverte_; }
    bool accueillie() const { return ouverte_ && accueillie_; }
    bool chiffree() const { return chiffree_; }
    // Change à chaque connexion : une attente la compare pour savoir si la sienne a été remplacée.
    unsigned session() const { return session_; }

    // Une ligne de commande, sans fin de ligne (CR, LF et NUL y sont refusés).
    bool envoyerLigne(const std::string& commande);
    // Des octets tels quels. Chaque envoi compte pour une commande et ouvre une nouvelle réponse.
    bool envoyer(const std::string& donnees);
    // Ligne suivante du serveur, sans sa fin de ligne ; attend au besoin. Une ligne ou une
    // réponse trop longue ferme la connexion.
    bool lireLigne(std::string& ligne);

    long long commandesEnvoyees() const { return commandesEnvoyees_; }
    const std::string& echec() const { return echec_; }

private:
    bool echouer(const std::string& message);
    void demarrerSession();
    bool attendreQue(const bool& atteint);
    bool attendreDonnees();
    bool attendre();
    bool tirerRecu();
    void brancherTransport();
    void fermerConnexion(const std::string& motif, bool garderRecu);
    void debrancherTransport();
    void reveiller();
    int delaiMs() const;

    const Reglages reglages_;
    const std::string motifDelaiDepasse_;
    FabriqueTransport fabrique_;
    const int& delaiSecondes_;
    std::function<void()> surFermeture_;

    std::unique_ptr<Transport> transport_; // gardé jusqu'à la connexion suivante
    bool ouverte_ = false;                 // transport ouvert ou en cours d'ouverture
    bool etablie_ = false;                 // le transport a annoncé la connexion
    bool accueillie_ = false;              // accueil du serveur reçu
    bool chiffree_ = false;                // passage en TLS abouti
    bool enNegociation_ = false;           // passage en TLS en cours
    unsigned session_ = 0;
    std::string motifFermeture_;
    std::string echec_;
    long long commandesEnvoyees_ = 0;

    TamponLignes tampon_;
    QTimer inactivite_;
    QEventLoop* boucle_ = nullptr; // attente en cours, à réveiller
};
