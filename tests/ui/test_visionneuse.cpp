// Visionneuse d'un message hors écran : contrôles, compteur de lignes, Échap et Entrée,
// copie, impression dans un PDF, "Défaut", suppression et rappels.
#include "TextePdf.h"
#include "dialogues/Tessaron3.h"
#include "donnees/FichierIni.h"

#include <QAction>
#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>
#include <functional>

namespace {

ResultatVoir lecture(std::vector<std::string> lignes = {"Bonjour \xE9t\xE9", "seconde ligne"}) {
    ResultatVoir r;
    r.Uidl = "00000001u1";
    r.EnvoiDe = "Andr\xE9 <andre@exemple.test>";
    r.Pour = "eloise@exemple.test";
    r.Date = "11/12/2026 10:20:30";
    r.Taille = "1.234 octets.";
    r.Sujet = "Rendez-vous";
    r.Lignes = std::move(lignes);
    return r;
}

// Montre la visionneuse et exécute `action` une fois la boucle modale lancée ; une garde la
// ferme si l'action ne l'a pas fait, pour que le test ne reste pas bloqué.
void montrer(TForm3& f, const ResultatVoir& r, std::function<void()> action) {
    QTimer::singleShot(0, &f, std::move(action));
    QTimer garde;
    garde.setSingleShot(true);
    QObject::connect(&garde, &QTimer::timeout, &f, [&f] {
        QTest::qFail("la visionneuse est restée ouverte", __FILE__, __LINE__);
        f.done(QDialog::Rejected);
    });
    garde.start(20000);
    f.Montrer(r);
}

} // namespace

class TestVisionneuse : public QObject {
    Q_OBJECT

private slots:
    void controlesEtTextes() {
        TForm3 f;
        QCOMPARE(f.windowTitle(), QStringLiteral("Tessaron - Affichage d'un message"));
        QCOMPARE(f.minimumSize(), QSize(570, 270));
        QVERIFY(f.BoutonVoir()->isDefault());
        QCOMPARE(f.BoutonVoir()->text(), QStringLiteral("&Voir"));
        QCOMPARE(f.BoutonDefaut()->toolTip(),
                 QStringLiteral("Enristre la valeur pour le prochain redémarrage"));
        QCOMPARE(f.BoutonAnalyser()->toolTip(),
                 QStringLiteral("Analyse le contenu du message (pièces jointes)"));
        QCOMPARE(f.BoutonCopier()->toolTip(),
                 QStringLiteral("Copie dans le presse papier le contenu sélectionné"));
        QCOMPARE(f.BoutonImprimer()->toolTip(), QStringLiteral("Imprime sur l'imprimante par défaut"));
        QCOMPARE(f.BoutonAide()->toolTip(), QStringLiteral("<F1> = Aide"));
        QCOMPARE(f.BoutonSupprimer()->toolTip(),
                 QStringLiteral("Supprimer ce message sur le serveur  ( <Ctrl> = pas de confirmation )"));
        QCOMPARE(f.BoutonFermer()->text(), QStringLiteral("Fermer"));
        QCOMPARE(f.Compteur()->maxLength(), 3);
        QCOMPARE(f.MenuCopier()->text(), QStringLiteral("Copier"));
        QCOMPARE(f.MenuImprimer()->text(), QStringLiteral("Imprimer"));
        QVERIFY(f.Texte()->isReadOnly());

        // Le réglage NbLigMsg, ramené dans les bornes du compteur.
        for (const auto& [reglage, attendu] : {std::pair{25, "25"}, {5, "10"}, {5000, "999"}})
            QCOMPARE(TForm3(reglage).Compteur()->text(), QString::fromLatin1(attendu));
    }

