#include "ChargerBoites.h"

#include "donnees/TypeRejet.h"
#include "pop3/ClientPop3.h"

#include <QPointer>
#include <climits>

namespace {

QTimer* creerMinuteur(int secondes, ClientPop3* client, const ContexteCreationBoite& contexte) {
    auto* minuteur = new QTimer(contexte.proprietaire);
    minuteur->setInterval(IntervalleMs(secondes));
    QPointer<ClientPop3> cible(client);
    auto surMinuteur = contexte.surMinuteur;
    QObject::connect(minuteur, &QTimer::timeout, minuteur, [cible, surMinuteur] {
        if (cible && surMinuteur) surMinuteur(cible.data());
    });
    return minuteur;
}

} // namespace

int IntervalleMs(int secondes) {
    if (secondes <= 0) return 0;
    if (secondes > INT_MAX / 1000) return INT_MAX;
    return secondes * 1000;
}

void RelancerMinuteur(structBoite& boite) {
    if (!boite.Timer) return;
    if (boite.Timer->interval() > 0) boite.Timer->start();
    else boite.Timer->stop();
}

std::array<std::string, NbColonnesBoite> ColonnesBoite(const ParametresBoite& p) {
    std::array<std::string, NbColonnesBoite> colonnes;
    colonnes[0] = p.Label;
    colonnes[ColIntervalle] = std::to_string(p.Intervalle);
    colonnes[ColIdentifiant] = p.Pop3ID;
    colonnes[ColServeur] = p.Pop3Mail;
    colonnes[ColFiltreDestinataire] = p.DestUnique;
    colonnes[ColTypeRejet] = LettreTypeRejet(p.TypeRejet);
    colonnes[ColNatureRejet] = std::to_string(p.NatureRejet);
    return colonnes;
}

void ReglerBoite(structBoite& boite, const ParametresBoite& p, const QSslConfiguration* contexteSsl) {
    ClientPop3& client = *boite.Client;
    client.UserName = p.Pop3ID;
    client.Host = p.Pop3Mail;
    client.Password = p.PasseClair;
    client.Port = std::to_string(p.Port);
    client.SslImplicite = p.Ssl;
    client.SslContext = p.Ssl ? contexteSsl : nullptr;
    boite.PasseClair = p.PasseClair;
    boite.Demarrage = p.Demarrage;
    boite.Apop = p.Apop;
    boite.AppliqueRejets = p.AppliqueRejets;
    boite.Ssl = p.Ssl;
    boite.Port = p.Port;
}

LigneBoite CreerLigneBoite(const ParametresBoite& p, const ContexteCreationBoite& contexte) {
    LigneBoite ligne;
    ligne.Donnees = std::make_unique<structBoite>();
    structBoite& boite = *ligne.Donnees;
    boite.Client = new ClientPop3(contexte.proprietaire);
    boite.Client->Timeout = p.TimeOut;
    ReglerBoite(boite, p, contexte.contexteSsl);
    boite.Timer = creerMinuteur(p.Intervalle, boite.Client, contexte);
    ligne.Colonnes = ColonnesBoite(p);
    ligne.Icone = p.AppliqueRejets ? kIconeBoiteFiltree : kIconeBoiteNonFiltree;
    RelancerMinuteur(boite);
    return ligne;
}

void ChargerBoites(const FichierIni& ini, const std::string* motDePasseDemarrage, StockBoites& boites,
                   std::vector<std::string>& sectionsBoites, const ContexteCreationBoite& contexte) {
    sectionsBoites = SectionsBoites(ini);
    for (const std::string& section : sectionsBoites)
        boites.Ajouter(CreerLigneBoite(LireParametresBoite(ini, section, motDePasseDemarrage), contexte));
}
