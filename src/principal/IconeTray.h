#pragma once
// Icône de la zone de notification : cinq images d'état, deux images d'animation qui
// alternent toutes les 800 ms, bulle d'aide, bulles de message et menu.
#include <QObject>
#include <QSystemTrayIcon>
#include <QTimer>
#include <array>

class QMenu;

class IconeTray : public QObject {
    Q_OBJECT
public:
    explicit IconeTray(QObject* parent = nullptr);

    // Faux quand le bureau n'a pas de zone de notification : la fenêtre doit rester accessible.
    static bool Disponible();

    void Montrer();
    void DefinirMenu(QMenu* menu);
    // Image d'état : 0 relève active et liste vide, 1 liste non vide, 2 relève coupée,
    // 3 boîte en erreur et liste vide, 4 boîte en erreur et liste non vide.
    void Image(int image);
    int ImageCourante() const { return image_; }
    void Animer(bool animer);
    bool Anime() const { return animation_.isActive(); }
    void Bulle(const QString& texte);
    QString BulleCourante() const;
    void Message(const QString& titre, const QString& texte);

signals:
    void Clic();

private:
    std::array<QIcon, 5> etats_;
    std::array<QIcon, 2> trames_;
    QSystemTrayIcon icone_;
    QTimer animation_;
    int image_ = 0;
    int trame_ = 0;
};
