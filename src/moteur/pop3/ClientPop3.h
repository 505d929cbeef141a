#pragma once
// Client POP3 synchrone : chaque opération attend la réponse du serveur, une erreur ou le
// délai d'attente en faisant tourner une boucle d'événements locale, de sorte que minuteurs
// et clics restent servis pendant une session.
#include "moteur/reseau/ConnexionLignes.h"

#include <QObject>
#include <QSslConfiguration>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>

class ClientPop3 : public QObject {
    Q_OBJECT
public:
    explicit ClientPop3(QObject* parent = nullptr, FabriqueTransport fabrique = {});
    ~ClientPop3() override;

    // Réglages (textes en octets Windows-1252).
    std::string Host;
    std::string Port = "110";    // en texte décimal
    std::string UserName;
    std::string Password;
    int Timeout = 15;            // secondes d'attente sans rien recevoir
    bool SslImplicite = false;   // TLS dès la connexion
    // Contexte TLS partagé du programme (autorités de confiance) ; nul sans TLS.
    const QSslConfiguration* SslContext = nullptr;

    // Résultats.
    std::string ErrorMessage;    // vide quand la dernière opération a réussi
    int MsgCount = 0;            // après StatSync
    int MsgNum = 0;              // numéro de message, argument des opérations
    std::string MsgUidl;         // après UidlSync
    long long MsgSize = 0;       // après ListSync
    int MsgLines = 0;            // nombre de lignes de corps pour TopSync
    std::string LastResponse;    // dernière ligne reçue (sans CR LF)
    // Appelé pour chaque ligne d'une réponse multiligne (TOP, RETR), LastResponse tenant la ligne.
    std::function<void()> OnMessageLine;

    bool Connected() const;

    bool ConnectSync();  // connexion, TLS éventuel, accueil du serveur
    bool ApopSync();     // APOP avec l'horodatage de l'accueil
    bool OpenSync();     // ConnectSync puis USER et PASS
    bool StatSync();
    bool UidlSync();     // identifiant du message MsgNum
    bool TopSync();      // TOP MsgNum MsgLines
    bool ListSync();     // taille du message MsgNum
    bool DeleSync();
    bool RetrSync();
    bool QuitSync();
    void AbortSync();    // ferme la connexion sur-le-champ ; l'opération en attente échoue

    // Nombre de commandes envoyées au serveur depuis la création du client.
    long long CommandesEnvoyees() const { return connexion_.commandesEnvoyees(); }

    // Taille maximale acceptée d'une ligne reçue et d'une réponse multiligne.
    static constexpr std::size_t kLongueurMaxLigne = 64 * 1024;
    static constexpr std::size_t kTailleMaxReponse = 64 * 1024 * 1024;

private:
    struct Etat;
    struct Liste;

    // Déroulement d'une opération.
    bool debuterOperation(bool numeroRequis);
    bool echouer(const std::string& message);
    bool envoyer(const std::string& commande);
    bool lireLigne(std::string& ligne);
    bool echanger(const std::string& commande, std::string& ligne);
    bool conclure(const std::string& ligne);
    bool authentifier(const std::string& commande);
    void abandonnerSession();
    bool lireMessage(const std::string& commande);
    bool lireCorps(const std::function<void(const std::string&)>& parLigne);
    bool consulterListe(Liste& liste, const std::string& commande, std::string& valeur);
    bool chargerListe(Liste& liste, const std::string& commande);
    void oublierSession();

    std::unique_ptr<Etat> etat_; // accueil et listes de la connexion en cours
    ConnexionLignes connexion_;
};
