#pragma once
// Une interrogation d'une boîte : une session POP3 ouverte, parcourue et refermée.
#include "ContexteMoteur.h"

#include <QPointer>
#include <string>
#include <unordered_set>

class ClientPop3;

class SessionPop3 {
public:
    // `nombreAvant` : lignes de la liste des messages quand l'interrogation a été demandée.
    SessionPop3(ContexteMoteur& contexte, ClientPop3& client, int nombreAvant);
    void Executer();

private:
    void preparer();
    void authentifier();
    void signalerErreurConnexion();
    void echecConnexion();
    void parcourirMessages(int nombre);
    bool traiterMessage(int numero, int& supprimes);
    void signalerErreurServeur(const std::string& detail);
    void reconcilier();
    void terminer(bool finNormale);
    int ligneBoite() const;
    bool interruptionDemandee() const;

    ContexteMoteur& contexte_;
    QPointer<ClientPop3> client_;
    std::string label_;
    int nombreAvant_;
    // Lignes d'en-tête du message en cours : propres à cette session, pour que deux sessions
    // imbriquées ne mêlent jamais leurs lignes.
    std::string tamponEntete_;
    std::unordered_set<std::string> uidlSession_;
};
