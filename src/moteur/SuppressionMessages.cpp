#include "SuppressionMessages.h"

#include "Scrutation.h"
#include "donnees/Chaines.h"
#include "donnees/Historique.h"
#include "pop3/ClientPop3.h"

#include <QEventLoop>
#include <QPointer>
#include <QTimer>
#include <algorithm>
#include <array>
#include <charconv>
#include <functional>

namespace {

// Pas des attentes : la condition est relue quatre fois par seconde.
constexpr int kPasAttenteMs = 250;

// Fait tourner les événements jusqu'à ce que `atteinte` réponde vrai ou que `delaiMs` soit
// écoulé ; rend la dernière réponse.
bool AttendreQue(const std::function<bool()>& atteinte, int delaiMs) {
    if (atteinte()) return true;
    if (delaiMs <= 0) return false;
    QEventLoop boucle;
    QTimer pas;
    pas.setInterval(kPasAttenteMs);
    QObject::connect(&pas, &QTimer::timeout, &boucle, [&boucle, &atteinte] {
        if (atteinte()) boucle.quit();
    });
    QTimer limite;
    limite.setSingleShot(true);
    QObject::connect(&limite, &QTimer::timeout, &boucle, &QEventLoop::quit);
    pas.start();
    limite.start(delaiMs);
    boucle.exec();
    return atteinte();
}

// Le numéro d'une colonne "N° Msg" ; 0 quand elle n'en tient pas un.
int numeroMessage(const std::string& caption) {
    int numero = 0;
    const auto [fin, erreur] = std::from_chars(caption.data(), caption.data() + caption.size(), numero);
    return erreur == std::errc() && fin == caption.data() + caption.size() ? numero : 0;
}

// Une ligne choisie, copiée au départ : la liste peut changer pendant la question et les
// attentes du réseau.
struct LigneChoisie {
    QPointer<ClientPop3> Client;
    std::array<std::string, NbColonnesMessage> Colonnes;
};

// Ce que la suppression sait du client d'une boîte concernée.
enum class EtatSession {
    AOuvrir,   // pas encore ouvert par la suppression (ou session perdue : à rouvrir)
    Ouverte,   // session ouverte par la suppression
    Echec,     // connexion ou authentification refusée : les autres lignes sont laissées
    Occupee    // session d'un autre (interrogation en cours) : on n'y touche pas
};

struct SessionBoite {
    QPointer<ClientPop3> Client;
    EtatSession Etat = EtatSession::AOuvrir;
};

class Suppression {
public:
    Suppression(ContexteMoteur& contexte, Scrutation& scrutation, const DemandeSuppression& demande)
        : contexte_(contexte), scrutation_(scrutation), demande_(demande) {}

    ResultatSuppression Executer();

private:
    void copierLignes();
    bool confirmer();
    void attendreBoitesOccupees();
    void supprimerLigne(const LigneChoisie& ligne);
    bool ouvrirSession(SessionBoite& session);
    int numeroActuel(const LigneChoisie& ligne) const;
    void historiser(const LigneChoisie& ligne);
    void signalerPerime(const QPointer<ClientPop3>& client);
    void fermerSessions();
    bool fermer(const QPointer<ClientPop3>& client);
    void reinterroger();
    SessionBoite* sessionDe(const ClientPop3* client);
    std::string label(const ClientPop3* client) const;

