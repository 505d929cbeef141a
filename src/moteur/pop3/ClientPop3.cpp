#include "ClientPop3.h"

#include "donnees/Cp1252.h"

#include <QCryptographicHash>
#include <algorithm>
#include <charconv>
#include <climits>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

namespace {

// Messages (écrits ici en UTF-8, rendus en octets Windows-1252).
constexpr const char* kNonConnecte = "Non connecté";
constexpr const char* kNumeroInvalide = "Numéro de message invalide : ";
constexpr const char* kLignesInvalides = "Nombre de lignes invalide : ";
constexpr const char* kInterrompue = "Connexion interrompue";
constexpr const char* kReponseInvalide = "Réponse invalide du serveur : ";
constexpr const char* kSansHorodatage = "Le serveur n'accepte pas APOP (pas d'horodatage dans l'accueil)";

// Longueur de la réponse citée dans un message d'erreur.
constexpr std::size_t kLongueurCitation = 200;
// Au-delà, les lignes d'une liste UIDL ou LIST ne sont plus retenues : les numéros
// manquants sont alors demandés un par un.
constexpr std::size_t kEntreesMaxListe = 1'000'000;

constexpr ConnexionLignes::Reglages kReglagesConnexion{
    .longueurMaxLigne = ClientPop3::kLongueurMaxLigne,
    .lignesLongues = TamponLignes::LignesLongues::Coupees,
    .tailleMaxReponse = ClientPop3::kTailleMaxReponse,
    .motifDelaiDepasse = "426 Timeout",
    .delaiParDefaut = 15,
};

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
    std::string accueil;
    Liste uidl{identifiantValide, {}};
    Liste tailles{tailleValide, {}};
};

ClientPop3::ClientPop3(QObject* parent, FabriqueTransport fabrique)
    : QObject(parent), etat_(std::make_unique<Etat>()),
      connexion_(kReglagesConnexion, std::move(fabrique), Timeout, [this] { oublierSession(); }) {}

ClientPop3::~ClientPop3() {
    AbortSync();
}

bool ClientPop3::Connected() const {
    return connexion_.accueillie();
}

// ---------------------------------------------------------------- opérations

bool ClientPop3::ConnectSync() {
    ErrorMessage.clear();
    const QSslConfiguration configuration =
        SslContext ? *SslContext : QSslConfiguration::defaultConfiguration();
    if (!connexion_.ouvrir(Host, Port, SslImplicite, configuration)) return echouer(connexion_.echec());
    std::string ligne;
    if (!lireLigne(ligne)) return false;
    if (!ligne.starts_with("+OK")) {
        ErrorMessage = ligne;
        connexion_.terminer();
        return false;
    }
    etat_->accueil = ligne;
    connexion_.noterAccueil();
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
    const unsigned session = connexion_.session();
    std::string ligne;
    const bool lue = envoyer("QUIT") && lireLigne(ligne);
    if (connexion_.session() == session) connexion_.terminer();
    if (!lue) return false;
    if (ligne.starts_with("+OK")) return true;
    ErrorMessage = ligne.starts_with("-ERR") ? ligne : citation(ligne);
    return false;
}

void ClientPop3::AbortSync() {
    connexion_.interrompre();
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

bool ClientPop3::envoyer(const std::string& commande) {
    return connexion_.envoyerLigne(commande) || echouer(connexion_.echec());
}

bool ClientPop3::lireLigne(std::string& ligne) {
    if (!connexion_.lireLigne(ligne)) return echouer(connexion_.echec());
    LastResponse = ligne;
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
    connexion_.fermer(ErrorMessage);
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
    connexion_.abandonner("QUIT");
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
    const unsigned session = connexion_.session();
    std::string ligne;
    for (;;) {
        if (!lireLigne(ligne)) return false;
        if (ligne == ".") return true;
        if (ligne.starts_with("..")) ligne.erase(0, 1);
        LastResponse = ligne;
        parLigne(ligne);
        if (connexion_.session() != session) return echouer(enCp1252(kInterrompue));
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

// La connexion s'est fermée : son accueil et ses listes ne valent plus.
void ClientPop3::oublierSession() {
    etat_->accueil.clear();
    etat_->uidl.oublier();
    etat_->tailles.oublier();
}
