#include "VerificateurExpediteur.h"

#include "donnees/Casse1252.h"
#include "donnees/Chaines.h"
#include "donnees/Cp1252.h"
#include "moteur/entete/Adresses.h"
#include "moteur/smtp/ClientSmtp.h"

#include <QDnsLookup>
#include <QEventLoop>
#include <QHostAddress>
#include <QTimer>
#include <algorithm>
#include <fstream>
#include <sstream>

namespace {

bool contientSansCasse(const std::vector<std::string>& liste, const std::string& texte) {
    return std::any_of(liste.begin(), liste.end(), [&texte](const std::string& e) { return MemeTexteSansCasse(e, texte); });
}

} // namespace

std::string TrouverServeurDNS(const std::string& fichierResolv) {
    std::ifstream fichier(fichierResolv);
    std::string ligne;
    while (std::getline(fichier, ligne)) {
        std::istringstream mots(ligne);
        std::string cle, valeur;
        if (!(mots >> cle >> valeur) || cle != "nameserver") continue;
        // Les serveurs IPv6 ne peuvent pas être interrogés par le résolveur utilisé.
        if (QHostAddress(QString::fromStdString(valeur)).protocol() == QAbstractSocket::IPv4Protocol) return valeur;
    }
    return {};
}

namespace {

// Lance la requête et sert les événements jusqu'à sa réponse ou la fin de l'attente ;
// faux quand rien n'est arrivé à temps.
bool attendreReponse(QDnsLookup& requete, int attenteMs) {
    QEventLoop boucle;
    QTimer delai;
    delai.setSingleShot(true);
    QObject::connect(&requete, &QDnsLookup::finished, &boucle, &QEventLoop::quit);
    QObject::connect(&delai, &QTimer::timeout, &boucle, &QEventLoop::quit);
    requete.lookup();
    delai.start(attenteMs);
    if (!requete.isFinished()) boucle.exec();
    if (requete.isFinished()) return true;
    requete.abort();
    return false;
}

} // namespace

bool DecisionInexistantPour(int etatVerification, int conditions) {
    return (etatVerification == -1 && (conditions == 0 || conditions == 2)) ||
           (etatVerification == -2 && (conditions == 1 || conditions == 2));
}

bool VerificateurExpediteur::DecisionInexistant() {
    return DecisionInexistantPour(etat_, contexte_.etat.Parametres.ConditionsRejetInex);
}

QHostAddress VerificateurExpediteur::serveurDns() const {
    return QHostAddress(QString::fromStdString(contexte_.etat.ServeurDNS));
}

// Le meilleur serveur de messagerie du domaine (préférence la plus basse, sous 100), ou vide
// quand il n'y en a pas ou que le serveur DNS n'a pas répondu à temps.
std::string VerificateurExpediteur::meilleurServeurMx(const std::string& domaine) {
    QDnsLookup requete(QDnsLookup::MX, depuisCp1252(domaine), serveurDns());
    if (!attendreReponse(requete, contexte_.etat.AttenteDnsMs)) return {};
    etat_ = 1;  // une réponse est arrivée
    if (requete.error() != QDnsLookup::NoError) return {};
    std::string meilleur;
    int preference = 100;
    for (const QDnsMailExchangeRecord& mx : requete.mailExchangeRecords()) {
        if (mx.preference() < preference) {
            preference = mx.preference();
            meilleur = versCp1252(mx.exchange());
        }
    }
    return meilleur;
}

// L'adresse du serveur de messagerie, demandée au même serveur DNS que le MX ; son nom quand
// ce serveur ne la donne pas (le résolveur du système s'en chargera).
std::string VerificateurExpediteur::adresseDuServeur(const std::string& nom) {
    QDnsLookup requete(QDnsLookup::A, depuisCp1252(nom), serveurDns());
    if (!attendreReponse(requete, contexte_.etat.AttenteDnsMs) || requete.error() != QDnsLookup::NoError) return nom;
    const QList<QDnsHostAddressRecord> adresses = requete.hostAddressRecords();
    return adresses.isEmpty() ? nom : adresses.first().value().toString().toStdString();
}

void VerificateurExpediteur::sonder(const std::string& serveur, const std::string& expediteurTeste,
                                    const std::string& adresse) {
    ClientSmtp client;
    client.Host = adresseDuServeur(serveur);
    client.Port = std::to_string(contexte_.etat.PortSondeSmtp);
    if (!client.ConnectSync()) return;
    if (client.EhloSync() && client.MailFromSync("Postmaster@" + DomaineAdresse(adresse))) {
        if (client.RcptToSync(adresse)) {
            etat_ = 1;
            contexte_.etat.AdressesExistantes.push_back(expediteurTeste);
        } else if (client.LastResponse.rfind("550", 0) == 0) {
            etat_ = -1;
            contexte_.etat.AdressesInexistantes.push_back(expediteurTeste);
        }
    }
    if (client.Connected()) {
        client.RsetSync();
        client.QuitSync();
    }
}

void VerificateurExpediteur::VerifierExpediteur(const std::string& expediteurTeste) {
    EtatProgramme& etat = contexte_.etat;
    etat_ = 0;
    if (contientSansCasse(etat.AdressesInexistantes, expediteurTeste)) {
        etat_ = -1;
    } else if (contientSansCasse(etat.AdressesExistantes, expediteurTeste)) {
        etat_ = 1;
    } else {
        if (etat.ServeurDNS.empty()) etat.ServeurDNS = TrouverServeurDNS();
        // Sans serveur DNS utilisable, rien n'est vérifié ni affiché.
        if (QHostAddress(QString::fromStdString(etat.ServeurDNS)).isNull()) return;
        const std::string adresse = ExtraireAdresse(expediteurTeste);
        contexte_.ui.EcrireStatut(2, Chaine(90220) + expediteurTeste);
        const std::string serveur = meilleurServeurMx(DomaineAdresse(adresse));
        if (serveur.empty()) {
            etat_ = -2;
        } else {
            etat_ = 0;
            sonder(serveur, expediteurTeste, adresse);
        }
    }
    contexte_.ui.EcrireStatut(2, Chaine(etat_ == 1 ? 90221 : etat_ == -1 ? 90222 : 90223));
}
