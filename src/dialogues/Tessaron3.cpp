#include "Tessaron3.h"

#include "donnees/Cp1252.h"
#include "donnees/FichierIni.h"

#include <QAction>
#include <QApplication>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>

namespace {

constexpr int kMinLignes = 10;
constexpr int kMaxLignes = 999;
constexpr int kTailleIcone = 20;

// ---------------------------------------------------------------- images des boutons

QPixmap imageVide() {
    QPixmap image(kTailleIcone, kTailleIcone);
    image.fill(Qt::transparent);
    return image;
}

// Deux feuilles qui se chevauchent.
QIcon iconeCopier() {
    QPixmap image = imageVide();
    QPainter peintre(&image);
    peintre.setPen(QPen(QColor(60, 60, 60), 1.2));
    peintre.setBrush(Qt::white);
    peintre.drawRect(QRectF(2.5, 2.5, 10, 12));
    peintre.drawRect(QRectF(7.5, 5.5, 10, 12));
    return QIcon(image);
}

// Une imprimante : le corps gris, la feuille blanche au-dessus.
QIcon iconeImprimer() {
    QPixmap image = imageVide();
    QPainter peintre(&image);
    peintre.setPen(QPen(QColor(60, 60, 60), 1.2));
    peintre.setBrush(Qt::white);
    peintre.drawRect(QRectF(5.5, 1.5, 9, 8));
    peintre.setBrush(QColor(150, 150, 150));
    peintre.drawRoundedRect(QRectF(1.5, 8.5, 17, 7), 1.5, 1.5);
    peintre.setBrush(Qt::white);
    peintre.drawRect(QRectF(5.5, 13.5, 9, 5));
    return QIcon(image);
}

// Un point d'interrogation blanc dans un disque bleu.
QIcon iconeAide() {
    QPixmap image = imageVide();
    QPainter peintre(&image);
    peintre.setRenderHint(QPainter::Antialiasing);
    peintre.setPen(Qt::NoPen);
    peintre.setBrush(QColor(30, 90, 190));
    peintre.drawEllipse(QRectF(1, 1, 18, 18));
    QFont police = peintre.font();
    police.setBold(true);
    police.setPixelSize(14);
    peintre.setFont(police);
    peintre.setPen(Qt::white);
    peintre.drawText(QRectF(0, 0, kTailleIcone, kTailleIcone), Qt::AlignCenter, QStringLiteral("?"));
    return QIcon(image);
}

// Une croix rouge.
QIcon iconeSupprimer() {
    QPixmap image = imageVide();
    QPainter peintre(&image);
    peintre.setRenderHint(QPainter::Antialiasing);
    peintre.setPen(QPen(QColor(200, 0, 0), 3.5, Qt::SolidLine, Qt::RoundCap));
    peintre.drawLine(QPointF(4, 4), QPointF(16, 16));
    peintre.drawLine(QPointF(16, 4), QPointF(4, 16));
    return QIcon(image);
}

QToolButton* boutonImage(QWidget* parent, const QIcon& icone, const QString& bulle) {
    auto* bouton = new QToolButton(parent);
    bouton->setIcon(icone);
    bouton->setIconSize(QSize(kTailleIcone, kTailleIcone));
    bouton->setToolTip(bulle);
    bouton->setAutoRaise(false);
    return bouton;
}

QPushButton* bouton(QWidget* parent, const QString& texte) {
    auto* b = new QPushButton(texte, parent);
    b->setAutoDefault(false);  // Entrée reste à "&Voir", quel que soit le bouton qui a le focus
    return b;
}

// Étiquette d'un champ de l'en-tête : texte brut, qui n'élargit jamais la fenêtre.
QLabel* etiquetteValeur(QWidget* parent) {
    auto* etiquette = new QLabel(parent);
    etiquette->setTextFormat(Qt::PlainText);
    etiquette->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    etiquette->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return etiquette;
}

bool chiffresSeulement(const QString& texte) {
    return std::all_of(texte.begin(), texte.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

// Une ligne d'en-tête imprimée : la légende un point plus grande que le texte, la valeur deux
// points plus grande et en gras.
void insererLigneEntete(QTextCursor& curseur, qreal taille, const QString& legende, const QString& valeur) {
    QTextCharFormat format;
    format.setFontPointSize(taille + 1);
    format.setFontWeight(QFont::Normal);
    curseur.insertText(legende + u' ', format);
    format.setFontPointSize(taille + 2);
    format.setFontWeight(QFont::Bold);
    curseur.insertText(valeur + u' ', format);
    curseur.insertBlock();
}

} // namespace

TForm3::TForm3(int nbLigMsg, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
    Bip = [] { QApplication::beep(); };
    setWindowTitle(QStringLiteral("Tessaron - Affichage d'un message"));
    setMinimumSize(570, 270);
    resize(720, 480);

    // En haut les champs de l'en-tête et les boutons, au milieu le texte, en bas le compteur.
    auto* colonne = new QVBoxLayout(this);
    colonne->setContentsMargins(20, 10, 20, 10);
    auto* haut = new QHBoxLayout;
    construireEntete(haut);
    construireBoutons(haut);
    colonne->addLayout(haut);
    construireTexte(colonne);
    auto* bas = new QHBoxLayout;
    construireCompteur(bas);
    colonne->addLayout(bas);

    // Échap ferme par ce bouton d'annulation minuscule, caché derrière les autres.
    fermer_ = new QPushButton(QStringLiteral("Fermer"), this);
    fermer_->setAutoDefault(false);
    fermer_->setFocusPolicy(Qt::NoFocus);
    fermer_->setGeometry(0, 0, 1, 1);
    fermer_->lower();
    connect(fermer_, &QPushButton::clicked, this, &QDialog::reject);

    edit1_->setText(QString::number(std::clamp(nbLigMsg, kMinLignes, kMaxLignes)));
    activer();
}

TForm3::~TForm3() = default;

void TForm3::construireEntete(QHBoxLayout* haut) {
    auto* grille = new QGridLayout;
    grille->setHorizontalSpacing(8);
    grille->setVerticalSpacing(2);

    envoiDe_ = new QLineEdit(this);
    envoiDe_->setReadOnly(true);
    envoiDe_->setFrame(false);
    QPalette palette = envoiDe_->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Window));
    envoiDe_->setPalette(palette);
    envoiDe_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    pour_ = etiquetteValeur(this);
    date_ = etiquetteValeur(this);
    taille_ = etiquetteValeur(this);
    sujet_ = etiquetteValeur(this);
    QFont gras = sujet_->font();
    gras.setBold(true);
    sujet_->setFont(gras);

