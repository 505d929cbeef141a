#pragma once
// Accès aux serveurs de test lancés sur la boucle locale par scripts/test.
#include <QString>
#include <string>
#include <vector>

namespace ServeursTest {

// Faux quand les serveurs ne sont pas lancés (les tests concernés sont alors ignorés).
bool Disponibles();
int PortPop3();
int PortPop3s();
QString FichierCa();       // autorité qui a signé le certificat du serveur
QString FichierAutreCa();  // autorité sans rapport

// Compte "uNN" (1..60), mot de passe "mdp-uNN" ; le compte "apop" a le mot de passe "mdp-apop".
std::string Utilisateur(int numero);
std::string MotDePasse(const std::string& utilisateur);

// Boîte du compte : vide, ou garnie de messages (fichiers déposés dans Maildir/new).
void ViderBoite(const std::string& utilisateur);
// Dépose un message ; rend son nom de fichier (sans le suffixe d'état que le serveur ajoute).
std::string DeposerMessage(const std::string& utilisateur, const std::string& sujet, int taillePlus = 0);
// Dépose un message tel quel (en-têtes et corps, lignes terminées par CR LF).
std::string DeposerBrut(const std::string& utilisateur, const std::string& contenu);
// Retire du serveur, comme un autre client, le message déposé sous ce nom.
void RetirerMessage(const std::string& utilisateur, const std::string& nom);

// Serveur DNS de test (MX de example.test, pref100.test, deux.test ; sansmx.test sans MX).
std::string ServeurDns();
int PortSmtp();

// Un message reçu par le serveur SMTP de test : enveloppe et texte brut.
struct MessageSmtp {
    std::string expediteur;
    std::vector<std::string> destinataires;
    std::string texte;
};
// Les messages reçus dont un destinataire de l'enveloppe est `destinataire`, dans l'ordre d'arrivée.
std::vector<MessageSmtp> MessagesSmtpPour(const std::string& destinataire);

} // namespace ServeursTest
