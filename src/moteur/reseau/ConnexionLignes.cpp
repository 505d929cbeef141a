#include "ConnexionLignes.h"

#include "donnees/Cp1252.h"

#include <QEventLoop>
#include <algorithm>
#include <charconv>
#include <optional>
#include <string_view>
#include <utility>

namespace {

// Messages (écrits ici en UTF-8, rendus en octets Windows-1252).
constexpr const char* kPortInvalide = "Port invalide : ";
constexpr const char* kConnexionImpossible = "Connexion impossible : ";
constexpr const char* kConnexionPerdue = "Connexion perdue : ";
constexpr const char* kChiffrementImpossible = "Chiffrement impossible : ";
constexpr const char* kFermeeParServeur = "Connexion fermée par le serveur";
constexpr const char* kInterrompue = "Connexion interrompue";
constexpr const char* kTerminee = "Connexion terminée";
constexpr const char* kReponseTropLongue = "Réponse trop longue du serveur";
constexpr const char* kCaractereInterdit = "Caractère interdit dans la commande";
constexpr const char* kSansTransport = "Connexion impossible : aucun transport";

constexpr int kDelaiMax = 24 * 60 * 60;

std::string enCp1252(const char* utf8) {
    return utf8VersCp1252(utf8);
}

// Port décimal de 1 à 65535, blancs autour permis.
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

// Remet un pointeur à sa valeur d'avant en fin de portée.
struct Restauration {
    QEventLoop*& cible;
    QEventLoop* valeur;
    ~Restauration() { cible = valeur; }
};

} // namespace

ConnexionLignes::ConnexionLignes(const Reglages& reglages, FabriqueTransport fabrique,
                                 const int& delaiSecondes, std::function<void()> surFermeture)
    : reglages_(reglages), motifDelaiDepasse_(enCp1252(reglages.motifDelaiDepasse)),
      fabrique_(fabrique ? std::move(fabrique) : FabriqueTransport(&CreerTransportSocket)),
      delaiSecondes_(delaiSecondes), surFermeture_(std::move(surFermeture)),
      tampon_(reglages.longueurMaxLigne, reglages.lignesLongues) {
    inactivite_.setSingleShot(true);
    connect(&inactivite_, &QTimer::timeout, this, [this] { fermerConnexion(motifDelaiDepasse_, false); });
}

// Le client a d'ordinaire fermé avant ; sinon la coupure se fait sans prévenir personne.
ConnexionLignes::~ConnexionLignes() {
    if (ouverte_) debrancherTransport();
}

// ---------------------------------------------------------------- ouverture et fermeture

bool ConnexionLignes::ouvrir(const std::string& hote, const std::string& port, bool tls,
                             const QSslConfiguration& configuration) {
    interrompre();
    const std::optional<quint16> numero = lirePort(port);
    if (!numero) return echouer(enCp1252(kPortInvalide) + port);
    transport_ = fabrique_();
    if (!transport_) return echouer(enCp1252(kSansTransport));
    demarrerSession();
    transport_->connecter(depuisCp1252(hote), *numero, tls, configuration);
    return attendreQue(etablie_);
}

bool ConnexionLignes::passerEnTls(const QSslConfiguration& configuration) {
    // Ce qui a suivi la réponse en clair a pu être glissé par un tiers : écarté.
    tirerRecu();
    tampon_.oublier();
    if (!ouverte_) return echouer(motifFermeture_);
    enNegociation_ = true;
    transport_->demarrerTls(configuration);
    return attendreQue(chiffree_);
}

void ConnexionLignes::noterAccueil() {
    if (ouverte_) accueillie_ = true;
}

void ConnexionLignes::fermer(const std::string& motif) {
    fermerConnexion(motif, false);
}

void ConnexionLignes::terminer() {
    fermer(enCp1252(kTerminee));
}

void ConnexionLignes::interrompre() {
    fermer(enCp1252(kInterrompue));
}

void ConnexionLignes::abandonner(const std::string& adieu) {
    if (!ouverte_) return;
    ++commandesEnvoyees_;
    transport_->ecrire(QByteArray::fromStdString(adieu + "\r\n"));
    terminer();
}

void ConnexionLignes::demarrerSession() {
    ++session_;
    ouverte_ = true;
    etablie_ = accueillie_ = chiffree_ = enNegociation_ = false;
    motifFermeture_.clear();
    tampon_.oublier();
    tampon_.nouvelleReponse();
    brancherTransport();
}

// ---------------------------------------------------------------- échanges

bool ConnexionLignes::envoyerLigne(const std::string& commande) {
    if (commande.find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos)
        return echouer(enCp1252(kCaractereInterdit));
    return envoyer(commande + "\r\n");
}

bool ConnexionLignes::envoyer(const std::string& donnees) {
    if (!ouverte_) return echouer(motifFermeture_);
    tampon_.nouvelleReponse();
    ++commandesEnvoyees_;
    transport_->ecrire(QByteArray::fromStdString(donnees));
    return true;
}

