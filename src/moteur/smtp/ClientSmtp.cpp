#include "ClientSmtp.h"

#include "donnees/Cp1252.h"

#include <QMessageAuthenticationCode>
#include <algorithm>
#include <optional>
#include <string_view>
#include <utility>

namespace {

// Messages (écrits ici en UTF-8, rendus en octets Windows-1252).
constexpr const char* kNonConnecte = "Non connecté";
constexpr const char* kReponseInvalide = "Réponse invalide du serveur : ";
constexpr const char* kSansAuthentification =
    "Le serveur ne propose aucune méthode d'authentification connue (CRAM-MD5, LOGIN, PLAIN)";
constexpr const char* kDefiInvalide = "Défi d'authentification invalide : ";
constexpr const char* kDestinataireVide = "Adresse du destinataire vide";

// Longueur de la réponse citée dans un message d'erreur.
constexpr std::size_t kLongueurCitation = 200;
// Extensions retenues d'une réponse à EHLO, au plus.
constexpr std::size_t kExtensionsMax = 256;
// Code de la réponse « le service ferme la connexion ».
constexpr int kServiceFerme = 421;

constexpr ConnexionLignes::Reglages kReglagesConnexion{
    .longueurMaxLigne = ClientSmtp::kLongueurMaxLigne,
    .lignesLongues = TamponLignes::LignesLongues::Refusees,
    .tailleMaxReponse = ClientSmtp::kTailleMaxReponse,
    .motifDelaiDepasse = "Délai d'attente dépassé",
    .delaiParDefaut = 60,
};

std::string enCp1252(const char* utf8) {
    return utf8VersCp1252(utf8);
}

std::string citation(const std::string& ligne) {
    return enCp1252(kReponseInvalide) + ligne.substr(0, kLongueurCitation);
}

std::string majuscules(std::string texte) {
    for (char& c : texte)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return texte;
}

// Code d'une ligne de réponse « NNN », « NNN texte » ou « NNN-texte » ; rien pour tout le reste.
std::optional<int> codeReponse(std::string_view ligne) {
    if (ligne.size() < 3 || (ligne.size() > 3 && ligne[3] != ' ' && ligne[3] != '-')) return std::nullopt;
    if (ligne[0] < '2' || ligne[0] > '5' || ligne[1] < '0' || ligne[1] > '9' || ligne[2] < '0' ||
        ligne[2] > '9')
        return std::nullopt;
    return (ligne[0] - '0') * 100 + (ligne[1] - '0') * 10 + (ligne[2] - '0');
}

// Adresse d'enveloppe nue : ni fin de ligne ni NUL (injection de commandes), ni chevrons.
std::string adresseNue(const std::string& brute) {
    std::string adresse;
    for (const char c : brute)
        if (std::string_view("\r\n<>\0", 5).find(c) == std::string_view::npos) adresse += c;
    const std::size_t debut = adresse.find_first_not_of(" \t");
    if (debut == std::string::npos) return {};
    return adresse.substr(debut, adresse.find_last_not_of(" \t") - debut + 1);
}

std::string base64(const QByteArray& octets) {
    return octets.toBase64().toStdString();
}

// Identifiants en UTF-8 pour l'authentification, comme le veulent les serveurs actuels.
QByteArray identifiantUtf8(const std::string& cp1252) {
    return QByteArray::fromStdString(cp1252VersUtf8(cp1252));
}

// Le message tel qu'il passe après DATA : lignes en CR LF (CR seul et LF seul compris), point
// doublé en tête de ligne, dernière ligne terminée, puis la ligne « . ».
std::string transparence(std::string_view message) {
    std::string sortie;
    sortie.reserve(message.size() + message.size() / 32 + 8);
    bool debutLigne = true;
    for (std::size_t i = 0; i < message.size(); ++i) {
        const char c = message[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < message.size() && message[i + 1] == '\n') ++i;
            sortie += "\r\n";
            debutLigne = true;
            continue;
        }
        if (debutLigne && c == '.') sortie += '.';
        sortie += c;
        debutLigne = false;
    }
    if (!debutLigne) sortie += "\r\n";
    return sortie + ".\r\n";
}

} // namespace

ClientSmtp::ClientSmtp(QObject* parent, FabriqueTransport fabrique)
    : QObject(parent),
      connexion_(kReglagesConnexion, std::move(fabrique), Timeout, [this] { extensions_.clear(); }) {}

ClientSmtp::~ClientSmtp() {
    AbortSync();
}

bool ClientSmtp::Connected() const {
    return connexion_.accueillie();
}

bool ClientSmtp::Chiffre() const {
    return Connected() && connexion_.chiffree();
}

bool ClientSmtp::Extension(const std::string& motCle) const {
    return extensions_.contains(majuscules(motCle));
}

// ---------------------------------------------------------------- opérations

