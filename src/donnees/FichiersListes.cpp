#include "FichiersListes.h"

#include "Chaines.h"
#include "Cp1252.h"
#include "Sauvegardes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <fcntl.h>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

// Textes de la table.
constexpr int kTitreErreur = 1076;
constexpr int kChargement = 90100;
constexpr int kErreurChargement = 90101;
constexpr int kEnregistrement = 90102;
constexpr int kListesSauvegardees = 90103;
constexpr int kEcritureImpossible = 90104;
constexpr int kSuppressionImpossible = 90105;

// Une ligne physique est lue en au plus 1021 octets, fin de ligne comprise : une ligne plus
// longue donne plusieurs rangées.
constexpr std::size_t kLongueurLigneMax = 1021;
constexpr std::size_t kTailleBloc = 65536;
constexpr std::size_t kColonnesHistorique = 6;

void signaler(const RappelStatut& statut, const std::string& texte) {
    if (statut) statut(texte);
}

// --- Lecture ---

// Lit un fichier ordinaire par blocs et le rend ligne physique par ligne physique.
class LecteurLignes {
public:
    explicit LecteurLignes(int descripteur) : descripteur_(descripteur) {}

    // La ligne suivante, fin de ligne comprise ; faux à la fin du fichier ou sur une erreur.
    bool suivante(std::string_view& ligne) {
        while (!fin_ && tampon_.size() - debut_ < kLongueurLigneMax) remplir();
        if (erreur_) return false;
        const std::size_t fenetre = std::min(tampon_.size() - debut_, kLongueurLigneMax);
        if (fenetre == 0) return false;
        const std::string_view vue(tampon_.data() + debut_, fenetre);
        const std::size_t saut = vue.find('\n');
        ligne = vue.substr(0, saut == std::string_view::npos ? fenetre : saut + 1);
        debut_ += ligne.size();
        return true;
    }

    bool enErreur() const { return erreur_; }

private:
    void remplir() {
        tampon_.erase(0, debut_);
        debut_ = 0;
        const std::size_t avant = tampon_.size();
        tampon_.resize(avant + kTailleBloc);
        ssize_t lus = 0;
        do {
            lus = ::read(descripteur_, tampon_.data() + avant, kTailleBloc);
        } while (lus < 0 && errno == EINTR);
        tampon_.resize(avant + static_cast<std::size_t>(std::max<ssize_t>(lus, 0)));
        if (lus <= 0) fin_ = true;
        if (lus < 0) erreur_ = true;
    }

    int descripteur_;
    std::string tampon_;
    std::size_t debut_ = 0;
    bool fin_ = false;
    bool erreur_ = false;
};

// Les champs d'une ligne sans sa fin de ligne, coupée à chaque virgule ; une virgule tout au
// bout n'ajoute pas de champ vide. Seuls les `nombre` premiers champs sont gardés, les absents
// sont des textes vides.
std::vector<std::string> champs(std::string_view ligne, std::size_t nombre) {
    if (!ligne.empty() && ligne.back() == ',') ligne.remove_suffix(1);
    std::vector<std::string> resultat(nombre);
    std::size_t debut = 0;
    for (std::size_t i = 0; i < nombre && debut <= ligne.size(); ++i) {
        const std::size_t virgule = std::min(ligne.find(',', debut), ligne.size());
        resultat[i] = std::string(ligne.substr(debut, virgule - debut));
        debut = virgule + 1;
    }
    return resultat;
}

std::string_view sansFinDeLigne(std::string_view ligne) {
    if (!ligne.empty() && ligne.back() == '\n') ligne.remove_suffix(1);
    if (!ligne.empty() && ligne.back() == '\r') ligne.remove_suffix(1);
    return ligne;
}

bool estUnDe(const std::string& texte, std::initializer_list<const char*> admis) {
    return std::any_of(admis.begin(), admis.end(), [&texte](const char* a) { return texte == a; });
}

