#pragma once
// Un moteur complet sans fenêtre : fichier de paramètres temporaire, boîtes chargées,
// listes, interface enregistreuse et ordonnanceur d'interrogations.
#include "InterfaceEnregistree.h"
#include "ServeursTest.h"
#include "donnees/FichierIni.h"
#include "moteur/ChargerBoites.h"
#include "moteur/ContexteMoteur.h"
#include "moteur/Scrutation.h"
#include "moteur/pop3/ClientPop3.h"

#include <QObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <string>

struct DefinitionBoite {
    std::string label;
    std::string utilisateur;
    std::string motDePasse;  // vide : celui du compte
    bool motDePasseEnClair = false;  // écrit derrière un point au lieu d'être brouillé
    bool ssl = false;
    bool apop = false;
    int intervalle = 0;      // 0 : pas de minuteur
    bool demarrage = true;
    int timeout = 10;
    std::string hote = "127.0.0.1";
    int port = 0;            // 0 : le port du serveur de test (POP3 ou POP3S)
};

class BancMoteur : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Écrit les sections des boîtes puis les charge comme au démarrage.
    void Charger(const std::vector<DefinitionBoite>& definitions);
    // Interroge la boîte de cette ligne comme un double clic.
    void Interroger(int ligne);
    ClientPop3& Client(int ligne);
    std::string NbMsg(int ligne) const;
    // Les colonnes "N° Msg" de la liste, ligne par ligne, en "numéro:uidl:boîte".
    std::vector<std::string> Lignes() const;
    // La ligne de la liste dont le sujet est celui-ci ; -1 sinon.
    int LigneDuSujet(const std::string& sujet) const;

    QTemporaryDir dossier_;
    std::unique_ptr<FichierIni> ini_;
    EtatProgramme etat_;
    StockBoites boites_;
    StockMessages messages_;
    InterfaceEnregistree ui_;
    ContexteMoteur contexte_{etat_, boites_, messages_, ui_};
    std::unique_ptr<QObject> proprietaire_;
    std::unique_ptr<Scrutation> scrutation_;
};
