#include "Tessaron6.h"

#include "donnees/Chaines.h"
#include "donnees/Cp1252.h"
#include "donnees/FichierIni.h"
#include "donnees/ParametresGlobaux.h"
#include "moteur/filtrage/Correspondance.h"

#include <QApplication>
#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QToolButton>
#include <QVBoxLayout>
#include <QValidator>
#include <algorithm>

namespace {

// Longueur maximale d'un motif : avec sa marque et les autres colonnes, la ligne du fichier
// reste sous la limite de lecture des listes (1021 caractères).
constexpr int kLongueurMaxMotif = 1000;

const QColor kBleuLien(0, 0, 255);
const QColor kFuchsiaLien(255, 0, 255);
const QColor kRejetChoisi(255, 160, 160);
const QColor kRejetPale(255, 224, 224);
const QColor kAmiChoisi(160, 255, 160);
const QColor kAmiPale(224, 255, 224);
const QColor kOui(0, 128, 0);
const QColor kNon(255, 0, 0);
const QColor kEchantillonOui(128, 255, 128);
const QColor kEchantillonNon(255, 128, 128);

void colorer(QWidget* widget, QPalette::ColorRole role, const QColor& couleur) {
    QPalette palette = widget->palette();
    palette.setColor(role, couleur);
    widget->setPalette(palette);
}

// Tout ce qui est tapé ou collé dans le motif passe en minuscules.
class ValidateurMinuscules : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& texte, int&) const override {
        texte = texte.toLower();
        return Acceptable;
    }
};

// Lien : bleu souligné, fuchsia sous la souris ; un clic gauche appelle SurClic.
class Lien : public QLabel {
public:
    Lien(const QString& texte, QWidget* parent) : QLabel(texte, parent) {
        setTextFormat(Qt::PlainText);
        QFont police = font();
        police.setUnderline(true);
        setFont(police);
        setCursor(Qt::PointingHandCursor);
        setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Preferred);
        colorer(this, QPalette::WindowText, kBleuLien);
    }
    std::function<void()> SurClic;

protected:
    void enterEvent(QEnterEvent* evenement) override {
        colorer(this, QPalette::WindowText, kFuchsiaLien);
        QLabel::enterEvent(evenement);
    }
    void leaveEvent(QEvent* evenement) override {
        colorer(this, QPalette::WindowText, kBleuLien);
        QLabel::leaveEvent(evenement);
    }
    void mouseReleaseEvent(QMouseEvent* evenement) override {
        QLabel::mouseReleaseEvent(evenement);
        if (evenement->button() == Qt::LeftButton && rect().contains(evenement->position().toPoint()) &&
            SurClic)
            SurClic();
    }
};

// Forme aux coins arrondis peinte de la couleur Window de sa palette, sous un bouton d'option.
class FormeArrondie : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter peintre(this);
        peintre.setRenderHint(QPainter::Antialiasing);
        peintre.setPen(Qt::NoPen);
        peintre.setBrush(palette().color(QPalette::Window));
        peintre.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 10, 10);
    }
};

// Le bouton d'option et sa forme prennent la même couleur.
void colorerOption(QWidget* forme, QRadioButton* bouton, const QColor& couleur) {
    for (QWidget* widget : {forme, static_cast<QWidget*>(bouton)}) {
        colorer(widget, QPalette::Window, couleur);
        colorer(widget, QPalette::Button, couleur);
    }
    forme->update();
}

QRadioButton* ajouterChoix(QButtonGroup* groupe, QWidget* parent, const QString& texte, int id) {
    auto* bouton = new QRadioButton(texte, parent);
    groupe->addButton(bouton, id);
    return bouton;
}

// Un groupe titré de boutons d'option les uns sous les autres, numérotés depuis 0.
QGroupBox* groupeDeChoix(QWidget* parent, const QString& titre, const QStringList& textes,
                         QButtonGroup*& groupe) {
    auto* cadre = new QGroupBox(titre, parent);
    auto* colonne = new QVBoxLayout(cadre);
    colonne->setSpacing(2);
    groupe = new QButtonGroup(cadre);
    for (int i = 0; i < textes.size(); ++i)
        colonne->addWidget(ajouterChoix(groupe, cadre, textes[i], i));
    return cadre;
}

