// Ce que la fenêtre principale demande à la fenêtre des filtres : l'ouvrir sur un onglet,
// y retrouver le filtre d'une cellule, et créer un filtre depuis un message de la liste
// (expéditeur ou sujet à rejeter, expéditeur ami) ou depuis la fenêtre d'interception.
#include "ModeleTableau.h"
#include "Tessaron1.h"
#include "dialogues/Tessaron7.h"
#include "donnees/Chaines.h"
#include "donnees/Cp1252.h"
#include "filtres/Tessaronrejets.h"
#include "moteur/ActionsMessages.h"
#include "moteur/SuppressionMessages.h"

#include <QHeaderView>
#include <QTreeView>

void TForm1::creerGestionnaireFiltres() {
    formRejets_ = new TFormRejets(etat_, ini_, this);
    formRejets_->LegendeColonneExpediteur = [this] {
        return modeleMessages_->headerData(ColExpediteur, Qt::Horizontal, Qt::DisplayRole).toString();
    };
    formRejets_->SurChampExpediteur = [this](int champ) {
        modeleMessages_->changerEntete(ColExpediteur, ChaineQ(champ == 0 ? 10011 : 10012));
    };
    formRejets_->SurEnregistrerListes = [this] { enregistrerListes(); };
    formRejets_->SurAide = [this](const std::string&) { afficherAideEnLigne(); };
    form7_->SurAmi = [this](const std::string& expediteur) {
        formRejets_->CreerDepuis(ListeIndexExpediteurs, OrigineCreation::Ami, expediteur);
    };
    // Le champ de l'expéditeur lu au démarrage donne la légende de la colonne des messages.
    formRejets_->RelireOptions();
}

void TForm1::ouvrirGestionnaireFiltres(int onglet) {
    formRejets_->Montrer(onglet);
}

void TForm1::trouverFiltre(int liste, const std::string& motif) {
    formRejets_->TrouverFiltre(liste, motif);
}

// Ajoute l'expéditeur ou le sujet du message sélectionné aux filtres ; quand l'éditeur est quitté
// sur « Rejeter », le message est supprimé du serveur (après la question), et le filtre créé
// compte ce premier rejet.
void TForm1::ajouterFiltreDuMessage(bool sujet) {
    const std::vector<int> lignes = lignesMessagesSelectionnees();
    if (lignes.size() != 1) return;
    const LigneMessage& ligne = messages_.Ligne(lignes.front());
    const int onglet = sujet ? ListeIndexSujets : ListeIndexExpediteurs;
    const std::string texte = SansMarqueFiltre(ligne.Colonnes[sujet ? ColSujet : ColExpediteur]);
    const ResultatEdition r = formRejets_->CreerDepuis(
        onglet, sujet ? OrigineCreation::AjoutSujet : OrigineCreation::AjoutExpediteur, texte);
    if (!r.Rejeter) return;
    DemandeSuppression demande;
    demande.Lignes = lignes;
    const ResultatSuppression suppression = SupprimerMessages(contexte_, *scrutation_, demande);
    if (r.Ligne < 0 || !suppression.Confirmee()) return;
    ListeFiltres& liste = sujet ? etat_.Listes.ListeSujets : etat_.Listes.ListeExpediteurs;
    if (r.Ligne >= static_cast<int>(liste.Lignes.size())) return;
    liste.Lignes[static_cast<std::size_t>(r.Ligne)].Effectues = "1";
    liste.Modifiee = true;
    formRejets_->Rafraichir();
}

// L'adresse nue de l'expéditeur du message sélectionné devient un filtre ami ; rien n'est supprimé.
void TForm1::faireAmiDuMessage() {
    const std::vector<int> lignes = lignesMessagesSelectionnees();
    if (lignes.size() != 1) return;
    formRejets_->CreerDepuis(ListeIndexExpediteurs, OrigineCreation::Ami,
                             SansMarqueFiltre(messages_.Ligne(lignes.front()).Colonnes[ColExpediteur]));
}
