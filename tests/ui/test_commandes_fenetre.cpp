// Commandes de la fenêtre principale hors écran : bascule de la relève par toutes ses entrées,
// image de la zone de notification, filtres, réduction, menu de fermeture, veille.
#include "DossierEssai.h"
#include "donnees/Chaines.h"
#include "principal/IconeTray.h"
#include "principal/Tessaron1.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QTreeView>

class TestCommandesFenetre : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dossier_;
    std::unique_ptr<TForm1> fenetre_;

    void ouvrir(const QByteArray& ini) {
        fenetre_ = std::make_unique<TForm1>(DossierEssai(dossier_, ini));
        fenetre_->show();
        QVERIFY(QTest::qWaitForWindowExposed(fenetre_.get()));
    }

    QString historique0() const { return fenetre_->HistoriqueEtat()->itemText(0); }

private slots:
    void init() {
        ouvrir("[Tessaron]\r\nRecenseDemar=0\r\n[B]\r\nIntervalle=0\r\nPop3Mail=127.0.0.1\r\nPop3Port=1\r\n");
    }
    void cleanup() { fenetre_.reset(); }

    void basculeDeLaReleveParToutesSesEntrees() {
        TForm1& f = *fenetre_;
        QVERIFY(f.ScrutationActive());
        QCOMPARE(f.EntreeScrutation()->text(), QStringLiteral("&Désactiver"));

        QTest::keyClick(&f, Qt::Key_F7);
        QVERIFY(!f.ScrutationActive());
        QCOMPARE(f.EntreeScrutation()->text(), QStringLiteral("&Activer"));
        QCOMPARE(f.windowTitle(), QStringLiteral("Tessaron - Désactivé"));
        QVERIFY(!f.BoutonScrutation()->isChecked());
        QCOMPARE(f.Tray()->ImageCourante(), 2);
        QCOMPARE(historique0(), QStringLiteral(" Désactivé"));

        QTest::keyClick(&f, Qt::Key_F8);
        QVERIFY(f.ScrutationActive());
        QCOMPARE(f.windowTitle(), QStringLiteral("Tessaron"));
        QCOMPARE(f.BoutonScrutation()->toolTip(), ChaineQ(1106));
        // Sans recensement au démarrage : "Prêt".
        QCOMPARE(historique0(), QStringLiteral(" Prêt"));

        f.EntreeScrutation()->trigger();
        QVERIFY(!f.ScrutationActive());
        f.BoutonScrutation()->click();
        QVERIFY(f.ScrutationActive());
        f.BoutonScrutation()->click();
        QVERIFY(!f.ScrutationActive());
        QCOMPARE(f.BoutonScrutation()->toolTip(), ChaineQ(1107));

        // Un second lancement rallume la relève coupée.
        f.AutreInstance();
        QVERIFY(f.ScrutationActive());
    }

    void desactiveRepeteNeSEmpilePas() {
        TForm1& f = *fenetre_;
        QTest::keyClick(&f, Qt::Key_F7);
        const int lignes = f.HistoriqueEtat()->count();
        for (int i = 0; i < 3; ++i)
            f.EcrireStatut(0, Chaine(1010));
        QCOMPARE(f.HistoriqueEtat()->count(), lignes);
    }

    void imageDeLaZoneDeNotification_data() {
        QTest::addColumn<bool>("active");
        QTest::addColumn<bool>("lignes");
        QTest::addColumn<bool>("erreur");
        QTest::addColumn<int>("image");
        QTest::newRow("active, vide") << true << false << false << 0;
        QTest::newRow("active, lignes") << true << true << false << 1;
        QTest::newRow("coupée") << false << true << false << 2;
        QTest::newRow("erreur, vide") << true << false << true << 3;
        QTest::newRow("erreur, lignes") << false << true << true << 4;
    }
    void imageDeLaZoneDeNotification() {
        QFETCH(bool, active);
        QFETCH(bool, lignes);
        QFETCH(bool, erreur);
        QFETCH(int, image);
        TForm1& f = *fenetre_;
        f.BasculerScrutation(active);
        if (lignes) {
            LigneMessage l;
            l.Colonnes[ColUidl] = "u";
            f.Messages().Ajouter(l);
        }
        if (erreur) f.Boites().ChangerColonne(0, ColNbMsg, Chaine(1013));
        f.AnimerIconeTray(true);
        f.ActualiserIconeTray();
        QVERIFY(!f.Tray()->Anime());
        QCOMPARE(f.Tray()->ImageCourante(), image);
    }

    void filtresCoupesAuPanneauUn() {
        TForm1& f = *fenetre_;
        f.BoutonFiltres()->click();
        QCOMPARE(f.TextePanneau(1), QStringLiteral(" Les filtres sont désactivés"));
        QCOMPARE(f.BoutonFiltres()->toolTip(), ChaineQ(1104));
        f.BoutonFiltres()->click();
        QCOMPARE(f.BoutonFiltres()->toolTip(), ChaineQ(1105) + ChaineQ(10012));
        QCOMPARE(historique0(), u' ' + ChaineQ(1105) + ChaineQ(10012));
    }

    void echapReduitEtRestaurerRamene() {
        TForm1& f = *fenetre_;
        QTest::keyClick(&f, Qt::Key_Escape);
        // Sans zone de notification (hors écran), la fenêtre est réduite plutôt que cachée.
        QTRY_VERIFY(!f.isVisible() || f.isMinimized());
        f.Restaurer();
        QTRY_VERIFY(f.isVisible() && !f.isMinimized());
        const QStringList entrees = [&f] {
            QStringList textes;
            for (QAction* a : f.MenuFermeture()->actions())
                textes << a->text();
            return textes;
        }();
        QCOMPARE(entrees,
                 (QStringList{QStringLiteral("&Réduire (dans le SysTray)"),
                              QStringLiteral("Réduire avec &Mot de Passe"), QStringLiteral("&Quitter")}));
        // Sans mot de passe de démarrage, la réduction protégée est grisée.
        QVERIFY(!f.MenuFermeture()->actions().at(1)->isEnabled());
    }

    void veilleSuspendEtReprend() {
        TForm1& f = *fenetre_;
        f.ChangementVeille(true);
        QVERIFY(f.Etat().MoteurOccupe);
        QCOMPARE(historique0(), QStringLiteral(" Mise en veille : interrogation des boîtes suspendue"));
        f.ChangementVeille(false);
        QVERIFY(!f.Etat().MoteurOccupe);
        QCOMPARE(historique0(), QStringLiteral(" Sortie de veille : reprise de l'interrogation des boîtes"));
    }
};

QTEST_MAIN(TestCommandesFenetre)
#include "test_commandes_fenetre.moc"
