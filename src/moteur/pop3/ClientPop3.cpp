#include "ClientPop3.h"

#include "donnees/Cp1252.h"

#include <QCryptographicHash>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <charconv>
#include <climits>
#include <cstring>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

namespace {

// Messages (écrits ici en UTF-8, rendus en octets Windows-1252).
constexpr const char* kNonConnecte = "Non connecté";
constexpr const char* kNumeroInvalide = "Numéro de message invalide : ";
constexpr const char* kLignesInvalides = "Nombre de lignes invalide : ";
constexpr const char* kPortInvalide = "Port invalide : ";
constexpr const char* kConnexionImpossible = "Connexion impossible : ";
constexpr const char* kConnexionPerdue = "Connexion perdue : ";
constexpr const char* kFermeeParServeur = "Connexion fermée par le serveur";
constexpr const char* kInterrompue = "Connexion interrompue";
constexpr const char* kTerminee = "Connexion terminée";
constexpr const char* kDelaiDepasse = "426 Timeout";
constexpr const char* kReponseInvalide = "Réponse invalide du serveur : ";
constexpr const char* kReponseTropLongue = "Réponse trop longue du serveur";
constexpr const char* kSansHorodatage = "Le serveur n'accepte pas APOP (pas d'horodatage dans l'accueil)";
constexpr const char* kCaractereInterdit = "Caractère interdit dans la commande";
constexpr const char* kSansTransport = "Connexion impossible : aucun transport";

// Longueur de la réponse citée dans un message d'erreur.
constexpr std::size_t kLongueurCitation = 200;
// Au-delà, les lignes d'une liste UIDL ou LIST ne sont plus retenues : les numéros
// manquants sont alors demandés un par un.
constexpr std::size_t kEntreesMaxListe = 1'000'000;
constexpr int kDelaiParDefaut = 15;
constexpr int kDelaiMax = 24 * 60 * 60;

std::string enCp1252(const char* utf8) {
    return utf8VersCp1252(utf8);
}

std::vector<std::string_view> mots(std::string_view ligne) {
    std::vector<std::string_view> resultat;
    std::size_t debut = 0;
    while (debut < ligne.size()) {
        debut = ligne.find_first_not_of(" \t", debut);
        if (debut == std::string_view::npos) break;
        const std::size_t fin = std::min(ligne.find_first_of(" \t", debut), ligne.size());
        resultat.push_back(ligne.substr(debut, fin - debut));
        debut = fin;
    }
    return resultat;
}

// Nombre décimal positif ou nul occupant tout le texte.
std::optional<long long> nombre(std::string_view texte) {
    long long valeur = 0;
    const char* fin = texte.data() + texte.size();
    const auto [arret, erreur] = std::from_chars(texte.data(), fin, valeur);
    if (texte.empty() || erreur != std::errc() || arret != fin || valeur < 0) return std::nullopt;
    return valeur;
}

std::optional<quint16> lirePort(std::string_view texte) {
    const std::size_t debut = texte.find_first_not_of(' ');
    if (debut == std::string_view::npos) return std::nullopt;
    texte = texte.substr(debut, texte.find_last_not_of(' ') - debut + 1);
    const std::optional<long long> valeur = nombre(texte);
    if (!valeur || *valeur < 1 || *valeur > 65535) return std::nullopt;
    return static_cast<quint16>(*valeur);
}

bool identifiantValide(std::string_view mot) {
    return !mot.empty();
}

bool tailleValide(std::string_view mot) {
    return nombre(mot).has_value();
}

// « numéro valeur » d'une ligne de liste UIDL / LIST, ou de la fin d'une réponse « +OK numéro valeur ».
std::optional<std::pair<int, std::string>> entreeListe(std::string_view ligne,
                                                       bool (*valide)(std::string_view)) {
    const std::vector<std::string_view> champs = mots(ligne);
    if (champs.size() < 2 || !valide(champs[1])) return std::nullopt;
    const std::optional<long long> numero = nombre(champs[0]);
    if (!numero || *numero < 1 || *numero > INT_MAX) return std::nullopt;
    return std::pair<int, std::string>(static_cast<int>(*numero), std::string(champs[1]));
}

// Remet un pointeur à sa valeur d'avant en fin de portée.
struct Restauration {
    QEventLoop*& cible;
    QEventLoop* valeur;
    ~Restauration() { cible = valeur; }
};

std::string citation(const std::string& ligne) {
    return enCp1252(kReponseInvalide) + ligne.substr(0, kLongueurCitation);
}

} // namespace

