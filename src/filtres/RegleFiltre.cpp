#include "RegleFiltre.h"

#include "donnees/Casse1252.h"
#include "donnees/Chaines.h"
#include "donnees/TypeRejet.h"
#include "moteur/entete/Adresses.h"

#include <algorithm>
#include <numeric>
#include <vector>

namespace {

constexpr std::string_view kLettresReponse = "Novs";
constexpr std::string_view kLettresInclure = " acx";
constexpr std::string_view kLettresChamp = "ACL";
constexpr std::string_view kJokersEchantillon = "*?#\xB5"; // "µ" en dernier

// La lettre de `lettres` à cet index ; `defaut` hors de la table.
char lettreA(std::string_view lettres, int index, char defaut) {
    return index >= 0 && static_cast<std::size_t>(index) < lettres.size()
               ? lettres[static_cast<std::size_t>(index)]
               : defaut;
}

// Position d'une lettre dans la table, ou -1.
int positionDe(std::string_view lettres, char lettre) {
    const std::size_t position = lettres.find(lettre);
    return position == std::string_view::npos ? -1 : static_cast<int>(position);
}

// Le caractère à cette position d'un texte, ou rien.
std::string_view caractere(const std::string& texte, std::size_t position) {
    return position < texte.size() ? std::string_view(texte).substr(position, 1) : std::string_view();
}

// Action de la première lettre de "Avant", sans égard à la casse ; une espace donne la
// dernière action (comptabiliser), une lettre inconnue ou l'absence de lettre "demander et garder".
int actionDeLettre(std::string_view avant) {
    if (avant.empty()) return kActionDemanderGarder;
    const int position = positionDe(AnsiLowerCase(kLettresRejet), MinusculeAnsi(avant.front()));
    if (position < 0) return kActionDemanderGarder;
    return std::min(position, kActionComptabiliser);
}

int champDeLettre(std::string_view champ) {
    if (champ.empty()) return 0;
    const int position = positionDe(kLettresChamp, champ.front());
    return position < 0 ? kAucunChamp : position;
}

bool contientUnDe(std::string_view texte, std::string_view caracteres) {
    return texte.find_first_of(caracteres) != std::string_view::npos;
}

// Ordre croissant des motifs, octet par octet après passage en minuscules.
bool motifAvant(std::string_view a, std::string_view b) {
    const std::size_t commun = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < commun; ++i) {
        const auto ca = static_cast<unsigned char>(MinusculeAnsi(a[i]));
        const auto cb = static_cast<unsigned char>(MinusculeAnsi(b[i]));
        if (ca != cb) return ca < cb;
    }
    return a.size() < b.size();
}

} // namespace

std::string MarqueDuMode(int mode) {
    switch (mode) {
    case ModePartiel:
        return std::string(1, kMarquePartiel);
    case ModeMotsMultiples:
        return std::string(1, kMarqueMotsMultiples);
    case ModePartielMot:
        return std::string(1, kMarquePartielMot);
    default:
        return {};
    }
}

int ModeDuMotif(std::string_view motif) {
    if (motif.empty()) return ModeExact;
    switch (motif.front()) {
    case kMarquePartiel:
        return ModePartiel;
    case kMarqueMotsMultiples:
        return ModeMotsMultiples;
    case kMarquePartielMot:
        return ModePartielMot;
    default:
        return ModeExact;
    }
}

std::string_view SansMarque(std::string_view motif) {
    return ModeDuMotif(motif) == ModeExact ? motif : motif.substr(1);
}

int NombreModes(int onglet) {
    switch (onglet) {
    case kOngletExpediteurs:
        return 2;
    case kOngletDestinataires:
        return 3;
    default:
        return kNbModes;
    }
}

int ModeSelonOnglet(int onglet, int mode) {
    if (mode < 0) return ModeExact;
    return mode < NombreModes(onglet) ? mode : ModePartiel;
}

std::string NormaliserMotsMultiples(std::string_view motif) {
    std::string resultat;
    resultat.reserve(motif.size());
    bool espaceEnAttente = false;
    for (char c : motif) {
        if (c == ' ') {
            espaceEnAttente = !resultat.empty();
            continue;
        }
        if (espaceEnAttente) resultat += ' ';
        espaceEnAttente = false;
        resultat += c;
    }
    return resultat;
}

ValidationMotif ValiderMotif(std::string_view motif, int mode) {
    ValidationMotif v{RefusMotif::Aucun, std::string(motif)};
    const bool motsMultiples = mode == ModeMotsMultiples;
    if (motsMultiples && contientUnDe(motif, "*?")) {
        v.Refus = RefusMotif::JokerMotsMultiples;
    } else if (motif == "*" || contientUnDe(motif, "\",\r\n")) {
        // Les fichiers de listes n'ont ni guillemets ni virgules, et une ligne par filtre.
        v.Refus = RefusMotif::SaisieNonValide;
    } else if (motsMultiples) {
        v.Motif = NormaliserMotsMultiples(motif);
        if (v.Motif.find(' ') == std::string::npos) {
            v.Refus = RefusMotif::MotsNonSepares;
        } else {
            std::size_t debut = 0;
            while (debut <= v.Motif.size()) {
                const std::size_t fin = std::min(v.Motif.find(' ', debut), v.Motif.size());
                if (fin - debut == 1) {
                    v.Refus = RefusMotif::MotDUneLettre;
                    break;
                }
                debut = fin + 1;
            }
        }
    }
    return v;
}