// Réparation d'un filtre lu ; vrai quand le compteur a dû être vidé.
bool reparer(structFiltre& filtre, const std::string& derniere, bool avecChamp) {
    if (avecChamp && !estUnDe(filtre.Champ, {"A", "C", "L"})) filtre.Champ = "A";
    filtre.Ami = derniere == "A";
    if (filtre.Ami) return false;  // un ami garde ce qu'il contient
    if (!estUnDe(filtre.Avant, {"R", "d", "g", "c"})) filtre.Avant = "g";
    const bool reponseConnue = !filtre.Pendant.empty() && std::string_view("ovs").find(filtre.Pendant[0]) !=
                                                              std::string_view::npos;
    if (filtre.Pendant != "N " && !reponseConnue) filtre.Pendant = "N ";
    if (filtre.Effectues.empty() || LireCompteur(filtre.Effectues)) return false;
    filtre.Effectues.clear();
    return true;
}

structFiltre filtreDeLigne(std::string_view ligne, bool avecChamp, bool& compteurRepare) {
    std::vector<std::string> c = champs(ligne, avecChamp ? 6 : 5);
    structFiltre filtre;
    std::size_t i = 0;
    filtre.Motif = std::move(c[i++]);
    if (avecChamp) filtre.Champ = std::move(c[i++]);
    filtre.Avant = std::move(c[i++]);
    filtre.Pendant = std::move(c[i++]);
    filtre.Effectues = std::move(c[i++]);
    compteurRepare = reparer(filtre, c[i], avecChamp) || compteurRepare;
    return filtre;
}

structHisto histoDeLigne(std::string_view ligne) {
    std::vector<std::string> c = champs(ligne, kColonnesHistorique);
    return {std::move(c[0]), std::move(c[1]), std::move(c[2]), std::move(c[3]), std::move(c[4]), std::move(c[5])};
}

bool estChiffre(char c) { return c >= '0' && c <= '9'; }

// Lit toutes les lignes utiles ; `traiter` reçoit chacune sans sa fin de ligne.
template <typename Traiter>
ResultatLecture lireLignes(const QString& chemin, bool historique, Traiter traiter) {
    // O_NONBLOCK : un tube nommé à la place du fichier ne bloque pas l'ouverture.
    const int descripteur = ::open(QFile::encodeName(chemin).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (descripteur < 0) return ResultatLecture::NonOuvert;
    struct stat infos {};
    if (::fstat(descripteur, &infos) != 0 || !S_ISREG(infos.st_mode)) {
        ::close(descripteur);
        return ResultatLecture::NonOuvert;
    }
    LecteurLignes lecteur(descripteur);
    std::string_view ligne;
    while (lecteur.suivante(ligne)) {
        if (ligne[0] == '\r' || ligne[0] == '\n') continue;  // ligne vide
        if (historique && !estChiffre(ligne[0])) continue;
        traiter(sansFinDeLigne(ligne));
    }
    ::close(descripteur);
    return lecteur.enErreur() ? ResultatLecture::ErreurLecture : ResultatLecture::Lu;
}

// Les rangées ne sont ajoutées qu'une fois le fichier lu en entier : une erreur de lecture
// laisse la liste comme elle était.
ResultatLecture lireFiltres(const QString& chemin, ListeFiltres& liste) {
    std::vector<structFiltre> lues;
    bool compteurRepare = false;
    const ResultatLecture resultat = lireLignes(chemin, false, [&](std::string_view ligne) {
        lues.push_back(filtreDeLigne(ligne, liste.AvecChamp, compteurRepare));
    });
    if (resultat != ResultatLecture::Lu) return resultat;
    liste.Lignes.insert(liste.Lignes.end(), std::make_move_iterator(lues.begin()), std::make_move_iterator(lues.end()));
    if (compteurRepare) liste.Modifiee = true;
    return resultat;
}

ResultatLecture lireHistorique(const QString& chemin, ListeHisto& historique) {
    std::vector<structHisto> lues;
    const ResultatLecture resultat =
        lireLignes(chemin, true, [&](std::string_view ligne) { lues.push_back(histoDeLigne(ligne)); });
    if (resultat != ResultatLecture::Lu) return resultat;
    historique.Lignes.insert(historique.Lignes.end(), std::make_move_iterator(lues.begin()),
                             std::make_move_iterator(lues.end()));
    return resultat;
}

// --- Écriture ---

// Un champ ne peut pas contenir de virgule ni de fin de ligne : le fichier n'a ni guillemets ni
// échappement. Si l'un de ces caractères s'est glissé dans un texte, il est écrit comme une
// espace plutôt que de décaler les colonnes ou de couper la ligne.
void ajouterChamp(std::string& sortie, const std::string& champ) {
    const std::size_t debut = sortie.size();
    sortie += champ;
    std::replace_if(sortie.begin() + static_cast<std::ptrdiff_t>(debut), sortie.end(),
                    [](char c) { return c == ',' || c == '\r' || c == '\n'; }, ' ');
}

void ajouterLigne(std::string& sortie, std::initializer_list<const std::string*> colonnes) {
    bool premiere = true;
    for (const std::string* colonne : colonnes) {
        if (!premiere) sortie += ',';
        premiere = false;
        ajouterChamp(sortie, *colonne);
    }
    sortie += "\r\n";
}

// --- Enregistrement ---

struct Emplacement {
    QString dossier;
    QString nomBase;
    QString sauvegarde;
    int nbFicSauv;
};

// Rangées présentes : copies tournantes de l'ancien fichier puis remplacement atomique.
// Liste vide : le fichier est supprimé. Faux, avec un message, quand le fichier n'a pas changé.
bool ecrireOuSupprimer(const QString& chemin, bool vide, const std::string& contenu, const Emplacement& ou,
                       const RappelStatut& statut) {
    if (vide) {
        if (::unlink(QFile::encodeName(chemin).constData()) == 0 || errno == ENOENT) return true;
        signaler(statut, Chaine(kSuppressionImpossible) + versCp1252(chemin));
        return false;
    }
    if (CheminExiste(chemin)) {
        TournerSauvegardes(chemin, ou.sauvegarde, ou.nbFicSauv);
        CopierFichierAtomique(chemin, QDir(ou.sauvegarde).filePath(QFileInfo(chemin).fileName()));
    }
    if (EcrireFichierAtomique(chemin, contenu)) return true;
    signaler(statut, Chaine(kEcritureImpossible) + versCp1252(chemin));
    return false;
}

bool enregistrerFiltres(ListeFiltres& liste, IndexListe index, const Emplacement& ou, const RappelStatut& statut) {
    if (!liste.Modifiee) return true;
    const QString chemin = CheminFichierListe(ou.dossier, ou.nomBase, index);
    if (!ecrireOuSupprimer(chemin, liste.Lignes.empty(), TexteFichierFiltres(liste), ou, statut)) return false;
    liste.Modifiee = false;
    return true;
}

bool enregistrerHistorique(ListeHisto& historique, const Emplacement& ou, const RappelStatut& statut) {
    if (!historique.Modifiee) return true;
    TrierHistorique(historique);
    const QString chemin = CheminFichierListe(ou.dossier, ou.nomBase, ListeIndexHistorique);
    if (!ecrireOuSupprimer(chemin, historique.Lignes.empty(), TexteFichierHistorique(historique), ou, statut))
        return false;
    historique.Modifiee = false;
    return true;
}

} // namespace

