// Entrée du programme : ménage des anciens fichiers, copie unique, fenêtre principale et boucle
// d'événements.
#include "ClientMessagerie.h"
#include "Demarrage.h"
#include "InstanceUnique.h"
#include "SignauxFin.h"
#include "Tessaron1.h"
#include "donnees/Chaines.h"
#include "donnees/Cp1252.h"

#include <QFile>
#include <QSessionManager>
#include <cstdio>
#include <memory>

namespace {

// Ménage des anciens fichiers de langue, et relance quand il en a supprimé (sauf arrêt demandé
// pendant le message). Vrai quand cette copie doit finir.
bool finirApresMenage(const bool& arretDemande) {
    switch (NettoyerAnciensFichiers(QDir::current(), [](const QString& chemin) { return QFile::remove(chemin); },
                                    [](const std::string& texte) { MessageDemarrage(texte); })) {
    case IssueNettoyage::Continuer:
        return false;
    case IssueNettoyage::Relancer:
        if (!arretDemande && !RelancerProgramme()) std::fprintf(stderr, "Tessaron : impossible de se relancer\n");
        return true;
    case IssueNettoyage::Terminer:
        return true;
    }
    return true;
}

// Copie unique quand le réglage le demande. Rend faux quand cette copie doit finir ; `code`
// est alors son code de sortie.
bool prendreInstance(const DossierDonnees& dossier, std::unique_ptr<InstanceUnique>& instance, int& code) {
    if (LirePlusieursInstances(dossier)) return true;
    instance = std::make_unique<InstanceUnique>(dossier);
    switch (instance->Prendre()) {
    case InstanceUnique::Issue::Premiere:
        return true;
    case InstanceUnique::Issue::AutreAvertie:
        code = 0;
        return false;
    case InstanceUnique::Issue::Echec:
        break;
    }
    const std::string texte = Chaine(90303) + versCp1252(instance->CheminVerrou());
    std::fprintf(stderr, "%s\n", cp1252VersUtf8(texte).c_str());
    MessageDemarrage(texte, true);
    code = 1;
    return false;
}

void fermerEtQuitter(TForm1& fenetre) {
    fenetre.FermerProgramme();
    QCoreApplication::quit();
}

// Branche la fenêtre sur les événements du système : autre copie lancée, fin de session,
// signaux d'arrêt.
void brancherFenetre(TForm1& fenetre, InstanceUnique* instance, SignauxFin& signaux) {
    if (instance) QObject::connect(instance, &InstanceUnique::AutreInstance, &fenetre, &TForm1::AutreInstance);
    QObject::connect(qApp, &QGuiApplication::commitDataRequest, &fenetre,
                     [&fenetre](QSessionManager&) { fenetre.FermerProgramme(); });
    QObject::connect(&signaux, &SignauxFin::FinDemandee, &fenetre, [&fenetre](int) { fermerEtQuitter(fenetre); });
}

} // namespace

int main(int argc, char** argv) {
    ApplicationTessaron application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tessaron"));
    ChargerTraductionsQt(application);
    // Dès le début. Tant que la fenêtre n'existe pas, un signal d'arrêt est noté et ferme la
    // boîte modale ouverte (message de démarrage, mot de passe) ; la fermeture suit dès que la
    // fenêtre existe.
    SignauxFin signaux;
    bool arretDemande = false;
    const QMetaObject::Connection avantFenetre =
        QObject::connect(&signaux, &SignauxFin::FinDemandee, &application, [&arretDemande](int) {
            arretDemande = true;
            if (QWidget* modale = QApplication::activeModalWidget()) modale->close();
        });

    if (finirApresMenage(arretDemande)) return 0;
    const DossierDonnees dossier = TrouverDossierDonnees(QApplication::arguments(), QApplication::applicationFilePath());
    std::unique_ptr<InstanceUnique> instance;
    int code = 0;
    if (!prendreInstance(dossier, instance, code)) return code;

    TForm1 fenetre(dossier);
    // Mot de passe de démarrage refusé : fin immédiate, rien n'est enregistré.
    if (!fenetre.Accepte()) return 0;
    const ClientMessagerie client = TrouverClientMessagerie();
    fenetre.DefinirClientMessagerie(client);
    QObject::disconnect(avantFenetre);
    brancherFenetre(fenetre, instance.get(), signaux);
    fenetre.show();
    // Seconde phase au premier passage de la boucle d'événements, ou la fermeture quand un
    // arrêt a été demandé entre-temps.
    if (arretDemande) QMetaObject::invokeMethod(&fenetre, [&fenetre] { fermerEtQuitter(fenetre); }, Qt::QueuedConnection);
    else QMetaObject::invokeMethod(&fenetre, [&fenetre] { fenetre.DemarrageSuite(); }, Qt::QueuedConnection);
    return QApplication::exec();
}