// Valeurs par numéro de message tirées de UIDL ou LIST, pour la connexion en cours.
struct ClientPop3::Liste {
    bool (*valide)(std::string_view);
    std::unordered_map<int, std::string> valeurs;
    bool chargee = false; // la liste complète a été lue
    bool refusee = false; // le serveur refuse la liste complète : un numéro à la fois

    void oublier() {
        valeurs.clear();
        chargee = refusee = false;
    }
};

struct ClientPop3::Etat {
    std::unique_ptr<Transport> transport; // gardé jusqu'à la connexion suivante
    bool ouvert = false;                  // transport ouvert ou en cours d'ouverture
    bool etabli = false;                  // le transport a annoncé la connexion
    bool accueilli = false;               // accueil « +OK » reçu
    unsigned session = 0;                 // change à chaque nouvelle connexion
    std::string motifFermeture;
    std::string accueil;

    QByteArray recu;               // octets reçus, pas encore découpés en lignes
    qsizetype position = 0;        // début de la partie non lue de `recu`
    std::string ligneEnCours;      // début de ligne (au plus kLongueurMaxLigne + 1 octets)
    std::size_t octetsReponse = 0; // octets lus depuis la dernière commande

    QTimer inactivite;
    QEventLoop* boucle = nullptr; // attente en cours, à réveiller

    Liste uidl{identifiantValide, {}};
    Liste tailles{tailleValide, {}};
};

ClientPop3::ClientPop3(QObject* parent, FabriqueTransport fabrique)
    : QObject(parent), etat_(std::make_unique<Etat>()),
      fabrique_(fabrique ? std::move(fabrique) : FabriqueTransport(&CreerTransportSocket)) {
    etat_->inactivite.setSingleShot(true);
    connect(&etat_->inactivite, &QTimer::timeout, this,
            [this] { fermerConnexion(enCp1252(kDelaiDepasse), false); });
}

ClientPop3::~ClientPop3() {
    AbortSync();
}

bool ClientPop3::Connected() const {
    return etat_->ouvert && etat_->accueilli;
}

// ---------------------------------------------------------------- opérations

bool ClientPop3::ConnectSync() {
    ErrorMessage.clear();
    fermerConnexion(enCp1252(kInterrompue), false);
    const std::optional<quint16> port = lirePort(Port);
    if (!port) return echouer(enCp1252(kPortInvalide) + Port);
    if (!ouvrirTransport(*port) || !attendreConnexion()) return false;
    std::string ligne;
    if (!lireLigne(ligne)) return false;
    if (!ligne.starts_with("+OK")) {
        ErrorMessage = ligne;
        fermerConnexion(enCp1252(kTerminee), false);
        return false;
    }
    etat_->accueil = ligne;
    etat_->accueilli = true;
    return true;
}

bool ClientPop3::ApopSync() {
    if (!debuterOperation(false)) return false;
    const std::string& accueil = etat_->accueil;
    const std::size_t debut = accueil.find('<');
    const std::size_t fin = debut == std::string::npos ? debut : accueil.find('>', debut);
    if (fin == std::string::npos) {
        ErrorMessage = enCp1252(kSansHorodatage);
        abandonnerSession();
        return false;
    }
    const QByteArray secret = QByteArray::fromStdString(accueil.substr(debut, fin - debut + 1) + Password);
    const QByteArray empreinte = QCryptographicHash::hash(secret, QCryptographicHash::Md5).toHex();
    return authentifier("APOP " + UserName + ' ' + empreinte.toStdString());
}

bool ClientPop3::OpenSync() {
    return ConnectSync() && authentifier("USER " + UserName) && authentifier("PASS " + Password);
}

bool ClientPop3::StatSync() {
    MsgCount = 0;
    std::string ligne;
    if (!debuterOperation(false) || !echanger("STAT", ligne)) return false;
    const std::vector<std::string_view> champs = mots(std::string_view(ligne).substr(3));
    const std::optional<long long> nombreMessages = champs.empty() ? std::nullopt : nombre(champs[0]);
    if (nombreMessages && *nombreMessages <= INT_MAX) MsgCount = static_cast<int>(*nombreMessages);
    return true;
}

