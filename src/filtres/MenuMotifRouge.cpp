#include "MenuMotifRouge.h"

#include <QPaintEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionMenuItem>

namespace {

constexpr int kMargeGauche = 22;
constexpr qsizetype kLongueurMaxMotif = 80;

// Une seule ligne, sans caractère de commande, raccourcie au-delà de 80 caractères, sans "&"
// pris pour une lettre soulignée.
QString motifAffiche(QString texte) {
    for (QChar& c : texte)
        if (c.category() == QChar::Other_Control) c = u' ';
    if (texte.size() > kLongueurMaxMotif) texte = texte.left(kLongueurMaxMotif) + QChar(0x2026);
    return texte;
}

} // namespace

QAction* MenuMotifRouge::AjouterEntreeMotif(const QString& debut, const QString& motif) {
    debut_ = debut;
    motif_ = motifAffiche(motif);
    QString texte = debut_ + motif_;
    entree_ = addAction(texte.replace(u'&', QStringLiteral("&&")));
    return entree_;
}

void MenuMotifRouge::paintEvent(QPaintEvent* evenement) {
    QMenu::paintEvent(evenement);
    if (!entree_ || !entree_->isVisible()) return;
    const QRect zone = actionGeometry(entree_);
    if (!zone.isValid() || !evenement->rect().intersects(zone)) return;
    QPainter peintre(this);
    QStyleOptionMenuItem option;
    initStyleOption(&option, entree_);
    option.text.clear();
    style()->drawControl(QStyle::CE_MenuItem, &option, &peintre, this); // le fond, sélection comprise
    const bool choisie = option.state & QStyle::State_Selected;
    QRect texte = zone.adjusted(std::max(kMargeGauche, option.maxIconWidth + 6), 0, -8, 0);
    peintre.setFont(option.font);
    peintre.setPen(option.palette.color(choisie ? QPalette::HighlightedText : QPalette::Text));
    peintre.drawText(texte, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, debut_);
    texte.setLeft(texte.left() + QFontMetrics(option.font).horizontalAdvance(debut_));
    peintre.setPen(QColor(255, 0, 0));
    peintre.drawText(texte, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, motif_);
}
