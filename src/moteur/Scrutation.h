#pragma once
// Quand une boîte est interrogée : minuteurs des boîtes, interrogation générale, recensement
// de démarrage, interruption.
#include "ContexteMoteur.h"

#include <QObject>
#include <QTimer>
#include <memory>

class ClientPop3;

// D'où vient une demande d'interrogation ; elle dit quelle boîte est visée.
enum class OrigineScrutation {
    ListeBoites,          // double clic sur la liste des boîtes : la ligne sélectionnée
    MenuBoite,            // "Interroger cette boîte" : la ligne sélectionnée
    SuppressionManuelle,  // suppression à la main : la ligne donnée
    InterrogationGenerale,  // bouton ou "&Interroger tout" : la ligne en cours de l'interrogation générale
    Minuteur              // minuteur d'une boîte : la boîte de ce client
};

class Scrutation : public QObject {
    Q_OBJECT
public:
    explicit Scrutation(ContexteMoteur& contexte, QObject* parent = nullptr);

    // L'entrée de toute interrogation. `ligne` sert aux origines qui désignent une ligne
    // (-1 : aucune sélection), `client` à celle du minuteur.
    void Timer1Timer(OrigineScrutation origine, int ligne = -1, ClientPop3* client = nullptr);
    // Interroge toutes les boîtes l'une après l'autre (F5).
    void Button1Click();
    // Recensement de démarrage : l'interrogation générale limitée aux boîtes qui y participent.
    void Recensement();
    // Crée le minuteur de démarrage (arrêté) ; LancerMinuteurDemarrage le met en marche.
    void CreerMinuteurDemarrage(const std::string& cheminParametres);
    void LancerMinuteurDemarrage();
    void FStartTimer();
    void BtnInterrompreClick();

private:
    void interrogerLigne(int ligne);
    void basculerMinuteurs(bool actifs);

    ContexteMoteur& contexte_;
    std::unique_ptr<QTimer> minuteurDemarrage_;
    std::string cheminParametres_;
};
