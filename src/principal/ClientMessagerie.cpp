#include "ClientMessagerie.h"

#include "donnees/Cp1252.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <algorithm>

namespace {

// Longueur gardée de la valeur d'une variable d'environnement.
constexpr std::size_t kLongueurVariable = 126;
// Un fichier .desktop plus grand n'en est pas un : on ne le lit pas.
constexpr qint64 kTailleMaxBureau = 1 << 20;

// `texte` commence par "%" : le nom va jusqu'au "%" suivant, ou jusqu'à l'avant-dernier
// caractère faute de "%" (le dernier tient alors lieu de "%" fermant).
std::string developperVariable(const std::string& texte,
                               const std::function<std::string(const std::string&)>& variable) {
    const std::size_t dernier = std::max<std::size_t>(texte.size() - 1, 1);
    std::size_t fin = 1;
    while (fin < dernier && texte[fin] != '%')
        ++fin;
    std::string valeur = variable(texte.substr(1, fin - 1));
    if (valeur.size() > kLongueurVariable) valeur.resize(kLongueurVariable);
    if (fin + 1 < texte.size()) valeur += texte.substr(fin + 1);
    return valeur;
}

// Traduit les séquences d'échappement des valeurs d'un fichier .desktop.
QString desechapperValeur(const QString& brut) {
    QString texte;
    texte.reserve(brut.size());
    for (qsizetype i = 0; i < brut.size(); ++i) {
        if (brut[i] != u'\\' || i + 1 == brut.size()) {
            texte.append(brut[i]);
            continue;
        }
        const QChar suivant = brut[++i];
        if (suivant == u's')
            texte.append(u' ');
        else if (suivant == u'n')
            texte.append(u'\n');
        else if (suivant == u't')
            texte.append(u'\t');
        else if (suivant == u'r')
            texte.append(u'\r');
        else if (suivant == u'\\')
            texte.append(u'\\');
        else
            texte.append(u'\\').append(suivant); // inconnue : gardée, pour la ligne Exec
    }
    return texte;
}

bool estCodeChamp(QChar lettre) {
    return QStringLiteral("fFuUdDnNickvm").contains(lettre);
}

// Un exécutable existe : chemin d'un fichier, ou nom trouvé dans le PATH.
bool executableExiste(const std::string& nom) {
    if (nom.empty()) return false;
    const QString chemin = depuisCp1252(nom);
    if (chemin.contains(u'/')) return QFileInfo(chemin).isFile();
    return !QStandardPaths::findExecutable(chemin).isEmpty();
}

std::string variableEnvironnement(const std::string& nom) {
    if (nom.empty()) return {};
    return versCp1252(qEnvironmentVariable(depuisCp1252(nom).toLocal8Bit().constData()));
}

// L'identifiant du fichier .desktop du gestionnaire mailto ; vide quand l'outil est absent,
// se tait au-delà du délai ou répond autre chose qu'un identifiant.
QString identifiantGestionnaireMailto(int delaiMs) {
    QProcess outil;
    outil.setProcessChannelMode(QProcess::SeparateChannels);
    outil.setStandardInputFile(QProcess::nullDevice());
    outil.start(QStringLiteral("xdg-mime"), {QStringLiteral("query"), QStringLiteral("default"),
                                             QStringLiteral("x-scheme-handler/mailto")});
    if (!outil.waitForStarted(delaiMs)) return {};
    if (!outil.waitForFinished(delaiMs)) {
        outil.kill();
        outil.waitForFinished(delaiMs);
        return {};
    }
    if (outil.exitStatus() != QProcess::NormalExit || outil.exitCode() != 0) return {};
    const QString premiere =
        QString::fromUtf8(outil.readAllStandardOutput().left(4096)).section(u'\n', 0, 0).trimmed();
    if (!premiere.endsWith(QLatin1String(".desktop")) || premiere.contains(u'/')) return {};
    return premiere;
}

QByteArray lireFichierBureau(const QString& chemin) {
    QFile fichier(chemin);
    if (!fichier.open(QIODevice::ReadOnly) || fichier.size() > kTailleMaxBureau) return {};
    return fichier.read(kTailleMaxBureau);
}

} // namespace

std::string ExtraireExecutable(const std::string& v, std::function<std::string(const std::string&)> variable,
                               std::function<bool(const std::string&)> existe) {
    if (v.empty()) return {};
    std::string texte = v;
    if (texte.front() == '"') {
        texte.erase(0, 1);
        const std::size_t guillemet = texte.find('"');
        if (guillemet != std::string::npos) texte.erase(guillemet);
    }
    if (!texte.empty() && texte.front() == '%') texte = developperVariable(texte, variable);
    const std::size_t virgule = texte.find(',');
    if (virgule != std::string::npos) texte.erase(virgule);
    while (!texte.empty() && !existe(texte))
        texte.pop_back();
    return texte;
}

