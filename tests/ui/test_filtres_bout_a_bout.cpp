// Filtres créés depuis les messages, de bout en bout contre le Dovecot de test : le bouton Ami
// de la fenêtre d'interception crée un ami qui laisse passer le message suivant du même
// expéditeur ; « Ajoute l'expéditeur » quitté sur Rejeter supprime le message du serveur et
// compte ce premier rejet sur le nouveau filtre.
#include "DossierEssai.h"
#include "ServeursTest.h"
#include "dialogues/Tessaron7.h"
#include "donnees/FichierIni.h"
#include "donnees/MotDePasse.h"
#include "filtres/Tessaron6.h"
#include "principal/Tessaron1.h"

#include <QApplication>
#include <QFile>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <functional>

namespace {

std::string message(const std::string& from, const std::string& sujet) {
    return "Return-Path: <" + from + ">\r\nFrom: " + from + "\r\nTo: moi@ici.test\r\nSubject: " + sujet +
           "\r\nDate: Wed, 9 Dec 2026 23:55:04 +0100\r\n\r\ncorps\r\n";
}

// Répond aux fenêtres modales à mesure qu'elles s'ouvrent ; ce qui s'ouvre sans réponse prévue
// est noté et fermé, pour que le test ne reste jamais bloqué.
class Automate : public QObject {
public:
    std::function<bool(QWidget*)> repondre; // vrai quand la fenêtre a été prise en charge
    QStringList inattendues;

    Automate() {
        minuteur_.setInterval(20);
        QObject::connect(&minuteur_, &QTimer::timeout, this, [this] { examiner(); });
        minuteur_.start();
    }

private:
    void examiner() {
        QWidget* modale = QApplication::activeModalWidget();
        if (!modale || !modale->isVisible() || modale == vue_) return;
        vue_ = modale;
        QTimer::singleShot(50, this, [this, modale] {
            vue_ = nullptr;
            if (QApplication::activeModalWidget() != modale) return;
            if (repondre && repondre(modale)) return;
            inattendues << modale->metaObject()->className() + QStringLiteral(" ") + modale->windowTitle();
            if (auto* dialogue = qobject_cast<QDialog*>(modale)) dialogue->reject();
        });
    }

    QTimer minuteur_;
    QWidget* vue_ = nullptr;
};

} // namespace

class TestFiltresBoutABout : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> dossier_; // un dossier de données par essai
    std::unique_ptr<TForm1> fenetre_;

    void ouvrir(const std::string& utilisateur, const QByteArray& listeExpediteurs) {
        {
            FichierIni ini(dossier_->filePath(QStringLiteral("Tessaron.ini")));
            ini.EcrireEntier("Tessaron", "RecenseDemar", 0);
            ini.EcrireEntier("Tessaron", "TestInternet", 0);
            ini.EcrireEntier("Tessaron", "VerifVersionDemar", 0);
            const std::string section = "Boite " + utilisateur;
            ini.EcrireTexte(section, "Pop3ID", utilisateur);
            ini.EcrireTexte(section, "Pop3Mail", "127.0.0.1");
            ini.EcrireTexte(section, "Pop3Mdp", BrouillePasse(ServeursTest::MotDePasse(utilisateur)));
            ini.EcrireEntier(section, "POP3Port", ServeursTest::PortPop3());
            ini.EcrireEntier(section, "Intervalle", 0);
            ini.EcrireEntier(section, "TimeOut", 10);
        }
        QFile rej(dossier_->filePath(QStringLiteral("Tessaron.rej")));
        QVERIFY(rej.open(QIODevice::WriteOnly));
        rej.write(listeExpediteurs);
        rej.close();
        fenetre_ = std::make_unique<TForm1>(DossierEssai(*dossier_, QByteArray()));
        fenetre_->show();
        QVERIFY(QTest::qWaitForWindowExposed(fenetre_.get()));
        fenetre_->DemarrageSuite();
    }

    void interroger() { fenetre_->Moteur().Timer1Timer(OrigineScrutation::MenuBoite, 0); }

    const structFiltre* filtre(const std::string& motif) const {
        for (const structFiltre& f : fenetre_->Etat().Listes.ListeExpediteurs.Lignes)
            if (f.Motif == motif) return &f;
        return nullptr;
    }

