#include "DelegueHistorique.h"

#include "donnees/Chaines.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>

namespace {

constexpr int kHauteurLigne = 15;
constexpr int kMargeGauche = 2;

// Écrit `texte` à partir de `x` et rend l'abscisse qui suit.
int ecrireMorceau(QPainter& peintre, const QRect& zone, int x, const QString& texte, const QFont& police) {
    if (texte.isEmpty()) return x;
    peintre.setFont(police);
    const QRect cadre(x, zone.top(), std::max(zone.right() - x + 1, 0), zone.height());
    peintre.drawText(cadre, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, texte);
    return x + QFontMetrics(police).horizontalAdvance(texte);
}

} // namespace

MorceauxLigneHistorique DecouperLigneHistorique(const QString& ligne) {
    MorceauxLigneHistorique morceaux;
    const QString finInterrogation = ChaineQ(1038);
    if (finInterrogation.isEmpty() || !ligne.contains(finInterrogation)) {
        morceaux.debut = ligne;
        morceaux.rouge = ligne == u' ' + ChaineQ(1010);
        return morceaux;
    }
    // Autant de caractères que le texte repère, puis le libellé de la boîte jusqu'au ":".
    const qsizetype longueur = finInterrogation.size();
    morceaux.debut = ligne.left(longueur);
    const qsizetype deuxPoints = ligne.indexOf(u':', longueur);
    morceaux.gras = deuxPoints < 0 ? ligne.mid(longueur) : ligne.mid(longueur, deuxPoints - longueur);
    if (deuxPoints >= 0) morceaux.fin = ligne.mid(deuxPoints);
    return morceaux;
}

void DessinerLigneHistorique(QPainter& peintre, const QRect& zone, const QString& ligne, const QFont& police,
                             const QPalette& palette) {
    peintre.save();
    peintre.setClipRect(zone);
    peintre.fillRect(zone, palette.color(QPalette::Button));
    const MorceauxLigneHistorique morceaux = DecouperLigneHistorique(ligne);
    peintre.setPen(morceaux.rouge ? QColor(255, 0, 0) : palette.color(QPalette::WindowText));
    QFont gras = police;
    gras.setBold(true);
    int x = zone.left() + kMargeGauche;
    x = ecrireMorceau(peintre, zone, x, morceaux.debut, police);
    x = ecrireMorceau(peintre, zone, x, morceaux.gras, gras);
    ecrireMorceau(peintre, zone, x, morceaux.fin, police);
    peintre.restore();
}

void DelegueHistorique::paint(QPainter* peintre, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    DessinerLigneHistorique(*peintre, option.rect, index.data(Qt::DisplayRole).toString(), option.font, option.palette);
    // La ligne sous la souris garde le fond des boutons et reçoit seulement un cadre de focus.
    if (option.state & QStyle::State_Selected) {
        QStyleOptionFocusRect cadre;
        cadre.QStyleOption::operator=(option);
        cadre.backgroundColor = option.palette.color(QPalette::Button);
        const QStyle* style = option.widget ? option.widget->style() : QApplication::style();
        style->drawPrimitive(QStyle::PE_FrameFocusRect, &cadre, peintre, option.widget);
    }
}

QSize DelegueHistorique::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    const QSize taille = QStyledItemDelegate::sizeHint(option, index);
    return {taille.width(), std::max(kHauteurLigne, option.fontMetrics.height())};
}
