#include "Tessaron7.h"

#include "donnees/Chaines.h"
#include "donnees/Cp1252.h"

#include <QApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cctype>
#include <limits>

namespace {

constexpr int kTailleIcone = 32;

// Étiquette des données du message : gras, texte brut (un en-tête peut contenir "<" ou "&").
QLabel* etiquetteDonnee(QWidget* parent, bool retourALaLigne) {
    auto* etiquette = new QLabel(parent);
    etiquette->setTextFormat(Qt::PlainText);
    etiquette->setWordWrap(retourALaLigne);
    QFont police = etiquette->font();
    police.setBold(true);
    etiquette->setFont(police);
    // Un texte très long ne doit pas élargir la fenêtre.
    QSizePolicy politique(QSizePolicy::Ignored, QSizePolicy::Preferred);
    politique.setHeightForWidth(retourALaLigne);
    etiquette->setSizePolicy(politique);
    return etiquette;
}

// Un groupe titré qui contient une seule étiquette de données.
QGroupBox* groupeAvec(const QString& titre, QLabel* etiquette) {
    auto* groupe = new QGroupBox(titre);
    auto* disposition = new QVBoxLayout(groupe);
    disposition->addWidget(etiquette);
    return groupe;
}

void colorer(QLabel* etiquette, const QColor& couleur) {
    QPalette palette = etiquette->palette();
    palette.setColor(QPalette::WindowText, couleur);
    etiquette->setPalette(palette);
}

QPixmap imageVide() {
    QPixmap image(kTailleIcone, kTailleIcone);
    image.fill(Qt::transparent);
    return image;
}

// Silhouette verte : l'expéditeur devient un ami.
QIcon iconeAmi() {
    QPixmap image = imageVide();
    QPainter peintre(&image);
    peintre.setRenderHint(QPainter::Antialiasing);
    peintre.setPen(Qt::NoPen);
    peintre.setBrush(QColor(0, 140, 0));
    peintre.drawEllipse(QRectF(10, 2, 12, 12));
    peintre.drawChord(QRectF(4, 16, 24, 28), 0, 180 * 16);
    return QIcon(image);
}

// Symbole rouge de mise hors tension : l'interrogation des boîtes s'arrête.
QIcon iconeArret() {
    QPixmap image = imageVide();
    QPainter peintre(&image);
    peintre.setRenderHint(QPainter::Antialiasing);
    peintre.setPen(QPen(QColor(200, 0, 0), 3.5, Qt::SolidLine, Qt::RoundCap));
    peintre.drawArc(QRectF(6, 7, 20, 20), 120 * 16, 300 * 16);
    peintre.drawLine(QPointF(16, 4), QPointF(16, 16));
    return QIcon(image);
}

int borne(qint64 valeur) {
    return static_cast<int>(std::clamp<qint64>(valeur, std::numeric_limits<int>::min(),
                                               std::numeric_limits<int>::max()));
}

} // namespace

TForm7::TForm7(int delaiAuDemarrage, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Tessaron - Interception d'un rejet"));
    setMinimumWidth(560);
    auto* colonne = new QVBoxLayout(this);
    construireEntete(colonne);
    construireGroupes(colonne);
    construireBoutons(colonne);

    // La barre garde le délai du lancement, même si le réglage change ensuite.
    progressBar1_->setMaximum(std::max(1, delaiAuDemarrage));
    timer1_.setInterval(1000);
    connect(&timer1_, &QTimer::timeout, this, &TForm7::Timer1Timer);
}

void TForm7::construireEntete(QVBoxLayout* colonne) {
    lblDefaut_ = new QLabel(this);
    lblDefaut_->setTextFormat(Qt::PlainText);
    progressBar1_ = new QProgressBar(this);
    progressBar1_->setMinimum(0);
    progressBar1_->setTextVisible(false);
    colonne->addWidget(lblDefaut_);
    colonne->addWidget(progressBar1_);

    lblRejet_ = etiquetteDonnee(this, true);
    colorer(lblRejet_, QColor(128, 0, 128));
    groupeRaison_ = groupeAvec(QStringLiteral("Interception ..."), lblRejet_);
    colonne->addWidget(groupeRaison_);
}

