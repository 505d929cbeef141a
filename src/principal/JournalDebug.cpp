#include "JournalDebug.h"

#include "moteur/FormaterEntier.h"

#include <QDateTime>
#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLocale>
#include <QMouseEvent>
#include <QUrl>

#include <cstdio>

namespace {

std::string numeroSurQuatre(int numero) {
    char tampon[16];
    std::snprintf(tampon, sizeof tampon, "%4d", numero);
    return tampon;
}

void colorerEtiquette(QLabel& etiquette, const QColor& couleur) {
    QPalette palette = etiquette.palette();
    palette.setColor(QPalette::WindowText, couleur);
    etiquette.setPalette(palette);
}

} // namespace

std::string LigneDebug(int numero, const QDateTime& moment, const std::string& texte) {
    std::string ligne = numeroSurQuatre(numero) + " : ";
    ligne += QLocale::c().toString(moment, QStringLiteral("dd/MM/yyyy HH:mm:ss")).toStdString();
    if (!texte.empty()) ligne += "," + texte;
    return ligne + "\r\n";
}

JournalDebug::JournalDebug(bool modeDebug, QString cheminFichier, QObject* parent)
    : QObject(parent), modeDebug_(modeDebug), cheminFichier_(std::move(cheminFichier)), etiquette_(new QLabel) {
    etiquette_->setFixedSize(27, 22);
    etiquette_->setWordWrap(true);
    etiquette_->setAlignment(Qt::AlignCenter);
    QFont police = etiquette_->font();
    police.setPixelSize(9);
    etiquette_->setFont(police);
    if (!modeDebug_) return;
    etiquette_->setText(QStringLiteral("Debug"));
    etiquette_->setToolTip(
        QStringLiteral("- Double-clic pour débuguer dans fichier (devient rouge)\n- Clic droit pour ouvrir le fichier"));
    etiquette_->installEventFilter(this);
}

JournalDebug::~JournalDebug() {
    if (etiquette_ && !etiquette_->parent()) delete etiquette_.data();
}

void JournalDebug::EcrireDebug(int numero, const std::string& texte) {
    if (!modeDebug_) return;
    const std::string legende = "Debug " + numeroSurQuatre(numero);
    if (etiquette_) {
        etiquette_->setText(QString::fromLatin1(legende));
        etiquette_->repaint();
    }
    if (modeFichier_) AjouterAuFichier(LigneDebug(numero, QDateTime::currentDateTime(), texte));
    if (SurBulleTray) SurBulleTray(legende);
}

void JournalDebug::EchoStatut(const std::string& texte) {
    if (modeDebug_ && modeFichier_) AjouterAuFichier(" " + texte + "\r\n");
}

std::string JournalDebug::TexteTailleFichier() const {
    const QFileInfo fichier(cheminFichier_);
    const long long taille = fichier.exists() ? fichier.size() : 0;
    return "Debug File -> TessaronDebug.txt de taille actuelle: " + FormaterEntier(taille, ".") + " octets";
}

// Ouvert, écrit et refermé à chaque ligne ; un fichier qu'on ne peut pas ouvrir est ignoré.
void JournalDebug::AjouterAuFichier(const std::string& ligne) const {
    QFile fichier(cheminFichier_);
    if (!fichier.open(QIODevice::WriteOnly | QIODevice::Append)) return;
    fichier.write(ligne.data(), static_cast<qint64>(ligne.size()));
}

void JournalDebug::BasculerModeFichier() {
    modeFichier_ = !modeFichier_;
    if (etiquette_) colorerEtiquette(*etiquette_, modeFichier_ ? QColor(255, 0, 0) : QColor(Qt::black));
    if (modeFichier_) {
        if (SurTexteFichier) SurTexteFichier(TexteTailleFichier());
    } else if (SurFinModeFichier) {
        SurFinModeFichier();
    }
}

bool JournalDebug::eventFilter(QObject* objet, QEvent* evenement) {
    // Le type d'abord : l'étiquette en cours de destruction reçoit encore des événements, jamais de clic.
    const QEvent::Type type = evenement->type();
    if ((type != QEvent::MouseButtonDblClick && type != QEvent::MouseButtonPress) || objet != etiquette_)
        return QObject::eventFilter(objet, evenement);
    const Qt::MouseButton bouton = static_cast<QMouseEvent*>(evenement)->button();
    if (type == QEvent::MouseButtonDblClick && bouton == Qt::LeftButton) {
        BasculerModeFichier();
        return true;
    }
    if (type == QEvent::MouseButtonPress && bouton == Qt::RightButton) {
        QDesktopServices::openUrl(QUrl::fromLocalFile(cheminFichier_));
        return true;
    }
    return QObject::eventFilter(objet, evenement);
}
