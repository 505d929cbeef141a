// Fenêtre des filtres : commandes sur les listes — créer, modifier, supprimer, rechercher,
// trouver un filtre, remettre les compteurs à zéro, trier par colonne, aide et fermeture.
#include "Tessaronrejets.h"

#include "ModeleHistorique.h"
#include "ModeleListeFiltres.h"
#include "donnees/Cp1252.h"
#include "moteur/EtatProgramme.h"

#include <QAction>
#include <QHeaderView>
#include <QInputDialog>
#include <QMenu>
#include <QPushButton>
#include <QTreeView>

namespace {

// Une ligne choisie avant une question, retrouvée après : pendant la question, la fenêtre
// d'interception peut avoir ajouté un filtre et décalé les lignes.
struct LigneNotee {
    int position;
    std::string motif;
};

std::vector<int> retrouver(const ListeFiltres& liste, const std::vector<LigneNotee>& notees) {
    std::vector<int> positions;
    const auto& lignes = liste.Lignes;
    for (const LigneNotee& n : notees) {
        const auto p = static_cast<std::size_t>(n.position);
        if (p < lignes.size() && lignes[p].Motif == n.motif) {
            positions.push_back(n.position);
            continue;
        }
        const auto trouvee = std::find_if(lignes.begin(), lignes.end(), [&](const structFiltre& f) {
            return f.Motif == n.motif &&
                   std::find(positions.begin(), positions.end(), &f - lignes.data()) == positions.end();
        });
        if (trouvee != lignes.end()) positions.push_back(static_cast<int>(trouvee - lignes.begin()));
    }
    return positions;
}

} // namespace

QMessageBox::StandardButton TFormRejets::demander(QMessageBox::Icon icone, const QString& titre,
                                                  const QString& texte) {
    QMessageBox boite(icone, titre, texte, QMessageBox::Yes | QMessageBox::No, this);
    boite.setDefaultButton(QMessageBox::No);
    return static_cast<QMessageBox::StandardButton>(boite.exec());
}

// ---------------------------------------------------------------- créer, modifier

VueListeFiltres TFormRejets::vueEdition(int onglet) {
    ModeleListeFiltres* m = modelesFiltres_[static_cast<std::size_t>(onglet)];
    QTreeView* vue = Vue(onglet);
    VueListeFiltres v;
    v.AvantChangement = [m] { m->AvantChangement(); };
    v.ApresChangement = [this, m, vue, onglet] {
        m->ApresChangement();
        // L'éditeur laisse la liste triée par motif, en ordre croissant.
        tris_[static_cast<std::size_t>(onglet)] = {0, false};
        vue->header()->setSortIndicator(0, Qt::AscendingOrder);
        vue->header()->setSortIndicatorShown(true);
        actualiserBoutons();
    };
    v.MontrerLigne = [this, vue](int ligne) { selectionnerSeule(vue, ligne); };
    return v;
}

void TFormRejets::BtnCreerClick() {
    const int onglet = OngletCourant();
    if (onglet < 0 || onglet >= 3) return;
    edition_->Creer(onglet, OrigineCreation::Gestionnaire, std::string(), vueEdition(onglet));
    actualiserBoutons();
    donnerFocusListe();
}

ResultatEdition TFormRejets::CreerDepuis(int onglet, OrigineCreation origine, const std::string& texte) {
    if (onglet < 0 || onglet >= 3) return {};
    Montrer(onglet);
    const ResultatEdition resultat = edition_->Creer(onglet, origine, texte, vueEdition(onglet));
    actualiserBoutons();
    donnerFocusListe();
    return resultat;
}

void TFormRejets::BtnModifierClick() {
    const int onglet = OngletCourant();
    if (onglet < 0 || onglet >= 3) return;
    QTreeView* vue = Vue(onglet);
    vue->setFocus();
    const std::vector<int> lignes = lignesSelectionnees(vue);
    if (lignes.empty()) return;
    edition_->Modifier(onglet, lignes.front(), vueEdition(onglet));
    actualiserBoutons();
    donnerFocusListe();
}

// ---------------------------------------------------------------- supprimer

// Plusieurs lignes : une question pour toutes ; "Non" (ou une seule ligne) : une question par
// ligne, dans l'ordre de la liste.
void TFormRejets::BtnSupprimerClick() {
    const int onglet = OngletCourant();
    ListeFiltres* liste = listeFiltres(onglet);
    if (!liste) return;
    QTreeView* vue = Vue(onglet);
    std::vector<LigneNotee> notees;
    for (int l : lignesSelectionnees(vue))
        if (static_cast<std::size_t>(l) < liste->Lignes.size())
            notees.push_back({l, liste->Lignes[static_cast<std::size_t>(l)].Motif});
    if (notees.empty()) return;
    const QString titre = QStringLiteral("Suppression d'un filtre");
    std::vector<LigneNotee> aSupprimer;
    if (notees.size() > 1 &&
        demander(QMessageBox::Warning, titre,
                 QStringLiteral("Supprimer les %1 filtres sélectionnés ?").arg(notees.size())) ==
            QMessageBox::Yes) {
        aSupprimer = notees;
    } else {
        for (const LigneNotee& n : notees)
            if (demander(QMessageBox::Warning, titre,
                         QStringLiteral("Supprimer le filtre '") + depuisCp1252(n.motif) +
                             QStringLiteral("' ?")) == QMessageBox::Yes)
                aSupprimer.push_back(n);
    }
    if (!aSupprimer.empty()) {
        ModeleListeFiltres* m = modelesFiltres_[static_cast<std::size_t>(onglet)];
        m->AvantChangement();
        SupprimerFiltres(*liste, retrouver(*liste, aSupprimer));
        m->ApresChangement();
    }
    actualiserBoutons();
    vue->setFocus();
}