    void compteurDeLignes_data() {
        QTest::addColumn<QString>("frappe");
        QTest::addColumn<QString>("texte"); // après la frappe
        QTest::addColumn<int>("bips");
        QTest::addColumn<int>("voir"); // nombre passé à SurVoir
        QTest::addColumn<QString>("apresVoir");
        QTest::newRow("nombre") << "250"
                                << "250" << 0 << 250 << "250";
        QTest::newRow("sous 10 : remis à 10") << "5"
                                              << "5" << 0 << 10 << "10";
        QTest::newRow("vide : 10") << ""
                                   << "" << 0 << 10 << "10";
        QTest::newRow("lettres défaites") << "1a2b"
                                          << "12" << 2 << 12 << "12";
        QTest::newRow("signe défait") << "-5"
                                      << "5" << 1 << 10 << "10";
        QTest::newRow("trois caractères au plus") << "12345"
                                                  << "123" << 0 << 123 << "123";
    }

    void compteurDeLignes() {
        QFETCH(QString, frappe);
        QFETCH(QString, texte);
        QFETCH(int, bips);
        QFETCH(int, voir);
        QFETCH(QString, apresVoir);

        TForm3 f;
        int bipsEntendus = 0;
        std::vector<int> demandes;
        f.Bip = [&] { ++bipsEntendus; };
        f.SurVoir = [&](int n) {
            QVERIFY(!f.BoutonVoir()->isEnabled()); // pas de seconde relecture pendant l'attente
            demandes.push_back(n);
        };
        f.show();
        f.Compteur()->clear();
        QTest::keyClicks(f.Compteur(), frappe);
        QCOMPARE(f.Compteur()->text(), texte);
        QCOMPARE(bipsEntendus, bips);

        QTest::mouseClick(f.BoutonVoir(), Qt::LeftButton);
        QCOMPARE(demandes, std::vector<int>{voir});
        QCOMPARE(f.Compteur()->text(), apresVoir);
        QVERIFY(f.BoutonVoir()->isEnabled());
        QCOMPARE(f.Compteur()->selectedText(), apresVoir);
    }

    void flechesDuCompteur() {
        TForm3 f(998);
        QTest::mouseClick(f.Plus(), Qt::LeftButton);
        QCOMPARE(f.Compteur()->text(), QStringLiteral("999"));
        QTest::mouseClick(f.Plus(), Qt::LeftButton);
        QCOMPARE(f.NbLignes(), 999);
        f.Compteur()->setText(QStringLiteral("11"));
        QTest::mouseClick(f.Moins(), Qt::LeftButton);
        QTest::mouseClick(f.Moins(), Qt::LeftButton);
        QCOMPARE(f.Compteur()->text(), QStringLiteral("10"));
    }

    void echapFermeEntreeRelit() {
        TForm3 f;
        int relectures = 0;
        f.SurVoir = [&](int) { ++relectures; };
        montrer(f, lecture(), [&] {
            QVERIFY(f.isVisible());
            QTest::keyClick(&f, Qt::Key_Return);
            QTest::keyClick(f.Texte(), Qt::Key_Enter);
            QVERIFY(f.isVisible());
            QTest::keyClick(&f, Qt::Key_Escape);
        });
        QVERIFY(!f.isVisible());
        QCOMPARE(relectures, 2);

        // Le bouton "Fermer" ferme aussi.
        montrer(f, lecture(), [&] { QTest::mouseClick(f.BoutonFermer(), Qt::LeftButton); });
        QCOMPARE(f.result(), int(QDialog::Rejected));
        QVERIFY(!f.isVisible());
    }