bool ClientSmtp::ConnectSync() {
    ErrorMessage.clear();
    LastResponse.clear();
    DernierCode = 0;
    if (!connexion_.ouvrir(Host, Port, false, QSslConfiguration::defaultConfiguration()))
        return echouer(connexion_.echec());
    Reponse accueil;
    if (!lireReponse(accueil)) return false;
    if (accueil.code != 220) {
        ErrorMessage = LastResponse;
        abandonnerSession();
        return false;
    }
    connexion_.noterAccueil();
    return true;
}

bool ClientSmtp::EhloSync() {
    return debuterOperation() && saluer("EHLO");
}

bool ClientSmtp::HeloSync() {
    return debuterOperation() && saluer("HELO");
}

bool ClientSmtp::OpenSync() {
    if (!ConnectSync()) return false;
    // Un EHLO refusé (5xx) laisse la place à HELO, sans extensions.
    const bool salue = EhloSync() || (Connected() && DernierCode / 100 == 5 && HeloSync());
    if (salue && chiffrer() && (!Authentification || authentifier())) return true;
    abandonnerSession();
    return false;
}

bool ClientSmtp::MailFromSync(const std::string& expediteur) {
    return debuterOperation() && adresse("MAIL FROM:", expediteur, true);
}

bool ClientSmtp::RcptToSync(const std::string& destinataire) {
    return debuterOperation() && adresse("RCPT TO:", destinataire, false);
}

bool ClientSmtp::DataSync(const std::string& message) {
    Reponse reponse;
    if (!debuterOperation() || !commande("DATA", 3, reponse)) return false;
    return envoyerDonnees(transparence(message)) && lireReponse(reponse) && conclure(reponse, 2);
}

bool ClientSmtp::RsetSync() {
    Reponse reponse;
    return debuterOperation() && commande("RSET", 2, reponse);
}

bool ClientSmtp::QuitSync() {
    if (!debuterOperation()) return false;
    const unsigned session = connexion_.session();
    Reponse reponse;
    const bool lue = envoyer("QUIT") && lireReponse(reponse);
    if (connexion_.session() == session) connexion_.terminer();
    return lue && conclure(reponse, 2);
}

void ClientSmtp::AbortSync() {
    connexion_.interrompre();
}

// ---------------------------------------------------------------- déroulement

bool ClientSmtp::debuterOperation() {
    ErrorMessage.clear();
    return Connected() || echouer(enCp1252(kNonConnecte));
}

// Échec de l'opération ; un message déjà posé est gardé.
bool ClientSmtp::echouer(const std::string& message) {
    if (ErrorMessage.empty()) ErrorMessage = message;
    return false;
}

bool ClientSmtp::envoyer(const std::string& commande) {
    return envoi(connexion_.envoyerLigne(commande));
}

// Le message après DATA, compté comme une commande.
bool ClientSmtp::envoyerDonnees(const std::string& donnees) {
    return envoi(connexion_.envoyer(donnees));
}

// Suite d'un envoi : la réponse précédente est oubliée une fois la commande partie.
bool ClientSmtp::envoi(bool parti) {
    if (!parti) return echouer(connexion_.echec());
    LastResponse.clear();
    DernierCode = 0;
    return true;
}

// Commande et réponse : vrai quand le code est de la classe attendue (2 pour 2xx, 3 pour 3xx).
bool ClientSmtp::commande(const std::string& texte, int classeAttendue, Reponse& reponse) {
    return envoyer(texte) && lireReponse(reponse) && conclure(reponse, classeAttendue);
}

bool ClientSmtp::conclure(const Reponse& reponse, int classeAttendue) {
    if (reponse.code / 100 == classeAttendue) return true;
    ErrorMessage = LastResponse;
    return false;
}

bool ClientSmtp::saluer(const std::string& verbe) {
    extensions_.clear();
    Reponse reponse;
    if (!commande(verbe + ' ' + nomLocal(), 2, reponse)) return false;
    if (verbe == "EHLO") retenirExtensions(reponse);
    return true;
}

// Lignes après la première : « MOT-CLÉ paramètres » ; l'ancienne forme « AUTH=LOGIN » compte
// comme AUTH.
void ClientSmtp::retenirExtensions(const Reponse& reponse) {
    for (std::size_t i = 1; i < reponse.textes.size() && extensions_.size() < kExtensionsMax; ++i) {
        const std::string& texte = reponse.textes[i];
        const std::size_t fin = std::min(texte.find_first_of(" ="), texte.size());
        const std::string motCle = majuscules(texte.substr(0, fin));
        if (motCle.empty()) continue;
        std::string& parametres = extensions_[motCle];
        if (fin < texte.size()) parametres += ' ' + majuscules(texte.substr(fin + 1));
    }
}

