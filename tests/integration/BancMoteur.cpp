#include "BancMoteur.h"

#include "donnees/MotDePasse.h"
#include "moteur/pop3/ContexteSsl.h"

void BancMoteur::SetUp() {
    if (!ServeursTest::Disponibles()) GTEST_SKIP() << "serveurs de test absents (lancer scripts/test)";
    ASSERT_TRUE(dossier_.isValid());
    ini_ = std::make_unique<FichierIni>(dossier_.filePath(QStringLiteral("Tessaron.ini")));
    etat_.ContexteSsl = QSslConfiguration::defaultConfiguration();
    ASSERT_TRUE(AjouterAutorites(etat_.ContexteSsl, ServeursTest::FichierCa()));
    etat_.Parametres.VerifVersionDemar = false;
    proprietaire_ = std::make_unique<QObject>();
    scrutation_ = std::make_unique<Scrutation>(contexte_);
}

void BancMoteur::TearDown() {
    scrutation_.reset();
    proprietaire_.reset();
}

void BancMoteur::Charger(const std::vector<DefinitionBoite>& definitions) {
    for (const auto& d : definitions) {
        const std::string& s = d.label;
        ini_->EcrireTexte(s, "Pop3ID", d.utilisateur);
        ini_->EcrireTexte(s, "Pop3Mail", d.hote);
        const std::string mdp = d.motDePasse.empty() ? ServeursTest::MotDePasse(d.utilisateur) : d.motDePasse;
        ini_->EcrireTexte(s, "Pop3Mdp", d.motDePasseEnClair ? "." + mdp : BrouillePasse(mdp));
        const int port = d.port ? d.port : (d.ssl ? ServeursTest::PortPop3s() : ServeursTest::PortPop3());
        ini_->EcrireEntier(s, "Pop3Port", port);
        ini_->EcrireBooleen(s, "Pop3SSL", d.ssl);
        ini_->EcrireBooleen(s, "Pop3APOP", d.apop);
        ini_->EcrireEntier(s, "Intervalle", d.intervalle);
        ini_->EcrireBooleen(s, "Pop3Demar", d.demarrage);
        ini_->EcrireEntier(s, "TimeOut", d.timeout);
    }
    ContexteCreationBoite creation;
    creation.proprietaire = proprietaire_.get();
    creation.contexteSsl = &etat_.ContexteSsl;
    creation.surMinuteur = [this](ClientPop3* client) {
        scrutation_->Timer1Timer(OrigineScrutation::Minuteur, -1, client);
    };
    ChargerBoites(*ini_, nullptr, boites_, etat_.SectionsBoites, creation);
}

void BancMoteur::Interroger(int ligne) { scrutation_->Timer1Timer(OrigineScrutation::ListeBoites, ligne); }

ClientPop3& BancMoteur::Client(int ligne) { return *boites_.BoiteDeLigne(ligne)->Client; }

std::string BancMoteur::NbMsg(int ligne) const { return boites_.Ligne(ligne).Colonnes[ColNbMsg]; }

std::vector<std::string> BancMoteur::Lignes() const {
    std::vector<std::string> lignes;
    for (int i = 0; i < messages_.Nombre(); ++i) {
        const auto& l = messages_.Ligne(i);
        lignes.push_back(l.Caption() + ":" + l.Colonnes[ColUidl] + ":" + l.Colonnes[ColBoiteOrigine]);
    }
    return lignes;
}

int BancMoteur::LigneDuSujet(const std::string& sujet) const {
    for (int i = 0; i < messages_.Nombre(); ++i)
        if (messages_.Ligne(i).Colonnes[ColSujet] == sujet) return i;
    return -1;
}
