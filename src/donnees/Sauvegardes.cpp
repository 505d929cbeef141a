#include "Sauvegardes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray nomSysteme(const QString& chemin) { return QFile::encodeName(chemin); }

// Descripteur en lecture seule, fermé à la destruction.
class FichierLu {
public:
    explicit FichierLu(const QString& chemin)
        : descripteur_(::open(nomSysteme(chemin).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK)) {}
    ~FichierLu() {
        if (descripteur_ >= 0) ::close(descripteur_);
    }
    FichierLu(const FichierLu&) = delete;
    FichierLu& operator=(const FichierLu&) = delete;

    int descripteur() const { return descripteur_; }

private:
    int descripteur_;
};

// Lit un bloc en reprenant après une interruption ; -1 sur erreur, 0 à la fin.
ssize_t lireBloc(int descripteur, char* tampon, std::size_t taille) {
    ssize_t lus = 0;
    do {
        lus = ::read(descripteur, tampon, taille);
    } while (lus < 0 && errno == EINTR);
    return lus;
}

// Renommage par lien dur puis retrait de l'ancien nom : link() échoue lui aussi quand la cible
// existe. Si l'ancien nom ne peut être retiré, le lien est défait pour revenir à l'état d'avant.
bool renommerParLien(const QByteArray& ancien, const QByteArray& nouveau) {
    if (::link(ancien.constData(), nouveau.constData()) != 0) return false;
    if (::unlink(ancien.constData()) == 0) return true;
    ::unlink(nouveau.constData());
    return false;
}

// Plus haut numéro k inférieur à `plafond` dont la copie `nom`k existe dans le dossier, 0 sans
// copie numérotée. Une valeur démesurée du nombre de copies ne fait ainsi pas tourner la
// rotation des milliards de fois.
int plusHauteCopie(const QString& dossier, const QString& nom, int plafond) {
    int plusHaute = 0;
    const QStringList entrees =
        QDir(dossier).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& entree : entrees) {
        if (!entree.startsWith(nom) || entree.size() == nom.size()) continue;
        const QStringView suffixe = QStringView(entree).mid(nom.size());
        const bool chiffres = std::all_of(suffixe.begin(), suffixe.end(),
                                          [](QChar c) { return c >= u'0' && c <= u'9'; });
        bool lu = false;
        const int k = suffixe.toInt(&lu);
        if (chiffres && suffixe[0] != u'0' && lu && k < plafond) plusHaute = std::max(plusHaute, k);
    }
    return plusHaute;
}

} // namespace

QString DossierSauvegarde(const QString& dossierDonnees) {
    return QDir(dossierDonnees).filePath(QStringLiteral("sauv"));
}

bool CheminExiste(const QString& chemin) {
    struct stat infos {};
    return ::lstat(nomSysteme(chemin).constData(), &infos) == 0;
}

// Le noyau refuse lui-même d'écraser (RENAME_NOREPLACE), sans fenêtre entre un test et le
// renommage. Sur un système de fichiers qui ne connaît pas cette option, un lien dur fait la
// même chose ; s'il ne connaît pas non plus les liens (FAT, certains FUSE), on vérifie l'absence
// de la cible juste avant de renommer : seul un autre programme écrivant ce même nom au même
// instant pourrait alors être écrasé.
bool RenommerSansEcraser(const QString& ancien, const QString& nouveau) {
    const QByteArray source = nomSysteme(ancien);
    const QByteArray cible = nomSysteme(nouveau);
    if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, cible.constData(), RENAME_NOREPLACE) == 0) return true;
    if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) return false;
    if (renommerParLien(source, cible)) return true;
    if (errno != EPERM && errno != ENOTSUP && errno != EOPNOTSUPP) return false;
    if (CheminExiste(nouveau)) return false;
    return ::rename(source.constData(), cible.constData()) == 0;
}

bool EcrireFichierAtomique(const QString& chemin, std::string_view contenu) {
    QSaveFile fichier(chemin);
    if (!fichier.open(QIODevice::WriteOnly)) return false;
    const auto taille = static_cast<qint64>(contenu.size());
    if (fichier.write(contenu.data(), taille) != taille) return false;  // le temporaire est jeté
    return fichier.commit();  // vidé sur le disque puis renommé
}

bool CopierFichierAtomique(const QString& source, const QString& destination) {
    const FichierLu lu(source);
    struct stat infos {};
    if (lu.descripteur() < 0 || ::fstat(lu.descripteur(), &infos) != 0 || !S_ISREG(infos.st_mode)) return false;

    QSaveFile copie(destination);
    if (!copie.open(QIODevice::WriteOnly)) return false;
    // La copie du fichier de paramètres garde des mots de passe : mêmes droits que l'original.
    if (::fchmod(copie.handle(), infos.st_mode & 0777) != 0) return false;
    std::array<char, 65536> tampon {};
    for (;;) {
        const ssize_t lus = lireBloc(lu.descripteur(), tampon.data(), tampon.size());
        if (lus < 0) return false;
        if (lus == 0) break;
        if (copie.write(tampon.data(), lus) != lus) return false;
    }
    return copie.commit();
}

bool TournerSauvegardes(const QString& cheminFichier, const QString& dossierSauvegarde, int nbFicSauv) {
    const QString nom = QFileInfo(cheminFichier).fileName();
    const QString base = QDir(dossierSauvegarde).filePath(nom);
    const auto numero = [&base](int n) { return base + QString::number(n); };
    if (nbFicSauv >= 2 && CheminExiste(numero(nbFicSauv))) ::unlink(nomSysteme(numero(nbFicSauv)).constData());
    // Au-dessus de la plus haute copie existante il n'y a rien à décaler : la boucle part de là.
    const int depart = std::min(nbFicSauv, plusHauteCopie(dossierSauvegarde, nom, nbFicSauv) + 1);
    for (int n = depart; n >= 2; --n)
        if (CheminExiste(numero(n - 1))) RenommerSansEcraser(numero(n - 1), numero(n));
    if (CheminExiste(base)) RenommerSansEcraser(base, numero(1));
    return !CheminExiste(base);
}