// Coche le bouton `id` ; un id sans bouton ne laisse aucun bouton coché.
void cocher(QButtonGroup* groupe, int id) {
    if (QAbstractButton* bouton = groupe->button(id)) {
        bouton->setChecked(true);
        return;
    }
    groupe->setExclusive(false);
    if (QAbstractButton* coche = groupe->checkedButton()) coche->setChecked(false);
    groupe->setExclusive(true);
}

QRadioButton* bouton(const QButtonGroup* groupe, int id) {
    return qobject_cast<QRadioButton*>(groupe->button(id));
}

// Textes des modes sur chaque onglet ; les exemples sont libres.
QStringList textesModes(int onglet) {
    switch (onglet) {
    case kOngletExpediteurs:
        return {QStringLiteral("&Exact ( ex: jean.dupont@exemple.fr ou jean.*@exemple.fr)"),
                QStringLiteral("&Partiel ( ex: @exemple.fr ou promotion)")};
    case kOngletDestinataires:
        return {QStringLiteral("&Exact ( ex: jean.dupont@exemple.fr)"),
                QStringLiteral("&Partiel ( ex: albert)"),
                QStringLiteral("Mo&ts multiples (ex: list mailing)")};
    default:
        return {QStringLiteral("&Exact"), QStringLiteral("&Partiel"), QStringLiteral("Mo&ts multiples"),
                QStringLiteral("Partiel &Mot seulement")};
    }
}

QString texteAction(int index, int delai) {
    switch (index) {
    case 0:
        return QStringLiteral("&Rejeter d'office sans rien demander");
    case 1:
        return QStringLiteral("Demander mais &détruire si pas d'action pendant %1 sec.").arg(delai);
    case 2:
        return QStringLiteral("Demander mais &garder si pas d'action pendant %1 sec.").arg(delai);
    default:
        return QStringLiteral("Comp&tabiliser seulement (pas de rejet)");
    }
}

} // namespace

TForm6::TForm6(const ContexteCorrespondance& correspondance, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint),
      correspondance_(correspondance) {
    Bip = [] { QApplication::beep(); };
    Message = [this](QMessageBox::Icon icone, const QString& texte) { afficher(icone, texte); };
    setModal(true);
    setWindowTitle(QStringLiteral("Tessaron - Créer un filtre"));

    auto* colonne = new QVBoxLayout(this);
    construireMotif(colonne);
    construireModes(colonne);
    construireActions(colonne);
    construireReponse(colonne);
    construireChamp(colonne);
    construireRejetAmi(colonne);
    construireTest(colonne);
    construireBoutons(colonne);

    ReglerOnglet(kOngletExpediteurs);
    Appliquer(ChoixEditeur{});

    // Les changements ne relancent le test qu'une fois tous les contrôles en place.
    connect(motif_, &QLineEdit::textChanged, this, [this] { Tester(Origine::Motif); });
    connect(echantillon_, &QLineEdit::textChanged, this, [this] { Tester(Origine::Echantillon); });
    connect(modes_, &QButtonGroup::idToggled, this, [this](int, bool coche) {
        if (coche) Tester(Origine::Mode);
    });
    connect(actions_, &QButtonGroup::idClicked, this, &TForm6::ActionClick);
    connect(reponses_, &QButtonGroup::idClicked, this, [this] { appliquerEtats(); });
    connect(rejeter_, &QRadioButton::clicked, this, &TForm6::RejetAmiClick);
    connect(ami_, &QRadioButton::clicked, this, &TForm6::RejetAmiClick);
}

TForm6::~TForm6() = default;

// ---------------------------------------------------------------- construction

