#pragma once
// La liste déroulante de l'historique d'état : lignes dessinées par le programme, la plus récente
// en haut et affichée liste fermée, 15 lignes visibles une fois déroulée.
#include <QComboBox>

class ListeHistorique : public QComboBox {
    Q_OBJECT
public:
    explicit ListeHistorique(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* evenement) override;
};
