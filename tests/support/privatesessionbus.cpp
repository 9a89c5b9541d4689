#include "privatesessionbus.h"

namespace {

constexpr int kStartTimeoutMs = 10000;

} // namespace

PrivateSessionBus::PrivateSessionBus()
    : name_(QStringLiteral("private-session-bus-%1").arg(reinterpret_cast<quintptr>(this)))
    , connection_(name_) {
    daemon_.start(QStringLiteral("dbus-daemon"),
                  {QStringLiteral("--session"), QStringLiteral("--nofork"),
                   QStringLiteral("--print-address=1")});
    if (!daemon_.waitForReadyRead(kStartTimeoutMs))
        return;
    address_ = QString::fromUtf8(daemon_.readLine()).trimmed();
    connection_ = QDBusConnection::connectToBus(address_, name_);
}

PrivateSessionBus::~PrivateSessionBus() {
    QDBusConnection::disconnectFromBus(name_);
    daemon_.kill();
    daemon_.waitForFinished();
}
