#include "FichierIni.h"

#include "Casse1252.h"
#include "MotDePasse.h"

#include <QFile>
#include <QSaveFile>

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <functional>
#include <sys/stat.h>
#include <utility>

namespace {

// Une date de fichier plus proche que ceci de l'instant de lecture ne prouve rien : le
// système date les fichiers au tic d'horloge près, une seconde écriture dans le même tic,
// à la même taille, laisserait un stat() identique. Le fichier est alors relu (et comparé
// par son empreinte, sans être réanalysé) jusqu'à ce que sa date soit assez ancienne.
constexpr std::int64_t kMargeDate = 50'000'000;  // nanosecondes

constexpr std::string_view kBlancs = " \t";

std::int64_t instantPresent() {
    timespec maintenant {};
    clock_gettime(CLOCK_REALTIME, &maintenant);
    return static_cast<std::int64_t>(maintenant.tv_sec) * 1'000'000'000 + maintenant.tv_nsec;
}

std::string_view rogner(std::string_view texte) {
    const std::size_t debut = texte.find_first_not_of(kBlancs);
    if (debut == std::string_view::npos) return {};
    const std::size_t fin = texte.find_last_not_of(kBlancs);
    return texte.substr(debut, fin - debut + 1);
}

bool estBlanc(char c) { return c == ' ' || c == '\t'; }

bool entreGuillemets(std::string_view texte) {
    return texte.size() >= 2 && (texte.front() == '"' || texte.front() == '\'') && texte.back() == texte.front();
}

// CR et LF deviennent des espaces : un texte écrit ne peut jamais ajouter de ligne.
std::string sansFinDeLigne(std::string_view texte) {
    std::string resultat(texte);
    std::replace_if(resultat.begin(), resultat.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    return resultat;
}

// Nom de section ou de clé tel qu'il sera écrit.
std::string nomPropre(std::string_view nom) { return std::string(rogner(sansFinDeLigne(nom))); }

// Forme sous laquelle deux noms se comparent : celle du nom écrit, sans tenir compte de la
// casse. Les noms lus dans le fichier (qui peuvent garder un CR isolé) passent par la même
// forme que les noms demandés, pour que tout nom listé se retrouve.
std::string comparable(std::string_view nom) {
    std::string resultat = nomPropre(nom);
    return AnsiLowerCase(resultat);
}

// Un ']' couperait le nom à la relecture : la section écrite ne serait jamais retrouvée.
bool sectionPermise(const std::string& nom) { return !nom.empty() && nom.find(']') == std::string::npos; }

// Un '=' couperait la clé, un '[' en tête ferait de la ligne une section.
bool clePermise(const std::string& cle) {
    return !cle.empty() && cle.find('=') == std::string::npos && cle.front() != '[';
}

// Nom d'une ligne de section ; rien quand la ligne n'en est pas une.
std::optional<std::string_view> nomDeSection(std::string_view ligne) {
    const std::size_t debut = ligne.find_first_not_of(kBlancs);
    if (debut == std::string_view::npos || ligne[debut] != '[') return std::nullopt;
    const std::string_view reste = ligne.substr(debut + 1);
    return rogner(reste.substr(0, reste.find(']')));
}

// Position du '=' d'une ligne de clé (hors ligne de section) ; npos sans clé.
std::size_t positionEgal(std::string_view ligne) {
    const std::size_t egal = ligne.find('=');
    // Clé vide (même une fois CR et LF comptés comme des blancs) : pas une ligne de clé.
    if (egal == std::string_view::npos || ligne.substr(0, egal).find_first_not_of(" \t\r\n") == std::string_view::npos)
        return std::string_view::npos;
    return egal;
}

// Valeur relue : blancs ôtés, puis une paire de guillemets (doubles ou simples) autour.
std::string_view valeurLue(std::string_view brute) {
    brute = rogner(brute);
    if (entreGuillemets(brute)) brute = brute.substr(1, brute.size() - 2);
    return brute;
}

// Valeur écrite : une valeur qui perdrait ses blancs ou ses guillemets aux bouts à la
// relecture est mise entre guillemets doubles, que la lecture ôte.
std::string valeurAEcrire(std::string_view valeur) {
    std::string texte = sansFinDeLigne(valeur);
    if (!texte.empty() && (estBlanc(texte.front()) || estBlanc(texte.back()) || entreGuillemets(texte)))
        return '"' + texte + '"';
    return texte;
}

std::optional<int> entierDecimal(std::string_view texte) {
    texte = rogner(texte);
    const bool negatif = !texte.empty() && texte.front() == '-';
    if (!texte.empty() && (texte.front() == '-' || texte.front() == '+')) texte.remove_prefix(1);
    if (texte.empty()) return std::nullopt;
    const std::int64_t limite = negatif ? 2147483648LL : 2147483647LL;
    std::int64_t valeur = 0;
    for (char c : texte) {
        if (c < '0' || c > '9') return std::nullopt;
        valeur = valeur * 10 + (c - '0');
        if (valeur > limite) return std::nullopt;
    }
    return static_cast<int>(negatif ? -valeur : valeur);
}

std::size_t empreinteDe(std::string_view contenu) { return std::hash<std::string_view> {}(contenu); }

bool ecrireAtomiquement(const QString& chemin, const std::string& contenu, bool nouveau) {
    QSaveFile fichier(chemin);
    if (!fichier.open(QIODevice::WriteOnly)) return false;
    // Le fichier garde des mots de passe : un fichier créé n'est lisible que par son propriétaire
    // (un fichier existant garde ses droits).
    if (nouveau) fichier.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    const auto taille = static_cast<qint64>(contenu.size());
    if (fichier.write(contenu.data(), taille) != taille) return false;  // le fichier temporaire est jeté
    return fichier.commit();
}

} // namespace

FichierIni::FichierIni(QString chemin) : chemin_(std::move(chemin)) {}

// --- État sur le disque et chargement ---

FichierIni::Etat FichierIni::etatSurDisque(const QString& chemin, int descripteur) {
    struct stat infos {};
    const int resultat = descripteur >= 0 ? ::fstat(descripteur, &infos)
                                          : ::stat(QFile::encodeName(chemin).constData(), &infos);
    Etat etat;
    if (resultat != 0) {
        // Un fichier absent n'est pas une erreur ; toute autre erreur le rend illisible.
        etat.present = errno != ENOENT && errno != ENOTDIR;
        return etat;
    }
    etat.present = true;
    etat.ordinaire = S_ISREG(infos.st_mode);
    etat.date = static_cast<std::int64_t>(infos.st_mtim.tv_sec) * 1'000'000'000 + infos.st_mtim.tv_nsec;
    etat.taille = static_cast<std::int64_t>(infos.st_size);
    etat.inode = static_cast<std::uint64_t>(infos.st_ino);
    etat.appareil = static_cast<std::uint64_t>(infos.st_dev);
    return etat;
}

void FichierIni::recharger() const {
    if (lot_ > 0) return;  // des écritures groupées attendent : la mémoire fait foi
    const Etat etat = etatSurDisque(chemin_, -1);
    if (!douteux_ && etat == etatConnu_) return;
    charger(etat);
}

void FichierIni::charger(const Etat& etat) const {
    const std::int64_t avant = instantPresent();
    QFile fichier(chemin_);
    const bool ouvert = etat.present && etat.ordinaire && fichier.open(QIODevice::ReadOnly);
    const Etat etatOuvert = ouvert ? etatSurDisque(chemin_, fichier.handle()) : etat;
    const QByteArray octets = ouvert ? fichier.readAll() : QByteArray();
    etatConnu_ = etatOuvert;
    illisible_ = etatOuvert.present && (!ouvert || fichier.error() != QFileDevice::NoError);
    if (!ouvert || illisible_) {
        vider();
        douteux_ = illisible_;  // un fichier illisible est réessayé à chaque fois
        return;
    }
    const std::string_view contenu(octets.constData(), static_cast<std::size_t>(octets.size()));
    const std::size_t empreinte = empreinteDe(contenu);
    if (empreinte_ != empreinte) {
        analyser(contenu);
        empreinte_ = empreinte;
    }
    douteux_ = etatOuvert.date >= avant - kMargeDate;
}

void FichierIni::vider() const {
    sections_.clear();
    entete_.clear();
    index_.clear();
    empreinte_.reset();
}

void FichierIni::analyser(std::string_view contenu) const {
    vider();
    std::size_t debut = 0;
    while (debut < contenu.size()) {
        const std::size_t fin = contenu.find('\n', debut);
        std::string_view ligne = contenu.substr(debut, fin == std::string_view::npos ? fin : fin - debut);
        if (!ligne.empty() && ligne.back() == '\r') ligne.remove_suffix(1);
        ajouterLigneLue(ligne);
        if (fin == std::string_view::npos) break;
        debut = fin + 1;
    }
}

void FichierIni::ajouterLigneLue(std::string_view ligne) const {
    if (const auto nom = nomDeSection(ligne)) {
        sections_.push_back(Section {std::string(*nom), std::string(ligne), {}, {}, 0});
        if (std::string cle = comparable(*nom); !cle.empty()) index_.try_emplace(std::move(cle), sections_.size() - 1);
        return;
    }
    if (sections_.empty()) {
        entete_.emplace_back(ligne);
        return;
    }
    Section& section = sections_.back();
    Ligne lue {std::string(ligne), positionEgal(ligne)};
    if (lue.egal != std::string::npos) {
        section.cles.try_emplace(comparable(ligne.substr(0, lue.egal)), section.lignes.size());
        section.apresDerniereCle = section.lignes.size() + 1;
    }
    section.lignes.push_back(std::move(lue));
}

void FichierIni::reconstruireIndex() const {
    index_.clear();
    for (std::size_t i = 0; i < sections_.size(); ++i)
        if (std::string cle = comparable(sections_[i].nom); !cle.empty()) index_.try_emplace(std::move(cle), i);
}

// --- Écriture ---

std::string FichierIni::serialiser() const {
    std::size_t taille = 0;
    for (const auto& ligne : entete_) taille += ligne.size() + 2;
    for (const auto& section : sections_) {
        taille += section.titre.size() + 2;
        for (const auto& ligne : section.lignes) taille += ligne.texte.size() + 2;
    }
    std::string contenu;
    contenu.reserve(taille);
    const auto ajouter = [&contenu](const std::string& ligne) { contenu.append(ligne).append("\r\n"); };
    for (const auto& ligne : entete_) ajouter(ligne);
    for (const auto& section : sections_) {
        ajouter(section.titre);
        for (const auto& ligne : section.lignes) ajouter(ligne.texte);
    }
    return contenu;
}

void FichierIni::DebutLot() {
    if (lot_ == 0) recharger();
    ++lot_;
}

bool FichierIni::FinLot() {
    if (lot_ == 0 || --lot_ > 0 || !enAttente_) return true;
    enAttente_ = false;
    return enregistrer();
}

// Remplace le fichier ; en cas d'échec, le contenu en mémoire redevient celui du disque.
bool FichierIni::enregistrer() {
    if (lot_ > 0) {
        enAttente_ = true;
        return true;
    }
    const std::string contenu = serialiser();
    if (!ecrireAtomiquement(chemin_, contenu, !etatConnu_.present)) {
        empreinte_.reset();  // le disque n'a pas changé : forcer la réanalyse
        charger(etatSurDisque(chemin_, -1));
        return false;
    }
    etatConnu_ = etatSurDisque(chemin_, -1);
    empreinte_ = empreinteDe(contenu);
    douteux_ = true;  // un autre programme a pu écrire entre le remplacement et le stat()
    return true;
}

FichierIni::Section& FichierIni::sectionPourEcrire(const std::string& nom) {
    const auto trouvee = index_.find(comparable(nom));
    if (trouvee != index_.end()) return sections_[trouvee->second];
    sections_.push_back(Section {nom, '[' + nom + ']', {}, {}, 0});
    index_.emplace(comparable(nom), sections_.size() - 1);
    return sections_.back();
}

// Pose "clé=texte" dans la section ; faux quand la ligne était déjà celle-là.
bool FichierIni::poserCle(Section& section, const std::string& cle, const std::string& texte) {
    const std::string replie = comparable(cle);
    const auto trouvee = section.cles.find(replie);
    if (trouvee != section.cles.end()) {
        Ligne& ligne = section.lignes[trouvee->second];
        const std::string_view gardee = rogner(std::string_view(ligne.texte).substr(0, ligne.egal));
        std::string nouvelle = std::string(gardee) + '=' + texte;
        if (nouvelle == ligne.texte) return false;
        ligne.egal = gardee.size();
        ligne.texte = std::move(nouvelle);
        return true;
    }
    // Après la dernière clé : seules des lignes sans clé suivent, les index restent justes.
    const std::size_t position = section.apresDerniereCle;
    section.lignes.insert(section.lignes.begin() + static_cast<std::ptrdiff_t>(position),
                          Ligne {cle + '=' + texte, cle.size()});
    section.cles.emplace(replie, position);
    section.apresDerniereCle = position + 1;
    return true;
}

bool FichierIni::EcrireTexte(const std::string& section, const std::string& cle, const std::string& valeur) {
    const std::string nomSection = nomPropre(section);
    const std::string nomCle = nomPropre(cle);
    if (!sectionPermise(nomSection) || !clePermise(nomCle)) return false;
    recharger();
    if (illisible_) return false;  // ne jamais écraser un fichier qu'on n'a pas pu lire
    if (!poserCle(sectionPourEcrire(nomSection), nomCle, valeurAEcrire(valeur))) return true;
    return enregistrer();
}

bool FichierIni::EcrireEntier(const std::string& section, const std::string& cle, int valeur) {
    return EcrireTexte(section, cle, std::to_string(valeur));
}

bool FichierIni::EcrireBooleen(const std::string& section, const std::string& cle, bool valeur) {
    return EcrireTexte(section, cle, valeur ? "1" : "0");
}

bool FichierIni::EffacerSection(const std::string& section) {
    const std::string nom = nomPropre(section);
    if (!sectionPermise(nom)) return false;
    recharger();
    if (illisible_) return false;
    const std::string replie = comparable(nom);
    const auto debut = std::remove_if(sections_.begin(), sections_.end(),
                                      [&replie](const Section& s) { return comparable(s.nom) == replie; });
    if (debut == sections_.end()) return true;
    sections_.erase(debut, sections_.end());
    reconstruireIndex();
    return enregistrer();
}

// --- Lecture ---

const FichierIni::Section* FichierIni::trouverSection(const std::string& nomReplie) const {
    const auto trouvee = index_.find(nomReplie);
    return trouvee == index_.end() ? nullptr : &sections_[trouvee->second];
}

const FichierIni::Ligne* FichierIni::trouverLigne(const std::string& section, const std::string& cle) const {
    recharger();
    const Section* trouvee = trouverSection(comparable(section));
    if (trouvee == nullptr) return nullptr;
    const auto ligne = trouvee->cles.find(comparable(cle));
    return ligne == trouvee->cles.end() ? nullptr : &trouvee->lignes[ligne->second];
}

std::string FichierIni::LireTexte(const std::string& section, const std::string& cle,
                                  const std::string& defaut) const {
    const Ligne* ligne = trouverLigne(section, cle);
    if (ligne == nullptr) return defaut;
    return std::string(valeurLue(std::string_view(ligne->texte).substr(ligne->egal + 1)));
}

int FichierIni::LireEntier(const std::string& section, const std::string& cle, int defaut) const {
    const Ligne* ligne = trouverLigne(section, cle);
    if (ligne == nullptr) return defaut;
    return entierDecimal(valeurLue(std::string_view(ligne->texte).substr(ligne->egal + 1))).value_or(defaut);
}

bool FichierIni::LireBooleen(const std::string& section, const std::string& cle, bool defaut) const {
    return LireEntier(section, cle, defaut ? 1 : 0) != 0;
}

std::vector<std::string> FichierIni::Sections() const {
    recharger();
    std::vector<std::string> noms;
    for (std::size_t i = 0; i < sections_.size(); ++i) {
        const std::string cle = comparable(sections_[i].nom);
        if (!cle.empty() && index_.at(cle) == i) noms.push_back(sections_[i].nom);
    }
    return noms;
}

std::vector<std::string> FichierIni::Cles(const std::string& section) const {
    recharger();
    const Section* trouvee = trouverSection(comparable(section));
    if (trouvee == nullptr) return {};
    std::vector<std::string> cles;
    for (std::size_t i = 0; i < trouvee->lignes.size(); ++i) {
        const Ligne& ligne = trouvee->lignes[i];
        if (ligne.egal == std::string::npos) continue;
        const std::string_view cle = rogner(std::string_view(ligne.texte).substr(0, ligne.egal));
        if (trouvee->cles.at(comparable(cle)) == i) cles.emplace_back(cle);
    }
    return cles;
}

bool FichierIni::SectionExiste(const std::string& section) const {
    recharger();
    return trouverSection(comparable(section)) != nullptr;
}

// --- Codages des valeurs ---

namespace {

// Jamais relu depuis le fichier (les lignes sont coupées aux LF) : marque une clé absente.
const std::string kAbsente(1, '\n');

// Ce que LireTexte ne rend pas tel qu'EcrireTexte l'a reçu : CR et LF (changés en espaces).
// NUL revient aussi, mais il est évité tant que possible pour les outils qui liraient le
// fichier comme du texte C.
bool traverseLeFichier(std::string_view valeur, bool nulPermis) {
    const std::string_view interdits("\r\n\0", nulPermis ? 2 : 3);
    return valeur.find_first_of(interdits) == std::string_view::npos;
}

} // namespace

std::uint32_t LireCouleur(const FichierIni& ini, const std::string& section, const std::string& cle,
                          std::uint32_t defaut) {
    return static_cast<std::uint32_t>(ini.LireEntier(section, cle, static_cast<int>(defaut)));
}

bool EcrireCouleur(FichierIni& ini, const std::string& section, const std::string& cle, std::uint32_t couleur) {
    return ini.EcrireEntier(section, cle, static_cast<int>(couleur));
}

std::string LireMotDePasse(const FichierIni& ini, const std::string& section, const std::string& cle,
                           const std::string& defaut) {
    const std::string lu = ini.LireTexte(section, cle, kAbsente);
    return lu == kAbsente ? defaut : DebrouillePasse(lu);
}

// Le mot de passe brouillé peut contenir n'importe quel octet. Les blancs et guillemets aux
// bouts sont protégés par EcrireTexte, mais un CR ou un LF ne reviendraient pas, et un brouillé
// commençant par "." serait relu comme un mot de passe en clair. Dans ces cas le mot de passe
// est écrit en clair derrière un point (forme que DebrouillePasse comprend), si le clair, lui,
// revient intact (255 octets au plus, sans CR ni LF). Un NUL est évité d'abord, accepté
// ensuite ; quand aucune forme ne revient, la forme brouillée est écrite quand même.
bool EcrireMotDePasse(FichierIni& ini, const std::string& section, const std::string& cle,
                      const std::string& clair) {
    const std::string brouille = BrouillePasse(clair);
    const bool brouilleRelu = brouille.empty() || brouille.front() != '.';
    const bool clairRelu = clair.size() <= 255;
    for (const bool nulPermis : {false, true}) {
        if (brouilleRelu && traverseLeFichier(brouille, nulPermis)) return ini.EcrireTexte(section, cle, brouille);
        if (clairRelu && traverseLeFichier(clair, nulPermis)) return ini.EcrireTexte(section, cle, "." + clair);
    }
    return ini.EcrireTexte(section, cle, brouille);
}

std::string LireMultiLigne(const FichierIni& ini, const std::string& section, const std::string& cle,
                           const std::string& defaut) {
    const std::string lu = ini.LireTexte(section, cle, kAbsente);
    if (lu == kAbsente) return defaut;
    std::string texte;
    texte.reserve(lu.size());
    for (std::size_t i = 0; i < lu.size(); ++i) {
        if (lu[i] == '\xB6' && i + 1 < lu.size() && lu[i + 1] == '\xB6') {
            texte += "\r\n";
            ++i;
        } else {
            texte += lu[i];
        }
    }
    return texte;
}

bool EcrireMultiLigne(FichierIni& ini, const std::string& section, const std::string& cle,
                      const std::string& texte) {
    std::string ecrit;
    ecrit.reserve(texte.size() + texte.size() / 8);
    for (std::size_t i = 0; i < texte.size(); ++i) {
        if (texte[i] == '\r' || texte[i] == '\n') {
            ecrit += "\xB6\xB6";
            if (texte[i] == '\r' && i + 1 < texte.size() && texte[i + 1] == '\n') ++i;
        } else {
            ecrit += texte[i];
        }
    }
    return ini.EcrireTexte(section, cle, ecrit);
}
