// Fenêtre des filtres : règles globales (sujet vide, destinataires vides, adresse sans arobase,
// expéditeur et sujet, champ de l'expéditeur testé) et conservation de l'historique. Chaque
// contrôle écrit sa valeur dans etat.Parametres dès qu'elle change.
#include "Tessaronrejets.h"

#include "donnees/Chaines.h"
#include "donnees/Cp1252.h"
#include "moteur/EtatProgramme.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

constexpr int kMinConserve = 10;
constexpr int kMaxConserve = 9999;
constexpr int kActionParDefaut = 3; // "Garder toujours"

// Nombre de l'historique à garder : chiffres seulement, ramené entre 10 et 9999 quand il perd
// le focus (une valeur trop petite devient 10).
class ChampConserve : public QSpinBox {
public:
    explicit ChampConserve(QWidget* parent) : QSpinBox(parent) {
        setRange(kMinConserve, kMaxConserve);
        setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
        setAccelerated(true);
    }

protected:
    QValidator::State validate(QString& texte, int& position) const override {
        for (const QChar c : texte)
            if (c < u'0' || c > u'9') return QValidator::Invalid;
        return QSpinBox::validate(texte, position);
    }
};

// Valeur d'un réglage à quatre actions : une valeur hors des choix prend le défaut.
int actionValide(int valeur) {
    return valeur >= 0 && valeur <= 3 ? valeur : kActionParDefaut;
}

QComboBox* choixAction(QWidget* parent) {
    auto* choix = new QComboBox(parent);
    for (int k = 0; k < 4; ++k)
        choix->addItem(QString());
    return choix;
}

} // namespace

// ---------------------------------------------------------------- construction

QWidget* TFormRejets::construireOptionsExpediteur() {
    auto* zone = new QWidget(this);
    auto* d = new QHBoxLayout(zone);
    d->setContentsMargins(0, 0, 0, 0);
    auto* regle = new QVBoxLayout;
    regle->addWidget(new QLabel(QStringLiteral("Si l'expéditeur ET le sujet sont tous les deux en"), zone));
    caseExpEtSujet_ = new QCheckBox(zone);
    regle->addWidget(caseExpEtSujet_);
    d->addLayout(regle);
    d->addStretch();
    auto* groupe = new QGroupBox(QStringLiteral("Champ Expéditeur à tester"), zone);
    auto* boutons = new QHBoxLayout(groupe);
    champExpediteur_ = new QButtonGroup(groupe);
    const struct {
        const char* texte;
        int valeur;
    } choix[] = {{"From (sans Alias)", 0}, {"ReturnPath", 1}};
    for (const auto& c : choix) {
        auto* radio = new QRadioButton(QString::fromUtf8(c.texte), groupe);
        champExpediteur_->addButton(radio, c.valeur);
        boutons->addWidget(radio);
    }
    d->addWidget(groupe);
    connect(caseExpEtSujet_, &QCheckBox::toggled, this,
            [this](bool coche) { etat_.Parametres.ExpEtSujetDetruire = coche; });
    connect(champExpediteur_, &QButtonGroup::idClicked, this, &TFormRejets::ChampExpediteurClick);
    return zone;
}

QWidget* TFormRejets::construireOptionsSujet() {
    auto* zone = new QWidget(this);
    auto* d = new QHBoxLayout(zone);
    d->setContentsMargins(0, 0, 0, 0);
    d->addWidget(new QLabel(QStringLiteral("Si le sujet est vide : "), zone));
    actions_[RegleSujetVide] = choixAction(zone);
    d->addWidget(actions_[RegleSujetVide]);
    d->addStretch();
    connect(actions_[RegleSujetVide], &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0) etat_.Parametres.SujetVide = index;
    });
    return zone;
}

