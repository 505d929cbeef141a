// Entrée du programme.
#include "Tessaron1.h"
#include "donnees/DossierDonnees.h"

#include <QApplication>
#include <QTimer>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tessaron"));
    TForm1 fenetre(TrouverDossierDonnees(QApplication::arguments(), QApplication::applicationFilePath()));
    fenetre.show();
    QTimer::singleShot(0, &fenetre, [&fenetre] { fenetre.DemarrageSuite(); });
    return QApplication::exec();
}
