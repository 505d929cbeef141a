#include "BarreEtat.h"

#include "DessinPanneaux.h"
#include "HistoriqueStatut.h"
#include "ListeHistorique.h"
#include "donnees/Cp1252.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QToolButton>

namespace {

constexpr int kLargeurInterrompre = 80;
constexpr int kLargeurDrapeau = 26;
constexpr int kHautControles = 3;
constexpr int kHautPanneaux = 2;

// Petit drapeau bleu, blanc, rouge dessiné à la volée.
QIcon iconeDrapeauFrancais() {
    QPixmap image(18, 12);
    QPainter peintre(&image);
    peintre.fillRect(0, 0, 6, 12, QColor(0, 35, 149));
    peintre.fillRect(6, 0, 6, 12, Qt::white);
    peintre.fillRect(12, 0, 6, 12, QColor(237, 41, 57));
    peintre.setPen(QColor(96, 96, 96));
    peintre.drawRect(0, 0, 17, 11);
    return QIcon(image);
}

} // namespace

BarreEtat::BarreEtat(QWidget* parent) : QStatusBar(parent) {
    setSizeGripEnabled(false);
    btnDrapeau_ = new QToolButton(this);
    btnDrapeau_->setAutoRaise(true);
    btnDrapeau_->setIcon(iconeDrapeauFrancais());
    btnDrapeau_->setIconSize(QSize(18, 12));
    btnDrapeau_->setToolTip(QStringLiteral("Pour l'instant, seule la version française est disponible"));
    historique_ = new ListeHistorique(this);
    btnInterrompre_ = new QPushButton(QStringLiteral("Interrompre"), this);
    btnInterrompre_->setToolTip(QStringLiteral("Stoppe l'interrogation de la boîte"));
    btnInterrompre_->hide();
    setFixedHeight(std::max(historique_->sizeHint().height(), btnInterrompre_->sizeHint().height()) + 4);
    placerControles();
}

QComboBox* BarreEtat::Historique() const { return historique_; }

void BarreEtat::SetNbEvenements(int nombre) { nbEvenements_ = nombre; }

void BarreEtat::EcrireStatut(int panneau, const std::string& texte) {
    if (panneau == 1 || panneau == 2) {
        textes_[static_cast<std::size_t>(panneau)] = u' ' + depuisCp1252(texte);
    } else if (PousserLigneHistorique(*historique_, depuisCp1252(texte), nbEvenements_) && SurLigneHistorique) {
        SurLigneHistorique(texte);
    }
    repaint();
    historique_->setVisible(true);
}

void BarreEtat::AfficherAide(const QString& texte) {
    textes_[0] = texte;
    btnDrapeau_->hide();
    historique_->hide();
    update();
}

void BarreEtat::RetablirApresAide() {
    textes_[0].clear();
    repaint();
    btnDrapeau_->show();
    historique_->show();
}

void BarreEtat::BasculerStatsDns() {
    afficheStatsDns_ = !afficheStatsDns_;
    repaint();
}

QString BarreEtat::TextePanneau(int panneau) const {
    return panneau >= 0 && panneau <= 2 ? textes_[static_cast<std::size_t>(panneau)] : QString();
}

// Le panneau 1 prend la largeur laissée par les deux autres ; le dernier va jusqu'au bord droit.
QRect BarreEtat::ZonePanneau(int panneau) const {
    const int hauteur = height() - kHautPanneaux - 1;
    const int largeur1 = std::max(width() - LargeurPanneau0 - 110, 0);
    switch (panneau) {
    case 0: return {0, kHautPanneaux, LargeurPanneau0, hauteur};
    case 1: return {LargeurPanneau0, kHautPanneaux, largeur1, hauteur};
    case 2: {
        const int gauche = LargeurPanneau0 + largeur1;
        return {gauche, kHautPanneaux, std::max(width() - gauche, LargeurPanneau2), hauteur};
    }
    default: return {};
    }
}

void BarreEtat::placerControles() {
    const int hauteur = height() - 4;
    btnDrapeau_->setGeometry(LargeurPanneau0 - kLargeurDrapeau - 2, kHautControles, kLargeurDrapeau, hauteur);
    historique_->setGeometry(0, kHautControles, btnDrapeau_->x(), hauteur);
    // Pendant une interrogation, le bouton couvre le bout de l'historique et le drapeau.
    btnInterrompre_->setGeometry(LargeurPanneau0 - kLargeurInterrompre - 2, kHautControles, kLargeurInterrompre,
                                 hauteur);
    btnInterrompre_->raise();
}

void BarreEtat::paintEvent(QPaintEvent*) {
    QPainter peintre(this);
    peintre.fillRect(rect(), palette().color(QPalette::Window));
    const QRect zone0 = ZonePanneau(0);
    if (!textes_[0].isEmpty()) {
        peintre.setPen(palette().color(QPalette::WindowText));
        const QRect cadre = zone0.adjusted(2, 0, -2, 0);
        peintre.drawText(cadre, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                         fontMetrics().elidedText(textes_[0], Qt::ElideRight, cadre.width()));
    }
    DessinerPanneau1(peintre, ZonePanneau(1).adjusted(2, 0, -2, 0), textes_[1], palette());
    const auto [existantes, inexistantes] = CompteursDns ? CompteursDns() : std::pair<std::size_t, std::size_t>{};
    DessinerPanneau2(peintre, ZonePanneau(2).adjusted(2, 0, 0, 0), afficheStatsDns_, existantes, inexistantes,
                     palette());
    // Séparations entre les panneaux.
    peintre.setPen(palette().color(QPalette::Mid));
    peintre.drawLine(0, 0, width() - 1, 0);
    for (int panneau : {1, 2}) {
        const QRect zone = ZonePanneau(panneau);
        peintre.drawLine(zone.left(), zone.top() + 1, zone.left(), zone.bottom() - 1);
    }
}

void BarreEtat::resizeEvent(QResizeEvent* evenement) {
    QStatusBar::resizeEvent(evenement);
    placerControles();
}

void BarreEtat::mouseDoubleClickEvent(QMouseEvent* evenement) {
    if (evenement->button() == Qt::LeftButton) BasculerStatsDns();
    QStatusBar::mouseDoubleClickEvent(evenement);
}
