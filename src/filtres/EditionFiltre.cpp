#include "EditionFiltre.h"

#include "RegleFiltre.h"
#include "Tessaron6.h"
#include "donnees/Cp1252.h"
#include "donnees/FichierIni.h"
#include "donnees/ParametresGlobaux.h"
#include "moteur/EtatProgramme.h"

#include <utility>

namespace {

// Les lignes de la liste changent : la vue est prévenue avant et après.
template <typename Action> void changer(const VueListeFiltres& vue, Action&& action) {
    if (vue.AvantChangement) vue.AvantChangement();
    std::forward<Action>(action)();
    if (vue.ApresChangement) vue.ApresChangement();
}

void montrerLigne(const VueListeFiltres& vue, int ligne) {
    if (ligne >= 0 && vue.MontrerLigne) vue.MontrerLigne(ligne);
}

} // namespace

EditionFiltre::EditionFiltre(EtatProgramme& etat, FichierIni& ini, QWidget* parent)
    : etat_(etat), ini_(ini), dialogue_(new TForm6(etat.Correspondance, parent)) {
    // "Dé&faut" écrit ses quatre clés tout de suite ; chaque création les relit dans le fichier.
    dialogue_->UtiliserFichierIni(&ini_);
}

// Le dialogue peut avoir été détruit avec sa fenêtre mère ; sinon il part avec l'édition.
EditionFiltre::~EditionFiltre() {
    delete dialogue_.data();
}

TForm6& EditionFiltre::Dialogue() {
    return *dialogue_;
}

ListeFiltres* EditionFiltre::listeDeLOnglet(int onglet) {
    switch (onglet) {
    case kOngletExpediteurs:
        return &etat_.Listes.ListeExpediteurs;
    case kOngletSujets:
        return &etat_.Listes.ListeSujets;
    case kOngletDestinataires:
        return &etat_.Listes.ListeDestinataires;
    default:
        return nullptr;
    }
}

// Une valeur enregistrée hors des choix offerts laisse le choix en cours.
void EditionFiltre::choixParDefaut(ChoixEditeur& choix) const {
    const auto lire = [this](const char* cle, int courant, int nombre) {
        const int valeur = ini_.LireEntier(kSectionGlobale, cle, courant);
        return valeur >= 0 && valeur < nombre ? valeur : courant;
    };
    choix.Mode = lire("TypeRejet", choix.Mode, kNbModes);
    choix.Action = lire("AvantRejet", choix.Action, kNbActions);
    choix.Reponse = lire("ReponseRejet", choix.Reponse, kNbReponses);
    choix.Inclure = lire("ReponseInclure", choix.Inclure, kNbInclusions);
}

void EditionFiltre::titrer(int onglet, const char* verbe) {
    const QString genre = depuisCp1252(GenreFiltre(onglet, etat_.Parametres.FromReturnPath));
    dialogue_->ReglerTitres(QStringLiteral("Tessaron - ") + QString::fromUtf8(verbe) + genre, u'&' + genre);
}

bool EditionFiltre::montrer(ResultatEdition& resultat) {
    dialogue_->ReglerDelai(etat_.Parametres.DelaiRejeterGarder);
    enCours_ = true;
    const bool ok = dialogue_->exec() == QDialog::Accepted;
    enCours_ = false;
    if (!dialogue_) return false;
    resultat.Valide = ok;
    resultat.Rejeter = !dialogue_->Ami();
    return ok;
}

void EditionFiltre::signalerDoublon(int ligne, std::string_view motif, const VueListeFiltres& vue) {
    if (dialogue_->Bip) dialogue_->Bip();
    montrerLigne(vue, ligne);
    if (dialogue_->Message) dialogue_->Message(QMessageBox::Information, depuisCp1252(MessageDoublon(motif)));
}

