// Liste des boîtes hors écran : boutons qui suivent la sélection, sélection gardée vers les
// boutons mais effacée ailleurs, déplacement et ordre, séparateur, dessin des lignes.
#include "DossierEssai.h"
#include "donnees/Chaines.h"
#include "principal/Tessaron1.h"

#include <QItemSelectionModel>
#include <QSplitter>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QTreeView>

namespace {
enum { Ordre, Monter, Descendre, Creer, Supprimer, Modifier };
}

class TestListeBoites : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dossier_;
    std::unique_ptr<TForm1> fenetre_;

    void ouvrir(const QByteArray& ini) {
        fenetre_ = std::make_unique<TForm1>(DossierEssai(dossier_, "[Tessaron]\r\nRecenseDemar=0\r\n" + ini));
    }

    void selectionner(int ligne) {
        QTreeView* boites = fenetre_->ListeBoites();
        if (ligne < 0)
            boites->selectionModel()->clearSelection();
        else
            boites->selectionModel()->select(boites->model()->index(ligne, 0),
                                             QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }

    // Boutons actifs, dans l'ordre monter, descendre, supprimer, modifier.
    QString actifs() const {
        QString s;
        for (int b : {Monter, Descendre, Supprimer, Modifier})
            s += fenetre_->BoutonBoite(b)->isEnabled() ? u'1' : u'0';
        return s;
    }

    QStringList libelles() const {
        QStringList l;
        for (int i = 0; i < fenetre_->Boites().Nombre(); ++i)
            l << QString::fromStdString(fenetre_->Boites().Ligne(i).Caption());
        return l;
    }

private slots:
    void cleanup() { fenetre_.reset(); }

    void boutonsSelonLaSelection() {
        ouvrir("[A]\r\nIntervalle=0\r\n[B]\r\nIntervalle=0\r\n[C]\r\nIntervalle=0\r\n");
        QVERIFY(fenetre_->BoutonBoite(Creer)->isEnabled());
        QVERIFY(!fenetre_->BoutonBoite(Ordre)->isEnabled());
        QCOMPARE(actifs(), QStringLiteral("0000"));
        const struct {
            int ligne;
            const char* attendu;
        } cas[] = {{0, "0111"}, {2, "1011"}, {1, "1111"}, {-1, "0000"}};
        for (const auto& c : cas) {
            selectionner(c.ligne);
            QCOMPARE(actifs(), QString::fromLatin1(c.attendu));
        }
    }

    void uneSeuleBoiteNeSeDeplacePas() {
        ouvrir("[A]\r\nIntervalle=0\r\n");
        selectionner(0);
        QCOMPARE(actifs(), QStringLiteral("0011"));
    }

    void deplacementPuisOrdreAEnregistrer() {
        ouvrir("[A]\r\nIntervalle=0\r\n[B]\r\nIntervalle=0\r\n[C]\r\nIntervalle=0\r\n");
        selectionner(0);
        fenetre_->BoutonBoite(Descendre)->click();
        QCOMPARE(libelles(), (QStringList{"B", "A", "C"}));
        QVERIFY(fenetre_->BoutonBoite(Ordre)->isEnabled());
        // La boîte déplacée reste sélectionnée : les boutons suivent sa nouvelle place.
        QCOMPARE(actifs(), QStringLiteral("1111"));
        fenetre_->BoutonBoite(Monter)->click();
        QCOMPARE(libelles(), (QStringList{"A", "B", "C"}));
        QCOMPARE(actifs(), QStringLiteral("0111"));
    }

    void focusVersUnBoutonGardeLaSelectionAilleursLEfface() {
        ouvrir("[A]\r\nIntervalle=0\r\n[B]\r\nIntervalle=0\r\n");
        fenetre_->show();
        QVERIFY(QTest::qWaitForWindowExposed(fenetre_.get()));
        fenetre_->activateWindow();
        QTreeView* boites = fenetre_->ListeBoites();
        boites->setFocus();
        QTRY_VERIFY(boites->hasFocus());
        selectionner(1);
        fenetre_->BoutonBoite(Modifier)->setFocus();
        QTRY_VERIFY(fenetre_->BoutonBoite(Modifier)->hasFocus());
        QVERIFY(boites->selectionModel()->hasSelection());
        boites->setFocus();
        QTRY_VERIFY(boites->hasFocus());
        fenetre_->ListeMessages()->setFocus();
        QTRY_VERIFY(fenetre_->ListeMessages()->hasFocus());
        QVERIFY(!boites->selectionModel()->hasSelection());
        QCOMPARE(actifs(), QStringLiteral("0000"));
    }

    void separateurGardeCentPixelsAuxMessages() {
        ouvrir("[A]\r\nIntervalle=0\r\n");
        fenetre_->resize(700, 500);
        fenetre_->show();
        QVERIFY(QTest::qWaitForWindowExposed(fenetre_.get()));
        auto* separateur = fenetre_->findChild<QSplitter*>();
        QVERIFY(separateur);
        const int total = separateur->sizes().value(0) + separateur->sizes().value(1);
        separateur->setSizes({total, 0}); // tout pour les boîtes : refusé au-delà de total - 100
        fenetre_->SeparateurDeplace();
        QVERIFY(separateur->sizes().value(1) >= 100);
        const int haut = separateur->sizes().value(0);
        QCOMPARE(fenetre_->minimumHeight(), haut + fenetre_->height() - separateur->height() + 100);
        separateur->setSizes({10, total - 10}); // jamais sous 138
        fenetre_->SeparateurDeplace();
        QCOMPARE(separateur->sizes().value(0), 138);
    }

    void dessinDesLignes() {
        ouvrir("[A]\r\nIntervalle=0\r\nPop3Demar=1\r\n[B]\r\nIntervalle=0\r\nPop3Demar=0\r\n");
        StockBoites& boites = fenetre_->Boites();
        boites.ChangerColonne(0, ColNbMsg, Chaine(1013));
        boites.ChangerColonne(1, ColNbMsg, "3");
        const QAbstractItemModel* modele = fenetre_->ListeBoites()->model();
        QCOMPARE(modele->index(0, ColNbMsg).data(Qt::ForegroundRole).value<QColor>(), QColor(Qt::red));
        QCOMPARE(modele->index(1, ColNbMsg).data(Qt::BackgroundRole).value<QColor>(), QColor(255, 238, 255));
        QVERIFY(modele->index(0, 0).data(Qt::FontRole).value<QFont>().bold());
        QVERIFY(!modele->index(1, 0).data(Qt::FontRole).value<QFont>().bold());
    }
};

QTEST_MAIN(TestListeBoites)
#include "test_liste_boites.moc"
