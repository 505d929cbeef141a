#pragma once
// Taille de fichier limitée pour le processus le temps d'une portée : un disque plein, même
// pour root. Le signal SIGXFSZ est ignoré pendant ce temps.
#include <csignal>
#include <sys/resource.h>

class LimiteTailleFichier {
public:
    explicit LimiteTailleFichier(rlim_t octets) {
        getrlimit(RLIMIT_FSIZE, &avant_);
        ancienSignal_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limite = avant_;
        limite.rlim_cur = octets;
        setrlimit(RLIMIT_FSIZE, &limite);
    }
    ~LimiteTailleFichier() {
        setrlimit(RLIMIT_FSIZE, &avant_);
        std::signal(SIGXFSZ, ancienSignal_);
    }
    LimiteTailleFichier(const LimiteTailleFichier&) = delete;
    LimiteTailleFichier& operator=(const LimiteTailleFichier&) = delete;

private:
    rlimit avant_{};
    void (*ancienSignal_)(int) = nullptr;
};
