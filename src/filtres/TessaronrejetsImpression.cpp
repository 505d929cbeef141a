// Fenêtre des filtres : impression de la liste visible sur l'imprimante par défaut — portrait,
// colonnes à leur largeur à l'écran sans ajustement à la page, texte noir sans les couleurs de
// la liste ; l'historique avec son titre en haut de chaque page.
#include "Tessaronrejets.h"

#include "ModeleListeFiltres.h"

#include <QApplication>
#include <QHeaderView>
#include <QPainter>
#include <QPrinter>
#include <QTreeView>

namespace {

struct Colonne {
    int index;
    int largeur; // en points de l'imprimante
};

std::vector<Colonne> colonnesImprimees(const QTreeView& vue, double echelle) {
    std::vector<Colonne> colonnes;
    for (int c = 0; c < vue.model()->columnCount(); ++c)
        if (!vue.isColumnHidden(c) && vue.columnWidth(c) > 0)
            colonnes.push_back({c, static_cast<int>(vue.columnWidth(c) * echelle)});
    return colonnes;
}

} // namespace

void TFormRejets::BtnImprimerClick() {
    const QTreeView* vue = vueVisible();
    if (!vue || vue->model()->rowCount() == 0) return;
    if (demander(QMessageBox::Question, QStringLiteral("Impression de la liste"),
                 QStringLiteral("Imprimer sur l'imprimante par défaut ?")) != QMessageBox::Yes)
        return;
    const bool historique = OngletCourant() == OngletHistorique;
    QPrinter imprimante(QPrinter::HighResolution);
    imprimante.setPageOrientation(QPageLayout::Portrait);
    imprimante.setDocName(historique ? QStringLiteral("Tessaron Historique")
                                     : QStringLiteral("Tessaron Filtres"));
    if (PreparerImprimante) PreparerImprimante(imprimante);
    if (!imprimante.isValid()) {
        QApplication::beep();
        return;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    imprimer(imprimante, *vue, historique ? QStringLiteral("Tessaron - Historique des rejets") : QString());
    QApplication::restoreOverrideCursor();
}

void TFormRejets::imprimer(QPrinter& imprimante, const QTreeView& vue, const QString& titre) const {
    QPainter peintre;
    if (!peintre.begin(&imprimante)) return;
    const double echelle = imprimante.logicalDpiX() / static_cast<double>(std::max(vue.logicalDpiX(), 1));
    const std::vector<Colonne> colonnes = colonnesImprimees(vue, echelle);
    const QAbstractItemModel& modele = *vue.model();
    const QRect page(0, 0, imprimante.width(), imprimante.height());
    QFont normale = vue.font();
    QFont grasse = normale;
    grasse.setBold(true);
    const QFontMetrics mesure(normale, &imprimante);
    const int hauteurLigne = mesure.height() * 5 / 4;
    const int marge = mesure.horizontalAdvance(u' ');
    peintre.setPen(Qt::black);
    int y = 0;

    // Une ligne de cellules, chacune coupée à la largeur de sa colonne.
    const auto ligne = [&](const std::function<QString(int colonne)>& texte) {
        int x = 0;
        for (const Colonne& c : colonnes) {
            if (x >= page.width()) break;
            const QRect cellule(x + marge, y, c.largeur - 2 * marge, hauteurLigne);
            const QString t =
                peintre.fontMetrics().elidedText(texte(c.index), Qt::ElideRight, cellule.width());
            peintre.drawText(cellule, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, t);
            x += c.largeur;
        }
        y += hauteurLigne;
    };
    const auto haut = [&] {
        y = 0;
        peintre.setFont(grasse);
        if (!titre.isEmpty()) {
            peintre.drawText(QRect(0, 0, page.width(), hauteurLigne * 2), Qt::AlignHCenter | Qt::AlignTop,
                             titre);
            y += hauteurLigne * 2;
        }
        ligne([&](int c) { return modele.headerData(c, Qt::Horizontal, Qt::DisplayRole).toString(); });
        peintre.drawLine(0, y, page.width(), y);
        peintre.setFont(normale);
    };

    haut();
    for (int r = 0; r < modele.rowCount(); ++r) {
        if (y + hauteurLigne > page.height()) {
            imprimante.newPage();
            haut();
        }
        ligne([&](int c) { return modele.index(r, c).data(Qt::DisplayRole).toString(); });
    }
    peintre.end();
}