    const std::pair<const char*, QWidget*> lignes[] = {
        {"Envoi de :", envoiDe_}, {"Pour :", pour_}, {"Date :", date_}, {"Taille :", taille_}, {"Sujet :", sujet_}};
    int rang = 0;
    for (const auto& [legende, valeur] : lignes) {
        grille->addWidget(new QLabel(QString::fromUtf8(legende), this), rang, 0);
        grille->addWidget(valeur, rang++, 1);
    }
    grille->setColumnStretch(1, 1);
    haut->addLayout(grille, 1);
}

void TForm3::construireTexte(QVBoxLayout* colonne) {
    richEdit1_ = new QTextEdit(this);
    richEdit1_->setReadOnly(true);
    richEdit1_->setAcceptRichText(false);
    richEdit1_->setLineWrapMode(QTextEdit::NoWrap);
    richEdit1_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    richEdit1_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    richEdit1_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);

    menuCopier_ = new QAction(QStringLiteral("Copier"), richEdit1_);
    menuImprimer_ = new QAction(QStringLiteral("Imprimer"), richEdit1_);
    richEdit1_->setContextMenuPolicy(Qt::ActionsContextMenu);
    richEdit1_->addAction(menuCopier_);
    richEdit1_->addAction(menuImprimer_);
    connect(menuCopier_, &QAction::triggered, this, &TForm3::BtnCopierClick);
    connect(menuImprimer_, &QAction::triggered, this, &TForm3::BtnImprClick);
    colonne->addWidget(richEdit1_, 1);
}

