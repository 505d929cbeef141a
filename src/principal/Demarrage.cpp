#include "Demarrage.h"

#include "donnees/Chaines.h"
#include "donnees/Cp1252.h"
#include "donnees/FichierIni.h"

#include <QFileInfo>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QProcess>
#include <QTranslator>
#include <cstdio>
#include <exception>

namespace {

bool messagesAutomatiques() { return qEnvironmentVariable("TESSARON_MESSAGES_AUTOMATIQUES") == QLatin1String("1"); }

void montrerErreurInattendue(const QString& detail) {
    MessageDemarrage(Chaine(90304) + versCp1252(detail), true);
}

} // namespace

ApplicationTessaron::ApplicationTessaron(int& argc, char** argv) : QApplication(argc, argv) {}

bool ApplicationTessaron::notify(QObject* destinataire, QEvent* evenement) {
    try {
        return QApplication::notify(destinataire, evenement);
    } catch (const std::exception& exception) {
        montrerErreurInattendue(QString::fromLocal8Bit(exception.what()));
    } catch (...) {
        montrerErreurInattendue({});
    }
    return false;
}

void MessageDemarrage(const std::string& texte, bool erreur) {
    if (messagesAutomatiques()) {
        std::fprintf(stderr, "%s\n", cp1252VersUtf8(texte).c_str());
        std::fflush(stderr);
        return;
    }
    QMessageBox boite(erreur ? QMessageBox::Critical : QMessageBox::NoIcon, QStringLiteral("Tessaron"),
                      depuisCp1252(texte), QMessageBox::Ok);
    boite.exec();
}

IssueNettoyage NettoyerAnciensFichiers(const QDir& courant, const std::function<bool(const QString&)>& supprimer,
                                       const std::function<void(const std::string&)>& afficher) {
    bool supprime = false;
    for (const char* nom : {"Tessaron.FRA", "Tessaron.ENU"}) {
        const QString chemin = courant.filePath(QString::fromLatin1(nom));
        if (!QFileInfo(chemin).isFile()) continue;
        if (!supprimer(chemin)) {
            afficher(Chaine(90300) + nom + Chaine(90301));
            return IssueNettoyage::Terminer;
        }
        supprime = true;
    }
    if (!supprime) return IssueNettoyage::Continuer;
    afficher(Chaine(90302));
    return IssueNettoyage::Relancer;
}

bool RelancerProgramme() {
    return QProcess::startDetached(QCoreApplication::applicationFilePath(), QCoreApplication::arguments().mid(1));
}

bool LirePlusieursInstances(const DossierDonnees& dossier) {
    const FichierIni ini(dossier.fichierIni());
    return ini.LireBooleen("Tessaron", "PlusieursInstances", false);
}

QTranslator* ChargerTraductionsQt(QCoreApplication& application) {
    auto* traducteur = new QTranslator(&application);
    const QStringList dossiers = {QLibraryInfo::path(QLibraryInfo::TranslationsPath),
                                  QStringLiteral("/usr/share/qt6/translations")};
    for (const QString& dossier : dossiers) {
        if (traducteur->load(QStringLiteral("qtbase_fr"), dossier) && QCoreApplication::installTranslator(traducteur))
            return traducteur;
    }
    delete traducteur;
    return nullptr;
}