bool ConnexionLignes::lireLigne(std::string& ligne) {
    for (;;) {
        const TamponLignes::Decoupe decoupe = tampon_.extraire(ligne);
        if (decoupe == TamponLignes::Decoupe::TropLongue ||
            tampon_.octetsReponse() > reglages_.tailleMaxReponse) {
            fermer(enCp1252(kReponseTropLongue));
            return echouer(enCp1252(kReponseTropLongue));
        }
        if (decoupe == TamponLignes::Decoupe::Ligne) return true;
        if (!ouverte_) return echouer(motifFermeture_);
        if (!attendreDonnees()) return echouer(enCp1252(kInterrompue));
    }
}

bool ConnexionLignes::echouer(const std::string& message) {
    echec_ = message;
    return false;
}

// ---------------------------------------------------------------- attentes

// Attend que l'état `atteint` soit vrai, tant que la connexion reste ouverte.
bool ConnexionLignes::attendreQue(const bool& atteint) {
    while (ouverte_ && !atteint) {
        if (!attendre()) return echouer(enCp1252(kInterrompue));
    }
    return ouverte_ || echouer(motifFermeture_);
}

// Attend de nouvelles données (ou la fermeture) ; faux si une autre connexion a pris la place.
bool ConnexionLignes::attendreDonnees() {
    while (ouverte_ && !tirerRecu()) {
        if (!attendre()) return false;
    }
    return true;
}

// Un tour d'attente : jusqu'à un signal du transport, une fermeture ou le délai.
bool ConnexionLignes::attendre() {
    const unsigned session = session_;
    QEventLoop boucle;
    QEventLoop* const precedente = std::exchange(boucle_, &boucle);
    int code = 0;
    {
        // Rend la place à l'attente englobante même si une exception traverse la boucle.
        const Restauration restauration{boucle_, precedente};
        inactivite_.start(delaiMs());
        code = boucle.exec();
    }
    // Une boucle qui rend autre chose que 0 n'a pas été réveillée par nous : le programme se
    // termine et plus aucune boucle ne tourne. Attendre encore ne ferait que tourner à vide.
    if (code != 0) {
        inactivite_.stop();
        fermer(enCp1252(kInterrompue));
        return false;
    }
    if (precedente && ouverte_)
        inactivite_.start(delaiMs());
    else
        inactivite_.stop();
    return session_ == session;
}

bool ConnexionLignes::tirerRecu() {
    if (!transport_ || !ouverte_) return false;
    const QByteArray nouveau = transport_->lire();
    if (nouveau.isEmpty()) return false;
    tampon_.ajouter(nouveau);
    return true;
}

void ConnexionLignes::reveiller() {
    if (boucle_) boucle_->quit();
}

int ConnexionLignes::delaiMs() const {
    const int secondes = delaiSecondes_ > 0 ? std::min(delaiSecondes_, kDelaiMax) : reglages_.delaiParDefaut;
    return secondes * 1000;
}

// ---------------------------------------------------------------- signaux du transport

void ConnexionLignes::brancherTransport() {
    Transport* transport = transport_.get();
    connect(transport, &Transport::connecte, this, [this] {
        etablie_ = true;
        reveiller();
    });
    connect(transport, &Transport::chiffre, this, [this] {
        if (!enNegociation_) return;
        enNegociation_ = false;
        chiffree_ = true;
        reveiller();
    });
    connect(transport, &Transport::donneesRecues, this, [this] {
        inactivite_.stop();
        reveiller();
    });
    connect(transport, &Transport::deconnecte, this,
            [this] { fermerConnexion(enCp1252(kFermeeParServeur), true); });
    connect(transport, &Transport::erreur, this, [this](const QString& message) {
        const char* prefixe = enNegociation_ ? kChiffrementImpossible
                              : accueillie_  ? kConnexionPerdue
                                             : kConnexionImpossible;
        fermerConnexion(enCp1252(prefixe) + versCp1252(message), true);
    });
}

// Ferme la connexion ; `garderRecu` laisse lire ce que le serveur a envoyé avant de fermer,
// sauf pendant un passage en TLS, où rien de ce qui est arrivé n'est sûr.
void ConnexionLignes::fermerConnexion(const std::string& motif, bool garderRecu) {
    if (!ouverte_) return;
    if (garderRecu && !enNegociation_)
        tirerRecu();
    else
        tampon_.oublier();
    ouverte_ = etablie_ = accueillie_ = chiffree_ = enNegociation_ = false;
    motifFermeture_ = motif;
    inactivite_.stop();
    debrancherTransport();
    if (surFermeture_) surFermeture_();
    reveiller();
}

// Le transport est débranché avant d'être fermé : ses signaux tardifs ne nous parviennent plus.
void ConnexionLignes::debrancherTransport() {
    disconnect(transport_.get(), nullptr, this, nullptr);
    transport_->fermer();
}
