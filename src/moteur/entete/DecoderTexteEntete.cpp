#include "DecoderTexteEntete.h"

#include "donnees/Conversion1252.h"

#include <algorithm>
#include <optional>
#include <utility>

namespace {

bool commencePar(std::string_view texte, std::size_t position, char premier, char second) {
    return position + 1 < texte.size() && texte[position] == premier && texte[position + 1] == second;
}

char majusculeAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// Caractères qui peuvent séparer deux mots codés sans rien dire.
bool separeLesMots(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '=' || c == '?'; }

// Normalisation, de gauche à droite :
// - après "=?", les minuscules ASCII passent en capitales jusqu'au deuxième "?" (jeu de
//   caractères et lettre de codage) ;
// - après "?=", une suite faite seulement d'espaces, tabulations, CR, LF, "=" ou "?" jusqu'au
//   "=?" suivant est supprimée, pour que les mots codés voisins se joignent ;
// - ailleurs, deux espaces consécutives n'en font plus qu'une (par paires : trois en laissent deux).
class Normalisation {
public:
    explicit Normalisation(std::string_view texte) : texte_(texte) { resultat_.reserve(texte.size()); }

    std::string Executer() {
        while (i_ < texte_.size()) {
            if (commencePar(texte_, i_, '=', '?')) majusculesDuMot();
            else if (commencePar(texte_, i_, '?', '=')) finDuMot();
            else if (commencePar(texte_, i_, ' ', ' ')) {
                resultat_.push_back(' ');
                i_ += 2;
            } else resultat_.push_back(texte_[i_++]);
        }
        return std::move(resultat_);
    }

private:
    void majusculesDuMot() {
        resultat_.append("=?");
        i_ += 2;
        int points = 0;
        for (; i_ < texte_.size() && points < 2; ++i_) {
            if (texte_[i_] == '?') ++points;
            resultat_.push_back(majusculeAscii(texte_[i_]));
        }
        if (points < 2) return;
        // Le texte codé est recopié tel quel jusqu'à son "?=" : le "=" de remplissage d'un mot
        // en Base64 ("...w6k=?=") n'y ouvre pas un nouveau mot, et la jonction avec le mot codé
        // suivant se fait normalement.
        while (i_ < texte_.size() && !commencePar(texte_, i_, '?', '=')) resultat_.push_back(texte_[i_++]);
    }

    void finDuMot() {
        resultat_.append("?=");
        i_ += 2;
        // Une recherche déjà faite a montré que la suite commencée avant `sansJonction_` ne mène
        // à aucun "=?" : inutile de la refaire (la normalisation reste linéaire).
        if (i_ < sansJonction_) return;
        std::size_t k = i_;
        while (k < texte_.size() && !commencePar(texte_, k, '=', '?') && separeLesMots(texte_[k])) ++k;
        if (commencePar(texte_, k, '=', '?')) i_ = k;  // la suite est supprimée
        else sansJonction_ = k;
    }

    std::string_view texte_;
    std::string resultat_;
    std::size_t i_ = 0;
    std::size_t sansJonction_ = 0;
};

std::optional<int> valeurHexa(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return std::nullopt;
}

// Q : chaque "=" suivi d'au moins deux caractères devient l'octet qu'ils donnent en
// hexadécimal ("#" s'ils n'en sont pas), puis chaque "_" devient une espace — y compris un
// "_" venu d'un "=5F", les deux remplacements se faisant l'un après l'autre.
std::string decoderQ(std::string_view code) {
    std::string octets;
    octets.reserve(code.size());
    for (std::size_t i = 0; i < code.size();) {
        if (code[i] == '=' && i + 2 < code.size()) {
            const auto fort = valeurHexa(code[i + 1]);
            const auto faible = valeurHexa(code[i + 2]);
            octets.push_back(fort && faible ? static_cast<char>(*fort * 16 + *faible) : '#');
            i += 3;
        } else octets.push_back(code[i++]);
    }
    for (char& c : octets)
        if (c == '_') c = ' ';
    return octets;
}

std::optional<unsigned> valeurBase64(char c) {
    if (c >= 'A' && c <= 'Z') return static_cast<unsigned>(c - 'A');
    if (c >= 'a' && c <= 'z') return static_cast<unsigned>(c - 'a' + 26);
    if (c >= '0' && c <= '9') return static_cast<unsigned>(c - '0' + 52);
    if (c == '+') return 62u;
    if (c == '/') return 63u;
    return std::nullopt;
}

std::string decoderB(std::string_view code) {
    std::string octets;
    octets.reserve(code.size() / 4 * 3 + 3);
    unsigned accumulateur = 0;
    int bits = 0;
    for (char c : code) {
        if (c == '=') {  // fin du groupe : les bits qui ne font pas un octet sont perdus
            accumulateur = 0;
            bits = 0;
            continue;
        }
        const auto valeur = valeurBase64(c);
        if (!valeur) continue;
        accumulateur = ((accumulateur << 6) | *valeur) & 0xFFFFu;
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            octets.push_back(static_cast<char>((accumulateur >> bits) & 0xFFu));
        }
    }
    return octets;
}

std::string decoderMot(char lettre, std::string_view code) {
    if (lettre == 'B') return decoderB(code);
    if (lettre == 'Q') return decoderQ(code);
    return std::string(code);
}

// Boucle de décodage sur le texte normalisé. Rend faux, avec dans `resultat` le texte qui
// restait à lire, quand un mot codé est coupé court.
bool decoderMots(std::string_view texte, std::string& resultat) {
    std::size_t position = 0;
    bool plusDeFin = false;  // aucun "?=" au-delà de la position courante
    while (position < texte.size()) {
        const std::size_t ouverture = texte.find("=?", position);
        if (ouverture == std::string_view::npos) {
            resultat.append(texte.substr(position));
            break;
        }
        resultat.append(texte.substr(position, ouverture - position));
        position = ouverture + 2;
        const std::size_t avantLettre = texte.find('?', position);
        const std::size_t apresLettre =
            avantLettre == std::string_view::npos ? avantLettre : texte.find('?', avantLettre + 2);
        if (avantLettre == std::string_view::npos || apresLettre == std::string_view::npos) {
            resultat = std::string(texte.substr(position));
            return false;
        }
        const char lettre = texte[avantLettre + 1];
        position = apresLettre + 1;
        const std::size_t fin = plusDeFin ? std::string_view::npos : texte.find("?=", position);
        if (fin == std::string_view::npos) {  // pas de fin : le reste passera tel quel
            plusDeFin = true;
            continue;
        }
        resultat.append(decoderMot(lettre, texte.substr(position, fin - position)));
        position = fin + 2;
    }
    return true;
}

} // namespace

std::string DecoderTexteEntete(std::string_view texte) {
    if (texte.empty()) return {};
    const bool utf8 = texte.find("UTF-8") != std::string_view::npos;
    const std::size_t debut = texte.find_first_not_of(' ');
    const std::string normalise = Normalisation(texte.substr(std::min(debut, texte.size()))).Executer();
    std::string resultat;
    if (!decoderMots(normalise, resultat)) return resultat;
    return utf8 ? Utf8VersAnsi(resultat) : resultat;
}