void TForm3::construireCompteur(QHBoxLayout* ligne) {
    voir_ = new QPushButton(QStringLiteral("&Voir"), this);
    voir_->setAutoDefault(true);
    voir_->setDefault(true);
    auto* label6 = new QLabel(QStringLiteral("&les"), this);
    edit1_ = new QLineEdit(this);
    edit1_->setMaxLength(3);
    edit1_->setFixedWidth(edit1_->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 12);
    label6->setBuddy(edit1_);

    // Le compteur : deux petites flèches l'une sur l'autre.
    plus_ = new QToolButton(this);
    moins_ = new QToolButton(this);
    plus_->setArrowType(Qt::UpArrow);
    moins_->setArrowType(Qt::DownArrow);
    auto* fleches = new QVBoxLayout;
    fleches->setSpacing(0);
    for (QToolButton* fleche : {plus_, moins_}) {
        fleche->setAutoRepeat(true);
        fleche->setFocusPolicy(Qt::NoFocus);
        fleche->setFixedSize(16, edit1_->sizeHint().height() / 2);
        fleches->addWidget(fleche);
    }
    auto* label7 = new QLabel(QStringLiteral("premières lignes du message (nb de lignes avant décodage)"), this);
    label7->setWordWrap(true);
    btnDefaut_ = bouton(this, QStringLiteral("Défaut"));
    btnDefaut_->setToolTip(QStringLiteral("Enristre la valeur pour le prochain redémarrage"));

    ligne->addWidget(voir_);
    ligne->addWidget(label6);
    ligne->addWidget(edit1_);
    ligne->addLayout(fleches);
    ligne->addWidget(label7, 1);
    ligne->addWidget(btnDefaut_);

    connect(voir_, &QPushButton::clicked, this, &TForm3::VoirClick);
    connect(btnDefaut_, &QPushButton::clicked, this, &TForm3::BtnDefautClick);
    // Le dernier texte valable, quelle que soit la façon dont il est arrivé, sert à défaire.
    connect(edit1_, &QLineEdit::textChanged, this, [this](const QString& texte) {
        if (chiffresSeulement(texte)) compteurValide_ = texte;
    });
    connect(edit1_, &QLineEdit::textEdited, this, &TForm3::Edit1Change);
    connect(plus_, &QToolButton::clicked, this, [this] { pas(+1); });
    connect(moins_, &QToolButton::clicked, this, [this] { pas(-1); });
}

void TForm3::construireBoutons(QHBoxLayout* haut) {
    btnAnalyser_ = bouton(this, QStringLiteral("&Analyser"));
    btnAnalyser_->setToolTip(QStringLiteral("Analyse le contenu du message (pièces jointes)"));
    btnCopier_ = boutonImage(this, iconeCopier(), QStringLiteral("Copie dans le presse papier le contenu sélectionné"));
    btnImpr_ = boutonImage(this, iconeImprimer(), QStringLiteral("Imprime sur l'imprimante par défaut"));
    bitBtn7_ = boutonImage(this, iconeAide(), QStringLiteral("<F1> = Aide"));
    bitBtn1_ = boutonImage(this, iconeSupprimer(),
                           QStringLiteral("Supprimer ce message sur le serveur  ( <Ctrl> = pas de confirmation )"));

    auto* ligne = new QHBoxLayout;
    ligne->addWidget(btnAnalyser_);
    for (QToolButton* b : {btnCopier_, btnImpr_, bitBtn7_, bitBtn1_}) ligne->addWidget(b);
    auto* coin = new QVBoxLayout;
    coin->addLayout(ligne);
    coin->addStretch(1);
    haut->addLayout(coin);

    connect(btnAnalyser_, &QPushButton::clicked, this, [this] {
        if (SurAnalyser) SurAnalyser();
    });
    connect(btnCopier_, &QToolButton::clicked, this, &TForm3::BtnCopierClick);
    connect(btnImpr_, &QToolButton::clicked, this, &TForm3::BtnImprClick);
    connect(bitBtn7_, &QToolButton::clicked, this, [this] {
        if (SurAide) SurAide();
    });
    connect(bitBtn1_, &QToolButton::clicked, this, &TForm3::BitBtn1Click);
}

// ---------------------------------------------------------------- contenu

void TForm3::Montrer(const ResultatVoir& resultat) {
    Remplir(resultat);
    exec();
}

void TForm3::Remplir(const ResultatVoir& resultat) {
    if (resultat.Etat != EtatVoir::Ok) return;
    uidl_ = resultat.Uidl;
    envoiDe_->setText(depuisCp1252(resultat.EnvoiDe));
    envoiDe_->setCursorPosition(0);
    pour_->setText(depuisCp1252(resultat.Pour));
    date_->setText(depuisCp1252(resultat.Date));
    taille_->setText(depuisCp1252(resultat.Taille));
    sujet_->setText(depuisCp1252(resultat.Sujet));
    QStringList lignes;
    lignes.reserve(static_cast<qsizetype>(resultat.Lignes.size()));
    for (const std::string& l : resultat.Lignes) lignes.append(depuisCp1252(l));
    richEdit1_->setPlainText(lignes.join(u'\n'));
    richEdit1_->moveCursor(QTextCursor::Start);
    activer();
}