void TForm6::construireMotif(QVBoxLayout* colonne) {
    etiquetteMotif_ = new QLabel(this);
    marque_ = new QLineEdit(this);
    marque_->setReadOnly(true);
    marque_->setFocusPolicy(Qt::NoFocus);
    marque_->setAlignment(Qt::AlignCenter);
    marque_->setFixedWidth(marque_->fontMetrics().horizontalAdvance(QStringLiteral("MM")) + 10);
    motif_ = new QLineEdit(this);
    motif_->setMaxLength(kLongueurMaxMotif);
    motif_->setValidator(new ValidateurMinuscules(motif_));
    motif_->setMinimumWidth(360);
    etiquetteMotif_->setBuddy(motif_);

    // Le gestionnaire des jokers perso n'existe pas encore : sans rappel, le bouton fait
    // seulement entendre un bip.
    btnJokers_ = new QToolButton(this);
    btnJokers_->setText(QStringLiteral("*?"));
    btnJokers_->setToolTip(QStringLiteral("Gestion des jokers perso"));
    connect(btnJokers_, &QToolButton::clicked, this, [this] {
        if (!SurJokers) {
            if (Bip) Bip();
            return;
        }
        SurJokers();
        Tester(Origine::Activation); // les jokers ont pu changer
    });

    auto* lien = new Lien(QStringLiteral("Aide spécifique sur le fonctionnement des jokers"), this);
    lien->SurClic = [this] {
        if (SurAide) SurAide("jokers");
    };
    lienJokers_ = lien;

    auto* ligne = new QHBoxLayout;
    ligne->setSpacing(2);
    ligne->addWidget(marque_);
    ligne->addWidget(motif_, 1);
    ligne->addWidget(btnJokers_);
    colonne->addWidget(etiquetteMotif_);
    colonne->addLayout(ligne);
    colonne->addWidget(lienJokers_, 0, Qt::AlignRight);
}

void TForm6::construireModes(QVBoxLayout* colonne) {
    groupeModes_ = new QGroupBox(QStringLiteral("Mode de filtrage"), this);
    grilleModes_ = new QGridLayout(groupeModes_);
    grilleModes_->setVerticalSpacing(2);
    modes_ = new QButtonGroup(groupeModes_);
    for (int i = 0; i < kNbModes; ++i) {
        QRadioButton* b = ajouterChoix(modes_, groupeModes_, QString(), i);
        // Quand le groupe perd le focus, le test est refait sans reprendre le focus au contrôle
        // qui le reçoit.
        b->installEventFilter(this);
    }
    colonne->addWidget(groupeModes_);
}

void TForm6::construireActions(QVBoxLayout* colonne) {
    QStringList textes;
    for (int i = 0; i < kNbActions; ++i)
        textes << texteAction(i, delai_);
    groupeActions_ =
        groupeDeChoix(this, QStringLiteral("Action à effectuer si le message correspond"), textes, actions_);
    colonne->addWidget(groupeActions_);
}

void TForm6::construireReponse(QVBoxLayout* colonne) {
    groupeReponse_ = new QGroupBox(QStringLiteral("Réponse à l'expéditeur d'un message rejeté"), this);
    groupeExecuter_ =
        groupeDeChoix(groupeReponse_, QStringLiteral("Exécuter lors du rejet"),
                      {QStringLiteral("&Ne pas répondre"), QStringLiteral("Répondre c&omme Postmaster"),
                       QStringLiteral("Répondre a&vec l'adr. de réception (Déconseillé!)"),
                       QStringLiteral("Répondre avec l'adresse &spécifique")},
                      reponses_);
    groupeInclure_ = groupeDeChoix(groupeReponse_, QStringLiteral("Inclure dans le corps de la réponse"),
                                   {QStringLiteral("Ne rien inclure"),
                                    QStringLiteral("Inclure le destinataire princip&al"),
                                    QStringLiteral("Inclure le destinataire en &copie"),
                                    QStringLiteral("Inclure les deu&x destinataires")},
                                   inclusions_);

    auto* lien = new Lien(QStringLiteral("Explications à propos des options de réponse"), groupeReponse_);
    lien->SurClic = [this] {
        if (Message)
            Message(QMessageBox::Information,
                    QStringLiteral(
                        "Ces paramètres nécéssitent que les options de l'onglet\r\"Réponse\" aient été "
                        "renseignées, en particulier\rles paramètres SMTP et l'adresse correspondant à\r"
                        "l'option \"Répondre avec l'adresse spécifique\""));
    };
    lienReponse_ = lien;

    auto* grille = new QGridLayout(groupeReponse_);
    grille->addWidget(groupeExecuter_, 0, 0);
    grille->addWidget(groupeInclure_, 0, 1);
    grille->addWidget(lienReponse_, 1, 0, 1, 2, Qt::AlignRight);
    colonne->addWidget(groupeReponse_);
}

void TForm6::construireChamp(QVBoxLayout* colonne) {
    groupeChamp_ = groupeDeChoix(this, QStringLiteral("Champ de l'en-tête du message à tester"),
                                 {QStringLiteral("Champ \"&A\" (destinataire principal)"),
                                  QStringLiteral("Champ \"&Cc\" (destinataire en copie)"),
                                  QStringLiteral("&L'un ou l'autre champ")},
                                 champs_);
    colonne->addWidget(groupeChamp_);
}

