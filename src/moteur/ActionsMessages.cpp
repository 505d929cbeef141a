#include "ActionsMessages.h"

#include "donnees/Cp1252.h"
#include "donnees/Historique.h"

#include <algorithm>
#include <string_view>

namespace {

// Début d'une marque de filtre : espace insécable puis "(".
constexpr std::string_view kDebutMarque = "\xA0(";

// Caractères qu'un lien mailto garde tels quels, en plus des lettres, chiffres et "-._~".
// L'adresse garde "+" (adresse à étiquette) mais pas "," (qui séparerait deux destinataires) ;
// le sujet garde "," mais pas "+" (que certains logiciels lisent comme une espace).
constexpr std::string_view kGardesAdresse = "!$'()*+;:@";
constexpr std::string_view kGardesSujet = "!$'()*,;:@";

bool gardeTelQuel(unsigned char c, std::string_view gardes) {
    const bool lettreOuChiffre = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    return lettreOuChiffre || c == '-' || c == '.' || c == '_' || c == '~' ||
           (c < 0x80 && gardes.find(static_cast<char>(c)) != std::string_view::npos);
}

// Le texte Windows-1252 passé en UTF-8, chaque octet hors des caractères gardés en %XX.
std::string encoderPourLien(const std::string& texte, std::string_view gardes) {
    static constexpr char kHexa[] = "0123456789ABCDEF";
    std::string encode;
    for (const unsigned char c : cp1252VersUtf8(texte)) {
        if (gardeTelQuel(c, gardes)) {
            encode += static_cast<char>(c);
        } else {
            encode += '%';
            encode += kHexa[c >> 4];
            encode += kHexa[c & 0x0F];
        }
    }
    return encode;
}

bool indexValide(const StockMessages& messages, int index) { return index >= 0 && index < messages.Nombre(); }

// Les lignes choisies, chacune une fois, hors des index qui ne désignent aucune ligne.
std::vector<int> lignesChoisies(const StockMessages& messages, std::vector<int> selection) {
    std::erase_if(selection, [&messages](int index) { return !indexValide(messages, index); });
    std::sort(selection.begin(), selection.end());
    selection.erase(std::unique(selection.begin(), selection.end()), selection.end());
    return selection;
}

} // namespace

std::string SansMarqueFiltre(const std::string& texte) {
    return texte.substr(0, texte.find(kDebutMarque));
}

int ColonneCopie(EntreeCopie entree) {
    switch (entree) {
    case EntreeCopie::Expediteur: return ColExpediteur;
    case EntreeCopie::Sujet: return ColSujet;
    case EntreeCopie::DestinatairePrincipal: return ColDestinataireA;
    case EntreeCopie::DestinataireCopie: return ColDestinataireCc;
    }
    return ColExpediteur;
}

std::string TexteCopie(const LigneMessage& ligne, EntreeCopie entree) {
    return SansMarqueFiltre(ligne.Colonnes[static_cast<std::size_t>(ColonneCopie(entree))]);
}

std::string LienReponse(const LigneMessage& ligne) {
    return "mailto:" + encoderPourLien(SansMarqueFiltre(ligne.Colonnes[ColExpediteur]), kGardesAdresse) +
           "?subject=" + encoderPourLien("Re: " + SansMarqueFiltre(ligne.Colonnes[ColSujet]), kGardesSujet);
}

std::optional<MotifCellule> MotifDeCellule(const std::string& cellule, int colonne) {
    MotifCellule trouve;
    switch (colonne) {
    case ColExpediteur: trouve.Liste = ListeIndexExpediteurs; break;
    case ColSujet: trouve.Liste = ListeIndexSujets; break;
    case ColDestinataireA:
    case ColDestinataireCc: trouve.Liste = ListeIndexDestinataires; break;
    default: return std::nullopt;
    }
    // La marque finit par ")" et au moins une espace insécable.
    std::size_t fin = cellule.size();
    while (fin > 0 && cellule[fin - 1] == kEspaceInsecable) --fin;
    if (fin == cellule.size() || fin < kDebutMarque.size() + 1 || cellule[fin - 1] != ')') return std::nullopt;
    // Le début de la marque est cherché à reculons : le texte du message devant elle peut
    // lui-même contenir une espace insécable suivie de "(", et le motif des parenthèses.
    const std::size_t parenthese = fin - 1;
    const std::size_t debut = cellule.rfind(kDebutMarque, parenthese - kDebutMarque.size());
    if (debut == std::string::npos) return std::nullopt;
    const std::size_t debutMotif = debut + kDebutMarque.size();
    trouve.Motif = cellule.substr(debutMotif, parenthese - debutMotif);
    if (trouve.Motif.empty()) return std::nullopt;
    return trouve;
}

EtatMenuMessages EtatMenu(const StockMessages& messages, const std::vector<int>& selection, bool toutSelectionner) {
    const std::vector<int> choisies = lignesChoisies(messages, selection);
    const bool une = choisies.size() == 1;
    EtatMenuMessages e;
    e.VoirTexte = e.VoirEntete = e.Analyser = une;
    e.Supprimer = !choisies.empty();
    e.LegendeSupprimer = choisies.size() > 1 ? 1546 : 1545;
    e.Copie = e.Repondre = e.AjouterExpediteur = e.FaireAmi = une;
    if (une) {
        const LigneMessage& ligne = messages.Ligne(choisies.front());
        e.CopieSujet = e.AjouterSujet = !ligne.Colonnes[ColSujet].empty();
        e.CopieDestinataire = !ligne.Colonnes[ColDestinataireA].empty();
        e.CopieCopie = !ligne.Colonnes[ColDestinataireCc].empty();
    }
    e.Vider = e.ToutSelectionner = messages.Nombre() > 0;
    e.ToutSelectionnerVisible = toutSelectionner;
    return e;
}
