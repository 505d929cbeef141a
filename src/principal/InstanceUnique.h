#pragma once
// Une seule copie du programme par dossier de données : un verrou dans le dossier et un canal
// local nommé d'après lui, par lequel une deuxième copie prévient la première puis s'en va.
#include "donnees/DossierDonnees.h"

#include <QLocalServer>
#include <QLockFile>
#include <QObject>

class QLocalSocket;

// Nom du canal local d'un dossier de données : deux dossiers différents donnent deux canaux.
QString NomCanalInstance(const DossierDonnees& dossier);

class InstanceUnique : public QObject {
    Q_OBJECT
public:
    enum class Issue {
        Premiere,      // verrou pris : cette copie est la seule, elle écoute le canal
        AutreAvertie,  // une copie tourne déjà et a été prévenue : finir sans rien montrer
        Echec,         // verrou tenu par une copie qui ne répond pas, ou impossible à créer
    };

    explicit InstanceUnique(const DossierDonnees& dossier, QObject* parent = nullptr);
    ~InstanceUnique() override;

    // Prend le verrou ; s'il est tenu, prévient la copie qui le tient (en lui laissant
    // `delaiMs` pour répondre) ; si elle ne répond pas, reprend le verrou quand il est abandonné.
    Issue Prendre(int delaiMs = 2000);

    QString CheminVerrou() const { return cheminVerrou_; }

signals:
    // Une autre copie a été lancée (reçu par la première copie).
    void AutreInstance();

private:
    bool prevenirPremiere(int delaiMs);
    void ecouter();
    void accueillir();
    void lire(QLocalSocket* connexion);

    QString cheminVerrou_;
    QString nomCanal_;
    QLockFile verrou_;
    QLocalServer canal_;
};
