#include "logind.h"

#include <QDBusConnection>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusReply>

namespace platform::logind {
namespace {

// logind answers at once; a longer wait only means it hangs, and the caller is the GUI thread.
constexpr int kBusCallTimeoutMs = 2000;

} // namespace

QDBusUnixFileDescriptor inhibit(const QString& what, const QString& who, const QString& why,
                                const QString& mode, QString* error) {
    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.isConnected()) {
        *error = QStringLiteral("no system bus (%1)").arg(bus.lastError().message());
        return {};
    }
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kManagerPath, kManagerInterface,
                                                       QStringLiteral("Inhibit"));
    call << what << who << why << mode;
    const QDBusReply<QDBusUnixFileDescriptor> reply =
        bus.call(call, QDBus::Block, kBusCallTimeoutMs);
    if (!reply.isValid()) {
        *error = reply.error().message();
        return {};
    }
    return reply.value();
}

} // namespace platform::logind
