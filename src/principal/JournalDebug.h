#pragma once
// Journal de débogage : l'étiquette "Debug" montre le numéro de la dernière entrée ; un double-clic
// sur elle fait écrire les entrées et les lignes d'état dans le fichier TessaronDebug.txt, un clic
// droit ouvre ce fichier. Sans le mode de débogage, l'étiquette reste vide et rien n'est écrit.
#include <QLabel>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <string>

class QDateTime;

// Ligne du fichier : numéro sur quatre caractères, " : ", date et heure, "," + texte si non vide, CR LF.
std::string LigneDebug(int numero, const QDateTime& moment, const std::string& texte);

class JournalDebug : public QObject {
    Q_OBJECT
public:
    JournalDebug(bool modeDebug, QString cheminFichier, QObject* parent = nullptr);
    ~JournalDebug() override;

    // L'étiquette "Debug", à placer dans la fenêtre ; détruite avec le journal si elle n'a pas de parent.
    QLabel* Etiquette() const { return etiquette_; }
    bool ModeDebug() const { return modeDebug_; }
    bool ModeFichier() const { return modeFichier_; }

    // Entrée numérotée : légende de l'étiquette, ligne du fichier en mode fichier, bulle de l'icône.
    void EcrireDebug(int numero, const std::string& texte);
    // Ligne d'état recopiée dans le fichier (" " + texte) en mode fichier.
    void EchoStatut(const std::string& texte);
    // "Debug File -> TessaronDebug.txt de taille actuelle: " + taille + " octets".
    std::string TexteTailleFichier() const;

    // Nouvelle bulle de l'icône de notification (la légende de l'étiquette).
    std::function<void(const std::string&)> SurBulleTray;
    // Mode fichier activé : texte à montrer dans le panneau 1 de la barre d'état.
    std::function<void(const std::string&)> SurTexteFichier;
    // Mode fichier désactivé : le panneau 1 doit retrouver l'état des filtres.
    std::function<void()> SurFinModeFichier;

protected:
    bool eventFilter(QObject* objet, QEvent* evenement) override;

private:
    void BasculerModeFichier();
    void AjouterAuFichier(const std::string& ligne) const;

    bool modeDebug_;
    bool modeFichier_ = false;
    QString cheminFichier_;
    QPointer<QLabel> etiquette_;
};
