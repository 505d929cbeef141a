#include "TraitementRejet.h"

#include "FormaterEntier.h"
#include "TraitementMessage.h"
#include "donnees/Casse1252.h"
#include "donnees/Chaines.h"
#include "donnees/FichiersListes.h"
#include "donnees/Historique.h"
#include "pop3/ClientPop3.h"
#include "reponse/EnvoyerReponse.h"

#include <ctime>

namespace {

// La ligne retenue dans sa liste : à sa place si elle y est encore, sinon la première ligne
// de rejet de même motif (la liste a pu être triée ou changée pendant l'interception).
structFiltre* ligneRetenue(ListeFiltres& liste, const FiltreRetenu& retenu) {
    if (!retenu.Present() || retenu.Filtre.Ami) return nullptr;
    const auto index = static_cast<std::size_t>(retenu.Index);
    if (index < liste.Lignes.size() && liste.Lignes[index].Motif == retenu.Filtre.Motif && !liste.Lignes[index].Ami)
        return &liste.Lignes[index];
    for (structFiltre& f : liste.Lignes)
        if (f.Motif == retenu.Filtre.Motif && !f.Ami) return &f;
    return nullptr;
}

std::string libelleFiltre(const ResultatClassement& c) {
    if (c.FiltreDestinataire.Present() && c.ActionExclusif != ' ') return c.FiltreDestinataire.Filtre.Motif;
    if (c.FiltreSujet.Present()) return c.FiltreSujet.Filtre.Motif;
    if (c.FiltreExpediteur.Present()) return c.FiltreExpediteur.Filtre.Motif;
    return {};
}

std::string champOuVide(const std::string& champ, const std::string& marque, bool vide) {
    return vide ? Chaine(1097) : champ + marque;
}

ResultatInterception intercepter(ContexteMoteur& contexte, const std::string& label, const structMessage& m,
                                 const ResultatClassement& c) {
    const ParametresGlobaux& p = contexte.etat.Parametres;
    DonneesInterception d;
    d.Titre = Chaine(7001) + label;
    d.Raison = c.RaisonInterception ? Chaine(c.RaisonInterception) : c.ExpediteurInexistant ? Chaine(1088) : std::string();
    d.Filtre = libelleFiltre(c);
    d.Expediteur = AnsiLowerCase(m.ExpediteurTeste) + c.MarquesFiltres[MarqueExpediteur];
    d.Sujet = m.SujetTeste + c.MarquesFiltres[MarqueSujet];
    d.Destinataires = champOuVide(m.ChampA, c.MarquesFiltres[MarqueA], c.DestinataireVide);
    d.Copie = champOuVide(m.ChampCc, c.MarquesFiltres[MarqueCc], c.DestinataireVide);
    d.Taille = FormaterEntier(m.Taille, ".") + Chaine(1019);
    d.Date = Chaine(1020) + m.DateAffichee;
    d.RougeExpediteur = c.Causes[MarqueExpediteur];
    d.RougeSujet = c.Causes[MarqueSujet];
    d.RougeDestinataires = c.Causes[MarqueA];
    d.RougeCopie = c.Causes[MarqueCc];
    d.Action = c.Decision;
    d.Delai = p.DelaiRejeterGarder;
    d.DelaiAvantRejeterActif = p.DelaiAvantRejeterActif;
    contexte.etat.MoteurOccupe = true;
    const ResultatInterception resultat = contexte.ui.Intercepter(d);
    contexte.etat.MoteurOccupe = false;
    return resultat;
}

RejetAHistoriser rejetAHistoriser(const std::string& label, const structMessage& m, const ResultatClassement& c) {
    RejetAHistoriser r;
    r.ExpediteurTeste = m.ExpediteurTeste;
    r.SujetTeste = m.SujetTeste;
    r.SujetVideAvecAction = m.SujetTeste == Chaine(1093) + kEspaceInsecable;
    r.ChampA = m.ChampA;
    r.ChampCc = m.ChampCc;
    r.Boite = label;
    r.MarqueExpediteur = c.MarquesFiltres[MarqueExpediteur];
    r.MarqueSujet = c.MarquesFiltres[MarqueSujet];
    r.MarqueA = c.MarquesFiltres[MarqueA];
    r.MarqueCc = c.MarquesFiltres[MarqueCc];
    r.ExpediteurInexistant = c.ExpediteurInexistant;
    r.FiltreExpediteur = c.FiltreExpediteur.Present() && !c.FiltreExpediteur.Filtre.Ami;
    r.FiltreSujet = c.FiltreSujet.Present() && !c.FiltreSujet.Filtre.Ami;
    r.ResultatExclusif = c.ResultatExclusif;
    r.ChampsRejetes = c.ChampsRejetes;
    return r;
}

void historiser(ContexteMoteur& contexte, const std::string& label, const structMessage& m, const ResultatClassement& c) {
    ListeHisto& historique = contexte.etat.Listes.Historique;
    const std::time_t maintenant = std::time(nullptr);
    historique.Lignes.insert(historique.Lignes.begin(), LigneRejet(rejetAHistoriser(label, m, c), maintenant));
    historique.Modifiee = true;
    contexte.ui.HistoriqueChange();
}

void decompterBoite(ContexteMoteur& contexte, int ligneBoite) {
    if (ligneBoite < 0 || ligneBoite >= contexte.boites.Nombre()) return;
    const int restants = std::max(0, std::atoi(contexte.boites.Ligne(ligneBoite).Colonnes[ColNbMsg].c_str()) - 1);
    contexte.boites.ChangerColonne(ligneBoite, ColNbMsg, restants > 0 ? std::to_string(restants) : "");
}

void elaguer(ContexteMoteur& contexte) {
    const ParametresGlobaux& p = contexte.etat.Parametres;
    ReglagesHistorique reglages;
    reglages.HistoNbLigSav = p.HistoNbLigSav;
    reglages.NbHisto = p.NbHisto;
    reglages.HistoDateSav = p.HistoDateSav;
    reglages.NbHistoDate = p.NbHistoDate;
    ElaguerHistorique(contexte.etat.Listes.Historique, reglages, std::time(nullptr));
    contexte.etat.Listes.Historique.Modifiee = true;
    contexte.ui.HistoriqueChange();
}

void supprimer(ContexteMoteur& contexte, ClientPop3& client, int ligneBoite, const structMessage& m,
               const ResultatClassement& c, int numeroServeur) {
    const std::string label = ligneBoite >= 0 ? contexte.boites.Ligne(ligneBoite).Caption() : std::string();
    contexte.ui.EcrireDebug(2611, "Message de " + m.AdresseExpediteur + " d'UIDL : " + m.Uidl + " inscrit dans l'historique");
    historiser(contexte, label, m, c);
    client.MsgNum = numeroServeur;
    client.DeleSync();
    contexte.ui.EcrireDebug(2612, "Message de \"" + m.AdresseExpediteur + "\" pour A: \"" + m.ChampA + "\" pour Cc: \"" +
                                      m.ChampCc + "\" d'UIDL : " + m.Uidl + " supprim\xE9 du serveur");
}

} // namespace