private slots:
    void init() {
        if (!ServeursTest::Disponibles()) QSKIP("serveurs de test non lancés (TESSARON_SERVEURS)");
        dossier_ = std::make_unique<QTemporaryDir>();
    }
    void cleanup() {
        fenetre_.reset();
        dossier_.reset();
    }

    void amiDeLInterceptionAccepteLeMessageSuivant() {
        const std::string u = ServeursTest::Utilisateur(39);
        ServeursTest::ViderBoite(u);
        ServeursTest::DeposerBrut(u, message("Vendeur@Promo.test", "offre du jour"));
        ouvrir(u, "\xB6promo.test,g,N ,,R\r\n");
        int interceptions = 0;
        Automate automate;
        automate.repondre = [&](QWidget* modale) {
            if (auto* f7 = qobject_cast<TForm7*>(modale)) {
                ++interceptions;
                f7->BoutonAmi()->click();
                return true;
            }
            if (auto* f6 = qobject_cast<TForm6*>(modale)) {
                if (f6->Motif()->text() != QStringLiteral("vendeur@promo.test")) return false;
                f6->BoutonOk()->click();
                return true;
            }
            return false;
        };
        interroger();
        QCOMPARE(automate.inattendues, QStringList());
        QCOMPARE(interceptions, 1);
        const structFiltre* ami = filtre("vendeur@promo.test");
        QVERIFY(ami);
        QVERIFY(ami->Ami);
        QVERIFY(fenetre_->Etat().Listes.ListeExpediteurs.Modifiee);
        QCOMPARE(fenetre_->Messages().Nombre(), 1); // gardé : le bouton Ami garde le message

        // Le message suivant du même expéditeur passe sans interception.
        ServeursTest::DeposerBrut(u, message("Vendeur@Promo.test", "seconde offre"));
        interroger();
        QCOMPARE(automate.inattendues, QStringList());
        QCOMPARE(interceptions, 1);
        QCOMPARE(fenetre_->Messages().Nombre(), 2);
    }

    void ajouterLExpediteurRejetteLeMessageEtLeCompte() {
        const std::string u = ServeursTest::Utilisateur(44);
        ServeursTest::ViderBoite(u);
        ServeursTest::DeposerBrut(u, message("Camelot@Marche.test", "affaire"));
        ServeursTest::DeposerBrut(u, message("ami@ici.test", "bonjour"));
        ouvrir(u, "");
        interroger();
        QCOMPARE(fenetre_->Messages().Nombre(), 2);
        int ligne = -1;
        for (int i = 0; i < 2; ++i)
            if (fenetre_->Messages().Ligne(i).Colonnes[ColSujet] == "affaire") ligne = i;
        QVERIFY2(ligne >= 0, fenetre_->Messages().Ligne(0).Colonnes[ColSujet].c_str());

        QStringList questions;
        Automate automate;
        automate.repondre = [&](QWidget* modale) {
            if (auto* f6 = qobject_cast<TForm6*>(modale)) {
                if (f6->Motif()->text() != QStringLiteral("camelot@marche.test")) return false;
                f6->BoutonOk()->click(); // "Rejeter (spam)" est choisi d'office
                return true;
            }
            if (auto* boite = qobject_cast<QMessageBox*>(modale)) {
                questions << boite->text();
                boite->button(QMessageBox::Yes)->click();
                return true;
            }
            return false;
        };
        QTreeView* liste = fenetre_->ListeMessages();
        liste->setFocus();
        liste->selectionModel()->select(liste->model()->index(ligne, 0),
                                        QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        QTest::keyClick(liste, Qt::Key_J, Qt::ControlModifier);
        QCOMPARE(automate.inattendues, QStringList());
        QCOMPARE(questions, QStringList{QStringLiteral("Supprimer DEFINITIVEMENT 1 message du serveur ?")});
        const structFiltre* nouveau = filtre("camelot@marche.test");
        QVERIFY(nouveau);
        QVERIFY(!nouveau->Ami);
        QCOMPARE(nouveau->Effectues, std::string("1"));
        // Le message a quitté le serveur ; l'autre reste, renuméroté.
        QTRY_COMPARE(fenetre_->Messages().Nombre(), 1);
        QCOMPARE(fenetre_->Messages().Ligne(0).Colonnes[ColSujet], std::string("bonjour"));
    }
};

QTEST_MAIN(TestFiltresBoutABout)
#include "test_filtres_bout_a_bout.moc"