    void remplissageEtBoutonsSelonLeTexte() {
        TForm3 f;
        f.show();
        QVERIFY(!f.BoutonCopier()->isEnabled());
        QVERIFY(!f.BoutonImprimer()->isEnabled());
        QVERIFY(!f.MenuCopier()->isEnabled());
        QVERIFY(!f.MenuImprimer()->isEnabled());

        f.Remplir(lecture());
        QCOMPARE(f.EnvoiDe()->text(), QStringLiteral("André <andre@exemple.test>"));
        QCOMPARE(f.Pour()->text(), QStringLiteral("eloise@exemple.test"));
        QCOMPARE(f.Date()->text(), QStringLiteral("11/12/2026 10:20:30"));
        QCOMPARE(f.Taille()->text(), QStringLiteral("1.234 octets."));
        QCOMPARE(f.Sujet()->text(), QStringLiteral("Rendez-vous"));
        QVERIFY(f.Sujet()->font().bold());
        QCOMPARE(f.Texte()->toPlainText(), QStringLiteral("Bonjour été\nseconde ligne"));
        QCOMPARE(f.Uidl(), std::string("00000001u1"));
        QVERIFY(f.BoutonCopier()->isEnabled());
        QVERIFY(f.BoutonImprimer()->isEnabled());
        QVERIFY(f.MenuImprimer()->isEnabled());

        // Une lecture qui n'a pas abouti ne touche à rien.
        ResultatVoir perime;
        perime.Etat = EtatVoir::Perime;
        f.Remplir(perime);
        QCOMPARE(f.Sujet()->text(), QStringLiteral("Rendez-vous"));
        QCOMPARE(f.Uidl(), std::string("00000001u1"));

        // Un message sans lignes : plus rien à copier ni à imprimer.
        f.Remplir(lecture({}));
        QVERIFY(!f.BoutonCopier()->isEnabled());
        QVERIFY(!f.BoutonImprimer()->isEnabled());
    }

