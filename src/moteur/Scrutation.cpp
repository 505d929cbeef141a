#include "Scrutation.h"

#include "ChargerBoites.h"
#include "SessionPop3.h"
#include "TestInternet.h"
#include "donnees/Chaines.h"
#include "pop3/ClientPop3.h"

Scrutation::Scrutation(ContexteMoteur& contexte, QObject* parent) : QObject(parent), contexte_(contexte) {}

void Scrutation::Timer1Timer(OrigineScrutation origine, int ligne, ClientPop3* client) {
    EtatProgramme& etat = contexte_.etat;
    if (etat.MoteurOccupe) return;
    const int nombreAvant = contexte_.messages.Nombre();
    switch (origine) {
    case OrigineScrutation::ListeBoites:
        if (ligne < 0) return;
        etat.ArretDepuisInterception = false;
        break;
    case OrigineScrutation::MenuBoite:
        if (ligne < 0) return;
        break;
    case OrigineScrutation::SuppressionManuelle:
        etat.MoteurOccupe = true;  // rabaissé par l'appelant
        break;
    case OrigineScrutation::InterrogationGenerale:
        ligne = etat.IndexInterrogationGenerale;
        break;
    case OrigineScrutation::Minuteur:
        if (!etat.ScrutationActive) {
            contexte_.ui.EcrireStatut(0, Chaine(1010));
            return;
        }
        if (!TesterInternet(contexte_)) {
            contexte_.ui.EcrireStatut(0, Chaine(1091));
            return;
        }
        ligne = contexte_.boites.LigneDeClient(client);
        break;
    }
    structBoite* boite = contexte_.boites.BoiteDeLigne(ligne);
    if (!boite || !boite->Client || boite->Client->Connected()) return;
    SessionPop3(contexte_, *boite->Client, nombreAvant).Executer();
}

void Scrutation::basculerMinuteurs(bool actifs) {
    for (int i = 0; i < contexte_.boites.Nombre(); ++i) {
        structBoite* boite = contexte_.boites.BoiteDeLigne(i);
        if (!boite || !boite->Timer) continue;
        if (actifs) RelancerMinuteur(*boite);
        else boite->Timer->stop();
    }
}

void Scrutation::Button1Click() {
    contexte_.ui.CurseurAttente(true);
    contexte_.etat.ArretDepuisInterception = false;
    basculerMinuteurs(false);
    // Le nombre de lignes est relu à chaque tour : une boîte peut disparaître pendant une attente.
    for (int i = 0; i < contexte_.boites.Nombre(); ++i) interrogerLigne(i);
    basculerMinuteurs(true);
    contexte_.ui.CurseurAttente(false);
}

void Scrutation::interrogerLigne(int ligne) {
    contexte_.etat.IndexInterrogationGenerale = ligne;
    const structBoite* boite = contexte_.boites.BoiteDeLigne(ligne);
    if (!boite) return;
    if (contexte_.etat.RecensementEnCours && !boite->Demarrage) return;
    Timer1Timer(OrigineScrutation::InterrogationGenerale);
}

void Scrutation::Recensement() {
    contexte_.etat.RecensementEnCours = true;
    Button1Click();
    contexte_.etat.RecensementEnCours = false;
}

void Scrutation::CreerMinuteurDemarrage(const std::string& cheminParametres) {
    cheminParametres_ = cheminParametres;
    minuteurDemarrage_ = std::make_unique<QTimer>();
    minuteurDemarrage_->setInterval(1000);
    connect(minuteurDemarrage_.get(), &QTimer::timeout, this, &Scrutation::FStartTimer);
}

void Scrutation::LancerMinuteurDemarrage() {
    if (minuteurDemarrage_) minuteurDemarrage_->start();
}

void Scrutation::FStartTimer() {
    contexte_.ui.TitreDialogueParametres(Chaine(1118) + " (" + cheminParametres_ + ")");
    contexte_.ui.EcrireStatut(0, Chaine(1006));
    if (!TesterInternet(contexte_)) return;
    contexte_.ui.EcrireStatut(0, Chaine(1100));
    // Détruit après le retour au gestionnaire d'événements : on est dans son propre signal.
    if (minuteurDemarrage_) {
        minuteurDemarrage_->stop();
        minuteurDemarrage_.release()->deleteLater();
    }
    if (contexte_.etat.Parametres.RecenseDemar) Recensement();
    else contexte_.ui.EcrireStatut(0, Chaine(1100));
    contexte_.ui.CurseurAttente(false);
}

void Scrutation::BtnInterrompreClick() {
    if (contexte_.etat.ClientCourant) contexte_.etat.ClientCourant->AbortSync();
    contexte_.etat.DemandeInterruption = true;
    contexte_.ui.ActiverInterrompre(false, {});
    contexte_.ui.EcrireStatut(0, Chaine(1094));
}