EntreeBureau LireEntreeBureau(const QByteArray& contenu) {
    EntreeBureau entree;
    bool dansGroupe = false;
    for (const QByteArray& brute : contenu.split('\n')) {
        const QString ligne = QString::fromUtf8(brute).trimmed();
        if (ligne.isEmpty() || ligne.startsWith(u'#')) continue;
        if (ligne.startsWith(u'[')) {
            dansGroupe = ligne == QLatin1String("[Desktop Entry]");
            continue;
        }
        const qsizetype egal = ligne.indexOf(u'=');
        if (!dansGroupe || egal <= 0) continue;
        const QString cle = ligne.left(egal).trimmed();
        const QString valeur = desechapperValeur(ligne.mid(egal + 1).trimmed());
        // La première occurrence d'une clé fait foi.
        if (cle == QLatin1String("Exec") && entree.exec.isEmpty())
            entree.exec = valeur;
        else if (cle == QLatin1String("Icon") && entree.icone.isEmpty())
            entree.icone = valeur;
    }
    return entree;
}

QString RetirerCodesChamp(const QString& exec) {
    QString texte;
    for (qsizetype i = 0; i < exec.size(); ++i) {
        if (exec[i] != u'%' || i + 1 == exec.size()) {
            texte.append(exec[i]);
            continue;
        }
        const QChar suivant = exec[++i];
        if (suivant == u'%')
            texte.append(u'%');
        else if (!estCodeChamp(suivant))
            texte.append(u'%').append(suivant);
    }
    return texte.simplified();
}

QStringList DossiersApplications() {
    QStringList dossiers;
    QString maison = qEnvironmentVariable("XDG_DATA_HOME");
    if (maison.isEmpty() || !QDir::isAbsolutePath(maison))
        maison = QDir::homePath() + QStringLiteral("/.local/share");
    dossiers << maison + QStringLiteral("/applications");
    QString systeme = qEnvironmentVariable("XDG_DATA_DIRS");
    if (systeme.isEmpty()) systeme = QStringLiteral("/usr/local/share:/usr/share");
    for (const QString& dossier : systeme.split(u':', Qt::SkipEmptyParts)) {
        if (QDir::isAbsolutePath(dossier)) dossiers << dossier + QStringLiteral("/applications");
    }
    return dossiers;
}

QString TrouverFichierBureau(const QString& identifiant, const QStringList& dossiers) {
    if (identifiant.isEmpty() || identifiant.contains(u'/')) return {};
    for (const QString& dossier : dossiers) {
        const QString direct = dossier + u'/' + identifiant;
        if (QFileInfo(direct).isFile()) return direct;
        // Dans un sous-dossier, l'identifiant est le chemin relatif aux "/" remplacés par "-".
        const QDir racine(dossier);
        QDirIterator parcours(dossier, {QStringLiteral("*.desktop")}, QDir::Files,
                              QDirIterator::Subdirectories);
        while (parcours.hasNext()) {
            const QString chemin = parcours.next();
            if (racine.relativeFilePath(chemin).replace(u'/', u'-') == identifiant) return chemin;
        }
    }
    return {};
}

ClientMessagerie TrouverClientMessagerie(int delaiMs) {
    ClientMessagerie client;
    const QString fichier =
        TrouverFichierBureau(identifiantGestionnaireMailto(delaiMs), DossiersApplications());
    if (fichier.isEmpty()) return client;
    const EntreeBureau entree = LireEntreeBureau(lireFichierBureau(fichier));
    std::string executable = ExtraireExecutable(versCp1252(RetirerCodesChamp(entree.exec)),
                                                variableEnvironnement, executableExiste);
    // Un nom trouvé dans le PATH devient le chemin complet.
    if (!executable.empty() && executable.find('/') == std::string::npos)
        executable = versCp1252(QStandardPaths::findExecutable(depuisCp1252(executable)));
    client.executable = executable;
    client.icone = versCp1252(entree.icone);
    client.commande = versCp1252(entree.exec);
    return client;
}

std::string TexteDiagnosticMessagerie(const ClientMessagerie& client) {
    return "x-scheme-handler/mailto Icon :\r\n" + client.icone +
           "\r\n\r\nx-scheme-handler/mailto Exec :\r\n" + client.commande;
}