QWidget* TFormRejets::construireOptionsDestinataires() {
    auto* zone = new QWidget(this);
    auto* d = new QGridLayout(zone);
    d->setContentsMargins(0, 0, 0, 0);
    d->addWidget(new QLabel(QStringLiteral("Si les destinataires 'A' et 'Cc' sont vides :"), zone), 0, 0);
    d->addWidget(new QLabel(QStringLiteral("Si une adresse ne contient pas d'arobase :"), zone), 1, 0);
    for (Regle regle : {RegleDestAVide, RegleDestPasArobase}) {
        actions_[regle] = choixAction(zone);
        d->addWidget(actions_[regle], regle == RegleDestAVide ? 0 : 1, 1);
    }
    d->setColumnStretch(2, 1);
    connect(actions_[RegleDestAVide], &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0) etat_.Parametres.DestAVide = index;
    });
    connect(actions_[RegleDestPasArobase], &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0) etat_.Parametres.DestPasArobase = index;
    });
    return zone;
}

// "&Conserver les " [nombre] "derniers rejets les plus récents",
// "Conserver les" [nombre] "derniers jours de rejets", puis "Vider" et "Exporter".
QWidget* TFormRejets::construireConservation() {
    auto* zone = new QWidget(this);
    auto* d = new QGridLayout(zone);
    d->setContentsMargins(0, 0, 0, 0);
    caseNbLig_ = new QCheckBox(QStringLiteral("&Conserver les "), zone);
    champNbHisto_ = new ChampConserve(zone);
    caseJours_ = new QCheckBox(QStringLiteral("Conserver les"), zone);
    champNbHistoDate_ = new ChampConserve(zone);
    d->addWidget(caseNbLig_, 0, 0);
    d->addWidget(champNbHisto_, 0, 1);
    d->addWidget(new QLabel(QStringLiteral("derniers rejets les plus récents"), zone), 0, 2);
    d->addWidget(caseJours_, 1, 0);
    d->addWidget(champNbHistoDate_, 1, 1);
    d->addWidget(new QLabel(QStringLiteral("derniers jours de rejets"), zone), 1, 2);
    d->setColumnStretch(3, 1);
    btnVider_ = new QPushButton(QStringLiteral("Vider"), zone);
    btnVider_->setToolTip(QStringLiteral("Vide l'historique"));
    btnVider_->setAutoDefault(false);
    btnExporter_ = new QPushButton(QStringLiteral("Exporter"), zone);
    btnExporter_->setToolTip(QStringLiteral("Exporter la liste au format  Excel"));
    btnExporter_->setAutoDefault(false);
    btnExporter_->setEnabled(false); // l'export vers un tableur n'est pas encore là
    d->addWidget(btnVider_, 0, 4);
    d->addWidget(btnExporter_, 1, 4);
    ParametresGlobaux& p = etat_.Parametres;
    connect(caseNbLig_, &QCheckBox::toggled, this, [&p](bool coche) { p.HistoNbLigSav = coche; });
    connect(caseJours_, &QCheckBox::toggled, this, [&p](bool coche) { p.HistoDateSav = coche; });
    connect(champNbHisto_, &QSpinBox::valueChanged, this, [&p](int valeur) { p.NbHisto = valeur; });
    connect(champNbHistoDate_, &QSpinBox::valueChanged, this, [&p](int valeur) { p.NbHistoDate = valeur; });
    connect(btnVider_, &QPushButton::clicked, this, &TFormRejets::BtnViderClick);
    return zone;
}

// ---------------------------------------------------------------- valeurs

