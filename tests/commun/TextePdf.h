#pragma once
// Texte d'un PDF imprimé par un essai, relu par pdftotext (poppler-utils, installé pour les
// essais). Un outil absent ou muet donne un texte qui le dit, et l'essai échoue sur son contenu.
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

inline QString TextePdf(const QString& chemin) {
    const QString outil = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (outil.isEmpty()) return QStringLiteral("<pdftotext absent>");
    QProcess extraction;
    extraction.start(outil, {QStringLiteral("-enc"), QStringLiteral("UTF-8"), chemin, QStringLiteral("-")});
    if (!extraction.waitForFinished(20000)) return QStringLiteral("<pdftotext sans réponse>");
    return QString::fromUtf8(extraction.readAllStandardOutput());
}