void TForm6::construireRejetAmi(QVBoxLayout* colonne) {
    const auto option = [this](const QString& texte, QWidget*& forme) {
        forme = new FormeArrondie(this);
        auto* bouton = new QRadioButton(texte, forme);
        bouton->setAutoFillBackground(true);
        auto* disposition = new QHBoxLayout(forme);
        disposition->setContentsMargins(14, 6, 14, 6);
        disposition->addWidget(bouton, 0, Qt::AlignCenter);
        return bouton;
    };
    rejeter_ = option(QStringLiteral("Rejeter (spam)"), formeRejeter_);
    ami_ = option(QStringLiteral("Accepter (ami)"), formeAmi_);
    // Les deux boutons sont sur deux formes distinctes : un groupe les rend exclusifs.
    auto* groupe = new QButtonGroup(this);
    groupe->addButton(rejeter_);
    groupe->addButton(ami_);

    auto* ligne = new QHBoxLayout;
    ligne->addStretch(1);
    ligne->addWidget(formeRejeter_);
    ligne->addSpacing(20);
    ligne->addWidget(formeAmi_);
    ligne->addStretch(1);
    colonne->addLayout(ligne);
}

void TForm6::construireTest(QVBoxLayout* colonne) {
    auto* groupe = new QGroupBox(QStringLiteral("Le filtre correspond-il à la chaine ci-dessous ?"), this);
    echantillon_ = new QLineEdit(groupe);
    paletteEchantillon_ = echantillon_->palette();
    indicateur_ = new QLabel(groupe);
    indicateur_->setTextFormat(Qt::PlainText);
    indicateur_->setAlignment(Qt::AlignCenter);
    indicateur_->setMinimumWidth(indicateur_->fontMetrics().horizontalAdvance(QStringLiteral("Non")) + 12);
    QFont gras = indicateur_->font();
    gras.setBold(true);
    indicateur_->setFont(gras);
    auto* ligne = new QHBoxLayout(groupe);
    ligne->addWidget(echantillon_, 1);
    ligne->addWidget(indicateur_);
    colonne->addWidget(groupe);
}

void TForm6::construireBoutons(QVBoxLayout* colonne) {
    aide_ = new QPushButton(QStringLiteral("Aide"), this);
    aide_->setToolTip(QStringLiteral("<F1> = Aide"));
    aide_->setAutoDefault(false);
    defaut_ = new QPushButton(QStringLiteral("Dé&faut"), this);
    defaut_->setToolTip(QStringLiteral(
        "Utilisera à l'avenir les options ci-dessus par défaut (rejets à la volée uniquement)"));
    defaut_->setAutoDefault(false);
    ok_ = new QPushButton(QStringLiteral("OK"), this);
    ok_->setDefault(true);
    annuler_ = new QPushButton(QStringLiteral("Annuler"), this);
    annuler_->setAutoDefault(false);

    auto* ligne = new QHBoxLayout;
    ligne->addWidget(aide_);
    ligne->addWidget(defaut_);
    ligne->addStretch(1);
    ligne->addWidget(ok_);
    ligne->addWidget(annuler_);
    colonne->addLayout(ligne);

    connect(aide_, &QPushButton::clicked, this, [this] {
        if (SurAide) SurAide("gestion_filtres");
    });
    connect(defaut_, &QPushButton::clicked, this, &TForm6::BtnDefautClick);
    connect(ok_, &QPushButton::clicked, this, &TForm6::accept);
    connect(annuler_, &QPushButton::clicked, this, &TForm6::reject);
}

// Les modes de l'onglet : une colonne, deux pour les sujets (remplies l'une après l'autre).
void TForm6::disposerModes() {
    const QStringList textes = textesModes(onglet_);
    const int nombre = static_cast<int>(textes.size());
    const int colonnes = onglet_ == kOngletSujets ? 2 : 1;
    const int parColonne = (nombre + colonnes - 1) / colonnes;
    for (int i = 0; i < kNbModes; ++i) {
        QRadioButton* b = BoutonMode(i);
        grilleModes_->removeWidget(b);
        b->setVisible(i < nombre);
        if (i >= nombre) continue;
        b->setText(textes[i]);
        grilleModes_->addWidget(b, i % parColonne, i / parColonne);
    }
}

