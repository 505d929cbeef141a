// Liste des messages hors écran : tri par colonne, couleurs des lignes, boîte sélectionnée.
#include "DossierEssai.h"
#include "principal/Tessaron1.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

class TestListeMessages : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dossier_;
    std::unique_ptr<TForm1> fenetre_;

    void ajouter(const std::string& numero, const std::string& taille, const std::string& date,
                 const std::string& boite, const std::string& sujet) {
        LigneMessage l;
        l.Colonnes[0] = numero;
        l.Colonnes[ColTaille] = taille;
        l.Colonnes[ColDate] = date;
        l.Colonnes[ColBoiteOrigine] = boite;
        l.Colonnes[ColSujet] = sujet;
        l.Colonnes[ColUidl] = "u" + numero;
        fenetre_->Messages().Ajouter(l);
    }

    QStringList colonne(int c) const {
        QStringList valeurs;
        const QAbstractItemModel* modele = fenetre_->ListeMessages()->model();
        for (int l = 0; l < modele->rowCount(); ++l)
            valeurs << modele->index(l, c).data().toString();
        return valeurs;
    }

    void cliquerEntete(int c) {
        QHeaderView* entete = fenetre_->ListeMessages()->header();
        emit entete->sectionClicked(c);
    }

private slots:
    void init() {
        fenetre_ = std::make_unique<TForm1>(DossierEssai(
            dossier_, "[Tessaron]\r\nRecenseDemar=0\r\n[A]\r\nIntervalle=0\r\n[B]\r\nIntervalle=0\r\n"));
        ajouter("1", "12.000", "02/01/2026 10:00:00", "A", "banane");
        ajouter("2", "999", "01/01/2026 09:00:00", "B", "Abricot");
        ajouter("3", "1.000", "31/12/2025 23:00:00", "A", "cerise");
    }
    void cleanup() { fenetre_.reset(); }

    void tailleCommeEntierEtSecondClicInverse() {
        cliquerEntete(ColTaille);
        QCOMPARE(colonne(ColTaille), (QStringList{"999", "1.000", "12.000"}));
        cliquerEntete(ColTaille);
        QCOMPARE(colonne(ColTaille), (QStringList{"12.000", "1.000", "999"}));
        QCOMPARE(fenetre_->ListeMessages()->header()->sortIndicatorOrder(), Qt::DescendingOrder);
    }

    void datesCommeDatesEtTexteSansCasse() {
        cliquerEntete(ColDate);
        QCOMPARE(colonne(0), (QStringList{"3", "2", "1"}));
        cliquerEntete(ColSujet);
        QCOMPARE(colonne(ColSujet), (QStringList{"Abricot", "banane", "cerise"}));
    }

    void numeroEtListeCourteNeSeTrientPas() {
        cliquerEntete(0);
        QCOMPARE(colonne(0), (QStringList{"1", "2", "3"}));
        fenetre_->Messages().RetirerSi([](const LigneMessage& l) { return l.Caption() != "2"; });
        cliquerEntete(ColSujet);
        QCOMPARE(colonne(0), (QStringList{"2"}));
    }

    void lignesImpairesEtBoiteSelectionneeEnViolet() {
        const QAbstractItemModel* modele = fenetre_->ListeMessages()->model();
        QCOMPARE(modele->index(1, 2).data(Qt::BackgroundRole).value<QColor>(), QColor(248, 248, 187));
        QVERIFY(!modele->index(0, 2).data(Qt::BackgroundRole).isValid());
        QVERIFY(!modele->index(0, 2).data(Qt::ForegroundRole).isValid());

        QTreeView* boites = fenetre_->ListeBoites();
        boites->selectionModel()->select(boites->model()->index(0, 0),
                                         QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        QCOMPARE(modele->index(0, 2).data(Qt::ForegroundRole).value<QColor>(), QColor(128, 0, 128));
        QVERIFY(modele->index(0, 2).data(Qt::FontRole).value<QFont>().bold());
        QVERIFY(!modele->index(1, 2).data(Qt::ForegroundRole).isValid()); // boîte B, non sélectionnée
        boites->selectionModel()->clearSelection();
        QVERIFY(!modele->index(0, 2).data(Qt::ForegroundRole).isValid());
    }

    void quitterLaListeDesBoitesEffaceSaSelection() {
        fenetre_->show();
        QVERIFY(QTest::qWaitForWindowExposed(fenetre_.get()));
        fenetre_->activateWindow();
        QTreeView* boites = fenetre_->ListeBoites();
        boites->setFocus();
        QTRY_VERIFY(boites->hasFocus());
        boites->selectionModel()->select(boites->model()->index(1, 0),
                                         QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        fenetre_->ListeMessages()->setFocus();
        QTRY_VERIFY(fenetre_->ListeMessages()->hasFocus());
        QVERIFY(!boites->selectionModel()->hasSelection());
    }

    void couleurDesListes() {
        fenetre_->AppliquerCouleurListes(255); // rouge en 0x00BBGGRR
        QCOMPARE(fenetre_->ListeMessages()->palette().color(QPalette::Base), QColor(255, 0, 0));
        QCOMPARE(fenetre_->ListeBoites()->palette().color(QPalette::Base), QColor(255, 0, 0));
    }
};

QTEST_MAIN(TestListeMessages)
#include "test_liste_messages.moc"
