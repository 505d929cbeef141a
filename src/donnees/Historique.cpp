// Historique des rejets : lignes de rejet et de suppression à la main, dates, tri, élagage
// et couleurs des cellules.
#include "Historique.h"

#include "Chaines.h"

#include <algorithm>
#include <cstdio>
#include <initializer_list>
#include <utility>

namespace {

constexpr std::int64_t kSecondesParJour = 86400;
constexpr long long kBudgetRejet = 993;
constexpr int kChaineVide = 1093;             // "<Vide>"
constexpr int kChaineDestinataireVide = 1097; // "<Destinataire vide>"

const std::string kNbsp(1, kEspaceInsecable);
const std::string kPrefixeIntrus = "->" + kNbsp;
const std::string kPrefixeAbsent = "=>" + kNbsp;

bool CommencePar(const std::string& texte, const std::string& debut) {
    return texte.compare(0, debut.size(), debut) == 0;
}

// ---------------------------------------------------------------------------------------
// Dates : "jj/mm/aaaa hh:mm:ss", heure locale. Les comparaisons se font en heure civile
// (celle qu'on lit sur l'horloge), jour par jour, sans les sauts d'heure d'été.

struct DateCivile {
    int An = 0, Mois = 0, Jour = 0, Heure = 0, Minute = 0, Seconde = 0;
};

bool Bissextile(int an) {
    return (an % 4 == 0 && an % 100 != 0) || an % 400 == 0;
}

int JoursDuMois(int an, int mois) {
    static constexpr int jours[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return mois == 2 && Bissextile(an) ? 29 : jours[mois - 1];
}

// Nombre de jours du 1/1/1970 à la date donnée (calendrier grégorien prolongé).
std::int64_t JoursDepuis1970(int an, int mois, int jour) {
    const std::int64_t a = an - (mois <= 2 ? 1 : 0);
    const std::int64_t ere = (a >= 0 ? a : a - 399) / 400;
    const std::int64_t anDeEre = a - ere * 400;
    const std::int64_t jourDeAn = (153 * (mois > 2 ? mois - 3 : mois + 9) + 2) / 5 + jour - 1;
    const std::int64_t jourDeEre = anDeEre * 365 + anDeEre / 4 - anDeEre / 100 + jourDeAn;
    return ere * 146097 + jourDeEre - 719468;
}

std::int64_t SecondesCiviles(const DateCivile& d) {
    return JoursDepuis1970(d.An, d.Mois, d.Jour) * kSecondesParJour + d.Heure * 3600 + d.Minute * 60 +
           d.Seconde;
}

bool DateCivileLocale(std::time_t instant, DateCivile& date) {
    std::tm champs{};
    if (localtime_r(&instant, &champs) == nullptr) return false;
    date = {champs.tm_year + 1900, champs.tm_mon + 1, champs.tm_mday,
            champs.tm_hour,        champs.tm_min,     champs.tm_sec};
    return true;
}

// Lecture pas à pas d'un texte de date ; chaque lecture ratée rend faux.
class LecteurDate {
public:
    explicit LecteurDate(const std::string& texte) : texte_(texte) {}

    // Un nombre de `minimum` à `maximum` chiffres, pas un de plus.
    bool Nombre(std::size_t minimum, std::size_t maximum, int& valeur) {
        std::size_t lus = 0;
        valeur = 0;
        while (position_ < texte_.size() && EstChiffre(texte_[position_])) {
            if (++lus > maximum) return false;
            valeur = valeur * 10 + (texte_[position_++] - '0');
        }
        return lus >= minimum;
    }
    bool Caractere(char attendu) {
        if (position_ >= texte_.size() || texte_[position_] != attendu) return false;
        ++position_;
        return true;
    }
    std::size_t Espaces() {
        const std::size_t debut = position_;
        while (position_ < texte_.size() && texte_[position_] == ' ')
            ++position_;
        return position_ - debut;
    }
    bool Fin() const { return position_ == texte_.size(); }

private:
    static bool EstChiffre(char c) { return c >= '0' && c <= '9'; }

    const std::string& texte_;
    std::size_t position_ = 0;
};

bool LireJour(LecteurDate& lecteur, DateCivile& d) {
    return lecteur.Nombre(1, 2, d.Jour) && lecteur.Caractere('/') && lecteur.Nombre(1, 2, d.Mois) &&
           lecteur.Caractere('/') && lecteur.Nombre(4, 4, d.An);
}

// L'heure est facultative ; ses secondes aussi (dates des messages supprimés à la main).
bool LireHeure(LecteurDate& lecteur, DateCivile& d) {
    const std::size_t espaces = lecteur.Espaces();
    if (lecteur.Fin()) return true;
    if (espaces == 0) return false;
    if (!lecteur.Nombre(1, 2, d.Heure) || !lecteur.Caractere(':') || !lecteur.Nombre(1, 2, d.Minute))
        return false;
    if (lecteur.Caractere(':') && !lecteur.Nombre(1, 2, d.Seconde)) return false;
    lecteur.Espaces();
    return lecteur.Fin();
}

bool DateValide(const DateCivile& d) {
    return d.An >= 1 && d.Mois >= 1 && d.Mois <= 12 && d.Jour >= 1 && d.Jour <= JoursDuMois(d.An, d.Mois) &&
           d.Heure <= 23 && d.Minute <= 59 && d.Seconde <= 59;
}

bool LireDateCivile(const std::string& texte, DateCivile& date) {
    LecteurDate lecteur(texte);
    DateCivile d;
    lecteur.Espaces();
    if (!LireJour(lecteur, d) || !LireHeure(lecteur, d) || !DateValide(d)) return false;
    date = d;
    return true;
}

// ---------------------------------------------------------------------------------------
// Longueurs : réduction d'un groupe de textes, le plus long d'abord.

std::size_t Retrait(std::initializer_list<std::string*> textes, std::size_t niveau) {
    std::size_t retrait = 0;
    for (const std::string* texte : textes)
        retrait += texte->size() > niveau ? texte->size() - niveau : 0;
    return retrait;
}

// Retire `excedent` caractères à la fin des textes en rabotant toujours les plus longs ;
// rend ce qui n'a pas pu être retiré (tous les textes sont alors vides).
std::size_t Raboter(std::initializer_list<std::string*> textes, std::size_t excedent) {
    if (excedent == 0) return 0;
    const std::size_t total = Retrait(textes, 0);
    if (total <= excedent) {
        for (std::string* texte : textes)
            texte->clear();
        return excedent - total;
    }
    // Plus haut niveau de coupe qui retire assez : Retrait(bas) >= excedent > Retrait(haut).
    std::size_t bas = 0;
    std::size_t haut = 0;
    for (const std::string* texte : textes)
        haut = std::max(haut, texte->size());
    while (haut - bas > 1) {
        const std::size_t milieu = bas + (haut - bas) / 2;
        if (Retrait(textes, milieu) >= excedent)
            bas = milieu;
        else
            haut = milieu;
    }
    // Le surplus retiré au niveau `bas` est rendu, un caractère par texte coupé.
    std::size_t rendre = Retrait(textes, bas) - excedent;
    for (std::string* texte : textes) {
        if (texte->size() <= bas) continue;
        texte->resize(bas + (rendre > 0 ? 1 : 0));
        if (rendre > 0) --rendre;
    }
    return 0;
}

// Virgules en ";" et fins de ligne en espaces : le fichier ne sait pas les garder.
std::string SansSeparateur(std::string texte) {
    for (char& c : texte) {
        if (c == ',')
            c = ';';
        else if (c == '\r' || c == '\n')
            c = ' ';
    }
    return texte;
}

// ---------------------------------------------------------------------------------------
// Ligne d'un rejet, morceau par morceau : texte, marque du filtre, marque de fin.

struct MorceauxRejet {
    std::string Date;
    std::string Exp, MarqueExp, FinExp;
    std::string Sujet, MarqueSujet, FinSujet;
    std::string PrefixeA, A, MarqueA, FinA;
    std::string PrefixeCc, Cc, MarqueCc, FinCc;
    std::string Boite;

    structHisto Ligne() const {
        return {Date,
                Exp + MarqueExp + FinExp,
                Sujet + MarqueSujet + FinSujet,
                PrefixeA + A + MarqueA + FinA,
                PrefixeCc + Cc + MarqueCc + FinCc,
                Boite};
    }
};

std::string PrefixeExclusif(int resultat) {
    if (resultat == 1) return kPrefixeIntrus;
    if (resultat == 2) return kPrefixeAbsent;
    return {};
}

std::string FinExpediteur(const RejetAHistoriser& rejet) {
    if (rejet.ExpediteurInexistant) return std::string(1, kPointMedian);
    return rejet.FiltreExpediteur ? kNbsp : std::string();
}

// Le sujet tel que testé ; "<Vide>" y est normalement déjà, on ne fait que compléter.
std::string TexteSujet(const RejetAHistoriser& rejet) {
    std::string sujet = NettoyerChamp(rejet.SujetTeste);
    if (sujet.empty()) sujet = Chaine(kChaineVide);
    if (rejet.SujetVideAvecAction && sujet == Chaine(kChaineVide)) sujet += kNbsp;
    return sujet;
}

// Réduction du sujet, de À et de Cc au budget de la ligne, dans la proportion
// (S + T + C + F) / (993 - L0 - F) calculée en simple précision.
void AppliquerBudget(MorceauxRejet& m) {
    const std::size_t l0 = m.Exp.size() + m.MarqueExp.size() + m.FinExp.size();
    const std::size_t f = m.MarqueSujet.size() + m.MarqueA.size() + m.MarqueCc.size();
    const std::size_t total = m.Sujet.size() + m.A.size() + m.Cc.size() + f;
    if (l0 + f >= static_cast<std::size_t>(kBudgetRejet)) {
        // L'expéditeur et les marques prennent tout : le rapport serait infini ou négatif.
        // Les trois textes sont vidés ; l'ajustement final raccourcira l'expéditeur.
        m.Sujet.clear();
        m.A.clear();
        m.Cc.clear();
        return;
    }
    const long long disponible = kBudgetRejet - static_cast<long long>(l0 + f);
    if (disponible >= static_cast<long long>(total)) return;
    const float rapport = static_cast<float>(total) / static_cast<float>(disponible);
    for (std::string* texte : {&m.Sujet, &m.A, &m.Cc}) {
        const double garde = static_cast<double>(texte->size()) / static_cast<double>(rapport);
        texte->resize(std::min(texte->size(), static_cast<std::size_t>(garde)));
    }
}

std::size_t LongueurMorceaux(const MorceauxRejet& m) {
    return LongueurLigneHisto(m.Ligne());
}

// Dernière sûreté : la ligne entière sous la limite de lecture, textes rabotés d'abord.
void AjusterALaLimite(MorceauxRejet& m) {
    const std::size_t longueur = LongueurMorceaux(m);
    if (longueur <= kLongueurMaxLigneHisto) return;
    const std::size_t reste = Raboter({&m.Exp, &m.Sujet, &m.A, &m.Cc}, longueur - kLongueurMaxLigneHisto);
    Raboter({&m.MarqueExp, &m.MarqueSujet, &m.MarqueA, &m.MarqueCc, &m.Boite}, reste);
}

// ---------------------------------------------------------------------------------------
// Tri et élagage.

struct CleTri {
    bool Lisible = false;
    std::int64_t Secondes = 0;
};

CleTri CleDe(const structHisto& ligne) {
    DateCivile date;
    if (!LireDateCivile(ligne.DateHeure, date)) return {};
    return {true, SecondesCiviles(date)};
}

void ElaguerParNombre(ListeHisto& historique, int nombre) {
    const std::size_t garde = static_cast<std::size_t>(std::max(nombre, 0));
    if (historique.Lignes.size() <= garde) return;
    historique.Lignes.resize(garde);
    historique.Modifiee = true;
}

// Une ligne survit si elle a au moins un jour entier de plus que la limite (maintenant moins
// `jours` jours). Une date illisible ne permet pas de juger : la ligne est gardée.
void ElaguerParAge(ListeHisto& historique, int jours, std::time_t maintenant) {
    DateCivile now;
    if (!DateCivileLocale(maintenant, now)) return;
    const std::int64_t limite = SecondesCiviles(now) - static_cast<std::int64_t>(jours) * kSecondesParJour;
    const auto trop_vieille = [limite](const structHisto& ligne) {
        const CleTri cle = CleDe(ligne);
        return cle.Lisible && (cle.Secondes - limite) / kSecondesParJour < 1;
    };
    if (std::erase_if(historique.Lignes, trop_vieille) > 0) historique.Modifiee = true;
}

const std::string* CelluleDe(const structHisto& ligne, int colonne) {
    switch (colonne) {
    case 0:
        return &ligne.DateHeure;
    case 1:
        return &ligne.Expediteur;
    case 2:
        return &ligne.Sujet;
    case 3:
        return &ligne.Destinataires;
    case 4:
        return &ligne.DestinatairesCopie;
    case 5:
        return &ligne.Boite;
    default:
        return nullptr;
    }
}

} // namespace

std::string NettoyerChamp(const std::string& texte) {
    std::string propre;
    propre.reserve(texte.size());
    for (const char c : texte) {
        if (c == ',' || c == '\r' || c == '\n') continue;
        if (c == ' ' && !propre.empty() && propre.back() == ' ') continue;
        propre += c;
    }
    return propre;
}

std::string MarqueFiltre(const std::string& motif) {
    return kNbsp + "(" + motif + ")" + kNbsp;
}

std::size_t LongueurLigneHisto(const structHisto& ligne) {
    return ligne.DateHeure.size() + ligne.Expediteur.size() + ligne.Sujet.size() +
           ligne.Destinataires.size() + ligne.DestinatairesCopie.size() + ligne.Boite.size() + 5;
}

structHisto LigneRejet(const RejetAHistoriser& rejet, std::time_t maintenant) {
    MorceauxRejet m;
    m.Date = FormaterDateHeure(maintenant);
    m.Exp = NettoyerChamp(rejet.ExpediteurTeste);
    m.MarqueExp = rejet.MarqueExpediteur;
    m.FinExp = FinExpediteur(rejet);
    m.Sujet = TexteSujet(rejet);
    m.MarqueSujet = rejet.MarqueSujet;
    m.A = NettoyerChamp(rejet.ChampA);
    m.MarqueA = rejet.MarqueA;
    m.Cc = NettoyerChamp(rejet.ChampCc);
    m.MarqueCc = rejet.MarqueCc;
    const bool sansDestinataire = m.A.empty() && m.Cc.empty();
    const bool avecCopie = !m.Cc.empty();

    AppliquerBudget(m);

    m.FinSujet = rejet.FiltreSujet ? kNbsp : std::string();
    if (sansDestinataire) m.A = Chaine(kChaineDestinataireVide);
    m.PrefixeA = PrefixeExclusif(rejet.ResultatExclusif);
    m.FinA = (rejet.ChampsRejetes & 1) != 0 ? kNbsp : std::string();
    m.PrefixeCc = avecCopie ? PrefixeExclusif(rejet.ResultatExclusif) : std::string();
    m.FinCc = (rejet.ChampsRejetes & 2) != 0 ? kNbsp : std::string();
    m.Boite = SansSeparateur(rejet.Boite);

    AjusterALaLimite(m);
    return m.Ligne();
}

structHisto LigneSuppressionManuelle(const std::string& date, const std::string& expediteur,
                                     const std::string& sujet, const std::string& destinataires,
                                     const std::string& copie, const std::string& boite) {
    structHisto ligne{SansSeparateur(date),          SansSeparateur(expediteur), SansSeparateur(sujet),
                      SansSeparateur(destinataires), SansSeparateur(copie),      SansSeparateur(boite)};
    const std::size_t longueur = LongueurLigneHisto(ligne) + 1; // + l'espace insécable de la boîte
    if (longueur > kLongueurMaxLigneHisto) {
        const std::size_t reste =
            Raboter({&ligne.Expediteur, &ligne.Sujet, &ligne.Destinataires, &ligne.DestinatairesCopie},
                    longueur - kLongueurMaxLigneHisto);
        Raboter({&ligne.Boite}, reste);
    }
    ligne.Boite += kEspaceInsecable;
    return ligne;
}

std::string FormaterDateHeure(std::time_t instant) {
    DateCivile d;
    if (!DateCivileLocale(instant, d)) return {};
    char texte[64];
    std::snprintf(texte, sizeof texte, "%02d/%02d/%04d %02d:%02d:%02d", d.Jour, d.Mois, d.An, d.Heure,
                  d.Minute, d.Seconde);
    return texte;
}

bool LireDateHeure(const std::string& texte, std::time_t& instant) {
    DateCivile d;
    if (!LireDateCivile(texte, d)) return false;
    std::tm champs{};
    champs.tm_year = d.An - 1900;
    champs.tm_mon = d.Mois - 1;
    champs.tm_mday = d.Jour;
    champs.tm_hour = d.Heure;
    champs.tm_min = d.Minute;
    champs.tm_sec = d.Seconde;
    champs.tm_isdst = -1;
    const std::time_t resultat = std::mktime(&champs);
    if (resultat == static_cast<std::time_t>(-1)) return false;
    instant = resultat;
    return true;
}

void TrierHistorique(ListeHisto& historique) {
    auto& lignes = historique.Lignes;
    std::vector<std::pair<CleTri, std::size_t>> cles;
    cles.reserve(lignes.size());
    for (std::size_t i = 0; i < lignes.size(); ++i)
        cles.emplace_back(CleDe(lignes[i]), i);
    std::stable_sort(cles.begin(), cles.end(), [](const auto& a, const auto& b) {
        if (a.first.Lisible != b.first.Lisible) return a.first.Lisible;
        return a.first.Lisible && a.first.Secondes > b.first.Secondes;
    });
    std::vector<structHisto> triees;
    triees.reserve(lignes.size());
    for (const auto& cle : cles)
        triees.push_back(std::move(lignes[cle.second]));
    lignes = std::move(triees);
}

void ElaguerHistorique(ListeHisto& historique, const ReglagesHistorique& reglages, std::time_t maintenant) {
    if (!reglages.HistoNbLigSav && !reglages.HistoDateSav) return;
    TrierHistorique(historique);
    if (reglages.HistoNbLigSav) ElaguerParNombre(historique, reglages.NbHisto);
    if (reglages.HistoDateSav) ElaguerParAge(historique, reglages.NbHistoDate, maintenant);
}

// Colonnes : 0 date, 1 expéditeur, 2 sujet, 3 À, 4 Cc, 5 boîte. Chaque marque n'est cherchée
// que dans les cellules où elle peut être posée : un sujet qui commencerait par "->" et une
// espace insécable n'est pas un destinataire refusé.
CouleurHisto CouleurCellule(const structHisto& ligne, int colonne) {
    const std::string* cellule = CelluleDe(ligne, colonne);
    if (cellule == nullptr || cellule->empty()) return CouleurHisto::Normale;
    if (ligne.Boite.find(kEspaceInsecable) != std::string::npos) return CouleurHisto::Olive;
    const bool destinataires = colonne == 3 || colonne == 4;
    if (destinataires && CommencePar(*cellule, kPrefixeIntrus)) return CouleurHisto::Bleu;
    if (destinataires && CommencePar(*cellule, kPrefixeAbsent)) return CouleurHisto::Vert;
    const bool marquable = colonne >= 1 && colonne <= 4;
    if (marquable && cellule->back() == kEspaceInsecable) return CouleurHisto::Rouge;
    if (colonne == 1 && cellule->back() == kPointMedian) return CouleurHisto::Violet;
    return CouleurHisto::Normale;
}