    ContexteMoteur& contexte_;
    Scrutation& scrutation_;
    const DemandeSuppression& demande_;
    std::vector<LigneChoisie> lignes_;
    std::vector<SessionBoite> sessions_;              // une par client concerné
    std::vector<QPointer<ClientPop3>> aReinterroger_;  // fermées comme il faut, dans l'ordre des boîtes
    ResultatSuppression resultat_;
};

ResultatSuppression Suppression::Executer() {
    copierLignes();
    if (lignes_.empty()) return resultat_;
    EtatProgramme& etat = contexte_.etat;
    resultat_.Issue = IssueSuppression::Occupe;
    if (etat.MoteurOccupe) return resultat_;
    if (!demande_.SansConfirmation && !confirmer()) {
        resultat_.Issue = IssueSuppression::Refusee;
        return resultat_;
    }
    // La fermeture du programme a pu commencer pendant la question.
    if (etat.MoteurOccupe) return resultat_;
    resultat_.Issue = IssueSuppression::Menee;
    etat.MoteurOccupe = true;
    attendreBoitesOccupees();
    contexte_.ui.EcrireStatut(0, Chaine(1049));
    contexte_.ui.CurseurAttente(true);
    contexte_.ui.ListeMessagesOccupee(true);
    for (const LigneChoisie& ligne : lignes_) supprimerLigne(ligne);
    fermerSessions();
    reinterroger();
    etat.MoteurOccupe = false;
    contexte_.ui.CurseurAttente(false);
    // Une interrogation rend la liste à la fin ; sans elle (ou si elle n'a pas eu lieu), ici.
    contexte_.ui.ListeMessagesOccupee(false);
    return resultat_;
}

// Les lignes choisies, dans l'ordre de la liste, chacune une fois.
void Suppression::copierLignes() {
    std::vector<int> index = demande_.Lignes;
    const StockMessages& messages = contexte_.messages;
    std::erase_if(index, [&messages](int i) { return i < 0 || i >= messages.Nombre(); });
    std::sort(index.begin(), index.end());
    index.erase(std::unique(index.begin(), index.end()), index.end());
    for (const int i : index) {
        const LigneMessage& ligne = messages.Ligne(i);
        lignes_.push_back({ligne.Client, ligne.Colonnes});
        if (ligne.Client && !sessionDe(ligne.Client.data())) sessions_.push_back({ligne.Client, EtatSession::AOuvrir});
    }
}

bool Suppression::confirmer() {
    const int nombre = static_cast<int>(lignes_.size());
    std::string question = Chaine(nombre > 1 ? 1548 : 1547);
    if (const std::size_t position = question.find("%d"); position != std::string::npos)
        question.replace(position, 2, std::to_string(nombre));
    return contexte_.ui.Demander(question, Chaine(1048));
}

// Une session déjà ouverte sur une boîte concernée (interrogation, lecture) doit finir avant
// qu'on se serve de son client. Celle qui dure au-delà du délai garde son client : les lignes
// de cette boîte sont laissées.
void Suppression::attendreBoitesOccupees() {
    auto occupee = [](const SessionBoite& s) { return s.Client && s.Client->Connected(); };
    AttendreQue([this, &occupee] { return std::none_of(sessions_.begin(), sessions_.end(), occupee); },
                demande_.AttenteBoiteOccupeeMs);
    for (SessionBoite& session : sessions_) {
        if (!occupee(session)) continue;
        session.Etat = EtatSession::Occupee;
        contexte_.ui.EcrireStatut(0, Chaine(1012) + label(session.Client.data()));
        contexte_.ui.EcrireDebug(3401, "Suppression : boîte occupée, messages laissés : " + label(session.Client.data()));
    }
}

void Suppression::supprimerLigne(const LigneChoisie& ligne) {
    SessionBoite* session = sessionDe(ligne.Client.data());
    if (!session || contexte_.boites.LigneDeClient(ligne.Client.data()) < 0 || !ouvrirSession(*session)) {
        ++resultat_.Laisses;
        return;
    }
    QPointer<ClientPop3> client = ligne.Client;
    const int numero = numeroActuel(ligne);
    bool effacee = false;
    if (numero > 0) {
        client->MsgNum = numero;
        const bool conforme = client->UidlSync() && client && client->MsgUidl == ligne.Colonnes[ColUidl];
        if (conforme) {
            client->MsgNum = numero;
            effacee = client->DeleSync();
        }
    }
    if (!effacee) {
        signalerPerime(client);
        return;
    }
    ++resultat_.Effaces;
    historiser(ligne);
    contexte_.ui.EcrireStatut(0, Chaine(1024) + ligne.Colonnes[ColExpediteur] + Chaine(1101));
}

// Vrai quand le client de la boîte tient une session ouverte par la suppression.
bool Suppression::ouvrirSession(SessionBoite& session) {
    QPointer<ClientPop3> client = session.Client;
    if (!client || session.Etat == EtatSession::Echec || session.Etat == EtatSession::Occupee) return false;
    if (client->Connected()) {
        if (session.Etat == EtatSession::Ouverte) return true;
        session.Etat = EtatSession::Occupee;  // ouverte par un autre entre-temps
        return false;
    }
    const std::string boite = label(client.data());
    const structBoite* fiche = contexte_.boites.BoiteDeLigne(contexte_.boites.LigneDeClient(client.data()));
    contexte_.ui.EcrireStatut(0, Chaine(1011) + boite + "...");
    if (fiche && fiche->Apop) {
        if (client->ConnectSync() && client) client->ApopSync();
    } else {
        client->OpenSync();
    }
    if (client && client->Connected()) {
        session.Etat = EtatSession::Ouverte;
        contexte_.ui.EcrireStatut(0, Chaine(1014) + boite);
        return true;
    }
    session.Etat = EtatSession::Echec;
    contexte_.ui.EcrireStatut(0, Chaine(1012) + boite);
    contexte_.ui.EcrireStatut(1, boite + "=>" + (client ? client->ErrorMessage : std::string()));
    return false;
}

// Le numéro du message sur le serveur : celui de sa ligne actuelle (une interrogation pendant
// la question a pu renuméroter la liste), sinon celui de la ligne copiée.
int Suppression::numeroActuel(const LigneChoisie& ligne) const {
    const std::string& uidl = ligne.Colonnes[ColUidl];
    const int index = ligne.Client ? contexte_.messages.TrouverMessage(uidl, *ligne.Client) : -1;
    return numeroMessage(index >= 0 ? contexte_.messages.Ligne(index).Caption() : ligne.Colonnes[0]);
}

void Suppression::historiser(const LigneChoisie& ligne) {
    if (!contexte_.etat.Parametres.HistoriseSuppression) return;
    const auto& c = ligne.Colonnes;
    ListeHisto& historique = contexte_.etat.Listes.Historique;
    historique.Lignes.insert(historique.Lignes.begin(),
                             LigneSuppressionManuelle(c[ColDate], c[ColExpediteur], c[ColSujet], c[ColDestinataireA],
                                                      c[ColDestinataireCc], c[ColBoiteOrigine]));
    historique.Modifiee = true;
    contexte_.ui.HistoriqueChange();
}

void Suppression::signalerPerime(const QPointer<ClientPop3>& client) {
    ++resultat_.Perimes;
    if (client && !client->ErrorMessage.empty()) {
        contexte_.ui.EcrireStatut(1, label(client.data()) + "=>" + client->ErrorMessage);
        contexte_.ui.EcrireDebug(3402, "Suppression refusée : \"" + client->ErrorMessage);
    }
    contexte_.ui.SignalerListePerimee();
}

// QUIT sur chaque session ouverte ici, dans l'ordre des boîtes : c'est lui qui fait appliquer
// les suppressions par le serveur.
void Suppression::fermerSessions() {
    std::vector<std::pair<int, QPointer<ClientPop3>>> ouvertes;
    for (const SessionBoite& session : sessions_) {
        if (session.Etat != EtatSession::Ouverte || !session.Client || !session.Client->Connected()) continue;
        ouvertes.emplace_back(contexte_.boites.LigneDeClient(session.Client.data()), session.Client);
    }
    std::stable_sort(ouvertes.begin(), ouvertes.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [ligne, client] : ouvertes) {
        if (ligne < 0) {
            // Boîte retirée entre-temps : la session est refermée sans autre suite.
            if (client) client->QuitSync();
            continue;
        }
        if (fermer(client)) aReinterroger_.push_back(client);
    }
}

bool Suppression::fermer(const QPointer<ClientPop3>& client) {
    const std::string boite = label(client.data());
    contexte_.ui.EcrireStatut(0, Chaine(1114) + boite);
    const bool acceptee = client && client->QuitSync();
    if (acceptee) contexte_.ui.EcrireStatut(0, Chaine(1115) + boite);
    const int delaiMs = client ? std::max(0, client->Timeout) * 1000 : 0;
    const bool fermee = acceptee && AttendreQue([&client] { return !client || !client->Connected(); }, delaiMs);
    if (!fermee || !client) {
        contexte_.ui.EcrireStatut(0, Chaine(1117) + boite);
        if (client && !client->ErrorMessage.empty()) contexte_.ui.EcrireStatut(1, boite + "=>" + client->ErrorMessage);
        return false;
    }
    contexte_.ui.EcrireStatut(0, Chaine(1116) + boite);
    return true;
}

// Chaque boîte refermée est interrogée de nouveau : ses lignes supprimées disparaissent et les
// autres sont renumérotées. Cette origine relève MoteurOccupe, qu'il faut rabaisser avant.
void Suppression::reinterroger() {
    for (const QPointer<ClientPop3>& client : aReinterroger_) {
        const int ligne = client ? contexte_.boites.LigneDeClient(client.data()) : -1;
        if (ligne < 0) continue;
        contexte_.etat.MoteurOccupe = false;
        scrutation_.Timer1Timer(OrigineScrutation::SuppressionManuelle, ligne);
        ++resultat_.BoitesReinterrogees;
    }
}

SessionBoite* Suppression::sessionDe(const ClientPop3* client) {
    if (!client) return nullptr;
    const auto trouvee = std::find_if(sessions_.begin(), sessions_.end(),
                                      [client](const SessionBoite& s) { return s.Client.data() == client; });
    return trouvee != sessions_.end() ? &*trouvee : nullptr;
}

std::string Suppression::label(const ClientPop3* client) const {
    const int ligne = contexte_.boites.LigneDeClient(client);
    return ligne >= 0 ? contexte_.boites.Ligne(ligne).Caption() : std::string();
}

} // namespace

ResultatSuppression SupprimerMessages(ContexteMoteur& contexte, Scrutation& scrutation,
                                      const DemandeSuppression& demande) {
    return Suppression(contexte, scrutation, demande).Executer();
}