void TFormRejets::RelireOptions() {
    ParametresGlobaux& p = etat_.Parametres;
    p.SujetVide = actionValide(p.SujetVide);
    p.DestAVide = actionValide(p.DestAVide);
    p.DestPasArobase = actionValide(p.DestPasArobase);
    p.FromReturnPath = p.FromReturnPath == 0 ? 0 : 1;
    p.NbHisto = std::clamp(p.NbHisto, kMinConserve, kMaxConserve);
    p.NbHistoDate = std::clamp(p.NbHistoDate, kMinConserve, kMaxConserve);
    const int valeurs[] = {p.SujetVide, p.DestAVide, p.DestPasArobase};
    for (std::size_t k = 0; k < actions_.size(); ++k) {
        const QSignalBlocker bloque(actions_[k]);
        actions_[k]->setCurrentIndex(valeurs[k]);
    }
    relibellerActions();
    relibellerExpEtSujet();
    {
        const QSignalBlocker b1(caseExpEtSujet_), b2(caseNbLig_), b3(caseJours_), b4(champNbHisto_),
            b5(champNbHistoDate_);
        caseExpEtSujet_->setChecked(p.ExpEtSujetDetruire);
        caseNbLig_->setChecked(p.HistoNbLigSav);
        caseJours_->setChecked(p.HistoDateSav);
        champNbHisto_->setValue(p.NbHisto);
        champNbHistoDate_->setValue(p.NbHistoDate);
    }
    cocherChampExpediteur(p.FromReturnPath);
    // Le choix lu dans les réglages donne aussi la légende de la colonne de la liste des messages.
    if (SurChampExpediteur) SurChampExpediteur(p.FromReturnPath);
}

// Les quatre actions des trois règles, le délai d'interception dedans ; chaque choix reste.
void TFormRejets::relibellerActions() {
    const std::array<std::string, 4> libelles = LibellesActions(etat_.Parametres.DelaiRejeterGarder);
    for (QComboBox* choix : actions_)
        for (int k = 0; k < 4; ++k)
            choix->setItemText(k, depuisCp1252(libelles[static_cast<std::size_t>(k)]));
}

void TFormRejets::relibellerExpEtSujet() {
    caseExpEtSujet_->setText(depuisCp1252(LibelleExpEtSujet(etat_.Parametres.DelaiRejeterGarder)));
}

void TFormRejets::DelaiChange() {
    relibellerActions();
    relibellerExpEtSujet();
}

QAbstractButton* TFormRejets::ChoixChampExpediteur(int valeur) const {
    return champExpediteur_->button(valeur);
}

void TFormRejets::cocherChampExpediteur(int valeur) {
    if (QAbstractButton* b = champExpediteur_->button(valeur)) b->setChecked(true);
}

// Un changement qui ne correspond plus à la colonne de la liste des messages est confirmé
// d'abord ; "Non" remet le choix précédent.
void TFormRejets::ChampExpediteurClick(int valeur) {
    ParametresGlobaux& p = etat_.Parametres;
    if (valeur == p.FromReturnPath) return;
    const QString legende = ChaineQ(valeur == 1 ? 10012 : 10011);
    const QString actuelle = LegendeColonneExpediteur ? LegendeColonneExpediteur() : QString();
    if (legende != actuelle) {
        const QString question =
            QStringLiteral("Attention : tout changement de nature d'expéditeur peut avoir des\nconséquences "
                           "imprévues dans le "
                           "comportement de vos filtres existants.\n\nVoulez-vous poursuivre ?");
        if (demander(QMessageBox::Warning, QStringLiteral("Avertissement"), question) != QMessageBox::Yes) {
            cocherChampExpediteur(p.FromReturnPath);
            return;
        }
    }
    p.FromReturnPath = valeur;
    if (SurChampExpediteur) SurChampExpediteur(valeur);
}

// Fermeture sur l'historique : un nombre en cours de saisie compte, relevé à 10 au moins.
void TFormRejets::leverNombresConserves() {
    for (QSpinBox* champ : {champNbHisto_, champNbHistoDate_}) {
        bool lu = false;
        const qlonglong saisi = champ->cleanText().toLongLong(&lu);
        const int valeur =
            lu ? static_cast<int>(std::clamp<qlonglong>(saisi, kMinConserve, kMaxConserve)) : champ->value();
        champ->setValue(valeur);
        (champ == champNbHisto_ ? etat_.Parametres.NbHisto : etat_.Parametres.NbHistoDate) = valeur;
    }
}
