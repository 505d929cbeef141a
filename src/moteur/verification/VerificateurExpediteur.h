#pragma once
// Vérification de l'existence de l'expéditeur : serveurs de messagerie (MX) de son domaine
// demandés au serveur DNS, puis sonde SMTP du meilleur d'entre eux (sans envoyer de message).
#include "moteur/ContexteMoteur.h"
#include "moteur/classement/Classer.h"

#include <QHostAddress>
#include <string>

// Premier serveur DNS (IPv4) de /etc/resolv.conf, ou un texte vide.
std::string TrouverServeurDNS(const std::string& fichierResolv = "/etc/resolv.conf");

// Vrai quand l'état doit faire rejeter : (-1 et condition 0 ou 2) ou (-2 et condition 1 ou 2).
bool DecisionInexistantPour(int etatVerification, int conditions);

class VerificateurExpediteur : public VerificationExpediteur {
public:
    explicit VerificateurExpediteur(ContexteMoteur& contexte) : contexte_(contexte) {}

    void Reinitialiser() override { etat_ = 0; }
    void VerifierExpediteur(const std::string& expediteurTeste) override;
    bool DecisionInexistant() override;
    int EtatVerification() const override { return etat_; }

private:
    QHostAddress serveurDns() const;
    std::string meilleurServeurMx(const std::string& domaine);
    std::string adresseDuServeur(const std::string& nom);
    void sonder(const std::string& serveur, const std::string& expediteurTeste, const std::string& adresse);

    ContexteMoteur& contexte_;
    int etat_ = 0;
};