bool ClientPop3::UidlSync() {
    MsgUidl.clear();
    std::string valeur;
    if (!debuterOperation(true) || !consulterListe(etat_->uidl, "UIDL", valeur)) return false;
    MsgUidl = valeur;
    return true;
}

bool ClientPop3::ListSync() {
    MsgSize = 0;
    std::string valeur;
    if (!debuterOperation(true) || !consulterListe(etat_->tailles, "LIST", valeur)) return false;
    MsgSize = nombre(valeur).value_or(0);
    return true;
}

bool ClientPop3::TopSync() {
    if (!debuterOperation(true)) return false;
    if (MsgLines < 0) return echouer(enCp1252(kLignesInvalides) + std::to_string(MsgLines));
    return lireMessage("TOP " + std::to_string(MsgNum) + ' ' + std::to_string(MsgLines));
}

bool ClientPop3::RetrSync() {
    return debuterOperation(true) && lireMessage("RETR " + std::to_string(MsgNum));
}

bool ClientPop3::DeleSync() {
    std::string ligne;
    if (!debuterOperation(true) || !echanger("DELE " + std::to_string(MsgNum), ligne)) return false;
    etat_->uidl.valeurs.erase(MsgNum);
    etat_->tailles.valeurs.erase(MsgNum);
    return true;
}

bool ClientPop3::QuitSync() {
    if (!debuterOperation(false)) return false;
    const unsigned session = etat_->session;
    std::string ligne;
    const bool lue = envoyer("QUIT") && lireLigne(ligne);
    if (etat_->session == session) fermerConnexion(enCp1252(kTerminee), false);
    if (!lue) return false;
    if (ligne.starts_with("+OK")) return true;
    ErrorMessage = ligne.starts_with("-ERR") ? ligne : citation(ligne);
    return false;
}

void ClientPop3::AbortSync() {
    fermerConnexion(enCp1252(kInterrompue), false);
}

// ---------------------------------------------------------------- déroulement

bool ClientPop3::debuterOperation(bool numeroRequis) {
    ErrorMessage.clear();
    if (!Connected()) return echouer(enCp1252(kNonConnecte));
    if (numeroRequis && MsgNum <= 0) return echouer(enCp1252(kNumeroInvalide) + std::to_string(MsgNum));
    return true;
}

// Échec de l'opération ; un message déjà posé est gardé.
bool ClientPop3::echouer(const std::string& message) {
    if (ErrorMessage.empty()) ErrorMessage = message;
    return false;
}

bool ClientPop3::ouvrirTransport(quint16 port) {
    Etat& e = *etat_;
    e.transport = fabrique_();
    if (!e.transport) return echouer(enCp1252(kSansTransport));
    ++e.session;
    e.ouvert = true;
    e.etabli = e.accueilli = false;
    e.motifFermeture.clear();
    e.accueil.clear();
    e.recu.clear();
    e.position = 0;
    e.ligneEnCours.clear();
    e.octetsReponse = 0;
    e.uidl.oublier();
    e.tailles.oublier();
    brancherTransport();
    const QSslConfiguration configuration =
        SslContext ? *SslContext : QSslConfiguration::defaultConfiguration();
    e.transport->connecter(depuisCp1252(Host), port, SslImplicite, configuration);
    return true;
}

bool ClientPop3::attendreConnexion() {
    while (etat_->ouvert && !etat_->etabli) {
        if (!attendre()) return echouer(enCp1252(kInterrompue));
    }
    return etat_->ouvert || echouer(etat_->motifFermeture);
}

bool ClientPop3::envoyer(const std::string& commande) {
    if (commande.find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos)
        return echouer(enCp1252(kCaractereInterdit));
    if (!etat_->ouvert) return echouer(etat_->motifFermeture);
    etat_->octetsReponse = 0;
    ++commandesEnvoyees_;
    etat_->transport->ecrire(QByteArray::fromStdString(commande + "\r\n"));
    return true;
}

// Commande à réponse d'une ligne : vrai sur « +OK ».
bool ClientPop3::echanger(const std::string& commande, std::string& ligne) {
    return envoyer(commande) && lireLigne(ligne) && conclure(ligne);
}

