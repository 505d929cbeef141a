#include "MaintenanceBoites.h"

#include "donnees/Chaines.h"
#include "donnees/Cp1252.h"
#include "donnees/MotDePasse.h"
#include "donnees/TypeRejet.h"
#include "pop3/ClientPop3.h"

#include <QTimer>
#include <climits>

namespace {

// Les retours à la ligne d'un "Filtre destinataire" sont écrits comme deux octets 0xB6.
std::string sansRetours(const std::string& texte) {
    std::string resultat;
    for (std::size_t i = 0; i < texte.size(); ++i) {
        if (texte[i] == '\r' && i + 1 < texte.size() && texte[i + 1] == '\n') {
            resultat += "\xB6\xB6";
            ++i;
        } else {
            resultat += texte[i];
        }
    }
    return resultat;
}

int entierOuDefaut(const std::string& texte, int defaut) {
    try {
        std::size_t fin = 0;
        const long valeur = std::stol(texte, &fin);
        return fin == texte.size() && valeur >= INT_MIN && valeur <= INT_MAX ? static_cast<int>(valeur) : defaut;
    } catch (...) {
        return defaut;
    }
}

} // namespace

MaintenanceBoites::MaintenanceBoites(ContexteMoteur& contexte, FichierIni& ini, ContexteCreationBoite creation)
    : contexte_(contexte), ini_(ini), creation_(std::move(creation)) {}

std::string MaintenanceBoites::passeStocke(const std::string& clair) const {
    const std::string brouille = BrouillePasse(clair);
    const std::string& demarrage = contexte_.etat.MotDePasseDemarrage;
    return demarrage.empty() ? brouille : MasquePasse(brouille, demarrage);
}

void MaintenanceBoites::CreerBoite(const ParametresBoite& valeurs) {
    ParametresBoite p = valeurs;
    p.TimeOut = 15;  // le délai du client reste celui par défaut jusqu'au prochain démarrage
    const std::string& s = p.Label;
    {
        LotEcritures lot(ini_);
        ini_.EcrireTexte(s, "Pop3ID", p.Pop3ID);
        ini_.EcrireTexte(s, "Pop3Mail", p.Pop3Mail);
        ini_.EcrireTexte(s, "Pop3Mdp", passeStocke(p.PasseClair));
        ini_.EcrireEntier(s, "Intervalle", p.Intervalle);
        ini_.EcrireTexte(s, "DestUnique", sansRetours(p.DestUnique));
        ini_.EcrireEntier(s, "TypeRejet", p.TypeRejet);
        ini_.EcrireEntier(s, "NatureRejet", p.NatureRejet);
        ini_.EcrireBooleen(s, "AppliqueRejets", p.AppliqueRejets);
        ini_.EcrireBooleen(s, "Pop3Demar", p.Demarrage);
        ini_.EcrireBooleen(s, "Pop3APOP", p.Apop);
        ini_.EcrireBooleen(s, "Pop3SSL", p.Ssl);
        ini_.EcrireEntier(s, "Pop3Port", p.Port);
        if (!lot.Terminer()) contexte_.ui.EcrireStatut(0, Chaine(90002) + s);
    }
    contexte_.etat.SectionsBoites.push_back(s);
    const int ligne = contexte_.boites.Ajouter(CreerLigneBoite(p, creation_));
    contexte_.ui.SelectionnerBoite(ligne);
}

void MaintenanceBoites::remplirColonnes(int ligne, const ParametresBoite& p) {
    const auto colonnes = ColonnesBoite(p);
    for (int c = ColIntervalle; c < NbColonnesBoite; ++c)
        contexte_.boites.ChangerColonne(ligne, c, colonnes[static_cast<std::size_t>(c)]);
    contexte_.boites.ChangerIcone(ligne, p.AppliqueRejets ? kIconeBoiteFiltree : kIconeBoiteNonFiltree);
}

void MaintenanceBoites::ModifierBoite(int ligne, const std::string& libelleOrigine, const ParametresBoite& p) {
    structBoite* boite = contexte_.boites.BoiteDeLigne(ligne);
    if (!boite) return;
    remplirColonnes(ligne, p);
    boite->Timer->stop();
    boite->Timer->setInterval(IntervalleMs(p.Intervalle));
    ReglerBoite(*boite, p, creation_.contexteSsl);
    if (p.Label != libelleOrigine) {
        contexte_.boites.ChangerColonne(ligne, 0, p.Label);
        SauverOrdreBoites(false);
    } else {
        ecrireSectionModifiee(p);
    }
    RelancerMinuteur(*boite);
    contexte_.ui.SelectionnerBoite(ligne);
}

