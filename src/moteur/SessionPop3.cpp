#include "SessionPop3.h"

#include "BilanScrutation.h"
#include "TraitementMessage.h"
#include "entete/ConstruireMessage.h"
#include "donnees/Chaines.h"
#include "pop3/ClientPop3.h"

#include <QCoreApplication>

SessionPop3::SessionPop3(ContexteMoteur& contexte, ClientPop3& client, int nombreAvant)
    : contexte_(contexte), client_(&client), nombreAvant_(nombreAvant) {
    const int ligne = ligneBoite();
    if (ligne >= 0) label_ = contexte_.boites.Ligne(ligne).Caption();
}

int SessionPop3::ligneBoite() const { return contexte_.boites.LigneDeClient(client_.data()); }

bool SessionPop3::interruptionDemandee() const {
    return contexte_.etat.DemandeInterruption || contexte_.etat.ArretDepuisInterception;
}

void SessionPop3::Executer() {
    preparer();
    authentifier();
    if (!client_ || !client_->Connected()) {
        echecConnexion();
        terminer(false);
        return;
    }
    uidlSession_.clear();
    contexte_.ui.EcrireStatut(0, Chaine(1014) + label_);
    client_->MsgNum = 0;
    client_->StatSync();
    const int nombre = client_->MsgCount;
    if (nombre > 0) {
        contexte_.etat.ClientCourant = client_;
        contexte_.ui.ActiverInterrompre(true, Chaine(1015) + label_);
        contexte_.etat.DemandeInterruption = false;
    }
    contexte_.boites.ChangerColonne(ligneBoite(), ColNbMsg, nombre > 0 ? std::to_string(nombre) : "");
    contexte_.ui.FocaliserBoite(ligneBoite());
    parcourirMessages(nombre);
    if (client_) client_->QuitSync();
    reconcilier();
    BilanFinScrutation(contexte_, label_, nombreAvant_);
    contexte_.ui.IconeErreurBoite();
    contexte_.ui.ActiverBoutonVider(contexte_.messages.Nombre() > 0);
    terminer(true);
}

void SessionPop3::preparer() {
    contexte_.ui.EcrireDebug(2201, "Début traitement boîte: " + label_);
    contexte_.etat.ClientCourant = client_;
    contexte_.ui.ListeMessagesOccupee(true);
    QCoreApplication::processEvents();
    if (!client_) return;
    client_->OnMessageLine = [this] {
        if (client_) tamponEntete_ += client_->LastResponse + "\r\n";
    };
    contexte_.ui.EcrireStatut(0, Chaine(1011) + label_ + "...");
}

void SessionPop3::authentifier() {
    if (!client_) return;
    const structBoite* boite = contexte_.boites.BoiteDeLigne(ligneBoite());
    if (boite && boite->Apop) {
        if (client_->ConnectSync() && client_) client_->ApopSync();
    } else {
        client_->OpenSync();
    }
    if (!client_) return;
    if (!client_->ErrorMessage.empty()) {
        signalerErreurConnexion();
        return;
    }
    contexte_.ui.AfficherEtatFiltres();
    contexte_.ui.AfficherEtatFichierDebug();
}

void SessionPop3::signalerErreurConnexion() {
    contexte_.ui.EcrireStatut(1, label_ + "=>" + client_->ErrorMessage);
    contexte_.ui.EcrireDebug(2202, "Erreur POP3 : \"" + client_->ErrorMessage);
}

void SessionPop3::echecConnexion() {
    contexte_.ui.EcrireStatut(0, Chaine(1012) + label_);
    contexte_.ui.EcrireStatut(1, label_ + "=>" + (client_ ? client_->ErrorMessage : std::string()));
    contexte_.ui.Bip();
    contexte_.ui.ListeMessagesOccupee(false);
    contexte_.ui.AfficherInterrompre(false);
    contexte_.boites.ChangerColonne(ligneBoite(), ColNbMsg, Chaine(1013));
    contexte_.ui.FocaliserBoite(ligneBoite());
    contexte_.ui.FocaliserBoite(ligneBoite());
    contexte_.ui.IconeErreurBoite();
}

void SessionPop3::parcourirMessages(int nombre) {
    int supprimes = 0;
    for (int numero = 1; numero <= nombre; ++numero) {
        if (!client_ || !traiterMessage(numero, supprimes)) return;
    }
}

// Un message du serveur ; faux quand le parcours doit s'arrêter.
bool SessionPop3::traiterMessage(int numero, int& supprimes) {
    contexte_.ui.AfficherInterrompre(true);
    client_->MsgNum = numero;
    if (!client_->UidlSync()) {
        if (client_) signalerErreurServeur({});
        return false;
    }
    const std::string uidl = client_->MsgUidl;
    uidlSession_.insert(uidl);
    const int connue = contexte_.messages.TrouverMessage(uidl, *client_);
    if (connue >= 0) {
        contexte_.messages.ChangerColonne(connue, 0, std::to_string(numero - supprimes));
        return true;
    }
    if (interruptionDemandee()) return false;

    tamponEntete_.clear();
    client_->MsgNum = numero;
    client_->MsgLines = 0;
    client_->TopSync();
    if (!client_) return false;
    if (!client_->ErrorMessage.empty()) {
        signalerErreurServeur("\" avec message d'UIDL : " + uidl);
        return false;
    }
    structMessage message = ConstruireMessage(tamponEntete_, contexte_.etat.Parametres.FromReturnPath == 1);
    tamponEntete_.clear();
    message.Uidl = uidl;
    message.NumeroMsg = numero - supprimes;
    client_->MsgNum = numero;
    client_->ListSync();
    if (!client_) return false;
    message.Taille = client_->MsgSize;
    TraiterNouveauMessage(contexte_, *client_, ligneBoite(), message, supprimes);
    return true;
}

void SessionPop3::signalerErreurServeur(const std::string& detail) {
    contexte_.ui.EcrireStatut(1, label_ + "=>" + client_->ErrorMessage);
    contexte_.ui.EcrireDebug(2203, "Erreur POP3 : \"" + client_->ErrorMessage + detail);
}

void SessionPop3::reconcilier() {
    const std::string& label = label_;
    const auto& presents = uidlSession_;
    contexte_.messages.RetirerSi([&label, &presents](const LigneMessage& ligne) {
        return ligne.Colonnes[ColBoiteOrigine] == label && !presents.contains(ligne.Colonnes[ColUidl]);
    });
    uidlSession_.clear();
}

void SessionPop3::terminer(bool finNormale) {
    if (client_ && client_->Connected()) {
        client_->AbortSync();
        client_->QuitSync();
    }
    if (client_) client_->OnMessageLine = nullptr;
    contexte_.ui.ListeMessagesOccupee(false);
    contexte_.ui.AfficherInterrompre(false);
    contexte_.ui.DonnerFocusListeMessages();
    EtatProgramme& etat = contexte_.etat;
    if (etat.Parametres.VerifVersionDemar && !etat.VerifActualitesFaite) {
        etat.VerifActualitesFaite = true;
        contexte_.ui.DemarrerVerificationActualites();
    }
    if (finNormale) contexte_.ui.EcrireDebug(2204, "Fin traitement boîte: " + label_);
}