// ---------------------------------------------------------------- réglages et choix

void TForm6::ReglerOnglet(int onglet) {
    onglet_ = std::clamp(onglet, kOngletExpediteurs, kOngletDestinataires);
    const int mode = ModeSelonOnglet(onglet_, Mode());
    disposerModes();
    cocher(modes_, mode);
    groupeChamp_->setVisible(onglet_ == kOngletDestinataires);
    if (isVisible()) adjustSize();
}

void TForm6::ReglerDelai(int secondes) {
    delai_ = secondes;
    for (int i : {1, 2})
        BoutonAction(i)->setText(texteAction(i, delai_));
}

void TForm6::ReglerTitres(const QString& titre, const QString& etiquette) {
    setWindowTitle(titre);
    etiquetteMotif_->setText(etiquette);
}

void TForm6::Appliquer(const ChoixEditeur& choix) {
    motif_->setText(depuisCp1252(choix.Motif));
    echantillon_->setText(depuisCp1252(choix.Echantillon));
    cocher(modes_, ModeSelonOnglet(onglet_, choix.Mode));
    cocher(actions_, choix.Action);
    cocher(reponses_, choix.Reponse);
    cocher(inclusions_, choix.Inclure);
    cocher(champs_, choix.Champ);
    (choix.Ami ? ami_ : rejeter_)->setChecked(true);
    appliquerEtats();
    Tester(Origine::Activation);
}

ChoixEditeur TForm6::Choix() const {
    ChoixEditeur choix;
    choix.Motif = versCp1252(motif_->text());
    choix.Echantillon = versCp1252(echantillon_->text());
    choix.Mode = Mode();
    choix.Champ = champs_->checkedId();
    choix.Action = actions_->checkedId();
    choix.Reponse = reponses_->checkedId();
    choix.Inclure = inclusions_->checkedId();
    choix.Ami = Ami();
    return choix;
}

int TForm6::Mode() const {
    return modes_->checkedId();
}
bool TForm6::Ami() const {
    return ami_->isChecked();
}

QRadioButton* TForm6::BoutonMode(int index) const {
    return bouton(modes_, index);
}
QRadioButton* TForm6::BoutonAction(int index) const {
    return bouton(actions_, index);
}
QRadioButton* TForm6::BoutonReponse(int index) const {
    return bouton(reponses_, index);
}
QRadioButton* TForm6::BoutonInclure(int index) const {
    return bouton(inclusions_, index);
}
QRadioButton* TForm6::BoutonChamp(int index) const {
    return bouton(champs_, index);
}

// ---------------------------------------------------------------- états et test immédiat

void TForm6::appliquerEtats() {
    const bool ami = Ami();
    const bool repondre = !ami && actions_->checkedId() != kActionComptabiliser;
    groupeActions_->setEnabled(!ami);
    groupeExecuter_->setEnabled(repondre);
    groupeInclure_->setEnabled(repondre && reponses_->checkedId() > 0);
    colorerOption(formeRejeter_, rejeter_, ami ? kRejetPale : kRejetChoisi);
    colorerOption(formeAmi_, ami_, ami ? kAmiChoisi : kAmiPale);
}

void TForm6::RejetAmiClick() {
    appliquerEtats();
}

// "Comptabiliser seulement" ne rejette rien : pas de réponse, rien à inclure.
void TForm6::ActionClick(int index) {
    if (index == kActionComptabiliser) {
        cocher(reponses_, 0);
        cocher(inclusions_, 0);
    }
    appliquerEtats();
}

void TForm6::Tester(Origine origine) {
    const int mode = Mode();
    const std::string marque = MarqueDuMode(mode);
    marque_->setText(depuisCp1252(marque));
    const QString motif = motif_->text();
    ok_->setEnabled(!motif.isEmpty());

    const QString echantillon = echantillon_->text();
    if (echantillon.isEmpty()) {
        echantillon_->setPalette(paletteEchantillon_);
        indicateur_->clear();
    } else {
        const std::string complet = marque + versCp1252(motif);
        const std::string texte = versCp1252(echantillon);
        const bool oui =
            !motif.isEmpty() &&
            (Correspond(correspondance_, complet, texte) ||
             (mode == ModeMotsMultiples && CorrespondMotsMultiples(correspondance_, complet, texte)));
        indicateur_->setText(oui ? QStringLiteral("Oui") : QStringLiteral("Non"));
        colorer(indicateur_, QPalette::WindowText, oui ? kOui : kNon);
        QPalette palette = paletteEchantillon_;
        palette.setColor(QPalette::Base, oui ? kEchantillonOui : kEchantillonNon);
        echantillon_->setPalette(palette);
    }

    if (origine == Origine::Echantillon || origine == Origine::SortieModes) return;
    motif_->setFocus();
    if (origine != Origine::Motif) motif_->end(false);
}

