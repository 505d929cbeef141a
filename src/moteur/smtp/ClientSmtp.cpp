#include "ClientSmtp.h"

#include "donnees/Cp1252.h"

#include <QEventLoop>
#include <QMessageAuthenticationCode>
#include <QTimer>
#include <algorithm>
#include <charconv>
#include <cstring>
#include <map>
#include <optional>
#include <string_view>
#include <utility>

namespace {

// Messages (écrits ici en UTF-8, rendus en octets Windows-1252).
constexpr const char* kNonConnecte = "Non connecté";
constexpr const char* kPortInvalide = "Port invalide : ";
constexpr const char* kConnexionImpossible = "Connexion impossible : ";
constexpr const char* kConnexionPerdue = "Connexion perdue : ";
constexpr const char* kChiffrementImpossible = "Chiffrement impossible : ";
constexpr const char* kFermeeParServeur = "Connexion fermée par le serveur";
constexpr const char* kInterrompue = "Connexion interrompue";
constexpr const char* kTerminee = "Connexion terminée";
constexpr const char* kDelaiDepasse = "Délai d'attente dépassé";
constexpr const char* kReponseInvalide = "Réponse invalide du serveur : ";
constexpr const char* kReponseTropLongue = "Réponse trop longue du serveur";
constexpr const char* kCaractereInterdit = "Caractère interdit dans la commande";
constexpr const char* kSansTransport = "Connexion impossible : aucun transport";
constexpr const char* kSansAuthentification =
    "Le serveur ne propose aucune méthode d'authentification connue (CRAM-MD5, LOGIN, PLAIN)";
constexpr const char* kDefiInvalide = "Défi d'authentification invalide : ";
constexpr const char* kDestinataireVide = "Adresse du destinataire vide";

// Longueur de la réponse citée dans un message d'erreur.
constexpr std::size_t kLongueurCitation = 200;
// Extensions retenues d'une réponse à EHLO, au plus.
constexpr std::size_t kExtensionsMax = 256;
constexpr int kDelaiParDefaut = 60;
constexpr int kDelaiMax = 24 * 60 * 60;
// Code de la réponse « le service ferme la connexion ».
constexpr int kServiceFerme = 421;

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

std::optional<quint16> lirePort(std::string_view texte) {
    const std::size_t debut = texte.find_first_not_of(' ');
    if (debut == std::string_view::npos) return std::nullopt;
    texte = texte.substr(debut, texte.find_last_not_of(' ') - debut + 1);
    long long valeur = 0;
    const char* fin = texte.data() + texte.size();
    const auto [arret, erreur] = std::from_chars(texte.data(), fin, valeur);
    if (erreur != std::errc() || arret != fin || valeur < 1 || valeur > 65535) return std::nullopt;
    return static_cast<quint16>(valeur);
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

// Remet un pointeur à sa valeur d'avant en fin de portée.
struct Restauration {
    QEventLoop*& cible;
    QEventLoop* valeur;
    ~Restauration() { cible = valeur; }
};

} // namespace

struct ClientSmtp::Etat {
    std::unique_ptr<Transport> transport; // gardé jusqu'à la connexion suivante
    bool ouvert = false;                  // transport ouvert ou en cours d'ouverture
    bool etabli = false;                  // le transport a annoncé la connexion
    bool accueilli = false;               // accueil « 220 » reçu
    bool chiffre = false;                 // STARTTLS a abouti
    bool enNegociation = false;           // STARTTLS accepté, négociation TLS en cours
    unsigned session = 0;                 // change à chaque nouvelle connexion
    std::string motifFermeture;
    // Extensions du dernier EHLO : mot-clé en majuscules -> paramètres.
    std::map<std::string, std::string> extensions;

    QByteArray recu;               // octets reçus, pas encore découpés en lignes
    qsizetype position = 0;        // début de la partie non lue de `recu`
    std::string ligneEnCours;      // début de ligne (au plus kLongueurMaxLigne + 1 octets)
    std::size_t octetsReponse = 0; // octets lus depuis la dernière commande