QString ExtensionListe(IndexListe index) {
    switch (index) {
    case ListeIndexExpediteurs: return QStringLiteral(".rej");
    case ListeIndexSujets: return QStringLiteral(".rjs");
    case ListeIndexDestinataires: return QStringLiteral(".rjd");
    case ListeIndexHistorique: return QStringLiteral(".his");
    }
    return {};
}

QString CheminFichierListe(const QString& dossier, const QString& nomBase, IndexListe index) {
    return QDir(dossier).filePath(nomBase + ExtensionListe(index));
}

std::optional<int> LireCompteur(const std::string& effectues) {
    int valeur = 0;
    const char* fin = effectues.data() + effectues.size();
    const auto [arret, erreur] = std::from_chars(effectues.data(), fin, valeur);
    if (effectues.empty() || erreur != std::errc() || arret != fin) return std::nullopt;
    return valeur;
}

ResultatLecture LireFichierListe(IndexListe index, const QString& chemin, ListesFiltres& listes) {
    switch (index) {
    case ListeIndexExpediteurs: return lireFiltres(chemin, listes.ListeExpediteurs);
    case ListeIndexSujets: return lireFiltres(chemin, listes.ListeSujets);
    case ListeIndexDestinataires: return lireFiltres(chemin, listes.ListeDestinataires);
    case ListeIndexHistorique: return lireHistorique(chemin, listes.Historique);
    }
    return ResultatLecture::NonOuvert;
}

