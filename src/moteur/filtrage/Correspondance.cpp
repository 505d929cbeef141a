#include "Correspondance.h"

#include "donnees/Casse1252.h"
#include "donnees/JokersPerso.h"

namespace {

constexpr unsigned char kJokerConsonne = 0xB5;  // "µ"
constexpr unsigned char kMarquePartiel = 0xB6;  // "¶"
constexpr char kMarqueMotEntier = '~';
constexpr char kEtoile = '*';

using Ensemble = std::array<std::uint64_t, 4>;

unsigned char octet(char c) { return static_cast<unsigned char>(c); }

void ajouter(Ensemble& ensemble, unsigned char c) { ensemble[c >> 6] |= std::uint64_t{1} << (c & 63); }

bool contient(const Ensemble& ensemble, unsigned char c) { return (ensemble[c >> 6] >> (c & 63)) & 1; }

Ensemble ensembleDe(std::string_view caracteres) {
    Ensemble ensemble{};
    for (char c : caracteres) ajouter(ensemble, octet(c));
    return ensemble;
}

// Les caractères de texte (déjà en minuscules) qu'accepte un caractère de motif en minuscules.
// Les jokers fixes passent avant un joker perso qui utiliserait le même caractère ; un joker
// perso ne vaut que ses caractères (lui-même seulement s'il y figure) ; quand deux jokers ont
// le même caractère, le premier de la liste l'emporte.
Ensemble acceptesPar(unsigned char p, const Ensemble& consonnes, const JokersPerso* jokers) {
    if (p == kJokerConsonne) return consonnes;
    if (p == '#') return ensembleDe("0123456789");
    if (jokers != nullptr && !jokers->CaracteresJokersPerso().empty()) {
        const std::size_t position = jokers->CaracteresJokersPerso().find(static_cast<char>(p));
        if (position != std::string::npos && position < jokers->ListeJokersPerso().size())
            return ensembleDe(jokers->ListeJokersPerso()[position].Caracteres);
    }
    if (p == '?') return Ensemble{~std::uint64_t{0}, ~std::uint64_t{0}, ~std::uint64_t{0}, ~std::uint64_t{0}};
    Ensemble seul{};
    ajouter(seul, p);
    return seul;
}

// Recherche partielle ("¶") ou partielle sur mots entiers ("~"). Les positions i (texte) et
// j (motif) comptent depuis 1 ; le motif proprement dit commence en 2, après la marque.
// Chaque tentative part un caractère plus loin que la précédente ; en mode mots entiers, la
// première occurrence qui commence en début de mot décide seule.
bool rechercherPartiel(const ContexteCorrespondance& ctx, std::string_view motif, std::string_view texte) {
    const bool motsEntiers = motif[0] == kMarqueMotEntier;
    const std::size_t lp = motif.size();
    const std::size_t lt = texte.size();
    std::size_t debut = 0, i = 0, j = 2;
    while (j <= lp && i <= lt) {
        bool comparer = true;
        if (j == 2) {  // nouvelle tentative
            i = ++debut;
            if (motsEntiers && i > 1 && ctx.EstMot(octet(texte[i - 2]))) {
                j = 1;  // pas en début de mot : on passe à la tentative suivante
                comparer = false;
            }
        }
        if (comparer && !ctx.Correspondent(octet(motif[j - 1]), octet(texte[i - 1]))) {
            if (i == lt) return false;
            j = 1;
        }
        ++j;
        ++i;
    }
    if (j <= lp) return false;
    // Motif trouvé en entier ; en mode mots entiers, il ne doit pas finir au milieu d'un mot.
    const bool suiviDunMot = i >= 1 && i <= lt && ctx.EstMot(octet(texte[i - 1]));
    return !(motsEntiers && suiviDunMot);
}

// Première position q >= depuis où le caractère de motif c accepte le caractère du texte ;
// la longueur du texte quand il n'y en a pas.
std::size_t chercher(const ContexteCorrespondance& ctx, unsigned char c, std::string_view texte,
                     std::size_t depuis) {
    while (depuis < texte.size() && !ctx.Correspondent(c, octet(texte[depuis]))) ++depuis;
    return depuis;
}

// Comparaison d'un segment : avance p et t tant que le motif n'est ni fini ni sur une étoile,
// que le texte n'est pas fini et que les caractères se correspondent.
void comparerSegment(const ContexteCorrespondance& ctx, std::string_view motif, std::string_view texte,
                     std::size_t& p, std::size_t& t) {
    while (p < motif.size() && t < texte.size() && motif[p] != kEtoile &&
           ctx.Correspondent(octet(motif[p]), octet(texte[t]))) {
        ++p;
        ++t;
    }
}

// Ce que donne la comparaison du segment qui suit une étoile.
enum class Issue { Vrai, Faux, EtoileSuivante, Reessayer };

Issue issueSegment(std::string_view motif, std::string_view texte, std::size_t p, std::size_t t) {
    if (p == motif.size()) return t == texte.size() ? Issue::Vrai : Issue::Reessayer;
    if (t == texte.size()) return Issue::Faux;  // texte fini avant le motif, même sur une étoile
    if (motif[p] == kEtoile) return Issue::EtoileSuivante;
    return Issue::Reessayer;
}

// Une étoile en position p, qui n'est pas la dernière du motif, couvre un caractère ou plus
// à partir de t. Rend l'issue ; pour EtoileSuivante, p et t sont placés sur l'étoile suivante.
//
// À la lettre, après un échec l'étoile couvre un caractère de plus et le premier caractère
// du segment est recherché de nouveau : tant que t ne dépasse pas la position q trouvée, la
// recherche retombe sur q et l'échec se répète à l'identique. On repart donc directement
// après q, ce qui donne le même résultat sans repasser sur le texte. De même, quand le
// caractère n'est plus nulle part, aucune avance de l'étoile ne le retrouvera : faux.
Issue couvrirEtoile(const ContexteCorrespondance& ctx, std::string_view motif, std::string_view texte,
                    std::size_t& p, std::size_t& t) {
    const unsigned char suivant = octet(motif[p + 1]);
    for (;;) {
        ++t;  // l'étoile couvre au moins un caractère
        if (t == texte.size()) return Issue::Faux;
        const std::size_t q = chercher(ctx, suivant, texte, t);
        if (q == texte.size()) return Issue::Faux;
        std::size_t pp = p + 2, tt = q + 1;
        comparerSegment(ctx, motif, texte, pp, tt);
        const Issue issue = issueSegment(motif, texte, pp, tt);
        if (issue == Issue::EtoileSuivante) {
            p = pp;
            t = tt;
        }
        if (issue != Issue::Reessayer) return issue;
        t = q;  // le prochain essai part juste après q
    }
}

// Le mot (non vide) se trouve-t-il dans le texte mis en minuscules ?
bool contientEnMinuscules(const ContexteCorrespondance& ctx, std::string_view texte, std::string_view mot) {
    if (mot.empty() || mot.size() > texte.size()) return false;
    for (std::size_t debut = 0; debut + mot.size() <= texte.size(); ++debut) {
        std::size_t k = 0;
        while (k < mot.size() && ctx.Minuscule(octet(texte[debut + k])) == octet(mot[k])) ++k;
        if (k == mot.size()) return true;
    }
    return false;
}

// Passe chaque mot d'un motif "§" à `action`, dans l'ordre, jusqu'à ce qu'elle rende faux.
// Rend faux quand elle l'a fait.
template <class Action> bool pourChaqueMot(std::string_view motif, Action&& action) {
    std::string_view reste = motif.empty() ? motif : motif.substr(1);
    for (std::size_t espace = reste.find(' '); espace != std::string_view::npos; espace = reste.find(' ')) {
        if (!action(reste.substr(0, espace))) return false;
        reste.remove_prefix(espace + 1);
    }
    return reste.size() > 1 ? action(reste) : true;
}

} // namespace

