#include "EntreeMenuMotif.h"

#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionMenuItem>

namespace {

constexpr int kMargeGauche = 22;
constexpr int kMargeHaut = 3;

// Le dessin de l'entrée ; un clic ou Entrée la choisit et ferme les menus.
class DessinEntree : public QWidget {
public:
    DessinEntree(QWidgetAction* action, QString debut, QString motif, QWidget* parent)
        : QWidget(parent), action_(action), debut_(std::move(debut)), motif_(std::move(motif)) {
        setMouseTracking(true);
        setFocusPolicy(Qt::StrongFocus);
        setAttribute(Qt::WA_Hover);
    }

    QSize sizeHint() const override {
        const QFontMetrics mesure(font());
        return {kMargeGauche + mesure.horizontalAdvance(debut_ + motif_) + 12,
                mesure.height() + 2 * kMargeHaut};
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter peintre(this);
        const bool survolee = underMouse() || hasFocus();
        peintre.fillRect(rect(), palette().color(survolee ? QPalette::Highlight : QPalette::Window));
        const QFontMetrics mesure(font());
        const int ligne = kMargeHaut + mesure.ascent();
        peintre.setPen(palette().color(survolee ? QPalette::HighlightedText : QPalette::WindowText));
        peintre.drawText(kMargeGauche, ligne, debut_);
        peintre.setPen(QColor(255, 0, 0));
        peintre.drawText(kMargeGauche + mesure.horizontalAdvance(debut_), ligne, motif_);
    }
    void enterEvent(QEnterEvent*) override { update(); }
    void leaveEvent(QEvent*) override { update(); }
    void mouseReleaseEvent(QMouseEvent*) override { choisir(); }
    void keyPressEvent(QKeyEvent* evenement) override {
        if (evenement->key() == Qt::Key_Return || evenement->key() == Qt::Key_Enter)
            choisir();
        else
            QWidget::keyPressEvent(evenement);
    }

private:
    void choisir() {
        // Les menus se ferment d'abord : l'action peut ouvrir une fenêtre.
        for (QWidget* w = parentWidget(); w; w = w->parentWidget())
            if (auto* menu = qobject_cast<QMenu*>(w)) menu->close();
        action_->trigger();
    }

    QWidgetAction* action_;
    QString debut_;
    QString motif_;
};

} // namespace

EntreeMenuMotif::EntreeMenuMotif(const QString& debut, const QString& motif, QObject* parent)
    : QWidgetAction(parent), debut_(debut), motif_(motif) {
    setText(debut + motif);
}

QWidget* EntreeMenuMotif::createWidget(QWidget* parent) {
    return new DessinEntree(this, debut_, motif_, parent);
}
