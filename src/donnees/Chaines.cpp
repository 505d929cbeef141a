#include "Chaines.h"

#include "Cp1252.h"

#include <QFile>
#include <unordered_map>

// Les ressources d'une bibliothèque statique doivent être enregistrées à la main.
static void initialiserRessources() { Q_INIT_RESOURCE(ressources); }

namespace {

// Une ligne du fichier : numéro, tabulation, texte (UTF-8). Dans le texte, une barre oblique
// inverse suivie de n, r, t ou d'elle-même donne le caractère de contrôle ou la barre.
std::string desechapper(const QString& brut) {
    QString texte;
    for (qsizetype i = 0; i < brut.size(); ++i) {
        QChar c = brut[i];
        if (c == u'\\' && i + 1 < brut.size()) {
            QChar s = brut[++i];
            if (s == u'n') c = u'\n';
            else if (s == u'r') c = u'\r';
            else if (s == u't') c = u'\t';
            else c = s;
        }
        texte.append(c);
    }
    return versCp1252(texte);
}

std::unordered_map<int, std::string> chargerTable() {
    std::unordered_map<int, std::string> table;
    initialiserRessources();
    QFile fichier(QStringLiteral(":/chaines.tsv"));
    if (!fichier.open(QIODevice::ReadOnly)) return table;
    const QStringList lignes = QString::fromUtf8(fichier.readAll()).split(u'\n');
    for (const QString& ligne : lignes) {
        const qsizetype tab = ligne.indexOf(u'\t');
        if (tab <= 0 || ligne.startsWith(u'#')) continue;
        bool ok = false;
        const int numero = ligne.left(tab).toInt(&ok);
        if (ok) table[numero] = desechapper(ligne.mid(tab + 1));
    }
    return table;
}

const std::unordered_map<int, std::string>& table() {
    static const std::unordered_map<int, std::string> laTable = chargerTable();
    return laTable;
}

} // namespace

const std::string& Chaine(int numero) {
    static const std::string vide;
    const auto& t = table();
    const auto it = t.find(numero);
    return it == t.end() ? vide : it->second;
}

QString ChaineQ(int numero) { return depuisCp1252(Chaine(numero)); }
