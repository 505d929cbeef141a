#include "Classer.h"
#include "moteur/entete/Adresses.h"

#include <algorithm>
#include <string_view>

namespace {

bool estSeparateur(char c) { return c == ' ' || c == ',' || c == ';'; }

// Domaine (avant la première virgule) et parties locales privilégiées (les éléments suivants).
void lireDefinition(const std::string& destUnique, std::string& domaine, std::vector<std::string>& parties) {
    const std::size_t virgule = destUnique.find(',');
    domaine = destUnique.substr(0, virgule);
    std::size_t debut = virgule;
    while (debut != std::string::npos) {
        const std::size_t fin = destUnique.find(',', debut + 1);
        parties.push_back(destUnique.substr(debut + 1, fin == std::string::npos ? std::string::npos : fin - debut - 1));
        debut = fin;
    }
}

// L'adresse autour du dernier "@" du texte. Seul le voisinage de ce "@" compte : la marche vers
// la gauche s'arrête au premier séparateur, on part donc du séparateur qui le précède.
std::string adresseAutourDuDernierArobase(std::string_view texte) {
    const std::size_t arobase = texte.rfind('@');
    const std::size_t separateur = texte.find_last_of(" ,;", arobase);
    const std::size_t debut = separateur == std::string_view::npos ? 0 : separateur;
    return ExtraireAdresse(texte.substr(debut));
}

std::vector<std::string> adressesRetenues(const std::string& champA, const std::string& champCc, int bits,
                                          const std::string& domaine) {
    std::string texte = champA + " " + champCc;
    while (!texte.empty() && estSeparateur(texte.back())) texte.pop_back();
    std::vector<std::string> retenues;
    while (texte.find('@') != std::string::npos) {
        const std::string adresse = adresseAutourDuDernierArobase(texte);
        const bool nouvelle = std::find(retenues.begin(), retenues.end(), adresse) == retenues.end();
        if (!adresse.empty() && nouvelle && adresse.find('"') == std::string::npos &&
            (DomaineAdresse(adresse) == domaine || (bits & 2)))
            retenues.push_back(adresse);
        const std::size_t coupure = texte.find_last_of(" ,;");
        texte.resize(coupure == std::string::npos ? 0 : coupure);
    }
    return retenues;
}

std::string joindre(const std::vector<std::string>& adresses) {
    std::string texte;
    for (const auto& a : adresses) texte += (texte.empty() ? "" : " ") + a;
    return texte;
}

} // namespace

bool VerifierDestExclusifs(const std::string& champA, const std::string& champCc, int bits,
                           const std::string& destUnique, int& resultat, const JournalClassement& journal) {
    std::string domaine;
    std::vector<std::string> parties;
    lireDefinition(destUnique, domaine, parties);
    const std::vector<std::string> adresses = adressesRetenues(champA, champCc, bits, domaine);
    journal(1361, "Destinataire(s) du Msg : " + joindre(adresses));
    bool privilegie = false;
    bool intrus = false;
    for (const std::string& adresse : adresses) {
        const bool memeDomaine = DomaineAdresse(adresse) == domaine;
        if (!memeDomaine && !(bits & 2)) continue;
        journal(1363, "Traitement du dest. \"" + adresse + "\"");
        const std::string locale = PartieLocale(adresse);
        bool trouve = false;
        for (const std::string& partie : parties) {
            journal(1365, "Comparaison avec \"" + partie + "\"");
            if (locale == partie && (memeDomaine || (bits & 8))) {
                journal(1367, "Correspondance avec \"" + partie + "\"");
                trouve = true;
                break;
            }
        }
        if (trouve) privilegie = true;
        else intrus = true;
    }
    if ((bits & 1) && intrus) {
        resultat = 1;
        journal(1370, "Rejet pour pr\xE9sence de destinataire intru");
        return false;
    }
    if (!(bits & 4) || privilegie) {
        resultat = 0;
        return true;
    }
    resultat = 2;
    journal(1372, "Rejet pour absence de destinataire privil\xE9gi\xE9");
    return false;
}