void TForm7::construireGroupes(QVBoxLayout* colonne) {
    lblExp_ = etiquetteDonnee(this, false);
    lblSujet_ = etiquetteDonnee(this, true);
    lblDest_ = etiquetteDonnee(this, true);
    lblDestCc_ = etiquetteDonnee(this, true);
    colonne->addWidget(groupeAvec(QStringLiteral("Expéditeur"), lblExp_));
    colonne->addWidget(groupeAvec(QStringLiteral("Sujet"), lblSujet_));
    colonne->addWidget(groupeAvec(QStringLiteral("Destinataire(s)"), lblDest_));
    colonne->addWidget(groupeAvec(QStringLiteral("Destinataire(s) en copie"), lblDestCc_));

    lblTaille_ = etiquetteDonnee(this, false);
    lblDate_ = etiquetteDonnee(this, false);
    auto* groupe3 = new QGroupBox(QStringLiteral("Taille && Date"), this);
    auto* ligne = new QHBoxLayout(groupe3);
    ligne->addWidget(lblTaille_, 1);
    ligne->addWidget(lblDate_, 2);
    colonne->addWidget(groupe3);

    label2_ = new QLabel(QStringLiteral("Rejeter ce message ?"), this);
    QFont police = label2_->font();
    police.setBold(true);
    label2_->setFont(police);
    label2_->setAlignment(Qt::AlignCenter);
    colonne->addWidget(label2_);
}

void TForm7::construireBoutons(QVBoxLayout* colonne) {
    speedButtonOff_ = new QToolButton(this);
    speedButtonOff_->setCheckable(true);
    speedButtonOff_->setIcon(iconeArret());
    speedButtonOff_->setIconSize(QSize(24, 24));
    speedButtonOff_->setToolTip(QStringLiteral("Désactive l'interrogation des boîtes"));
    btnInterrompre_ = new QPushButton(QStringLiteral("Interrompre"), this);
    btnInterrompre_->setToolTip(QStringLiteral("Stoppe l'interrogation de la boîte"));
    button1_ = new QPushButton(QStringLiteral("&Rejeter"), this);
    button1_->setToolTip(QStringLiteral("Détruit définitivement le message"));
    button2_ = new QPushButton(QStringLiteral("&Garder"), this);
    btnAmi_ = new QPushButton(this);
    btnAmi_->setIcon(iconeAmi());
    btnAmi_->setIconSize(QSize(24, 24));
    btnAmi_->setToolTip(QStringLiteral("Faire de cet expéditeur un ami"));

    // Boutons de même hauteur que ceux à icône, et assez larges pour être visés vite.
    const int hauteur = std::max(btnAmi_->sizeHint().height(), speedButtonOff_->sizeHint().height());
    for (QAbstractButton* bouton : std::initializer_list<QAbstractButton*>{
             speedButtonOff_, btnInterrompre_, button1_, button2_, btnAmi_}) {
        bouton->setMinimumHeight(hauteur);
        bouton->setMinimumWidth(hauteur);
    }
    button1_->setMinimumWidth(100);
    button2_->setMinimumWidth(100);

    auto* ligne = new QHBoxLayout;
    ligne->addWidget(speedButtonOff_);
    ligne->addWidget(btnInterrompre_);
    ligne->addStretch(1);
    ligne->addWidget(button1_);
    ligne->addWidget(button2_);
    ligne->addWidget(btnAmi_);
    colonne->addLayout(ligne);

    connect(button1_, &QPushButton::clicked, this, &TForm7::Button1Click);
    connect(button2_, &QPushButton::clicked, this, [this] { done(CodeOui); });
    connect(btnAmi_, &QPushButton::clicked, this, &TForm7::BitBtn1Click);
    connect(btnInterrompre_, &QPushButton::clicked, this, &TForm7::BtnInterrompreClick);
    // Seul un clic prévient : RelacherArret remonte le bouton en silence.
    connect(speedButtonOff_, &QToolButton::clicked, this, &TForm7::SpeedButtonOffClick);
}

ResultatInterception TForm7::Intercepter(const DonneesInterception& d) {
    setWindowTitle(depuisCp1252(d.Titre));
    remplirEtiquettes(d);
    progressBar1_->setValue(1);
    delai_ = d.Delai;
    delaiAvantRejeterActif_ = d.DelaiAvantRejeterActif;
    // Plancher : le décompte peut toujours retirer une seconde sans déborder.
    secondes_ = std::max(d.Delai, std::numeric_limits<int>::min() + 1);
    timer1_.start();
    choisirActionParDefaut(d);

    const int code = exec();
    ResultatInterception resultat;
    resultat.SecondesRestantes = secondes_;
    resultat.Resultat = code == QDialog::Accepted ? ResultatModal::Ok
                        : code == CodeOui        ? ResultatModal::Oui
                                                 : ResultatModal::Annuler;
    return resultat;
}

