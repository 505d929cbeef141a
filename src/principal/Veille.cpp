#include "Veille.h"

#include <QDBusConnection>

Veille::Veille(QObject* parent) : QObject(parent) {
    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.isConnected()) return;
    ecoute_ = bus.connect(QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
                          QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("PrepareForSleep"), this,
                          SLOT(PrepareForSleep(bool)));
}

void Veille::PrepareForSleep(bool debut) { emit Changement(debut); }