bool ClientPop3::conclure(const std::string& ligne) {
    if (ligne.starts_with("+OK")) return true;
    if (ligne.starts_with("-ERR")) {
        ErrorMessage = ligne;
        return false;
    }
    // Ni « +OK » ni « -ERR » : le dialogue est décalé, on ne peut plus s'y fier.
    ErrorMessage = citation(ligne);
    fermerConnexion(ErrorMessage, false);
    return false;
}

// USER, PASS ou APOP : tout autre chose que « +OK » met fin à la session.
bool ClientPop3::authentifier(const std::string& commande) {
    if (!envoyer(commande)) {
        abandonnerSession();
        return false;
    }
    std::string ligne;
    if (!lireLigne(ligne)) return false;
    if (ligne.starts_with("+OK")) return true;
    ErrorMessage = ligne;
    abandonnerSession();
    return false;
}

// QUIT sans attendre la réponse, puis fermeture.
void ClientPop3::abandonnerSession() {
    if (!etat_->ouvert) return;
    ++commandesEnvoyees_;
    etat_->transport->ecrire(QByteArrayLiteral("QUIT\r\n"));
    fermerConnexion(enCp1252(kTerminee), false);
}

bool ClientPop3::lireMessage(const std::string& commande) {
    std::string ligne;
    if (!echanger(commande, ligne)) return false;
    return lireCorps([this](const std::string&) {
        // Copie : le rappel peut remplacer OnMessageLine pendant son propre appel.
        const std::function<void()> rappel = OnMessageLine;
        if (rappel) rappel();
    });
}

// Lignes d'une réponse multiligne jusqu'au « . » final, points doublés retirés.
bool ClientPop3::lireCorps(const std::function<void(const std::string&)>& parLigne) {
    const unsigned session = etat_->session;
    std::string ligne;
    for (;;) {
        if (!lireLigne(ligne)) return false;
        if (ligne == ".") return true;
        if (ligne.starts_with("..")) ligne.erase(0, 1);
        LastResponse = ligne;
        parLigne(ligne);
        if (etat_->session != session) return echouer(enCp1252(kInterrompue));
    }
}

// Valeur du message MsgNum : tirée de la liste complète, demandée une fois par connexion,
// ou à défaut demandée pour ce seul numéro.
bool ClientPop3::consulterListe(Liste& liste, const std::string& commande, std::string& valeur) {
    if (!liste.chargee && !liste.refusee && !chargerListe(liste, commande)) return false;
    if (const auto trouvee = liste.valeurs.find(MsgNum); trouvee != liste.valeurs.end()) {
        valeur = trouvee->second;
        return true;
    }
    std::string ligne;
    if (!echanger(commande + ' ' + std::to_string(MsgNum), ligne)) return false;
    const auto entree = entreeListe(std::string_view(ligne).substr(3), liste.valide);
    if (!entree || entree->first != MsgNum) return echouer(citation(ligne));
    valeur = entree->second;
    liste.valeurs[MsgNum] = valeur;
    return true;
}

bool ClientPop3::chargerListe(Liste& liste, const std::string& commande) {
    std::string ligne;
    if (!envoyer(commande) || !lireLigne(ligne)) return false;
    if (ligne.starts_with("-ERR")) {
        liste.refusee = true;
        return true;
    }
    if (!conclure(ligne)) return false;
    std::unordered_map<int, std::string> valeurs;
    const bool lue = lireCorps([&valeurs, &liste](const std::string& entreeLue) {
        if (valeurs.size() >= kEntreesMaxListe) return;
        if (auto entree = entreeListe(entreeLue, liste.valide)) valeurs.emplace(std::move(*entree));
    });
    if (!lue) return false;
    liste.valeurs = std::move(valeurs);
    liste.chargee = true;
    return true;
}

// ---------------------------------------------------------------- réception

// Ligne suivante du serveur, sans sa fin de ligne ; attend au besoin.
bool ClientPop3::lireLigne(std::string& ligne) {
    for (;;) {
        const bool trouvee = extraireLigne(ligne);
        if (etat_->octetsReponse > kTailleMaxReponse) {
            fermerConnexion(enCp1252(kReponseTropLongue), false);
            return echouer(enCp1252(kReponseTropLongue));
        }
        if (trouvee) {
            LastResponse = ligne;
            return true;
        }
        if (!etat_->ouvert) return echouer(etat_->motifFermeture);
        if (!attendreDonnees()) return echouer(enCp1252(kInterrompue));
    }
}

