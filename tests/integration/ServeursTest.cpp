#include "ServeursTest.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QFile>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace ServeursTest {

namespace {

QString variable(const char* nom) { return qEnvironmentVariable(nom); }

std::filesystem::path maildir(const std::string& utilisateur) {
    return std::filesystem::path(variable("TESSARON_MAILDIRS").toStdString()) / utilisateur / "Maildir";
}

std::string nomUnique() {
    static std::atomic<int> compteur{0};
    const auto maintenant = std::chrono::system_clock::now().time_since_epoch();
    const auto us = std::chrono::duration_cast<std::chrono::microseconds>(maintenant).count();
    return std::to_string(us / 1000000) + ".M" + std::to_string(us % 1000000) + "P" + std::to_string(getpid()) +
           "Q" + std::to_string(++compteur) + ".essai";
}

} // namespace

bool Disponibles() { return !variable("TESSARON_SERVEURS").isEmpty(); }
int PortPop3() { return variable("TESSARON_POP3_PORT").toInt(); }
int PortPop3s() { return variable("TESSARON_POP3S_PORT").toInt(); }
QString FichierCa() { return variable("TESSARON_CA"); }
QString FichierAutreCa() { return variable("TESSARON_AUTRE_CA"); }

std::string Utilisateur(int numero) {
    return std::string(numero < 10 ? "u0" : "u") + std::to_string(numero);
}

std::string MotDePasse(const std::string& utilisateur) { return "mdp-" + utilisateur; }

void ViderBoite(const std::string& utilisateur) {
    for (const char* sous : {"new", "cur", "tmp"}) {
        const auto dossier = maildir(utilisateur) / sous;
        std::error_code erreur;
        for (const auto& entree : std::filesystem::directory_iterator(dossier, erreur))
            std::filesystem::remove(entree.path(), erreur);
    }
    // Les index du serveur sont effacés aussi : la boîte repart de zéro.
    std::error_code erreur;
    for (const auto& entree : std::filesystem::directory_iterator(maildir(utilisateur), erreur)) {
        if (entree.path().filename().string().rfind("dovecot", 0) == 0) std::filesystem::remove(entree.path(), erreur);
    }
}

std::string DeposerBrut(const std::string& utilisateur, const std::string& contenu) {
    const std::string nom = nomUnique();
    const auto temporaire = maildir(utilisateur) / "tmp" / nom;
    {
        std::ofstream fichier(temporaire, std::ios::binary);
        fichier << contenu;
    }
    // Le serveur tourne sous un autre utilisateur : le fichier doit lui être lisible.
    std::filesystem::permissions(temporaire, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                                                 std::filesystem::perms::group_read | std::filesystem::perms::others_read);
    std::filesystem::rename(temporaire, maildir(utilisateur) / "new" / nom);
    return nom;
}

std::string DeposerMessage(const std::string& utilisateur, const std::string& sujet, int taillePlus) {
    return DeposerBrut(utilisateur, "Return-Path: <expediteur@exemple.test>\r\n"
                                    "From: Expediteur <expediteur@exemple.test>\r\n"
                                    "To: " + utilisateur + "@exemple.test\r\n"
                                    "Subject: " + sujet + "\r\n"
                                    "Date: Fri, 11 Dec 2026 10:00:00 +0100\r\n"
                                    "\r\n"
                                    "Corps du message " + sujet + "\r\n" +
                                    std::string(static_cast<std::size_t>(taillePlus), 'x') + "\r\n");
}

void RetirerMessage(const std::string& utilisateur, const std::string& nom) {
    for (const char* sous : {"new", "cur"}) {
        const auto dossier = maildir(utilisateur) / sous;
        std::error_code erreur;
        for (const auto& entree : std::filesystem::directory_iterator(dossier, erreur))
            if (entree.path().filename().string().rfind(nom, 0) == 0) std::filesystem::remove(entree.path(), erreur);
    }
}

std::string ServeurDns() { return variable("TESSARON_DNS").toStdString(); }
int PortSmtp() { return variable("TESSARON_SMTP_PORT").toInt(); }

std::vector<MessageSmtp> MessagesSmtpPour(const std::string& destinataire) {
    std::vector<MessageSmtp> messages;
    const QDir dossier(variable("TESSARON_SMTP_DOSSIER"));
    for (const QString& nom : dossier.entryList({QStringLiteral("*.eml")}, QDir::Files, QDir::Name)) {
        QFile eml(dossier.filePath(nom));
        QFile json(dossier.filePath(nom.chopped(4) + QStringLiteral(".json")));
        if (!eml.open(QIODevice::ReadOnly) || !json.open(QIODevice::ReadOnly)) continue;
        const QJsonObject enveloppe = QJsonDocument::fromJson(json.readAll()).object();
        MessageSmtp m;
        m.expediteur = enveloppe.value(QStringLiteral("mail_from")).toString().toStdString();
        for (const auto& d : enveloppe.value(QStringLiteral("rcpt_tos")).toArray()) m.destinataires.push_back(d.toString().toStdString());
        m.texte = eml.readAll().toStdString();
        if (std::find(m.destinataires.begin(), m.destinataires.end(), destinataire) != m.destinataires.end())
            messages.push_back(std::move(m));
    }
    return messages;
}

} // namespace ServeursTest
