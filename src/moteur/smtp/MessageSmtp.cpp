#include "MessageSmtp.h"

#include <QRandomGenerator>
#include <QTimeZone>
#include <algorithm>
#include <array>
#include <cstdio>
#include <optional>
#include <string_view>

namespace {

constexpr std::size_t kColonnesConseillees = 78; // longueur de ligne d'en-tête visée
constexpr std::size_t kColonnesMax = 998;        // longueur de ligne permise
constexpr std::size_t kLongueurMotCode = 75;     // un mot codé, délimiteurs compris
constexpr std::size_t kLigneMotsCodes = 76;      // une ligne d'en-tête qui porte des mots codés
constexpr std::size_t kLigneQp = 76;             // une ligne de corps quoted-printable
constexpr std::string_view kDebutMotCode = "=?windows-1252?Q?";
constexpr std::string_view kFinMotCode = "?=";
constexpr std::string_view kChampSujet = "Subject: ";
constexpr std::string_view kDomaineParDefaut = "tessaron.invalid";

bool estBlanc(char c) {
    return c == ' ' || c == '\t';
}

bool estAlphanumerique(unsigned char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

std::string hexa(unsigned char c) {
    static constexpr char chiffres[] = "0123456789ABCDEF";
    return {'=', chiffres[c >> 4], chiffres[c & 0x0F]};
}

// Valeur d'en-tête sans CR, LF ni NUL : elle ne peut ni couper la ligne ni en ajouter une.
std::string sansControles(const std::string& valeur) {
    std::string resultat;
    resultat.reserve(valeur.size());
    for (const char c : valeur)
        if (c != '\r' && c != '\n' && c != '\0') resultat += c;
    return resultat;
}

bool estAscii(std::string_view texte) {
    return std::all_of(texte.begin(), texte.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// Replie une ligne d'en-tête en insérant CR LF devant des blancs de la valeur (jamais juste
// après le nom du champ), pour des lignes de kColonnesConseillees au plus quand c'est possible.
// Aucune ligne n'est faite que de blancs. Rien quand une ligne dépasse malgré tout kColonnesMax
// (mot trop long).
std::optional<std::string> plier(std::string_view champ, const std::string& valeur) {
    const std::string ligne = std::string(champ) + valeur;
    const std::size_t dernierNonBlanc = ligne.find_last_not_of(" \t");
    std::string resultat;
    std::size_t debut = 0;
    while (ligne.size() - debut > kColonnesConseillees) {
        // Un pli en p garde du texte avant lui sur la ligne et après lui dans l'en-tête.
        const std::size_t nonBlanc = ligne.find_first_not_of(" \t", debut);
        if (nonBlanc == std::string::npos) break;
        const std::size_t premierPli = std::max(nonBlanc, debut == 0 ? champ.size() : debut) + 1;
        const auto pliPossible = [&](std::size_t p) {
            return p >= premierPli && p < dernierNonBlanc && estBlanc(ligne[p]);
        };
        std::size_t pli = std::string::npos;
        for (std::size_t p = debut + kColonnesConseillees; p >= premierPli && pli == std::string::npos; --p)
            if (pliPossible(p)) pli = p;
        if (pli == std::string::npos) {
            pli = ligne.find_first_of(" \t", std::max(debut + kColonnesConseillees, premierPli));
            if (pli == std::string::npos || !pliPossible(pli)) break;
        }
        if (pli - debut > kColonnesMax) return std::nullopt;
        resultat.append(ligne, debut, pli - debut).append("\r\n");
        debut = pli;
    }
    if (ligne.size() - debut > kColonnesMax) return std::nullopt;
    return resultat.append(ligne, debut);
}

// Un octet dans un mot codé Q : les caractères sûrs en toute position d'en-tête tels quels,
// l'espace en « _ », le reste en =XX.
std::string jetonQ(unsigned char c) {
    if (estAlphanumerique(c) ||
        std::string_view("!*+-/").find(static_cast<char>(c)) != std::string_view::npos)
        return std::string(1, static_cast<char>(c));
    if (c == ' ') return "_";
    return hexa(c);
}

// Le texte entier en mots codés, un par ligne repliée ; `colonne` : place déjà prise sur la
// première ligne par le nom du champ.
std::string motsCodes(std::string_view texte, std::size_t colonne) {
    const std::size_t cadre = kDebutMotCode.size() + kFinMotCode.size();
    std::size_t place = std::min(kLongueurMotCode, kLigneMotsCodes - colonne) - cadre;
    std::string resultat;
    std::string mot;
    const auto fermerMot = [&] { resultat.append(kDebutMotCode).append(mot).append(kFinMotCode); };
    for (const char c : texte) {
        const std::string jeton = jetonQ(static_cast<unsigned char>(c));
        if (!mot.empty() && mot.size() + jeton.size() > place) {
            fermerMot();
            resultat += "\r\n ";
            mot.clear();
            place = std::min(kLongueurMotCode, kLigneMotsCodes - 1) - cadre;
        }
        mot += jeton;
    }
    fermerMot();
    return resultat;
}

std::string enteteSujet(const std::string& sujet) {
    if (estAscii(sujet)) {
        if (std::optional<std::string> plie = plier(kChampSujet, sujet)) return *plie;
    }
    return std::string(kChampSujet) + motsCodes(sujet, kChampSujet.size());
}

// Une ligne de corps en quoted-printable, coupée par des sauts doux « = » à kLigneQp colonnes.
// Un blanc en fin de ligne est codé : il serait perdu en route.
void ajouterLigneQp(std::string_view ligne, std::string& sortie) {
    std::size_t colonne = 0;
    for (std::size_t i = 0; i < ligne.size(); ++i) {
        const auto c = static_cast<unsigned char>(ligne[i]);
        const bool derniere = i + 1 == ligne.size();
        const bool litteral = estBlanc(static_cast<char>(c)) ? !derniere : c >= 33 && c <= 126 && c != '=';
        const std::string jeton = litteral ? std::string(1, static_cast<char>(c)) : hexa(c);
        // Hors fin de ligne, une colonne reste pour le « = » d'un saut doux.
        if (colonne + jeton.size() > (derniere ? kLigneQp : kLigneQp - 1)) {
            sortie += "=\r\n";
            colonne = 0;
        }
        sortie += jeton;
        colonne += jeton.size();
    }
    sortie += "\r\n";
}

// Le corps ligne à ligne (CR LF, CR ou LF) ; une fin de ligne finale n'ajoute pas de ligne vide.
std::string corpsQuotedPrintable(std::string_view corps) {
    std::string sortie;
    std::size_t debut = 0;
    while (debut < corps.size()) {
        const std::size_t fin = std::min(corps.find_first_of("\r\n", debut), corps.size());
        ajouterLigneQp(corps.substr(debut, fin - debut), sortie);
        debut = fin;
        if (debut < corps.size() && corps[debut] == '\r') ++debut;
        if (debut < corps.size() && corps[debut] == '\n') ++debut;
    }
    return sortie;
}

// « Fri, 11 Dec 2026 10:00:00 +0100 », noms anglais quelle que soit la langue du système.
std::string dateSmtp(const QDateTime& date) {
    static constexpr std::array<const char*, 7> jours{"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
    static constexpr std::array<const char*, 12> mois{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                      "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const QDate jour = date.date();
    const QTime heure = date.time();
    const int decalage = date.offsetFromUtc() / 60;
    const int minutes = decalage < 0 ? -decalage : decalage;
    char texte[64];
    std::snprintf(texte, sizeof texte, "%s, %d %s %04d %02d:%02d:%02d %c%02d%02d",
                  jours[static_cast<std::size_t>(jour.dayOfWeek() - 1)], jour.day(),
                  mois[static_cast<std::size_t>(jour.month() - 1)], jour.year(), heure.hour(), heure.minute(),
                  heure.second(), decalage < 0 ? '-' : '+', minutes / 60, minutes % 60);
    return texte;
}

// Domaine de l'adresse (après son dernier « @ »), réduit aux caractères d'un nom d'hôte.
std::string domaineMessageId(const std::string& de) {
    const std::size_t arobase = de.rfind('@');
    std::string domaine;
    if (arobase != std::string::npos) {
        for (const char c : std::string_view(de).substr(arobase + 1))
            if (estAlphanumerique(static_cast<unsigned char>(c)) || c == '.' || c == '-') domaine += c;
    }
    return domaine.empty() ? std::string(kDomaineParDefaut) : domaine;
}

std::string identifiantPropre(const std::string& identifiant) {
    std::string resultat;
    for (const char c : identifiant)
        if (estAlphanumerique(static_cast<unsigned char>(c)) ||
            std::string_view(".-_$+=").find(c) != std::string_view::npos)
            resultat += c;
    return resultat;
}

// Horodatage à la milliseconde suivi de 64 bits tirés au hasard.
std::string identifiantUnique() {
    char hasard[17];
    std::snprintf(hasard, sizeof hasard, "%016llx",
                  static_cast<unsigned long long>(QRandomGenerator::global()->generate64()));
    return QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMddhhmmsszzz")).toStdString() + '.' +
           hasard;
}

} // namespace

std::string ConstruireMessageSmtp(const std::string& de, const std::string& sujet, const std::string& corps) {
    return ConstruireMessageSmtp(de, sujet, corps, QDateTime::currentDateTime(), identifiantUnique());
}

std::string ConstruireMessageSmtp(const std::string& de, const std::string& sujet, const std::string& corps,
                                  const QDateTime& date, const std::string& identifiant) {
    const std::string expediteur = sansControles(de);
    std::string identite = identifiantPropre(identifiant);
    if (identite.empty()) identite = identifiantUnique();
    std::string message;
    message += "From: " + expediteur + "\r\n";
    message += enteteSujet(sansControles(sujet)) + "\r\n";
    message += "Date: " + dateSmtp(date.isValid() ? date : QDateTime::currentDateTime()) + "\r\n";
    message += "Message-ID: <" + identite + '@' + domaineMessageId(expediteur) + ">\r\n";
    message += "MIME-Version: 1.0\r\n";
    message += "Content-Type: text/plain; charset=windows-1252\r\n";
    message += "Content-Transfer-Encoding: quoted-printable\r\n";
    message += "\r\n";
    message += corpsQuotedPrintable(corps);
    return message;
}
