#pragma once
// Entrée de menu dessinée par le programme : un début de texte ordinaire puis un motif en
// rouge ("Trouver le filtre " + motif). Fond de sélection quand elle est survolée.
#include <QWidgetAction>

class EntreeMenuMotif : public QWidgetAction {
    Q_OBJECT
public:
    EntreeMenuMotif(const QString& debut, const QString& motif, QObject* parent);

    QString Debut() const { return debut_; }
    QString Motif() const { return motif_; }

protected:
    QWidget* createWidget(QWidget* parent) override;

private:
    QString debut_;
    QString motif_;
};
