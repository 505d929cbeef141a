// Journal de débogage : format des lignes, mode fichier par double-clic, recopie des lignes d'état,
// et rien du tout sans le mode de débogage.
#include "principal/JournalDebug.h"

#include <QDateTime>
#include <QDesktopServices>
#include <QFile>
#include <QLabel>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <QVBoxLayout>
#include <QWidget>

#include <string>
#include <vector>

// Reçoit les adresses que le programme demande d'ouvrir.
class ReceveurUrl : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void ouvrir(const QUrl& url) { urls << url; }
};

// L'étiquette dans une fenêtre affichée, pour recevoir les clics.
struct FenetreEtiquette {
    QWidget fenetre;
    explicit FenetreEtiquette(JournalDebug& journal) {
        (new QVBoxLayout(&fenetre))->addWidget(journal.Etiquette());
        fenetre.show();
    }
};

class TestJournalDebug : public QObject {
    Q_OBJECT

private:
    static QByteArray lire(const QString& chemin) {
        QFile fichier(chemin);
        return fichier.open(QIODevice::ReadOnly) ? fichier.readAll() : QByteArray();
    }

    static void ecrire(const QString& chemin, const QByteArray& contenu) {
        QFile fichier(chemin);
        QVERIFY(fichier.open(QIODevice::WriteOnly));
        fichier.write(contenu);
    }

    static QColor couleurTexte(const QLabel* etiquette) {
        return etiquette->palette().color(QPalette::WindowText);
    }

private slots:
    void formatDesLignes_data() {
        QTest::addColumn<int>("numero");
        QTest::addColumn<QByteArray>("texte");
        QTest::addColumn<QByteArray>("attendu");
        QTest::newRow("petit numero sans texte")
            << 7 << QByteArray() << QByteArray("   7 : 05/03/2024 09:08:07\r\n");
        QTest::newRow("quatre chiffres avec texte")
            << 1234 << QByteArray("Connexion") << QByteArray("1234 : 05/03/2024 09:08:07,Connexion\r\n");
        QTest::newRow("cinq chiffres")
            << 12345 << QByteArray("x") << QByteArray("12345 : 05/03/2024 09:08:07,x\r\n");
        QTest::newRow("octets windows-1252")
            << 42 << QByteArray("\xE9t\xE9") << QByteArray("  42 : 05/03/2024 09:08:07,\xE9t\xE9\r\n");
    }

    void formatDesLignes() {
        QFETCH(int, numero);
        QFETCH(QByteArray, texte);
        QFETCH(QByteArray, attendu);
        // Le format reste français quelle que soit la langue du système.
        QLocale::setDefault(QLocale(QLocale::Arabic, QLocale::Egypt));
        const QDateTime moment(QDate(2024, 3, 5), QTime(9, 8, 7));
        const std::string ligne = LigneDebug(numero, moment, texte.toStdString());
        QLocale::setDefault(QLocale::c());
        QCOMPARE(QByteArray::fromStdString(ligne), attendu);
    }

