#pragma once
// Client SMTP synchrone : chaque opération attend la réponse du serveur, une erreur ou le
// délai d'attente en faisant tourner une boucle d'événements locale, de sorte que minuteurs
// et clics restent servis pendant l'envoi.
#include "MessageSmtp.h" // ConstruireMessageSmtp, le texte que DataSync envoie
#include "moteur/reseau/ConnexionLignes.h"

#include <QObject>
#include <QSslConfiguration>
#include <map>
#include <string>
#include <vector>

class ClientSmtp : public QObject {
    Q_OBJECT
public:
    explicit ClientSmtp(QObject* parent = nullptr, FabriqueTransport fabrique = {});
    ~ClientSmtp() override;

    // Réglages (textes en octets Windows-1252).
    std::string Host;
    std::string Port = "25"; // en texte décimal
    int Timeout = 60;        // secondes d'attente sans rien recevoir
    bool Authentification = false;
    std::string Username;
    std::string Password;
    // Autorités de confiance pour STARTTLS ; nul : la configuration par défaut.
    const QSslConfiguration* SslContext = nullptr;
    std::string NomLocal; // nom annoncé par EHLO / HELO ; vide : "localhost"

    // Résultats. LastResponse et DernierCode décrivent la réponse à la dernière commande
    // envoyée : vides (0) tant qu'elle n'est pas arrivée ou quand elle était illisible.
    std::string ErrorMessage; // vide quand la dernière opération a réussi
    std::string LastResponse; // dernière ligne reçue (d'une réponse multiligne : la dernière)
    int DernierCode = 0;      // code de la dernière réponse, 0 sans réponse

    bool Connected() const;
    // La session est chiffrée (STARTTLS réussi).
    bool Chiffre() const;
    // Le dernier EHLO a proposé cette extension (mot-clé, sans tenir compte de la casse).
    bool Extension(const std::string& motCle) const;

    bool ConnectSync(); // connexion et accueil « 220 »
    bool EhloSync();    // EHLO ; garde les extensions proposées
    bool HeloSync();
    // ConnectSync, EHLO (HELO si EHLO est refusé), STARTTLS chaque fois qu'il est proposé (puis
    // EHLO de nouveau), enfin AUTH si Authentification est demandée. En cas d'échec, la session
    // est abandonnée (QUIT sans attendre) et la connexion fermée.
    bool OpenSync();
    // Adresses nues : CR, LF, NUL, « < » et « > » en sont retirés, ainsi que les blancs autour.
    bool MailFromSync(const std::string& expediteur); // expéditeur vide permis : MAIL FROM:<>
    bool RcptToSync(const std::string& destinataire);
    // DATA puis le message : fins de ligne ramenées à CR LF, points doublés en début de ligne,
    // et « . » final.
    bool DataSync(const std::string& message);
    bool RsetSync();
    bool QuitSync();  // QUIT ; la connexion est fermée quelle que soit la réponse
    void AbortSync(); // ferme la connexion sur-le-champ ; l'opération en attente échoue

    // Commandes (et contenus de message) envoyées depuis la création du client.
    long long CommandesEnvoyees() const { return connexion_.commandesEnvoyees(); }

    // Taille maximale acceptée d'une ligne de réponse, et d'une réponse multiligne entière.
    static constexpr std::size_t kLongueurMaxLigne = 4096;
    static constexpr std::size_t kTailleMaxReponse = 256 * 1024;

private:
    struct Reponse {
        int code = 0;
        std::vector<std::string> textes; // chaque ligne sans son code ni son séparateur
    };

    // Déroulement d'une opération.
    bool debuterOperation();
    bool echouer(const std::string& message);
    bool envoyer(const std::string& commande);
    bool envoyerDonnees(const std::string& donnees);
    bool envoi(bool parti);
    bool commande(const std::string& texte, int classeAttendue, Reponse& reponse);
    bool conclure(const Reponse& reponse, int classeAttendue);
    bool saluer(const std::string& verbe);
    void retenirExtensions(const Reponse& reponse);
    bool chiffrer();
    bool authentifier();
    bool authentifierCramMd5();
    bool authentifierLogin();
    bool authentifierPlain();
    bool adresse(const std::string& debut, const std::string& brute, bool videPermise);
    void abandonnerSession();

    // Réception.
    bool lireReponse(Reponse& reponse);
    bool lireLigne(std::string& ligne);
    bool rompre(const std::string& message);

    std::string nomLocal() const;

    // Extensions du dernier EHLO : mot-clé en majuscules -> paramètres.
    std::map<std::string, std::string> extensions_;
    ConnexionLignes connexion_;
};