void TForm7::remplirEtiquettes(const DonneesInterception& d) {
    // Sans raison pour ce message, le groupe garde son titre précédent.
    if (!d.Raison.empty()) groupeRaison_->setTitle(depuisCp1252(d.Raison));
    lblRejet_->setText(depuisCp1252(d.Filtre));
    expediteur_ = d.Expediteur;
    const QColor normal = palette().color(QPalette::WindowText);
    const auto poser = [&normal](QLabel* etiquette, const std::string& texte, bool rouge) {
        etiquette->setText(depuisCp1252(texte));
        colorer(etiquette, rouge ? QColor(Qt::red) : normal);
    };
    poser(lblExp_, d.Expediteur, d.RougeExpediteur);
    poser(lblSujet_, d.Sujet, d.RougeSujet);
    poser(lblDest_, d.Destinataires, d.RougeDestinataires);
    poser(lblDestCc_, d.Copie, d.RougeCopie);
    poser(lblTaille_, d.Taille, false);
    poser(lblDate_, d.Date, false);
}

void TForm7::choisirActionParDefaut(const DonneesInterception& d) {
    rejeterParDefaut_ = std::tolower(static_cast<unsigned char>(d.Action)) != 'g';
    QPushButton* defaut = rejeterParDefaut_ ? button1_ : button2_;
    QPushButton* autre = rejeterParDefaut_ ? button2_ : button1_;
    if (rejeterParDefaut_) button1_->setEnabled(true);
    autre->setDefault(false);
    defaut->setDefault(true);
    defaut->setFocus();
    const QString secondes = QString::number(d.Delai) + QStringLiteral(" s");
    lblDefaut_->setText(ChaineQ(rejeterParDefaut_ ? 1021 : 1022) + secondes);
}

void TForm7::showEvent(QShowEvent* evenement) {
    QDialog::showEvent(evenement);
    if (evenement->spontaneous()) return;
    // Activation : un bip, et "&Rejeter" reste grisé les premières secondes.
    QApplication::beep();
    button1_->setEnabled(false);
}

void TForm7::keyPressEvent(QKeyEvent* evenement) {
    // Pas de bouton d'annulation : Échap ne ferme rien.
    if (evenement->key() == Qt::Key_Escape) {
        evenement->accept();
        return;
    }
    QDialog::keyPressEvent(evenement);
}

void TForm7::Timer1Timer() {
    raise();
    activateWindow();
    --secondes_;
    progressBar1_->setValue(borne(qint64{progressBar1_->maximum()} - secondes_));
    if (qint64{delai_} - delaiAvantRejeterActif_ + 1 > secondes_) {
        button1_->setEnabled(true);
        // Le focus désigne aussi le bouton par défaut ; on le redit au cas où la fenêtre
        // n'est pas active et ne reçoit donc pas l'entrée du focus.
        if (rejeterParDefaut_) {
            button1_->setDefault(true);
            button1_->setFocus();
        }
    }
    if (secondes_ <= 0) {
        secondes_ = -1;
        done(QDialog::Rejected);
    }
}

void TForm7::done(int resultat) {
    timer1_.stop();
    QDialog::done(resultat);
}

void TForm7::Button1Click() {
    secondes_ = 0;
    done(QDialog::Accepted);
}

void TForm7::BitBtn1Click() {
    timer1_.stop();
    if (SurAmi) SurAmi(expediteur_);
    done(CodeOui);
}

void TForm7::BtnInterrompreClick() {
    if (SurInterrompre) SurInterrompre();
    done(CodeOui);
}

void TForm7::SpeedButtonOffClick(bool enfonce) {
    if (SurArretScrutation) SurArretScrutation(enfonce);
}

void TForm7::RelacherArret() {
    speedButtonOff_->setChecked(false);
}

bool TForm7::ArretEnfonce() const {
    return speedButtonOff_->isChecked();
}

QLabel* TForm7::Etiquette(Champ champ) const {
    switch (champ) {
    case Champ::Defaut: return lblDefaut_;
    case Champ::Rejet: return lblRejet_;
    case Champ::Expediteur: return lblExp_;
    case Champ::Sujet: return lblSujet_;
    case Champ::Destinataires: return lblDest_;
    case Champ::Copie: return lblDestCc_;
    case Champ::Taille: return lblTaille_;
    case Champ::Date: return lblDate_;
    case Champ::Question: return label2_;
    }
    return nullptr;
}

void TForm7::ReglerIntervalle(int ms) {
    timer1_.setInterval(ms);
}