std::string CompterFiltres(ListesFiltres& listes, const ResultatClassement& classement) {
    std::string pendant;
    const std::pair<ListeFiltres*, const FiltreRetenu*> retenus[] = {
        {&listes.ListeExpediteurs, &classement.FiltreExpediteur},
        {&listes.ListeSujets, &classement.FiltreSujet},
        {&listes.ListeDestinataires, &classement.FiltreDestinataire}};
    for (const auto& [liste, retenu] : retenus) {
        structFiltre* f = ligneRetenue(*liste, *retenu);
        if (!f) continue;
        const std::optional<int> compteur = LireCompteur(f->Effectues);
        f->Effectues = std::to_string(compteur ? *compteur + 1 : 1);
        liste->Modifiee = true;
        pendant = f->Pendant;
    }
    return pendant;
}

void TraiterRejet(ContexteMoteur& contexte, ClientPop3& client, int ligneBoite, const structMessage& m,
                  const ResultatClassement& c, int numeroServeur, int& supprimes) {
    const ParametresGlobaux& p = contexte.etat.Parametres;
    const std::string label = ligneBoite >= 0 ? contexte.boites.Ligne(ligneBoite).Caption() : std::string();
    contexte.ui.EcrireDebug(2601, "Message de " + m.AdresseExpediteur + " d'UIDL : " + m.Uidl + " bon pour rejet");
    if (p.Son) contexte.ui.JouerSon(p.SonRejet, SonSysteme::Avertissement);
    ResultatInterception interception{-1, ResultatModal::Ok};
    bool detruire = true;
    if (c.Decision != 'r') {
        interception = intercepter(contexte, label, m, c);
        detruire = c.Decision == 'd' ? interception.SecondesRestantes <= 0 : interception.Resultat == ResultatModal::Ok;
    }
    const std::string pendant = CompterFiltres(contexte.etat.Listes, c);
    contexte.ui.CompteursFiltresChanges();
    if (!detruire) {
        if (interception.SecondesRestantes > 0)
            contexte.ui.EcrireDebug(2602, "Clic sur \"Garder\" pour Msg d'UIDL : " + m.Uidl);
        ListerMessage(contexte, client, label, m, c);
        return;
    }
    supprimer(contexte, client, ligneBoite, m, c, numeroServeur);
    ++supprimes;
    decompterBoite(contexte, ligneBoite);
    elaguer(contexte);
    if (!pendant.empty() && pendant[0] != 'N') EnvoyerReponse(contexte, pendant, m.ExpediteurTeste, m.ChampA, m.ChampCc, m.SujetDecode);
    if (p.AlerteVisuelleRejet && (c.Decision == 'r' || (c.Decision == 'd' && interception.SecondesRestantes == -1)))
        contexte.ui.BulleRejet(Chaine(1030) + FormaterDateHeure(std::time(nullptr)),
                               Chaine(1032) + m.ExpediteurTeste + Chaine(1033) + m.SujetTeste);
}