bool TForm6::eventFilter(QObject* objet, QEvent* evenement) {
    const auto* b = qobject_cast<QAbstractButton*>(objet);
    if (evenement->type() == QEvent::FocusOut && b && b->group() == modes_) Tester(Origine::SortieModes);
    return QDialog::eventFilter(objet, evenement);
}

// ---------------------------------------------------------------- fermeture, défaut, activation

void TForm6::accept() {
    const std::string motif = versCp1252(motif_->text());
    // OK est grisé sans motif ; l'éditeur reste ouvert de toute façon.
    if (motif.empty()) return;
    const ValidationMotif validation = ValiderMotif(motif, Mode());
    if (validation.Motif != motif) motif_->setText(depuisCp1252(validation.Motif));
    if (validation.Refus != RefusMotif::Aucun) {
        if (Bip) Bip();
        if (Message) Message(QMessageBox::Warning, depuisCp1252(MessageRefus(validation.Refus)));
        return;
    }
    QDialog::accept();
}

void TForm6::BtnDefautClick() {
    const ChoixEditeur choix = Choix();
    if (ini_) {
        LotEcritures lot(*ini_);
        ini_->EcrireEntier(kSectionGlobale, "TypeRejet", choix.Mode);
        ini_->EcrireEntier(kSectionGlobale, "AvantRejet", choix.Action);
        ini_->EcrireEntier(kSectionGlobale, "ReponseRejet", choix.Reponse);
        ini_->EcrireEntier(kSectionGlobale, "ReponseInclure", choix.Inclure);
        if (!lot.Terminer()) {
            if (Bip) Bip();
            if (Message) Message(QMessageBox::Critical, ChaineQ(90003) + ini_->chemin());
            return;
        }
    }
    if (SurDefaut) SurDefaut(choix);
    if (Message)
        Message(
            QMessageBox::Information,
            QStringLiteral("Les valeurs par défaut pour la création de rejets ont bien été enregistrées"));
}

void TForm6::afficher(QMessageBox::Icon icone, const QString& texte) {
    QString affiche = texte;
    affiche.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    QMessageBox boite(icone, QStringLiteral("Tessaron"), affiche, QMessageBox::Ok,
                      isVisible() ? this : parentWidget());
    boite.exec();
}

void TForm6::showEvent(QShowEvent* evenement) {
    if (!evenement->spontaneous()) {
        adjustSize();
        const QWidget* mere = parentWidget() ? parentWidget()->window() : nullptr;
        QRect cadre;
        if (mere && mere->isVisible())
            cadre = mere->frameGeometry();
        else if (const QScreen* ecran = screen())
            cadre = ecran->availableGeometry();
        if (cadre.isValid()) {
            QPoint coin = cadre.center() - rect().center();
            // Centré sur la fenêtre principale, mais jamais hors de l'écran (titre compris).
            if (const QScreen* ecran = screen()) {
                const QRect utile = ecran->availableGeometry();
                coin.setX(
                    std::clamp(coin.x(), utile.left(), std::max(utile.left(), utile.right() - width())));
                coin.setY(
                    std::clamp(coin.y(), utile.top(), std::max(utile.top(), utile.bottom() - height())));
            }
            move(coin);
        }
    }
    QDialog::showEvent(evenement);
    if (evenement->spontaneous()) return;
    appliquerEtats();
    Tester(Origine::Activation);
}

void TForm6::keyPressEvent(QKeyEvent* evenement) {
    if (evenement->key() == Qt::Key_F1 && evenement->modifiers() == Qt::NoModifier) {
        if (SurAide) SurAide("gestion_filtres");
        return;
    }
    QDialog::keyPressEvent(evenement);
}
