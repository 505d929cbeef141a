// Fenêtre principale hors écran : listes, en-têtes, historique d'état et F5.
#include "DossierEssai.h"
#include "donnees/Chaines.h"
#include "principal/HistoriqueStatut.h"
#include "principal/Tessaron1.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QInputDialog>
#include <QLabel>
#include <QPushButton>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>

class TestFenetrePrincipale : public QObject {
    Q_OBJECT

private:
    // Un port local sur lequel personne n'écoute : la connexion est refusée aussitôt.
    static int portFerme() {
        QTcpServer serveur;
        serveur.listen(QHostAddress::LocalHost, 0);
        return serveur.serverPort();
    }

private slots:
    void listesEtEntetes() {
        QTemporaryDir dossier;
        TForm1 fenetre(DossierEssai(dossier, "[Perso]\r\nPop3ID=jean\r\nPop3Mail=pop.exemple.fr\r\n"
                                             "Intervalle=0\r\n[Travail]\r\nIntervalle=0\r\n"));
        QAbstractItemModel* boites = fenetre.ListeBoites()->model();
        QCOMPARE(boites->rowCount(), 2);
        QCOMPARE(boites->index(0, 0).data().toString(), QStringLiteral("Perso"));
        QCOMPARE(boites->index(0, 3).data().toString(), QStringLiteral("jean"));
        QCOMPARE(boites->index(0, 4).data().toString(), QStringLiteral("pop.exemple.fr"));
        QCOMPARE(boites->headerData(2, Qt::Horizontal).toString(), QStringLiteral("Nb. Msg."));
        QVERIFY(fenetre.ListeBoites()->isColumnHidden(6));
        QVERIFY(fenetre.ListeBoites()->isColumnHidden(7));

        QAbstractItemModel* messages = fenetre.ListeMessages()->model();
        QCOMPARE(messages->columnCount(), 10);
        QCOMPARE(messages->headerData(0, Qt::Horizontal).toString(), QStringLiteral("N° Msg"));
        QCOMPARE(messages->headerData(1, Qt::Horizontal).toString(),
                 QStringLiteral("Expéditeur (ReturnPath)"));
        QCOMPARE(messages->headerData(4, Qt::Horizontal).toString(), QStringLiteral("Taille\u00a0"));
        QVERIFY(fenetre.ListeMessages()->isColumnHidden(7));
        QVERIFY(!fenetre.BtnInterrompre()->isVisible());
    }

    void historiqueBorneEtSansRepetitionDeDesactive() {
        QComboBox historique;
        for (int i = 0; i < 10; ++i)
            PousserLigneHistorique(historique, QString::number(i), 3);
        QCOMPARE(historique.count(), 4);
        QCOMPARE(historique.itemText(0), QStringLiteral(" 9"));
        QCOMPARE(historique.itemText(3), QStringLiteral(" 6"));
        QCOMPARE(historique.currentIndex(), 0);

        PousserLigneHistorique(historique, ChaineQ(1010), 3);
        PousserLigneHistorique(historique, ChaineQ(1010), 3);
        QCOMPARE(historique.itemText(0), QStringLiteral(" Désactivé"));
        QCOMPARE(historique.itemText(1), QStringLiteral(" 9"));
    }

    void motDePasseDeDemarrage_data() {
        QTest::addColumn<QString>("saisie");
        QTest::addColumn<bool>("accepte");
        QTest::newRow("bon") << QStringLiteral("secret") << true;
        QTest::newRow("faux") << QStringLiteral("autre") << false;
        QTest::newRow("vide") << QString() << false;
    }
    void motDePasseDeDemarrage() {
        QFETCH(QString, saisie);
        QFETCH(bool, accepte);
        QTemporaryDir dossier;
        // Le mot de passe "secret" écrit en clair derrière un point.
        const DossierDonnees d =
            DossierEssai(dossier, "[Tessaron]\r\nProtege=.secret\r\n[B]\r\nIntervalle=0\r\n");
        QString titre;
        QTimer::singleShot(0, [&] {
            auto* dialogue = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialogue);
            titre = dialogue->windowTitle();
            QCOMPARE(dialogue->textEchoMode(), QLineEdit::Password);
            dialogue->setTextValue(saisie);
            dialogue->accept();
        });
        TForm1 fenetre(d);
        QCOMPARE(titre, ChaineQ(1001));
        QCOMPARE(fenetre.Accepte(), accepte);
        QCOMPARE(fenetre.Boites().Nombre(), accepte ? 1 : 0);
    }

    void f5SurUnServeurQuiRefuseMarqueErreur() {
        QTemporaryDir dossier;
        const QByteArray ini =
            "[Refus]\r\nPop3Mail=127.0.0.1\r\nIntervalle=0\r\nPop3Port=" + QByteArray::number(portFerme()) +
            "\r\n";
        TForm1 fenetre(DossierEssai(dossier, ini));
        fenetre.show();
        QVERIFY(QTest::qWaitForWindowExposed(&fenetre));

        QTest::keyClick(&fenetre, Qt::Key_F5);

        const QModelIndex nbMsg = fenetre.ListeBoites()->model()->index(0, 2);
        QTRY_COMPARE(nbMsg.data().toString(), QStringLiteral("Erreur"));
        QCOMPARE(nbMsg.data(Qt::ForegroundRole).value<QColor>(), QColor(Qt::red));
        QCOMPARE(fenetre.HistoriqueEtat()->itemText(0), QStringLiteral(" Echec connexion sur Refus"));
        QVERIFY(fenetre.TextePanneau(1).startsWith(QStringLiteral(" Refus=>")));
        QVERIFY(fenetre.ListeMessages()->isEnabled());
    }
};

QTEST_MAIN(TestFenetrePrincipale)
#include "test_fenetre_principale.moc"
