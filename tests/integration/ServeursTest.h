#pragma once
// Accès aux serveurs de test lancés sur la boucle locale par scripts/test.
#include <QString>
#include <string>

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

} // namespace ServeursTest