// STARTTLS quand le serveur le propose sur une session encore en clair, puis EHLO de nouveau :
// les extensions d'avant le chiffrement ne valent plus.
bool ClientSmtp::chiffrer() {
    if (connexion_.chiffree() || !Extension("STARTTLS")) return true;
    Reponse reponse;
    if (!commande("STARTTLS", 2, reponse)) return false;
    extensions_.clear();
    const QSslConfiguration configuration =
        SslContext ? *SslContext : QSslConfiguration::defaultConfiguration();
    if (!connexion_.passerEnTls(configuration)) return echouer(connexion_.echec());
    return saluer("EHLO");
}

// Le meilleur mécanisme proposé : CRAM-MD5, sinon LOGIN, sinon PLAIN.
bool ClientSmtp::authentifier() {
    const auto trouvee = extensions_.find("AUTH");
    std::vector<std::string> proposes;
    if (trouvee != extensions_.end()) {
        const std::string& texte = trouvee->second;
        for (std::size_t debut = texte.find_first_not_of(' '); debut != std::string::npos;
             debut = texte.find_first_not_of(' ', debut)) {
            const std::size_t fin = std::min(texte.find(' ', debut), texte.size());
            proposes.push_back(texte.substr(debut, fin - debut));
            debut = fin;
        }
    }
    const auto propose = [&proposes](const char* nom) {
        return std::find(proposes.begin(), proposes.end(), nom) != proposes.end();
    };
    if (propose("CRAM-MD5")) return authentifierCramMd5();
    if (propose("LOGIN")) return authentifierLogin();
    if (propose("PLAIN")) return authentifierPlain();
    return echouer(enCp1252(kSansAuthentification));
}

bool ClientSmtp::authentifierCramMd5() {
    Reponse reponse;
    if (!commande("AUTH CRAM-MD5", 3, reponse)) return false;
    const std::string& texte = reponse.textes.back();
    const auto decodage = QByteArray::fromBase64Encoding(QByteArray::fromStdString(texte),
                                                         QByteArray::AbortOnBase64DecodingErrors);
    if (!decodage || decodage.decoded.isEmpty())
        return echouer(enCp1252(kDefiInvalide) + texte.substr(0, kLongueurCitation));
    const QByteArray empreinte =
        QMessageAuthenticationCode::hash(decodage.decoded, identifiantUtf8(Password), QCryptographicHash::Md5)
            .toHex();
    return commande(base64(identifiantUtf8(Username) + ' ' + empreinte), 2, reponse);
}

bool ClientSmtp::authentifierLogin() {
    Reponse reponse;
    return commande("AUTH LOGIN", 3, reponse) && commande(base64(identifiantUtf8(Username)), 3, reponse) &&
           commande(base64(identifiantUtf8(Password)), 2, reponse);
}

bool ClientSmtp::authentifierPlain() {
    const QByteArray jeton = '\0' + identifiantUtf8(Username) + '\0' + identifiantUtf8(Password);
    Reponse reponse;
    return commande("AUTH PLAIN " + base64(jeton), 2, reponse);
}

bool ClientSmtp::adresse(const std::string& debut, const std::string& brute, bool videPermise) {
    const std::string nue = adresseNue(brute);
    if (nue.empty() && !videPermise) return echouer(enCp1252(kDestinataireVide));
    Reponse reponse;
    return commande(debut + '<' + nue + '>', 2, reponse);
}

// QUIT sans attendre la réponse, puis fermeture.
void ClientSmtp::abandonnerSession() {
    connexion_.abandonner("QUIT");
}

// ---------------------------------------------------------------- réception

// Réponse complète : lignes « NNN-texte » puis « NNN texte », toutes du même code. Une réponse
// illisible désaccorde le dialogue : la connexion est fermée. « 421 » la ferme aussi.
bool ClientSmtp::lireReponse(Reponse& reponse) {
    reponse = {};
    for (;;) {
        std::string ligne;
        if (!lireLigne(ligne)) return false;
        const std::optional<int> code = codeReponse(ligne);
        if (!code || (reponse.code != 0 && *code != reponse.code)) return rompre(citation(ligne));
        reponse.code = *code;
        reponse.textes.push_back(ligne.size() > 4 ? ligne.substr(4) : std::string());
        if (ligne.size() == 3 || ligne[3] == ' ') break;
    }
    DernierCode = reponse.code;
    if (reponse.code == kServiceFerme) connexion_.fermer(LastResponse);
    return true;
}

bool ClientSmtp::lireLigne(std::string& ligne) {
    if (!connexion_.lireLigne(ligne)) return echouer(connexion_.echec());
    LastResponse = ligne;
    return true;
}

// Le dialogue n'est plus fiable : la connexion est fermée et l'opération échoue.
bool ClientSmtp::rompre(const std::string& message) {
    connexion_.fermer(message);
    return echouer(message);
}

std::string ClientSmtp::nomLocal() const {
    return NomLocal.empty() ? "localhost" : NomLocal;
}