std::string MessageRefus(RefusMotif refus) {
    switch (refus) {
    case RefusMotif::JokerMotsMultiples:
        return "Joker non autoris\xE9 pour un filtre partiel\r\nou Mots Multiples";
    case RefusMotif::SaisieNonValide:
        return "Saisie non valide";
    case RefusMotif::MotsNonSepares:
        return "Les mots doivent \xEAtre s\xE9par\xE9s par des espaces";
    case RefusMotif::MotDUneLettre:
        return "Les mots doivent avoir plus d'une lettre";
    case RefusMotif::Aucun:
        break;
    }
    return {};
}

structFiltre LigneDeChoix(const ChoixEditeur& choix, bool avecChamp) {
    structFiltre ligne;
    ligne.Motif = MarqueDuMode(choix.Mode) + choix.Motif;
    // Sans champ choisi, le champ principal, comme à la lecture d'une lettre inconnue.
    if (avecChamp) ligne.Champ = std::string(1, lettreA(kLettresChamp, choix.Champ, 'A'));
    ligne.Ami = choix.Ami;
    if (choix.Ami) {
        ligne.Avant = " ";
        ligne.Pendant = " ";
        return ligne;
    }
    ligne.Avant = std::string(1, lettreA(kLettresRejet, choix.Action, 'g'));
    const bool repond = choix.Reponse > 0 && choix.Reponse < kNbReponses;
    ligne.Pendant = {lettreA(kLettresReponse, choix.Reponse, 'N'),
                     repond ? lettreA(kLettresInclure, choix.Inclure, ' ') : ' '};
    return ligne;
}

ChoixEditeur ChoixDeLigne(const structFiltre& ligne, bool avecChamp) {
    ChoixEditeur choix;
    choix.Mode = ModeDuMotif(ligne.Motif);
    choix.Motif = std::string(SansMarque(ligne.Motif));
    if (!contientUnDe(choix.Motif, kJokersEchantillon)) choix.Echantillon = choix.Motif;
    choix.Champ = avecChamp ? champDeLettre(ligne.Champ) : 0;
    choix.Action = actionDeLettre(ligne.Avant);
    const std::string_view reponse = caractere(ligne.Pendant, 0);
    choix.Reponse = reponse.empty() ? 0 : std::max(0, positionDe(kLettresReponse, reponse.front()));
    const std::string_view inclure = caractere(ligne.Pendant, 1);
    choix.Inclure = inclure.empty() ? 0 : std::max(0, positionDe(kLettresInclure, inclure.front()));
    choix.Ami = ligne.Ami;
    return choix;
}

int ChercherDoublon(const ListeFiltres& liste, std::string_view motifSansMarque) {
    const auto& lignes = liste.Lignes;
    for (std::size_t i = 0; i < lignes.size(); ++i)
        if (SansMarque(lignes[i].Motif) == motifSansMarque) return static_cast<int>(i);
    return -1;
}

std::string MessageDoublon(std::string_view motifSansMarque) {
    return '"' + std::string(motifSansMarque) + "\" " + Chaine(3018);
}

int TrierParMotif(ListeFiltres& liste, int suivie) {
    auto& lignes = liste.Lignes;
    std::vector<std::size_t> ordre(lignes.size());
    std::iota(ordre.begin(), ordre.end(), std::size_t{0});
    std::stable_sort(ordre.begin(), ordre.end(), [&lignes](std::size_t a, std::size_t b) {
        return motifAvant(lignes[a].Motif, lignes[b].Motif);
    });
    std::vector<structFiltre> triees;
    triees.reserve(lignes.size());
    int place = -1;
    for (std::size_t i = 0; i < ordre.size(); ++i) {
        if (static_cast<int>(ordre[i]) == suivie) place = static_cast<int>(i);
        triees.push_back(std::move(lignes[ordre[i]]));
    }
    lignes = std::move(triees);
    return place;
}

std::string GenreFiltre(int onglet, int fromReturnPath) {
    switch (onglet) {
    case kOngletExpediteurs:
        return Chaine(3051) + Chaine(fromReturnPath == 1 ? 10012 : 10011);
    case kOngletSujets:
        return Chaine(3051) + "Sujet";
    default:
        return Chaine(3051) + "Destination";
    }
}

std::string MotifPropose(std::string_view texte, bool adresse) {
    const std::string minuscules = AnsiLowerCase(texte);
    return adresse ? ExtraireAdresse(minuscules) : minuscules;
}
