#pragma once
// Mise en veille et sortie de veille de la machine, annoncées par logind sur le bus système.
// Sans bus système ou sans logind, rien n'arrive.
#include <QObject>

class Veille : public QObject {
    Q_OBJECT
public:
    explicit Veille(QObject* parent = nullptr);
    bool Ecoute() const { return ecoute_; }

signals:
    // `miseEnVeille` vrai avant la mise en veille, faux à la sortie de veille.
    void Changement(bool miseEnVeille);

private slots:
    void PrepareForSleep(bool debut);

private:
    bool ecoute_ = false;
};
