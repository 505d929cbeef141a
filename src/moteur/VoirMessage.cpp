#include "VoirMessage.h"

#include "FormaterEntier.h"
#include "donnees/Chaines.h"
#include "donnees/Conversion1252.h"
#include "entete/DateEntete.h"
#include "entete/DecoderTexteEntete.h"
#include "entete/EnteteMessage.h"
#include "mime/CorpsMessage.h"
#include "pop3/ClientPop3.h"

#include <QPointer>
#include <algorithm>
#include <cctype>
#include <charconv>

namespace {

// Le numéro de la ligne ("N° Msg") ; 0 quand il n'en est pas un.
int numeroMessage(const std::string& caption) {
    int numero = 0;
    const auto [fin, erreur] = std::from_chars(caption.data(), caption.data() + caption.size(), numero);
    return erreur == std::errc() && fin == caption.data() + caption.size() ? numero : 0;
}

bool contientUtf8(std::string typeContenu) {
    std::transform(typeContenu.begin(), typeContenu.end(), typeContenu.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return typeContenu.find("UTF-8") != std::string::npos;
}

// Une lecture : ce qu'il faut de la ligne est copié au départ, car la liste peut changer
// pendant les attentes du réseau (une autre boîte interrogée entre-temps).
class LectureMessage {
public:
    LectureMessage(ContexteMoteur& contexte, const LigneMessage& ligne, ModeVoir mode, int nbLignes)
        : contexte_(contexte), client_(ligne.Client), numero_(numeroMessage(ligne.Caption())),
          uidlLigne_(ligne.Colonnes[ColUidl]), utf8_(contientUtf8(ligne.Colonnes[ColTypeContenu])),
          nbLignes_(mode == ModeVoir::Entete ? 0 : std::max(0, nbLignes)) {
        resultat_.Mode = mode;
    }

    ResultatVoir Executer();

private:
    void connecter();
    bool identifiantConforme();
    void signalerPerime(EtatVoir etat);
    void lire();
    void remplirChamps();
    void terminerConnexion();
    void marquerLu();
    std::string label() const;
    std::string erreurClient() const { return client_ ? client_->ErrorMessage : std::string(); }

    ContexteMoteur& contexte_;
    QPointer<ClientPop3> client_;
    const int numero_;
    const std::string uidlLigne_;
    const bool utf8_;
    const int nbLignes_;
    std::string label_;
    std::string entete_;  // lignes reçues, converties d'UTF-8 quand le message l'est, CR LF après chacune
    std::string brut_;    // les mêmes lignes telles que le serveur les a envoyées
    ResultatVoir resultat_;
};

std::string LectureMessage::label() const {
    const int ligne = contexte_.boites.LigneDeClient(client_.data());
    return ligne >= 0 ? contexte_.boites.Ligne(ligne).Caption() : std::string();
}

ResultatVoir LectureMessage::Executer() {
    if (!client_ || contexte_.boites.LigneDeClient(client_.data()) < 0) {
        resultat_.Etat = EtatVoir::Perime;
        return resultat_;
    }
    if (client_->Connected()) {
        resultat_.Etat = EtatVoir::Occupe;
        return resultat_;
    }
    label_ = label();
    contexte_.ui.CurseurAttente(true);
    connecter();
    const bool connecte = client_ && client_->Connected();
    if (!identifiantConforme()) {
        signalerPerime(connecte ? EtatVoir::Perime : EtatVoir::EchecConnexion);
    } else {
        lire();
        remplirChamps();
        terminerConnexion();
        if (resultat_.Mode == ModeVoir::Texte) {
            // Le corps part des octets reçus : son jeu de caractères déclaré fait la conversion.
            resultat_.Lignes = LignesVisionneuse(DecoderCorps(brut_, utf8_ ? "UTF-8" : ""));
            marquerLu();
        }
    }
    resultat_.LigneBoite = contexte_.boites.LigneDeClient(client_.data());
    contexte_.ui.CurseurAttente(false);
    return resultat_;
}

void LectureMessage::connecter() {
    contexte_.ui.EcrireStatut(0, Chaine(1011) + label_ + "...");
    const int ligne = contexte_.boites.LigneDeClient(client_.data());
    const structBoite* boite = contexte_.boites.BoiteDeLigne(ligne);
    if (boite && boite->Apop) {
        if (client_->ConnectSync() && client_) client_->ApopSync();
    } else {
        client_->OpenSync();
    }
    const bool connecte = client_ && client_->Connected();
    contexte_.ui.EcrireStatut(0, Chaine(connecte ? 1014 : 1012) + label_);
    if (!connecte) resultat_.Erreur = erreurClient();
}

// Vrai quand le serveur donne, pour le numéro de la ligne, l'identifiant de la ligne.
bool LectureMessage::identifiantConforme() {
    if (!client_) return false;
    client_->MsgNum = numero_;
    client_->UidlSync();
    return client_ && client_->ErrorMessage.empty() && client_->MsgUidl == uidlLigne_;
}

void LectureMessage::signalerPerime(EtatVoir etat) {
    resultat_.Etat = etat;
    if (client_ && client_->Connected()) client_->QuitSync();
    if (resultat_.Erreur.empty()) resultat_.Erreur = erreurClient();
    contexte_.ui.EcrireStatut(1, label_ + "=>" + resultat_.Erreur);
    contexte_.ui.EcrireStatut(0, Chaine(1009) + label_);
}

void LectureMessage::lire() {
    resultat_.Uidl = uidlLigne_;
    client_->OnMessageLine = [this] {
        if (!client_) return;
        const std::string& recue = client_->LastResponse;
        std::string ligne = utf8_ ? Utf8VersAnsi(recue) : recue;
        entete_ += ligne + "\r\n";
        brut_ += recue + "\r\n";
        if (resultat_.Mode == ModeVoir::Entete) resultat_.Lignes.push_back(std::move(ligne));
    };
    client_->MsgNum = numero_;
    client_->MsgLines = nbLignes_;
    client_->TopSync();
    if (client_) client_->OnMessageLine = nullptr;
    const std::string erreur = erreurClient();
    if (client_ && erreur.empty()) {
        contexte_.ui.EcrireStatut(0, Chaine(1023));
        return;
    }
    resultat_.Erreur = erreur;
    contexte_.ui.EcrireStatut(1, label_ + "=>" + erreur);
    contexte_.ui.EcrireStatut(0, Chaine(1031));
}

void LectureMessage::remplirChamps() {
    const EnteteMessage entete = AnalyserEntete(entete_);
    resultat_.EnvoiDe = DecoderTexteEntete(entete.From);
    resultat_.Sujet = DecoderTexteEntete(entete.Subject);
    resultat_.Date = FormaterDateEntete(entete.Date);
    resultat_.Pour = DecoderTexteEntete(entete.To);
}

void LectureMessage::terminerConnexion() {
    if (client_) {
        client_->MsgNum = numero_;
        client_->ListSync();
    }
    if (client_) resultat_.Taille = FormaterEntier(client_->MsgSize, ".") + Chaine(1019);
    if (client_) client_->QuitSync();
    contexte_.ui.EcrireStatut(0, Chaine(1025) + label_);
}

// La ligne du message, retrouvée par son identifiant, prend sa variante « lu ».
void LectureMessage::marquerLu() {
    if (!client_) return;
    const int index = contexte_.messages.TrouverMessage(uidlLigne_, *client_);
    if (index >= 0) contexte_.messages.ChangerIcone(index, contexte_.messages.Ligne(index).Icone | 1);
}

} // namespace

ResultatVoir VoirMessage(ContexteMoteur& contexte, int indexMessage, ModeVoir mode, int nbLignes) {
    if (indexMessage < 0 || indexMessage >= contexte.messages.Nombre()) {
        ResultatVoir resultat;
        resultat.Etat = EtatVoir::Perime;
        resultat.Mode = mode;
        return resultat;
    }
    return LectureMessage(contexte, contexte.messages.Ligne(indexMessage), mode, nbLignes).Executer();
}