ResultatEdition EditionFiltre::Creer(int onglet, OrigineCreation origine, const std::string& texte,
                                     const VueListeFiltres& vue) {
    ResultatEdition resultat;
    ListeFiltres* liste = listeDeLOnglet(onglet);
    if (!liste || enCours_ || !dialogue_) return resultat;

    TForm6& f = *dialogue_;
    f.ReglerOnglet(onglet);
    ChoixEditeur choix = f.Choix();
    choix.Ami = false;
    switch (origine) {
    case OrigineCreation::AjoutExpediteur:
        choix.Motif = MotifPropose(texte, true);
        break;
    case OrigineCreation::AjoutSujet:
        choix.Motif = MotifPropose(texte, false);
        break;
    case OrigineCreation::Ami:
        choix.Motif = MotifPropose(texte, true);
        choix.Mode = ModeExact;
        choix.Ami = true;
        break;
    case OrigineCreation::Gestionnaire:
        choix = ChoixEditeur{};
        break;
    }
    choix.Echantillon = choix.Motif;
    // Un ami garde les choix en cours : ils ne servent pas à une ligne d'ami.
    if (origine != OrigineCreation::Ami) {
        choixParDefaut(choix);
        choix.Mode = ModeSelonOnglet(onglet, choix.Mode);
    }
    f.Appliquer(choix);
    titrer(onglet, "Créer un ");

    int suivie = -1;
    bool doublon = false;
    if (montrer(resultat)) {
        const ChoixEditeur final = dialogue_->Choix();
        suivie = ChercherDoublon(*liste, final.Motif);
        doublon = suivie >= 0;
        if (doublon) {
            signalerDoublon(suivie, final.Motif, vue);
        } else {
            changer(vue, [&] {
                liste->Lignes.push_back(LigneDeChoix(final, liste->AvecChamp));
                liste->Modifiee = true;
            });
            suivie = static_cast<int>(liste->Lignes.size()) - 1;
        }
    }

    // Quelle que soit l'issue, la liste est triée par motif.
    int place = -1;
    changer(vue, [&] { place = TrierParMotif(*liste, suivie); });
    (doublon ? resultat.LigneDoublon : resultat.Ligne) = place;
    montrerLigne(vue, place);
    return resultat;
}

ResultatEdition EditionFiltre::Modifier(int onglet, int ligne, const VueListeFiltres& vue) {
    ResultatEdition resultat;
    ListeFiltres* liste = listeDeLOnglet(onglet);
    const auto dansLaListe = [&] {
        return ligne >= 0 && static_cast<std::size_t>(ligne) < liste->Lignes.size();
    };
    if (!liste || enCours_ || !dialogue_ || !dansLaListe()) return resultat;

    TForm6& f = *dialogue_;
    f.ReglerOnglet(onglet);
    f.Appliquer(ChoixDeLigne(liste->Lignes[static_cast<std::size_t>(ligne)], liste->AvecChamp));
    titrer(onglet, "Modifier un ");
    // Annuler ne change rien ; la ligne a pu disparaître pendant que l'éditeur était ouvert.
    if (!montrer(resultat) || !dansLaListe()) return resultat;

    const structFiltre& ancienne = liste->Lignes[static_cast<std::size_t>(ligne)];
    structFiltre nouvelle = LigneDeChoix(dialogue_->Choix(), liste->AvecChamp);
    nouvelle.Effectues = ancienne.Effectues;
    if (!liste->AvecChamp) nouvelle.Champ = ancienne.Champ;
    if (nouvelle.Motif != ancienne.Motif) {
        const std::string_view texte = SansMarque(nouvelle.Motif);
        if (texte != SansMarque(ancienne.Motif)) {
            const int doublon = ChercherDoublon(*liste, texte);
            if (doublon >= 0) {
                signalerDoublon(doublon, texte, vue);
                resultat.LigneDoublon = doublon;
                return resultat;
            }
        }
        // Le compteur d'un motif changé ne compte plus rien.
        nouvelle.Effectues = " ";
    }

    int place = -1;
    changer(vue, [&] {
        liste->Lignes[static_cast<std::size_t>(ligne)] = std::move(nouvelle);
        liste->Modifiee = true;
        place = TrierParMotif(*liste, ligne);
    });
    resultat.Ligne = place;
    montrerLigne(vue, place);
    return resultat;
}