void TrierFiltres(ListeFiltres& liste) {
    std::stable_sort(liste.Lignes.begin(), liste.Lignes.end(), [](const structFiltre& a, const structFiltre& b) {
        if (a.Ami != b.Ami) return a.Ami;
        return LireCompteur(a.Effectues).value_or(0) > LireCompteur(b.Effectues).value_or(0);
    });
}

std::string TexteFichierFiltres(const ListeFiltres& liste) {
    static const std::string ami = "A";
    static const std::string rejet = "R";
    std::string sortie;
    for (const structFiltre& f : liste.Lignes) {
        const std::string* derniere = f.Ami ? &ami : &rejet;
        if (liste.AvecChamp)
            ajouterLigne(sortie, {&f.Motif, &f.Champ, &f.Avant, &f.Pendant, &f.Effectues, derniere});
        else
            ajouterLigne(sortie, {&f.Motif, &f.Avant, &f.Pendant, &f.Effectues, derniere});
    }
    return sortie;
}

std::string TexteFichierHistorique(const ListeHisto& historique) {
    std::string sortie;
    for (const structHisto& h : historique.Lignes)
        ajouterLigne(sortie, {&h.DateHeure, &h.Expediteur, &h.Sujet, &h.Destinataires, &h.DestinatairesCopie, &h.Boite});
    return sortie;
}

void ChargerListes(ListesFiltres& listes, const QString& dossier, const QString& nomBase,
                   const RappelStatut& statut, const RappelErreur& erreur) {
    signaler(statut, Chaine(kChargement));
    const auto vide = [&listes](IndexListe index) {
        switch (index) {
        case ListeIndexExpediteurs: return listes.ListeExpediteurs.Lignes.empty();
        case ListeIndexSujets: return listes.ListeSujets.Lignes.empty();
        case ListeIndexDestinataires: return listes.ListeDestinataires.Lignes.empty();
        case ListeIndexHistorique: return listes.Historique.Lignes.empty();
        }
        return false;
    };
    for (IndexListe index : {ListeIndexExpediteurs, ListeIndexSujets, ListeIndexDestinataires, ListeIndexHistorique}) {
        const QString chemin = CheminFichierListe(dossier, nomBase, index);
        if (!vide(index) || !CheminExiste(chemin)) continue;
        if (LireFichierListe(index, chemin, listes) != ResultatLecture::ErreurLecture) continue;
        if (erreur) erreur(Chaine(kTitreErreur), Chaine(kErreurChargement) + versCp1252(chemin));
        break;  // les fichiers suivants ne sont pas lus
    }
    TrierFiltres(listes.ListeExpediteurs);
    TrierFiltres(listes.ListeSujets);
    TrierFiltres(listes.ListeDestinataires);
    signaler(statut, std::string());
}

bool EnregistrerListes(ListesFiltres& listes, const QString& dossier, const QString& nomBase, int nbFicSauv,
                       const QString& cheminIni, const std::function<void()>& ecrireGeometrie,
                       const RappelStatut& statut) {
    signaler(statut, Chaine(kEnregistrement));
    const Emplacement ou {dossier, nomBase, DossierSauvegarde(dossier), nbFicSauv};
    // Sans dossier de copies, les copies échouent en silence et les listes sont tout de même écrites.
    ::mkdir(QFile::encodeName(ou.sauvegarde).constData(), 0700);

    bool toutEnregistre = enregistrerFiltres(listes.ListeExpediteurs, ListeIndexExpediteurs, ou, statut);
    toutEnregistre = enregistrerFiltres(listes.ListeSujets, ListeIndexSujets, ou, statut) && toutEnregistre;
    toutEnregistre = enregistrerFiltres(listes.ListeDestinataires, ListeIndexDestinataires, ou, statut) && toutEnregistre;
    toutEnregistre = enregistrerHistorique(listes.Historique, ou, statut) && toutEnregistre;

    if (ecrireGeometrie) ecrireGeometrie();

    // Le fichier de paramètres est copié à chaque appel, même si la rotation échoue.
    if (CheminExiste(cheminIni)) {
        TournerSauvegardes(cheminIni, ou.sauvegarde, nbFicSauv);
        CopierFichierAtomique(cheminIni, QDir(ou.sauvegarde).filePath(QFileInfo(cheminIni).fileName()));
    }
    // Après un échec, son message reste affiché.
    if (toutEnregistre) signaler(statut, Chaine(kListesSauvegardees));
    return toutEnregistre;
}
