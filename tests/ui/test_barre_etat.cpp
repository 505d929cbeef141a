// Barre d'état hors écran : historique borné, " Désactivé", couleurs des panneaux, compteurs.
#include "donnees/Chaines.h"
#include "principal/BarreEtat.h"
#include "principal/DelegueHistorique.h"

#include <QComboBox>
#include <QImage>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include <functional>
#include <string>
#include <vector>

namespace {

bool estRouge(QColor c) {
    return c.red() > 200 && c.green() < 90 && c.blue() < 90;
}
bool estVert(QColor c) {
    return c.green() > 90 && c.red() < 70 && c.blue() < 70;
}
bool estSombre(QColor c) {
    return c.lightness() < 90;
}

// Abscisses des pixels de la zone qui passent le test.
std::vector<int> colonnes(const QImage& image, const QRect& zone, const std::function<bool(QColor)>& test) {
    std::vector<int> trouvees;
    for (int y = zone.top(); y <= zone.bottom(); ++y)
        for (int x = zone.left(); x <= zone.right(); ++x)
            if (test(image.pixelColor(x, y))) trouvees.push_back(x);
    return trouvees;
}

} // namespace

class TestBarreEtat : public QObject {
    Q_OBJECT

private:
    static void montrer(BarreEtat& barre, int largeur) {
        barre.resize(largeur, barre.height());
        barre.show();
        QVERIFY(QTest::qWaitForWindowExposed(&barre));
    }

private slots:
    void historiqueBorneSansRepetitionDeDesactive() {
        BarreEtat barre;
        barre.SetNbEvenements(3);
        std::vector<std::string> echos;
        barre.SurLigneHistorique = [&](const std::string& texte) { echos.push_back(texte); };
        barre.AfficherAide(QStringLiteral("bulle"));
        QVERIFY(barre.Historique()->isHidden());

        for (int i = 0; i < 10; ++i)
            barre.EcrireStatut(0, std::to_string(i));
        QComboBox* historique = barre.Historique();
        QCOMPARE(historique->count(), 4);
        QCOMPARE(historique->itemText(0), QStringLiteral(" 9"));
        QCOMPARE(historique->itemText(3), QStringLiteral(" 6"));
        QCOMPARE(historique->currentText(), QStringLiteral(" 9"));
        QVERIFY(!historique->isHidden());

        barre.EcrireStatut(0, Chaine(1010));
        barre.EcrireStatut(0, Chaine(1010));
        QCOMPARE(historique->count(), 4);
        QCOMPARE(historique->itemText(0), QStringLiteral(" Désactivé"));
        QCOMPARE(historique->itemText(1), QStringLiteral(" 9"));
        // La ligne ignorée n'est pas recopiée dans le journal.
        QCOMPARE(echos.size(), 11u);
        QCOMPARE(echos.back(), Chaine(1010));

        // " Désactivé" revient après une autre ligne.
        barre.EcrireStatut(0, "Pr\xEAt");
        barre.EcrireStatut(0, Chaine(1010));
        QCOMPARE(historique->itemText(0), QStringLiteral(" Désactivé"));
        QCOMPARE(historique->itemText(1), QStringLiteral(" Prêt"));
    }

    void panneauxUnEtDeuxNeTouchentPasLHistorique() {
        BarreEtat barre;
        barre.EcrireStatut(1, "Perso => -ERR");
        barre.EcrireStatut(2, "\xE9t\xE9");
        QCOMPARE(barre.TextePanneau(1), QStringLiteral(" Perso => -ERR"));
        QCOMPARE(barre.TextePanneau(2), QStringLiteral(" été"));
        QCOMPARE(barre.Historique()->count(), 0);
    }

    void couleurDuPanneau1_data() {
        QTest::addColumn<QByteArray>("texte");
        QTest::addColumn<bool>("rouge");
        QTest::newRow("version") << QByteArray("Tessaron V 3.9.1.11") << false;
        QTest::newRow("erreur serveur") << QByteArray("Perso => -ERR mot de passe") << true;
        QTest::newRow("filtres desactives") << QByteArray(Chaine(1104).c_str()) << true;
        QTest::newRow("fleche simple") << QByteArray("Debug File -> TessaronDebug.txt") << false;
        QTest::newRow("signes separes") << QByteArray("a = > b") << false;
    }

    void couleurDuPanneau1() {
        QFETCH(QByteArray, texte);
        QFETCH(bool, rouge);
        BarreEtat barre;
        montrer(barre, 900);
        barre.EcrireStatut(1, texte.toStdString());
        const QImage image = barre.grab().toImage();
        const QRect zone = barre.ZonePanneau(1).adjusted(1, 1, -1, -1);
        QCOMPARE(!colonnes(image, zone, estRouge).empty(), rouge);
        QCOMPARE(!colonnes(image, zone, estSombre).empty(), !rouge);
    }

