#include "EnteteMessage.h"

#include "donnees/Casse1252.h"

#include <algorithm>
#include <array>
#include <optional>

namespace {

enum Champ { ChFrom, ChTo, ChSubject, ChDate, ChReturnPath, ChContentType, ChEncodage, NbChamps };

constexpr std::array<std::string_view, NbChamps> kNomsChamps = {
    "from", "to", "subject", "date", "return-path", "content-type", "content-transfer-encoding"};

using Valeurs = std::array<std::optional<std::string>, NbChamps>;

std::string_view rogner(std::string_view texte) {
    const std::size_t debut = texte.find_first_not_of(" \t");
    if (debut == std::string_view::npos) return {};
    return texte.substr(debut, texte.find_last_not_of(" \t") - debut + 1);
}

bool estBlanc(char c) { return c == ' ' || c == '\t'; }

// Le champ connu qui porte ce nom, ou NbChamps.
Champ champDe(std::string_view nom) {
    const std::string minuscule = AnsiLowerCase(rogner(nom));
    for (std::size_t i = 0; i < kNomsChamps.size(); ++i)
        if (minuscule == kNomsChamps[i]) return static_cast<Champ>(i);
    return NbChamps;
}

// Ligne suivante à partir de `debut` (avancé au-delà de sa fin de ligne), sans CR LF ni LF.
std::string_view ligneSuivante(std::string_view bloc, std::size_t& debut) {
    const std::size_t fin = bloc.find('\n', debut);
    std::string_view ligne = bloc.substr(debut, fin == std::string_view::npos ? std::string_view::npos : fin - debut);
    debut = fin == std::string_view::npos ? bloc.size() : fin + 1;
    if (!ligne.empty() && ligne.back() == '\r') ligne.remove_suffix(1);
    return ligne;
}

// Découpe les paramètres d'un Content-Type aux ";" qui ne sont pas entre guillemets.
std::vector<std::string_view> morceauxContentType(std::string_view valeur) {
    std::vector<std::string_view> morceaux;
    bool entreGuillemets = false;
    std::size_t debut = 0;
    for (std::size_t i = 0; i < valeur.size(); ++i) {
        if (entreGuillemets && valeur[i] == '\\') ++i;  // caractère échappé
        else if (valeur[i] == '"') entreGuillemets = !entreGuillemets;
        else if (valeur[i] == ';' && !entreGuillemets) {
            morceaux.push_back(valeur.substr(debut, i - debut));
            debut = i + 1;
        }
    }
    morceaux.push_back(valeur.substr(std::min(debut, valeur.size())));
    return morceaux;
}

std::string sansGuillemets(std::string_view valeur) {
    if (!valeur.empty() && valeur.front() == '"') {
        valeur.remove_prefix(1);
        if (!valeur.empty() && valeur.back() == '"') valeur.remove_suffix(1);
    }
    return std::string(valeur);
}

void lireContentType(std::string_view valeur, EnteteMessage& entete) {
    const std::vector<std::string_view> morceaux = morceauxContentType(valeur);
    entete.TypeMedia = std::string(rogner(morceaux.front()));
    for (std::size_t i = 1; i < morceaux.size(); ++i) {
        const std::size_t egal = morceaux[i].find('=');
        if (egal == std::string_view::npos || AnsiLowerCase(rogner(morceaux[i].substr(0, egal))) != "charset")
            continue;
        entete.Charset = sansGuillemets(rogner(morceaux[i].substr(egal + 1)));
        return;
    }
}

std::string sansChevrons(std::string_view valeur) {
    if (valeur.size() >= 2 && valeur.front() == '<' && valeur.back() == '>') valeur = valeur.substr(1, valeur.size() - 2);
    return std::string(valeur);
}

// Parcourt les lignes du bloc : les garde brutes et rassemble la première occurrence de chaque
// champ connu avec ses lignes de suite.
Valeurs lireLignes(std::string_view bloc, std::vector<std::string>& lignes) {
    Valeurs valeurs;
    std::string* enCours = nullptr;  // valeur qui reçoit les lignes de suite
    std::size_t debut = 0;
    while (debut < bloc.size()) {
        const std::string_view ligne = ligneSuivante(bloc, debut);
        if (ligne.empty()) break;
        lignes.emplace_back(ligne);
        if (estBlanc(ligne.front())) {
            if (enCours != nullptr) enCours->append(ligne);
            continue;
        }
        enCours = nullptr;
        const std::size_t deuxPoints = ligne.find(':');
        if (deuxPoints == std::string_view::npos) continue;
        const Champ champ = champDe(ligne.substr(0, deuxPoints));
        if (champ == NbChamps || valeurs[champ]) continue;
        enCours = &valeurs[champ].emplace(ligne.substr(deuxPoints + 1));
    }
    return valeurs;
}

std::string_view valeurDe(const Valeurs& valeurs, Champ champ) {
    return valeurs[champ] ? rogner(*valeurs[champ]) : std::string_view();
}

} // namespace

EnteteMessage AnalyserEntete(std::string_view bloc) {
    EnteteMessage entete;
    const Valeurs valeurs = lireLignes(bloc, entete.Lignes);
    entete.From = valeurDe(valeurs, ChFrom);
    entete.To = valeurDe(valeurs, ChTo);
    entete.Subject = valeurDe(valeurs, ChSubject);
    entete.Date = valeurDe(valeurs, ChDate);
    entete.ReturnPath = sansChevrons(valeurDe(valeurs, ChReturnPath));
    entete.EncodageTransfert = valeurDe(valeurs, ChEncodage);
    lireContentType(valeurDe(valeurs, ChContentType), entete);
    return entete;
}

std::string LireChampCc(const std::vector<std::string>& lignes) {
    for (const std::string& ligne : lignes)
        if (ligne.size() >= 4 && AnsiLowerCase(std::string_view(ligne).substr(0, 4)) == "cc: ") return ligne.substr(4, 255);
    return {};
}
