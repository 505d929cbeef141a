#include "BilanScrutation.h"

#include "donnees/Chaines.h"

#include <QTime>

namespace {

std::string titreListe(int n) {
    const std::string& format = Chaine(n > 1 ? 1536 : 1535);
    std::string texte;
    const std::size_t position = format.find("%d");
    if (position == std::string::npos) texte = format;
    else texte = format.substr(0, position) + std::to_string(n) + format.substr(position + 2);
    return texte + Chaine(1036);
}

} // namespace

void BilanFinScrutation(ContexteMoteur& contexte, const std::string& label, int nombreAvant) {
    InterfaceMoteur& ui = contexte.ui;
    const int n = contexte.messages.Nombre();
    if (n > 0) {
        if (n > nombreAvant) ui.AnimerIconeTray(true);
        ui.TitreListeMessages(titreListe(n));
    } else {
        ui.AnimerIconeTray(false);
        ui.ImageIconeTray(contexte.etat.ScrutationActive ? 0 : 2);
    }
    ui.BulleIconeTray(ui.LegendeFenetre() + " - " + std::to_string(n) + " message" + (n > 1 ? "s" : ""));
    const ParametresGlobaux& p = contexte.etat.Parametres;
    if (n > nombreAvant && p.Son) ui.JouerSon(p.FichierSon, SonSysteme::NouveauMessage);
    const std::string heure = QTime::currentTime().toString(QStringLiteral("HH:mm:ss")).toStdString();
    ui.EcrireStatut(0, Chaine(1038) + label + ": " + heure);
}