int TForm3::NbLignes() const {
    bool entier = false;
    const int valeur = edit1_->text().toInt(&entier);
    return entier ? std::clamp(valeur, kMinLignes, kMaxLignes) : kMinLignes;
}

// Copier et imprimer n'ont de sens qu'avec du texte ; le compteur prend le focus, tout sélectionné.
void TForm3::activer() {
    const bool texte = !richEdit1_->document()->isEmpty();
    for (QToolButton* b : {btnCopier_, btnImpr_}) b->setEnabled(texte);
    for (QAction* a : {menuCopier_, menuImprimer_}) a->setEnabled(texte);
    edit1_->setFocus();
    edit1_->selectAll();
}

void TForm3::showEvent(QShowEvent* evenement) {
    if (const QScreen* ecran = screen()) move(ecran->availableGeometry().center() - rect().center());
    QDialog::showEvent(evenement);
    activer();
}

void TForm3::keyPressEvent(QKeyEvent* evenement) {
    if (evenement->key() == Qt::Key_F1 && evenement->modifiers() == Qt::NoModifier) {
        if (SurAide) SurAide();
        return;
    }
    QDialog::keyPressEvent(evenement);
}

// ---------------------------------------------------------------- nombre de lignes

// Une saisie qui n'est pas un entier est défaite, avec un bip.
void TForm3::Edit1Change(const QString& texte) {
    if (chiffresSeulement(texte)) return;
    edit1_->setText(compteurValide_);
    if (Bip) Bip();
}

void TForm3::pas(int sens) {
    edit1_->setText(QString::number(std::clamp(NbLignes() + sens, kMinLignes, kMaxLignes)));
}

void TForm3::VoirClick() {
    bool entier = false;
    const int valeur = edit1_->text().toInt(&entier);
    if (!entier || valeur < kMinLignes) edit1_->setText(QString::number(kMinLignes));
    // Pas de seconde relecture tant que la première attend le serveur.
    voir_->setEnabled(false);
    if (SurVoir) SurVoir(NbLignes());
    voir_->setEnabled(true);
    activer();
}

void TForm3::BtnDefautClick() {
    const int nombre = NbLignes();
    if (ini_) ini_->EcrireEntier("Tessaron", "NbLigMsg", nombre);
    if (SurDefaut) SurDefaut(nombre);
}

// ---------------------------------------------------------------- copie, impression, suppression

void TForm3::BtnCopierClick() {
    richEdit1_->copy();
    richEdit1_->setFocus();
}

std::unique_ptr<QTextDocument> TForm3::DocumentImpression() const {
    auto document = std::make_unique<QTextDocument>();
    document->setDefaultFont(richEdit1_->font());
    const qreal taille = richEdit1_->font().pointSizeF() > 0 ? richEdit1_->font().pointSizeF() : 10;
    QTextCursor curseur(document.get());
    insererLigneEntete(curseur, taille, QStringLiteral("Envoi de :"), envoiDe_->text());
    insererLigneEntete(curseur, taille, QStringLiteral("Pour :"), pour_->text());
    insererLigneEntete(curseur, taille, QStringLiteral("Date :"), date_->text());
    curseur.insertBlock();
    QTextCharFormat normal;
    normal.setFontPointSize(taille);
    curseur.insertText(richEdit1_->toPlainText(), normal);
    return document;
}

void TForm3::BtnImprClick() {
    if (richEdit1_->document()->isEmpty()) return;
    std::unique_ptr<QPrinter> parDefaut;
    QPrinter* imprimante = imprimante_;
    if (!imprimante) {
        parDefaut = std::make_unique<QPrinter>(QPrinter::HighResolution);
        imprimante = parDefaut.get();
    }
    if (!imprimante->isValid()) {
        if (Bip) Bip();
        return;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    imprimante->setDocName(sujet_->text());
    DocumentImpression()->print(imprimante);
    QApplication::restoreOverrideCursor();
}

// La visionneuse se ferme ; la suppression n'a lieu que si la sélection de la liste tient
// toujours exactement le message montré.
void TForm3::BitBtn1Click() {
    const bool sansConfirmation = QGuiApplication::keyboardModifiers().testFlag(Qt::ControlModifier);
    const bool memeMessage = SelectionEstLeMessage && SelectionEstLeMessage(uidl_);
    done(QDialog::Rejected);
    if (memeMessage && SurSupprimer) SurSupprimer(sansConfirmation);
}
