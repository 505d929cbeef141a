#include "SignauxFin.h"

#include <QSocketNotifier>
#include <atomic>
#include <cerrno>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// Le seul état que voit le gestionnaire de signal : le descripteur où écrire. Un gestionnaire
// de signal ne reçoit aucun contexte, d'où cette variable de fichier, posée à l'installation.
std::atomic<int> descripteurSignal{-1};
static_assert(std::atomic<int>::is_always_lock_free);

// N'utilise que des fonctions sûres dans un gestionnaire de signal (write) et garde errno.
extern "C" void gestionnaireFin(int numero) {
    const int erreurSauvee = errno;
    const int descripteur = descripteurSignal.load(std::memory_order_relaxed);
    if (descripteur >= 0) {
        const auto octet = static_cast<unsigned char>(numero);
        // Tampon plein : le signal est perdu, mais un octet au moins attend déjà d'être lu.
        if (::write(descripteur, &octet, 1) < 0) {
        }
    }
    errno = erreurSauvee;
}

bool installerGestionnaire(int numero, struct sigaction& ancien) {
    struct sigaction action {};
    action.sa_handler = gestionnaireFin;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    return sigaction(numero, &action, &ancien) == 0;
}

} // namespace

SignauxFin::SignauxFin(QObject* parent) : QObject(parent) {
    if (descripteurSignal.load() >= 0) return;
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, descripteurs_) != 0) {
        descripteurs_[0] = descripteurs_[1] = -1;
        return;
    }
    descripteurSignal.store(descripteurs_[1]);
    notificateur_ = new QSocketNotifier(descripteurs_[0], QSocketNotifier::Read, this);
    connect(notificateur_, &QSocketNotifier::activated, this, &SignauxFin::lireSignaux);
    installe_ = installerGestionnaire(SIGTERM, ancienTerm_) && installerGestionnaire(SIGINT, ancienInt_);
}

SignauxFin::~SignauxFin() {
    if (descripteurs_[1] < 0) return;
    sigaction(SIGTERM, &ancienTerm_, nullptr);
    sigaction(SIGINT, &ancienInt_, nullptr);
    descripteurSignal.store(-1);
    delete notificateur_;
    ::close(descripteurs_[0]);
    ::close(descripteurs_[1]);
}

void SignauxFin::lireSignaux() {
    unsigned char octets[16];
    for (;;) {
        const ssize_t lus = ::read(descripteurs_[0], octets, sizeof octets);
        if (lus <= 0) break;
        for (ssize_t i = 0; i < lus; ++i) emit FinDemandee(octets[i]);
    }
}