void ContexteCorrespondance::ReconstruireTables() {
    for (unsigned c = 0; c < 256; ++c) minuscules_[c] = octet(MinusculeAnsi(static_cast<char>(c)));
    caracteresMot_ = ensembleDe(ListeAlphaNum);
    const Ensemble consonnes = ensembleDe(ListeConsonnes);
    // Les deux caractères sont mis en minuscules avant d'être comparés : la ligne d'un
    // caractère de motif s'obtient de celle de sa minuscule, lue à la minuscule du texte.
    for (unsigned p = 0; p < 256; ++p) {
        const Ensemble acceptes = acceptesPar(minuscules_[p], consonnes, Jokers);
        Ensemble ligne{};
        for (unsigned t = 0; t < 256; ++t)
            if (contient(acceptes, minuscules_[t])) ajouter(ligne, static_cast<unsigned char>(t));
        correspondances_[p] = ligne;
    }
}

bool CaractereCorrespond(const ContexteCorrespondance& ctx, char p, char t) {
    return ctx.Correspondent(octet(p), octet(t));
}

bool EstCaractereMot(const ContexteCorrespondance& ctx, char c) { return ctx.EstMot(octet(c)); }

bool Correspond(const ContexteCorrespondance& ctx, std::string_view motif, std::string_view texte) {
    if (motif.empty() || texte.empty()) return false;
    if (octet(motif[0]) == kMarquePartiel || motif[0] == kMarqueMotEntier)
        return rechercherPartiel(ctx, motif, texte);
    return CorrespondJoker(ctx, motif, texte);
}

bool CorrespondJoker(const ContexteCorrespondance& ctx, std::string_view motif, std::string_view texte) {
    if (motif.empty() || texte.empty()) return false;
    std::size_t p = 0, t = 0;
    for (;;) {
        // Caractère par caractère jusqu'à une étoile ; la fin du texte décide.
        while (p < motif.size() && motif[p] != kEtoile && ctx.Correspondent(octet(motif[p]), octet(texte[t]))) {
            ++p;
            ++t;
            if (t == texte.size()) return p == motif.size();
        }
        if (p == motif.size() || motif[p] != kEtoile) return false;
        if (p + 1 == motif.size()) return true;  // étoile finale : le reste du texte, non vide
        const Issue issue = couvrirEtoile(ctx, motif, texte, p, t);
        if (issue != Issue::EtoileSuivante) return issue == Issue::Vrai;
    }
}

bool CorrespondMotsMultiples(const ContexteCorrespondance& ctx, std::string_view motif,
                             std::string_view texte) {
    int nombre = 0;
    const bool tousPresents = pourChaqueMot(motif, [&](std::string_view mot) {
        ++nombre;
        return contientEnMinuscules(ctx, texte, mot);
    });
    return tousPresents && nombre >= 2;
}

void MotsDuMotif(std::string_view motif, std::vector<std::string_view>& mots) {
    mots.clear();
    pourChaqueMot(motif, [&](std::string_view mot) {
        mots.push_back(mot);
        return true;
    });
}
