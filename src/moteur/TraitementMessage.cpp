#include "TraitementMessage.h"

#include "FormaterEntier.h"
#include "entete/DecoderTexteEntete.h"
#include "TraitementRejet.h"
#include "pop3/ClientPop3.h"
#include "verification/VerificateurExpediteur.h"

#include <climits>
#include <cstdlib>

namespace {

BoiteAClasser boiteAClasser(const ContexteMoteur& contexte, int ligneBoite) {
    BoiteAClasser boite;
    if (ligneBoite < 0 || ligneBoite >= contexte.boites.Nombre()) return boite;
    const LigneBoite& ligne = contexte.boites.Ligne(ligneBoite);
    boite.DestUnique = ligne.Colonnes[ColFiltreDestinataire];
    boite.TypeRejet = ligne.Colonnes[ColTypeRejet];
    char* fin = nullptr;
    const long bits = std::strtol(ligne.Colonnes[ColNatureRejet].c_str(), &fin, 10);
    boite.NatureRejet = (fin && *fin == '\0' && bits >= 0 && bits <= INT_MAX) ? static_cast<int>(bits) : 0;
    boite.AppliqueRejets = ligne.Donnees ? ligne.Donnees->AppliqueRejets : true;
    return boite;
}

ReglesClassement regles(const ParametresGlobaux& p) {
    ReglesClassement r;
    r.SujetVide = p.SujetVide;
    r.DestAVide = p.DestAVide;
    r.DestPasArobase = p.DestPasArobase;
    r.ExpEtSujetDetruire = p.ExpEtSujetDetruire;
    r.RejetInex = p.RejetInex;
    r.AvantRejetInex = p.AvantRejetInex;
    r.FiltresActifs = p.FiltresActifs;
    return r;
}

int iconeDuMessage(const ContexteMoteur& contexte, const structMessage& message, const ResultatClassement& c) {
    int icone = message.Multipart ? 6 : 0;
    if (c.Ami) {
        if (contexte.etat.Parametres.IconeListeBlanche) icone = 4;
    } else if (c.FiltreExpediteur.Present() || c.FiltreSujet.Present() || c.FiltreDestinataire.Present()) {
        icone = 2;
    }
    return icone;
}

} // namespace

void TraiterNouveauMessage(ContexteMoteur& contexte, ClientPop3& client, int ligneBoite, structMessage& message,
                           int& supprimes) {
    const ReglesClassement r = regles(contexte.etat.Parametres);
    VerificateurExpediteur verification(contexte);
    ContexteClassement classement{contexte.etat.Listes, r, contexte.etat.Correspondance, &verification, {}};
    classement.journal.actif = contexte.etat.Parametres.ModeDebug;
    classement.journal.ecrire = [&contexte](int numero, const std::string& texte) { contexte.ui.EcrireDebug(numero, texte); };
    const int numeroServeur = message.NumeroMsg + supprimes;
    const ResultatClassement resultat = Classer(message, boiteAClasser(contexte, ligneBoite), classement);
    if (resultat.Decision == 'r' || resultat.Decision == 'd' || resultat.Decision == 'g') {
        TraiterRejet(contexte, client, ligneBoite, message, resultat, numeroServeur, supprimes);
        return;
    }
    if (resultat.Decision == 'c') {
        CompterFiltres(contexte.etat.Listes, resultat);
        contexte.ui.CompteursFiltresChanges();
    }
    const std::string label = ligneBoite >= 0 ? contexte.boites.Ligne(ligneBoite).Caption() : std::string();
    ListerMessage(contexte, client, label, message, resultat);
}

void ListerMessage(ContexteMoteur& contexte, ClientPop3& client, const std::string& label,
                   const structMessage& message, const ResultatClassement& c) {
    const ParametresGlobaux& p = contexte.etat.Parametres;
    if (c.Ami && p.AfficheAmis) return;
    LigneMessage ligne;
    ligne.Client = &client;
    ligne.Colonnes[0] = std::to_string(message.NumeroMsg);
    ligne.Colonnes[ColExpediteur] = message.ExpediteurTeste + c.MarquesFiltres[MarqueExpediteur];
    ligne.Colonnes[ColSujet] = message.SujetDecode + c.MarquesFiltres[MarqueSujet];
    ligne.Colonnes[ColDate] = message.DateAffichee;
    ligne.Colonnes[ColTaille] = FormaterEntier(message.Taille, ".");
    ligne.Colonnes[ColBoiteOrigine] = label;
    ligne.Colonnes[ColTypeContenu] = message.TypeContenu;
    ligne.Colonnes[ColUidl] = message.Uidl;
    ligne.Colonnes[ColDestinataireA] = DecoderTexteEntete(message.ChampA) + c.MarquesFiltres[MarqueA];
    ligne.Colonnes[ColDestinataireCc] = message.ChampCc + c.MarquesFiltres[MarqueCc];
    ligne.Icone = iconeDuMessage(contexte, message, c);
    if (c.Ami && !p.SonAmi.empty() && p.Son) contexte.ui.JouerSon(p.SonAmi, SonSysteme::NouveauMessage);
    const int index = contexte.messages.Ajouter(std::move(ligne));
    contexte.ui.MontrerMessage(index);
}