    void copieDeLaSelection() {
        TForm3 f;
        f.show();
        f.Remplir(lecture());
        QGuiApplication::clipboard()->setText(QStringLiteral("avant"));
        QTextCursor curseur = f.Texte()->textCursor();
        curseur.movePosition(QTextCursor::Start);
        curseur.movePosition(QTextCursor::EndOfWord, QTextCursor::KeepAnchor);
        f.Texte()->setTextCursor(curseur);
        QTest::mouseClick(f.BoutonCopier(), Qt::LeftButton);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("Bonjour"));
        f.MenuCopier()->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("Bonjour"));
    }

    void impressionDansUnPdf() {
        QTemporaryDir dossier;
        const QString chemin = dossier.filePath(QStringLiteral("visionneuse.pdf"));
        QPrinter imprimante(QPrinter::HighResolution);
        imprimante.setOutputFormat(QPrinter::PdfFormat);
        imprimante.setOutputFileName(chemin);
        TForm3 f;
        f.ReglerImprimante(&imprimante);
        f.show();
        f.Remplir(lecture());

        // Le document : trois lignes d'en-tête (légende, valeur en gras plus grande), une ligne
        // vide, le texte ; le texte affiché, lui, ne change pas.
        const auto document = f.DocumentImpression();
        QCOMPARE(document->toPlainText(),
                 QStringLiteral("Envoi de : André <andre@exemple.test> \nPour : eloise@exemple.test \n"
                                "Date : 11/12/2026 10:20:30 \n\nBonjour été\nseconde ligne"));
        const QTextBlock premier = document->firstBlock();
        const QTextFragment legende = premier.begin().fragment();
        const QTextFragment valeur = (++premier.begin()).fragment();
        QCOMPARE(valeur.text(), QStringLiteral("André <andre@exemple.test> "));
        QVERIFY(valeur.charFormat().fontWeight() == QFont::Bold);
        QVERIFY(legende.charFormat().fontWeight() != QFont::Bold);
        QVERIFY(valeur.charFormat().fontPointSize() > legende.charFormat().fontPointSize());

        QTest::mouseClick(f.BoutonImprimer(), Qt::LeftButton);
        QCOMPARE(f.Texte()->toPlainText(), QStringLiteral("Bonjour été\nseconde ligne"));
        QCOMPARE(imprimante.docName(), QStringLiteral("Rendez-vous"));
        QFile pdf(chemin);
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        const QByteArray octets = pdf.readAll();
        QVERIFY(octets.startsWith("%PDF"));
        QVERIFY(octets.size() > 1000);

        const QString texte = TextePdf(chemin);
        for (const char* attendu : {"Envoi de : André <andre@exemple.test>", "Pour : eloise@exemple.test",
                                    "Date : 11/12/2026 10:20:30", "Bonjour été", "seconde ligne"})
            QVERIFY2(texte.contains(QString::fromUtf8(attendu)), qPrintable(texte));
        QProcess infos;
        infos.start(QStringLiteral("pdfinfo"), {chemin});
        if (infos.waitForFinished(20000))
            QVERIFY(QString::fromUtf8(infos.readAllStandardOutput()).contains(QStringLiteral("Rendez-vous")));
    }

    void defautEnregistreLeNombre() {
        QTemporaryDir dossier;
        FichierIni ini(dossier.filePath(QStringLiteral("Tessaron.ini")));
        TForm3 f(40);
        std::vector<int> rappels;
        f.UtiliserFichierIni(&ini);
        f.SurDefaut = [&](int n) { rappels.push_back(n); };
        QTest::mouseClick(f.BoutonDefaut(), Qt::LeftButton);
        QCOMPARE(ini.LireEntier("Tessaron", "NbLigMsg", 0), 40);
        QCOMPARE(rappels, std::vector<int>{40});

        // Sans fichier ni rappel, rien ne casse.
        TForm3 seul;
        QTest::mouseClick(seul.BoutonDefaut(), Qt::LeftButton);
    }

    void suppression_data() {
        QTest::addColumn<bool>("memeMessage");
        QTest::addColumn<int>("touches");
        QTest::addColumn<QString>("appels"); // "" : pas de suppression ; "q" : avec question ; "s" : sans
        QTest::newRow("même message : question") << true << int(Qt::NoModifier) << "q";
        QTest::newRow("même message, Ctrl : sans question") << true << int(Qt::ControlModifier) << "s";
        QTest::newRow("sélection changée : rien") << false << int(Qt::NoModifier) << "";
        QTest::newRow("sélection changée, Ctrl : rien") << false << int(Qt::ControlModifier) << "";
    }

    void suppression() {
        QFETCH(bool, memeMessage);
        QFETCH(int, touches);
        QFETCH(QString, appels);

        TForm3 f;
        std::vector<std::string> uidlsDemandes;
        QString faits;
        f.SelectionEstLeMessage = [&](const std::string& uidl) {
            uidlsDemandes.push_back(uidl);
            return memeMessage;
        };
        f.SurSupprimer = [&](bool sansConfirmation) {
            QVERIFY(!f.isVisible()); // la visionneuse est déjà fermée
            faits += sansConfirmation ? u's' : u'q';
        };
        montrer(f, lecture(), [&] {
            QTest::mouseClick(f.BoutonSupprimer(), Qt::LeftButton, Qt::KeyboardModifiers(touches));
        });
        QVERIFY(!f.isVisible());
        QCOMPARE(uidlsDemandes, std::vector<std::string>{"00000001u1"});
        QCOMPARE(faits, appels);
    }

    void analyseEtAide() {
        TForm3 f;
        int analyses = 0;
        int aides = 0;
        f.SurAnalyser = [&] { ++analyses; };
        f.SurAide = [&] { ++aides; };
        f.show();
        QTest::mouseClick(f.BoutonAnalyser(), Qt::LeftButton);
        QTest::mouseClick(f.BoutonAide(), Qt::LeftButton);
        QTest::keyClick(&f, Qt::Key_F1);
        QCOMPARE(analyses, 1);
        QCOMPARE(aides, 2);
        QVERIFY(f.isVisible());

        // Sans rappels, les boutons ne font rien de plus.
        TForm3 seul;
        seul.show();
        QTest::mouseClick(seul.BoutonAnalyser(), Qt::LeftButton);
        QTest::mouseClick(seul.BoutonAide(), Qt::LeftButton);
        QVERIFY(seul.isVisible());
    }
};

QTEST_MAIN(TestVisionneuse)
#include "test_visionneuse.moc"