    void panneau1SuitLaLargeur() {
        BarreEtat barre;
        for (int largeur : {800, 1200}) {
            montrer(barre, largeur);
            QCOMPARE(barre.ZonePanneau(1).left(), 340);
            QCOMPARE(barre.ZonePanneau(1).width(), largeur - 340 - 110);
            QCOMPARE(barre.ZonePanneau(2).left(), largeur - 110);
        }
        // Le bouton "Interrompre" et le drapeau finissent à 2 pixels du bout du panneau 0.
        QCOMPARE(barre.BtnInterrompre()->geometry().right(), 337);
        QCOMPARE(barre.BtnInterrompre()->width(), 80);
        QCOMPARE(barre.BtnDrapeau()->geometry().right(), 337);
        QCOMPARE(barre.Historique()->geometry().right() + 1, barre.BtnDrapeau()->x());
        QVERIFY(barre.BtnInterrompre()->isHidden());
    }

    void doubleClicMontreEtCacheLesCompteurs() {
        BarreEtat barre;
        barre.CompteursDns = [] { return std::pair<std::size_t, std::size_t>{0, 0}; };
        montrer(barre, 900);
        const QRect zone = barre.ZonePanneau(2).adjusted(1, 1, -1, -1);
        QVERIFY(colonnes(barre.grab().toImage(), zone, estVert).empty());

        QTest::mouseDClick(&barre, Qt::LeftButton, {}, barre.ZonePanneau(1).center());
        QVERIFY(barre.AfficheStatsDns());
        const QImage image = barre.grab().toImage();
        const std::vector<int> vert = colonnes(image, zone, estVert);
        const std::vector<int> rouge = colonnes(image, zone, estRouge);
        QVERIFY(!vert.empty());
        QVERIFY(!rouge.empty());
        QVERIFY(*std::max_element(vert.begin(), vert.end()) < *std::min_element(rouge.begin(), rouge.end()));

        QTest::mouseDClick(&barre, Qt::LeftButton, {}, barre.ZonePanneau(2).center());
        QVERIFY(!barre.AfficheStatsDns());
        QVERIFY(colonnes(barre.grab().toImage(), zone, estVert).empty());
    }

    void decoupageDesLignes_data() {
        QTest::addColumn<QString>("ligne");
        QTest::addColumn<QString>("debut");
        QTest::addColumn<QString>("gras");
        QTest::addColumn<QString>("fin");
        QTest::addColumn<bool>("rouge");
        const QString fin = ChaineQ(1038);
        QTest::newRow("fin d'interrogation")
            << u' ' + fin + QStringLiteral("Perso: 10:12:30") << u' ' + fin.chopped(1)
            << QStringLiteral(" Perso") << QStringLiteral(": 10:12:30") << false;
        QTest::newRow("sans deux-points") << u' ' + fin + QStringLiteral("Perso") << u' ' + fin.chopped(1)
                                          << QStringLiteral(" Perso") << QString() << false;
        QTest::newRow("desactive") << QStringLiteral(" Désactivé") << QStringLiteral(" Désactivé")
                                   << QString() << QString() << true;
        QTest::newRow("desactive suivi") << QStringLiteral(" Désactivé.") << QStringLiteral(" Désactivé.")
                                         << QString() << QString() << false;
        QTest::newRow("desactive sans espace")
            << QStringLiteral("Désactivé") << QStringLiteral("Désactivé") << QString() << QString() << false;
        QTest::newRow("autre") << QStringLiteral(" Connecté à pop: 110")
                               << QStringLiteral(" Connecté à pop: 110") << QString() << QString() << false;
    }

    void decoupageDesLignes() {
        QFETCH(QString, ligne);
        const MorceauxLigneHistorique morceaux = DecouperLigneHistorique(ligne);
        QTEST(morceaux.debut, "debut");
        QTEST(morceaux.gras, "gras");
        QTEST(morceaux.fin, "fin");
        QTEST(morceaux.rouge, "rouge");
    }

    void desactiveEnRougeDansLHistoriqueFerme() {
        BarreEtat barre;
        montrer(barre, 900);
        const QRect zone = barre.Historique()->geometry();
        barre.EcrireStatut(0, Chaine(1010));
        QVERIFY(!colonnes(barre.grab().toImage(), zone, estRouge).empty());
        barre.EcrireStatut(0, "Pr\xEAt");
        QVERIFY(colonnes(barre.grab().toImage(), zone, estRouge).empty());
    }
};

QTEST_MAIN(TestBarreEtat)
#include "test_barre_etat.moc"
