#pragma once
// Ce que fait le programme avant que la fenêtre principale n'existe : ménage des anciens
// fichiers de langue, relance, réglage du nombre d'instances, traductions de Qt, et les
// messages de démarrage.
#include "donnees/DossierDonnees.h"

#include <QApplication>
#include <QDir>
#include <functional>
#include <string>

class QTranslator;

// L'application : une exception qui remonte jusqu'à la boucle d'événements est montrée dans
// une boîte d'erreur, et la boucle continue.
class ApplicationTessaron : public QApplication {
public:
    ApplicationTessaron(int& argc, char** argv);
    bool notify(QObject* destinataire, QEvent* evenement) override;
};

// Message de démarrage (octets Windows-1252) dans une boîte titrée "Tessaron", attendue avant
// de continuer.
// Crochet d'essai : quand la variable d'environnement TESSARON_MESSAGES_AUTOMATIQUES vaut 1,
// le texte est écrit sur la sortie d'erreur et la boîte est tenue pour acceptée aussitôt, sans
// rien afficher : les essais qui lancent le vrai programme ne restent pas bloqués devant elle.
void MessageDemarrage(const std::string& texte, bool erreur = false);

enum class IssueNettoyage {
    Continuer,  // aucun ancien fichier
    Relancer,   // au moins un fichier supprimé, message montré : relancer puis finir
    Terminer,   // une suppression a échoué, message montré : finir
};

// Supprime "Tessaron.FRA" puis "Tessaron.ENU" du dossier `courant` quand ils existent ; un échec
// montre son message (par `afficher`) et arrête là ; sinon, quand au moins un a été supprimé,
// montre le message de relance.
IssueNettoyage NettoyerAnciensFichiers(const QDir& courant, const std::function<bool(const QString&)>& supprimer,
                                       const std::function<void(const std::string&)>& afficher);

// Relance l'exécutable du programme avec les mêmes arguments, détaché de cette copie.
bool RelancerProgramme();

// `PlusieursInstances` du fichier de paramètres (faux par défaut), lu puis le fichier refermé.
bool LirePlusieursInstances(const DossierDonnees& dossier);

// Charge les traductions françaises de Qt (boutons "Oui"/"Non", dialogues standard) et les
// installe dans l'application ; rend le traducteur installé (appartenant à l'application),
// ou nullptr quand le fichier est introuvable.
QTranslator* ChargerTraductionsQt(QCoreApplication& application);
