#include "TestInternet.h"

#include "donnees/Chaines.h"

#include <QNetworkInformation>

bool TesterInternet(ContexteMoteur& contexte) {
    if (!contexte.etat.Parametres.TestInternet) return true;
    contexte.ui.EcrireStatut(0, Chaine(1006));
    if (!QNetworkInformation::instance() && !QNetworkInformation::loadBackendByFeatures(QNetworkInformation::Feature::Reachability)) {
        contexte.ui.Avertir(Chaine(1058));
        return false;
    }
    QNetworkInformation* information = QNetworkInformation::instance();
    if (!information || !information->supports(QNetworkInformation::Feature::Reachability)) {
        contexte.ui.Avertir(Chaine(1059));
        return false;
    }
    return information->reachability() != QNetworkInformation::Reachability::Disconnected;
}