    void doubleClicEcritDansLeFichier() {
        QTemporaryDir dossier;
        const QString chemin = dossier.filePath(QStringLiteral("TessaronDebug.txt"));
        JournalDebug journal(true, chemin);
        std::vector<std::string> bulles, textesPanneau;
        int finsModeFichier = 0;
        journal.SurBulleTray = [&](const std::string& texte) { bulles.push_back(texte); };
        journal.SurTexteFichier = [&](const std::string& texte) { textesPanneau.push_back(texte); };
        journal.SurFinModeFichier = [&] { ++finsModeFichier; };
        FenetreEtiquette fenetre(journal);
        QLabel* etiquette = journal.Etiquette();
        QVERIFY(etiquette->toolTip().startsWith(QStringLiteral("- Double-clic pour débuguer")));

        // Hors mode fichier : l'étiquette change, le fichier n'est pas créé.
        journal.EcrireDebug(7, "");
        journal.EchoStatut("Pr\xEAt");
        QCOMPARE(etiquette->text(), QStringLiteral("Debug    7"));
        QCOMPARE(bulles, std::vector<std::string>{"Debug    7"});
        QVERIFY(!QFile::exists(chemin));

        // Un fichier déjà là est complété, pas remplacé ; sa taille s'affiche avec des points.
        ecrire(chemin, QByteArray(1234, 'a'));
        QTest::mouseDClick(etiquette, Qt::LeftButton);
        QVERIFY(journal.ModeFichier());
        QCOMPARE(couleurTexte(etiquette), QColor(255, 0, 0));
        QCOMPARE(textesPanneau, std::vector<std::string>{
                                    "Debug File -> TessaronDebug.txt de taille actuelle: 1.234 octets"});

        journal.EcrireDebug(1234, "Connexion");
        journal.EcrireDebug(7, "");
        journal.EchoStatut("Pr\xEAt");
        const QByteArray contenu = lire(chemin);
        QCOMPARE(contenu.left(1234), QByteArray(1234, 'a'));
        const QRegularExpression attendu(
            QStringLiteral("^1234 : \\d\\d/\\d\\d/\\d{4} \\d\\d:\\d\\d:\\d\\d,Connexion\r\n"
                           "   7 : \\d\\d/\\d\\d/\\d{4} \\d\\d:\\d\\d:\\d\\d\r\n"
                           " Pr\u00EAt\r\n$"));
        QVERIFY2(attendu.match(QString::fromLatin1(contenu.mid(1234))).hasMatch(),
                 contenu.mid(1234).constData());
        QCOMPARE(etiquette->text(), QStringLiteral("Debug    7"));

        QTest::mouseDClick(etiquette, Qt::LeftButton);
        QVERIFY(!journal.ModeFichier());
        QCOMPARE(couleurTexte(etiquette), QColor(Qt::black));
        QCOMPARE(finsModeFichier, 1);
        journal.EcrireDebug(8, "texte");
        journal.EchoStatut("Pr\xEAt");
        QCOMPARE(lire(chemin), contenu);
    }

    void fichierImpossibleAOuvrirEstIgnore() {
        QTemporaryDir dossier;
        JournalDebug journal(true, dossier.filePath(QStringLiteral("absent/TessaronDebug.txt")));
        FenetreEtiquette fenetre(journal);
        QTest::mouseDClick(journal.Etiquette(), Qt::LeftButton);
        QVERIFY(journal.ModeFichier());
        journal.EcrireDebug(12, "texte");
        journal.EchoStatut("ligne");
        QCOMPARE(journal.Etiquette()->text(), QStringLiteral("Debug   12"));
        QVERIFY(!QFile::exists(dossier.filePath(QStringLiteral("absent"))));
        QCOMPARE(journal.TexteTailleFichier(),
                 "Debug File -> TessaronDebug.txt de taille actuelle: 0 octets");
    }

    void clicDroitOuvreLeFichier() {
        QTemporaryDir dossier;
        const QString chemin = dossier.filePath(QStringLiteral("TessaronDebug.txt"));
        ReceveurUrl receveur;
        QDesktopServices::setUrlHandler(QStringLiteral("file"), &receveur, "ouvrir");
        JournalDebug journal(true, chemin);
        FenetreEtiquette fenetre(journal);
        QTest::mouseClick(journal.Etiquette(), Qt::RightButton);
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        QCOMPARE(receveur.urls, QList<QUrl>{QUrl::fromLocalFile(chemin)});
        QVERIFY(!journal.ModeFichier());
    }

    void sansModeDebugRienNeSeVoitNiNEstEcrit() {
        QTemporaryDir dossier;
        const QString chemin = dossier.filePath(QStringLiteral("TessaronDebug.txt"));
        ReceveurUrl receveur;
        QDesktopServices::setUrlHandler(QStringLiteral("file"), &receveur, "ouvrir");
        JournalDebug journal(false, chemin);
        int rappels = 0;
        journal.SurBulleTray = [&](const std::string&) { ++rappels; };
        journal.SurTexteFichier = [&](const std::string&) { ++rappels; };
        FenetreEtiquette fenetre(journal);
        QLabel* etiquette = journal.Etiquette();

        QTest::mouseDClick(etiquette, Qt::LeftButton);
        QTest::mouseClick(etiquette, Qt::RightButton);
        journal.EcrireDebug(7, "texte");
        journal.EchoStatut("ligne");
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));

        QVERIFY(etiquette->text().isEmpty());
        QVERIFY(etiquette->toolTip().isEmpty());
        QVERIFY(!journal.ModeFichier());
        QCOMPARE(rappels, 0);
        QVERIFY(receveur.urls.isEmpty());
        QVERIFY(!QFile::exists(chemin));
    }
};

QTEST_MAIN(TestJournalDebug)
#include "test_journal_debug.moc"