void MaintenanceBoites::ecrireSectionModifiee(const ParametresBoite& p) {
    const std::string& s = p.Label;
    LotEcritures lot(ini_);
    ini_.EcrireTexte(s, "Pop3Mdp", passeStocke(p.PasseClair));
    ini_.EcrireEntier(s, "Intervalle", p.Intervalle);
    ini_.EcrireTexte(s, "Pop3ID", p.Pop3ID);
    ini_.EcrireTexte(s, "Pop3Mail", p.Pop3Mail);
    ini_.EcrireBooleen(s, "Pop3Demar", p.Demarrage);
    ini_.EcrireBooleen(s, "Pop3APOP", p.Apop);
    ini_.EcrireBooleen(s, "Pop3SSL", p.Ssl);
    ini_.EcrireEntier(s, "Pop3Port", p.Port);
    ini_.EcrireBooleen(s, "AppliqueRejets", p.AppliqueRejets);
    ini_.EcrireTexte(s, "DestUnique", p.DestUnique);
    ini_.EcrireEntier(s, "TypeRejet", p.TypeRejet);
    ini_.EcrireEntier(s, "NatureRejet", p.NatureRejet);
    if (!lot.Terminer()) contexte_.ui.EcrireStatut(0, Chaine(90002) + s);
}

bool MaintenanceBoites::SupprimerBoite(int ligne, const std::string& libelleOrigine) {
    structBoite* boite = contexte_.boites.BoiteDeLigne(ligne);
    if (!boite || BoiteOccupee(ligne)) return false;
    if (!ini_.EffacerSection(libelleOrigine)) contexte_.ui.EcrireStatut(0, Chaine(90002) + libelleOrigine);
    std::erase(contexte_.etat.SectionsBoites, libelleOrigine);
    LigneBoite retiree = contexte_.boites.Retirer(ligne);
    // Détruits au retour à la boucle d'événements : un signal en cours peut encore les tenir.
    retiree.Donnees->Timer->stop();
    retiree.Donnees->Timer->deleteLater();
    retiree.Donnees->Client->AbortSync();
    retiree.Donnees->Client->deleteLater();
    return true;
}

bool MaintenanceBoites::BoiteALesMessages(int ligne) {
    const structBoite* boite = contexte_.boites.BoiteDeLigne(ligne);
    if (!boite) return false;
    for (int i = 0; i < contexte_.messages.Nombre(); ++i) {
        if (contexte_.messages.Ligne(i).Client.data() == boite->Client) {
            contexte_.ui.Avertir(Chaine(1069));
            return true;
        }
    }
    return false;
}

bool MaintenanceBoites::BoiteOccupee(int ligne) {
    const structBoite* boite = contexte_.boites.BoiteDeLigne(ligne);
    if (!boite || !boite->Client->Connected()) return false;
    contexte_.ui.Avertir(Chaine(8001));
    return true;
}

void MaintenanceBoites::deplacer(int ligne, int vers) {
    if (ligne >= 0 && ligne < contexte_.boites.Nombre() && vers >= 0 && vers < contexte_.boites.Nombre()) {
        contexte_.boites.Deplacer(ligne, vers);
        contexte_.ui.SelectionnerBoite(vers);
    }
    contexte_.ui.ActiverBoutonOrdre(true);
}

void MaintenanceBoites::MonterBoite(int ligne) { deplacer(ligne, ligne - 1); }

void MaintenanceBoites::DescendreBoite(int ligne) { deplacer(ligne, ligne + 1); }

void MaintenanceBoites::ecrireSectionOrdonnee(int ligne) {
    const LigneBoite& l = contexte_.boites.Ligne(ligne);
    const structBoite& b = *l.Donnees;
    const std::string& s = l.Caption();
    ini_.EcrireTexte(s, "Pop3ID", b.Client->UserName);
    ini_.EcrireTexte(s, "Pop3Mail", b.Client->Host);
    ini_.EcrireTexte(s, "Pop3Mdp", passeStocke(b.Client->Password));
    ini_.EcrireEntier(s, "Intervalle", b.Timer->interval() / 1000);
    ini_.EcrireBooleen(s, "Pop3Demar", b.Demarrage);
    ini_.EcrireBooleen(s, "Pop3APOP", b.Apop);
    ini_.EcrireBooleen(s, "Pop3SSL", b.Ssl);
    ini_.EcrireEntier(s, "Pop3Port", b.Port);
    ini_.EcrireBooleen(s, "AppliqueRejets", b.AppliqueRejets);
    ini_.EcrireTexte(s, "DestUnique", l.Colonnes[ColFiltreDestinataire]);
    ini_.EcrireEntier(s, "TypeRejet", IndexTypeRejet(l.Colonnes[ColTypeRejet].substr(0, 1)));
    ini_.EcrireEntier(s, "NatureRejet", entierOuDefaut(l.Colonnes[ColNatureRejet], 0));
}

void MaintenanceBoites::SauverOrdreBoites(bool demander) {
    if (demander && !contexte_.ui.Demander(Chaine(1071), Chaine(1072))) return;
    std::vector<std::string>& sections = contexte_.etat.SectionsBoites;
    LotEcritures lot(ini_);
    for (const std::string& section : sections) ini_.EffacerSection(section);
    sections.clear();
    for (int i = 0; i < contexte_.boites.Nombre(); ++i) {
        ecrireSectionOrdonnee(i);
        sections.push_back(contexte_.boites.Ligne(i).Caption());
    }
    if (!lot.Terminer()) contexte_.ui.EcrireStatut(0, Chaine(90003) + versCp1252(ini_.chemin()));
    contexte_.ui.ActiverBoutonOrdre(false);
}