    QTimer inactivite;
    QEventLoop* boucle = nullptr; // attente en cours, à réveiller
};

ClientSmtp::ClientSmtp(QObject* parent, FabriqueTransport fabrique)
    : QObject(parent), etat_(std::make_unique<Etat>()),
      fabrique_(fabrique ? std::move(fabrique) : FabriqueTransport(&CreerTransportSocket)) {
    etat_->inactivite.setSingleShot(true);
    connect(&etat_->inactivite, &QTimer::timeout, this,
            [this] { fermerConnexion(enCp1252(kDelaiDepasse), false); });
}

ClientSmtp::~ClientSmtp() {
    AbortSync();
}

bool ClientSmtp::Connected() const {
    return etat_->ouvert && etat_->accueilli;
}

bool ClientSmtp::Chiffre() const {
    return Connected() && etat_->chiffre;
}

bool ClientSmtp::Extension(const std::string& motCle) const {
    return etat_->extensions.contains(majuscules(motCle));
}

// ---------------------------------------------------------------- opérations

bool ClientSmtp::ConnectSync() {
    ErrorMessage.clear();
    LastResponse.clear();
    DernierCode = 0;
    fermerConnexion(enCp1252(kInterrompue), false);
    const std::optional<quint16> port = lirePort(Port);
    if (!port) return echouer(enCp1252(kPortInvalide) + Port);
    if (!ouvrirTransport(*port) || !attendreConnexion()) return false;
    Reponse accueil;
    if (!lireReponse(accueil)) return false;
    if (accueil.code != 220) {
        ErrorMessage = LastResponse;
        abandonnerSession();
        return false;
    }
    etat_->accueilli = true;
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
    const unsigned session = etat_->session;
    Reponse reponse;
    const bool lue = envoyer("QUIT") && lireReponse(reponse);
    if (etat_->session == session) fermerConnexion(enCp1252(kTerminee), false);
    return lue && conclure(reponse, 2);
}

void ClientSmtp::AbortSync() {
    fermerConnexion(enCp1252(kInterrompue), false);
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

bool ClientSmtp::ouvrirTransport(quint16 port) {
    Etat& e = *etat_;
    e.transport = fabrique_();
    if (!e.transport) return echouer(enCp1252(kSansTransport));
    ++e.session;
    e.ouvert = true;
    e.etabli = e.accueilli = e.chiffre = e.enNegociation = false;
    e.motifFermeture.clear();
    e.extensions.clear();
    oublierRecu();
    e.octetsReponse = 0;
    brancherTransport();
    e.transport->connecter(depuisCp1252(Host), port, false, QSslConfiguration::defaultConfiguration());
    return true;
}

bool ClientSmtp::attendreConnexion() {
    while (etat_->ouvert && !etat_->etabli) {
        if (!attendre()) return echouer(enCp1252(kInterrompue));
    }
    return etat_->ouvert || echouer(etat_->motifFermeture);
}

// Une ligne de commande ; la réponse précédente est oubliée.
bool ClientSmtp::envoyer(const std::string& commande) {
    if (commande.find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos)
        return echouer(enCp1252(kCaractereInterdit));
    return envoyerDonnees(commande + "\r\n");
}

bool ClientSmtp::envoyerDonnees(const std::string& donnees) {
    if (!etat_->ouvert) return echouer(etat_->motifFermeture);
    LastResponse.clear();
    DernierCode = 0;
    etat_->octetsReponse = 0;
    ++commandesEnvoyees_;
    etat_->transport->ecrire(QByteArray::fromStdString(donnees));
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
    etat_->extensions.clear();
    Reponse reponse;
    if (!commande(verbe + ' ' + nomLocal(), 2, reponse)) return false;
    if (verbe == "EHLO") retenirExtensions(reponse);
    return true;
}

// Lignes après la première : « MOT-CLÉ paramètres » ; l'ancienne forme « AUTH=LOGIN » compte
// comme AUTH.
void ClientSmtp::retenirExtensions(const Reponse& reponse) {
    for (std::size_t i = 1; i < reponse.textes.size() && etat_->extensions.size() < kExtensionsMax; ++i) {
        const std::string& texte = reponse.textes[i];
        const std::size_t fin = std::min(texte.find_first_of(" ="), texte.size());
        const std::string motCle = majuscules(texte.substr(0, fin));
        if (motCle.empty()) continue;
        std::string& parametres = etat_->extensions[motCle];
        if (fin < texte.size()) parametres += ' ' + majuscules(texte.substr(fin + 1));
    }
}

// STARTTLS quand le serveur le propose sur une session encore en clair, puis EHLO de nouveau :
// les extensions d'avant le chiffrement ne valent plus.
bool ClientSmtp::chiffrer() {
    if (etat_->chiffre || !Extension("STARTTLS")) return true;
    Reponse reponse;
    if (!commande("STARTTLS", 2, reponse)) return false;
    // Ce qui a suivi la réponse en clair a pu être glissé par un tiers : écarté.
    tirerRecu();
    oublierRecu();
    etat_->extensions.clear();
    etat_->enNegociation = true;
    etat_->transport->demarrerTls(SslContext ? *SslContext : QSslConfiguration::defaultConfiguration());
    return attendreChiffrement() && saluer("EHLO");
}

bool ClientSmtp::attendreChiffrement() {
    while (etat_->ouvert && !etat_->chiffre) {
        if (!attendre()) return echouer(enCp1252(kInterrompue));
    }
    return etat_->ouvert || echouer(etat_->motifFermeture);
}

// Le meilleur mécanisme proposé : CRAM-MD5, sinon LOGIN, sinon PLAIN.
bool ClientSmtp::authentifier() {
    const auto trouvee = etat_->extensions.find("AUTH");
    std::vector<std::string> proposes;
    if (trouvee != etat_->extensions.end()) {
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
    if (!etat_->ouvert) return;
    ++commandesEnvoyees_;
    etat_->transport->ecrire(QByteArrayLiteral("QUIT\r\n"));
    fermerConnexion(enCp1252(kTerminee), false);
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
    if (reponse.code == kServiceFerme) fermerConnexion(LastResponse, false);
    return true;
}

// Ligne suivante du serveur, sans sa fin de ligne ; attend au besoin.
bool ClientSmtp::lireLigne(std::string& ligne) {
    for (;;) {
        const Decoupe decoupe = extraireLigne(ligne);
        if (decoupe == Decoupe::TropLongue || etat_->octetsReponse > kTailleMaxReponse)
            return rompre(enCp1252(kReponseTropLongue));
        if (decoupe == Decoupe::Ligne) {
            LastResponse = ligne;
            return true;
        }
        if (!etat_->ouvert) return echouer(etat_->motifFermeture);
        if (!attendreDonnees()) return echouer(enCp1252(kInterrompue));
    }
}

// Découpe une ligne complète (CR LF ou LF seul) dans ce qui a été reçu.
ClientSmtp::Decoupe ClientSmtp::extraireLigne(std::string& ligne) {
    Etat& e = *etat_;
    if (e.position >= e.recu.size()) return Decoupe::Incomplete;
    const char* debut = e.recu.constData() + e.position;
    const std::size_t reste = static_cast<std::size_t>(e.recu.size() - e.position);
    const char* fin = static_cast<const char*>(std::memchr(debut, '\n', reste));
    const std::size_t longueur = fin ? static_cast<std::size_t>(fin - debut) : reste;
    // Un octet de plus que la limite, pour le CR d'une ligne de longueur maximale.
    if (e.ligneEnCours.size() + longueur > kLongueurMaxLigne + 1) return Decoupe::TropLongue;
    e.ligneEnCours.append(debut, longueur);
    const std::size_t consommes = longueur + (fin ? 1 : 0);
    e.position += static_cast<qsizetype>(consommes);
    e.octetsReponse += consommes;
    if (e.position >= e.recu.size()) {
        e.recu.clear();
        e.position = 0;
    }
    if (!fin) return Decoupe::Incomplete;
    if (!e.ligneEnCours.empty() && e.ligneEnCours.back() == '\r') e.ligneEnCours.pop_back();
    if (e.ligneEnCours.size() > kLongueurMaxLigne) return Decoupe::TropLongue;
    ligne = std::move(e.ligneEnCours);
    e.ligneEnCours.clear();
    return Decoupe::Ligne;
}

// Le dialogue n'est plus fiable : la connexion est fermée et l'opération échoue.
bool ClientSmtp::rompre(const std::string& message) {
    fermerConnexion(message, false);
    return echouer(message);
}

// Attend de nouvelles données (ou la fermeture) ; faux si une autre connexion a pris la place.
bool ClientSmtp::attendreDonnees() {
    while (etat_->ouvert && !tirerRecu()) {
        if (!attendre()) return false;
    }
    return true;
}

// Un tour d'attente : jusqu'à un signal du transport, une fermeture ou le délai.
bool ClientSmtp::attendre() {
    Etat& e = *etat_;
    const unsigned session = e.session;
    QEventLoop boucle;
    QEventLoop* const precedente = std::exchange(e.boucle, &boucle);
    {
        // Rend la place à l'attente englobante même si une exception traverse la boucle.
        const Restauration restauration{e.boucle, precedente};
        e.inactivite.start(delaiMs());
        boucle.exec();
    }
    if (precedente && e.ouvert)
        e.inactivite.start(delaiMs());
    else
        e.inactivite.stop();
    return e.session == session;
}

bool ClientSmtp::tirerRecu() {
    Etat& e = *etat_;
    if (!e.transport || !e.ouvert) return false;
    const QByteArray nouveau = e.transport->lire();
    if (nouveau.isEmpty()) return false;
    e.recu.append(nouveau);
    return true;
}

void ClientSmtp::oublierRecu() {
    etat_->recu.clear();
    etat_->position = 0;
    etat_->ligneEnCours.clear();
}

// ---------------------------------------------------------------- connexion

void ClientSmtp::brancherTransport() {
    Transport* transport = etat_->transport.get();
    connect(transport, &Transport::connecte, this, [this] {
        etat_->etabli = true;
        reveiller();
    });
    connect(transport, &Transport::chiffre, this, [this] {
        if (!etat_->enNegociation) return;
        etat_->enNegociation = false;
        etat_->chiffre = true;
        reveiller();
    });
    connect(transport, &Transport::donneesRecues, this, [this] {
        etat_->inactivite.stop();
        reveiller();
    });
    connect(transport, &Transport::deconnecte, this,
            [this] { fermerConnexion(enCp1252(kFermeeParServeur), true); });
    connect(transport, &Transport::erreur, this, [this](const QString& message) {
        const char* prefixe = etat_->enNegociation ? kChiffrementImpossible
                              : etat_->accueilli   ? kConnexionPerdue
                                                   : kConnexionImpossible;
        fermerConnexion(enCp1252(prefixe) + versCp1252(message), true);
    });
}

// Ferme la connexion ; `garderRecu` laisse lire ce que le serveur a envoyé avant de fermer.
// Le transport est débranché d'abord : ses signaux tardifs ne nous parviennent plus.
void ClientSmtp::fermerConnexion(const std::string& motif, bool garderRecu) {
    Etat& e = *etat_;
    if (!e.ouvert) return;
    if (garderRecu && !e.enNegociation)
        tirerRecu();
    else
        oublierRecu();
    e.ouvert = e.etabli = e.accueilli = e.chiffre = e.enNegociation = false;
    e.motifFermeture = motif;
    e.extensions.clear();
    e.inactivite.stop();
    disconnect(e.transport.get(), nullptr, this, nullptr);
    e.transport->fermer();
    reveiller();
}

void ClientSmtp::reveiller() {
    if (etat_->boucle) etat_->boucle->quit();
}

int ClientSmtp::delaiMs() const {
    const int secondes = Timeout > 0 ? std::min(Timeout, kDelaiMax) : kDelaiParDefaut;
    return secondes * 1000;
}

std::string ClientSmtp::nomLocal() const {
    return NomLocal.empty() ? "localhost" : NomLocal;
}