// Découpe une ligne complète (CR LF ou LF seul) dans ce qui a été reçu. Une ligne trop longue
// est coupée à kLongueurMaxLigne, le reste de la ligne étant écarté.
bool ClientPop3::extraireLigne(std::string& ligne) {
    Etat& e = *etat_;
    if (e.position >= e.recu.size()) return false;
    const char* debut = e.recu.constData() + e.position;
    const std::size_t reste = static_cast<std::size_t>(e.recu.size() - e.position);
    const char* fin = static_cast<const char*>(std::memchr(debut, '\n', reste));
    const std::size_t longueur = fin ? static_cast<std::size_t>(fin - debut) : reste;
    // Un octet de plus que la limite, pour le CR d'une ligne de longueur maximale.
    const std::size_t place = kLongueurMaxLigne + 1 - std::min(e.ligneEnCours.size(), kLongueurMaxLigne + 1);
    e.ligneEnCours.append(debut, std::min(longueur, place));
    const std::size_t consommes = longueur + (fin ? 1 : 0);
    e.position += static_cast<qsizetype>(consommes);
    e.octetsReponse += consommes;
    if (e.position >= e.recu.size()) {
        e.recu.clear();
        e.position = 0;
    }
    if (!fin) return false;
    if (!e.ligneEnCours.empty() && e.ligneEnCours.back() == '\r') e.ligneEnCours.pop_back();
    if (e.ligneEnCours.size() > kLongueurMaxLigne) e.ligneEnCours.resize(kLongueurMaxLigne);
    ligne = std::move(e.ligneEnCours);
    e.ligneEnCours.clear();
    return true;
}

// Attend de nouvelles données (ou la fermeture) ; faux si une autre connexion a pris la place.
bool ClientPop3::attendreDonnees() {
    while (etat_->ouvert && !tirerRecu()) {
        if (!attendre()) return false;
    }
    return true;
}

// Un tour d'attente : jusqu'à un signal du transport, une fermeture ou le délai.
bool ClientPop3::attendre() {
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

bool ClientPop3::tirerRecu() {
    Etat& e = *etat_;
    if (!e.transport || !e.ouvert) return false;
    const QByteArray nouveau = e.transport->lire();
    if (nouveau.isEmpty()) return false;
    e.recu.append(nouveau);
    return true;
}

// ---------------------------------------------------------------- connexion

void ClientPop3::brancherTransport() {
    Transport* transport = etat_->transport.get();
    connect(transport, &Transport::connecte, this, [this] {
        etat_->etabli = true;
        reveiller();
    });
    connect(transport, &Transport::donneesRecues, this, [this] {
        etat_->inactivite.stop();
        reveiller();
    });
    connect(transport, &Transport::deconnecte, this,
            [this] { fermerConnexion(enCp1252(kFermeeParServeur), true); });
    connect(transport, &Transport::erreur, this, [this](const QString& message) {
        const char* prefixe = etat_->accueilli ? kConnexionPerdue : kConnexionImpossible;
        fermerConnexion(enCp1252(prefixe) + versCp1252(message), true);
    });
}

// Ferme la connexion ; `garderRecu` laisse lire ce que le serveur a envoyé avant de fermer.
// Le transport est débranché d'abord : ses signaux tardifs ne nous parviennent plus.
void ClientPop3::fermerConnexion(const std::string& motif, bool garderRecu) {
    Etat& e = *etat_;
    if (!e.ouvert) return;
    if (garderRecu) {
        tirerRecu();
    } else {
        e.recu.clear();
        e.position = 0;
        e.ligneEnCours.clear();
    }
    e.ouvert = e.etabli = e.accueilli = false;
    e.motifFermeture = motif;
    e.uidl.oublier();
    e.tailles.oublier();
    e.inactivite.stop();
    disconnect(e.transport.get(), nullptr, this, nullptr);
    e.transport->fermer();
    reveiller();
}

void ClientPop3::reveiller() {
    if (etat_->boucle) etat_->boucle->quit();
}

int ClientPop3::delaiMs() const {
    const int secondes = Timeout > 0 ? std::min(Timeout, kDelaiMax) : kDelaiParDefaut;
    return secondes * 1000;
}