// ---------------------------------------------------------------- rechercher

void TFormRejets::Rechercher(bool demanderTexte) {
    const int onglet = OngletCourant();
    QTreeView* vue = Vue(onglet);
    if (!vue || vue->model()->rowCount() == 0) return;
    if (demanderTexte || derniereRecherche_.empty()) {
        QString saisie = depuisCp1252(derniereRecherche_);
        do {
            bool ok = false;
            saisie =
                QInputDialog::getText(this, QStringLiteral("Tessaron - Rechercher un élément de la liste"),
                                      QStringLiteral("Rechercher dans la liste (F3 rechercher suivant) :"),
                                      QLineEdit::Normal, saisie, &ok);
            if (!ok) return;
        } while (saisie.isEmpty());
        derniereRecherche_ = versCp1252(saisie);
    }
    // La recherche part de la ligne qui suit la sélection (la première ligne quand il n'y en a pas).
    std::vector<int> lignes = lignesSelectionnees(vue);
    if (lignes.empty()) {
        selectionnerSeule(vue, 0);
        lignes = {0};
    }
    chercherDepuis(onglet, LigneDepartRecherche(lignes.front(), vue->model()->rowCount()),
                   derniereRecherche_);
}

// Cherche jusqu'à la fin de la liste, sans reprendre au début ; la ligne trouvée devient la
// seule choisie. La liste reçoit le focus dans tous les cas.
bool TFormRejets::chercherDepuis(int onglet, int depart, const std::string& texte) {
    QTreeView* vue = Vue(onglet);
    const TexteCherche cherche(texte);
    const int trouvee = onglet == OngletHistorique ? RechercherHisto(etat_.Listes.Historique, depart, cherche)
                                                   : RechercherFiltre(*listeFiltres(onglet), depart, cherche);
    const bool vue_a_la_ligne = trouvee >= 0 && trouvee < vue->model()->rowCount();
    if (vue_a_la_ligne) selectionnerSeule(vue, trouvee);
    vue->setFocus();
    return vue_a_la_ligne;
}

void TFormRejets::TrouverFiltre(int liste, const std::string& motif) {
    if (liste < 0 || liste >= 3) return;
    Montrer(liste);
    derniereRecherche_ = motif;
    QTreeView* vue = Vue(liste);
    selectionnerSeule(vue, 0);
    // La recherche commence à la première ligne, comprise.
    if (vue->model()->rowCount() > 0 && chercherDepuis(liste, 0, motif)) return;
    QMessageBox boite(QMessageBox::NoIcon, QStringLiteral("Tessaron"),
                      u'"' + depuisCp1252(motif) + QStringLiteral("\" n'existe plus"), QMessageBox::Ok, this);
    boite.exec();
}

// ---------------------------------------------------------------- compteurs, tri

void TFormRejets::BtnRemiseAZeroClick() {
    const int onglet = OngletCourant();
    ListeFiltres* liste = listeFiltres(onglet);
    if (!liste || liste->Lignes.empty()) return;
    if (demander(QMessageBox::Warning, QStringLiteral("Effacement des compteurs"),
                 QStringLiteral("Mettre à zéro tous les compteurs de rejets de cette liste ?")) !=
        QMessageBox::Yes)
        return;
    RemettreCompteursAZero(*liste);
    const int colonne = ColonneCompteur(liste->AvecChamp);
    modelesFiltres_[static_cast<std::size_t>(onglet)]->ColonnesChangees(colonne, colonne);
    donnerFocusListe();
}

// Compteur comme un nombre, date comme une date, le reste comme du texte ; un second clic sur
// la même colonne inverse l'ordre.
void TFormRejets::ListView1ColumnClick(int onglet, int colonne) {
    ModeleListe* m = modele(onglet);
    QTreeView* vue = Vue(onglet);
    if (!m || !vue) return;
    const bool decroissant = CliquerEnTete(tris_[static_cast<std::size_t>(onglet)], colonne);
    if (onglet == OngletHistorique)
        m->Reordonner([&] { return TrierListeHisto(etat_.Listes.Historique, colonne, decroissant); });
    else
        m->Reordonner([&] { return TrierListeFiltres(*listeFiltres(onglet), colonne, decroissant); });
    vue->header()->setSortIndicator(colonne, decroissant ? Qt::DescendingOrder : Qt::AscendingOrder);
    vue->header()->setSortIndicatorShown(true);
    const std::vector<int> lignes = lignesSelectionnees(vue);
    if (!lignes.empty()) vue->scrollTo(m->index(lignes.front(), 0));
}

void TFormRejets::ouvrirMenuListe(int onglet, const QPoint& position) {
    actualiserBoutons();
    menuListe_->exec(Vue(onglet)->viewport()->mapToGlobal(position));
}

// ---------------------------------------------------------------- aide, fermeture

void TFormRejets::BtnAideClick() {
    if (SurAide) SurAide(OngletCourant() == OngletHistorique ? "historique" : "gestion_filtres");
}

void TFormRejets::BtnFermerClick() {
    fermer(Modificateurs && Modificateurs().testFlag(Qt::AltModifier));
}

// Alt : les listes sont enregistrées d'abord. Fermée sur l'historique, la fenêtre l'élague.
void TFormRejets::fermer(bool enregistrer) {
    if (enregistrer && SurEnregistrerListes) SurEnregistrerListes();
    hide();
    if (OngletCourant() == OngletHistorique) elaguerALaFermeture();
}
