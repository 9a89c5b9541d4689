#include "sleepinhibitor.h"

#include "logind.h"

#include <QDBusConnection>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDebug>

#include <atomic>
#include <optional>

namespace platform {
namespace {

// The screen saver answers at once; a longer wait only means it hangs, and the caller is the
// GUI thread.
constexpr int kBusCallTimeoutMs = 2000;

const QLatin1String kScreenSaverService("org.freedesktop.ScreenSaver");
const QLatin1String kScreenSaverPath("/org/freedesktop/ScreenSaver");
const QLatin1String kScreenSaverInterface("org.freedesktop.ScreenSaver");

// Containers and CI machines have no logind or screen saver at all; saying so at every share
// would only bury the log.
std::atomic<bool> sleepGapReported{false};
std::atomic<bool> screenSaverGapReported{false};

void reportOnce(std::atomic<bool>& reported, const QString& text) {
    if (!reported.exchange(true))
        qCritical().noquote() << text;
}

QDBusMessage screenSaverCall(const QString& method) {
    QDBusMessage call = QDBusMessage::createMethodCall(kScreenSaverService, kScreenSaverPath,
                                                       kScreenSaverInterface, method);
    // A screen saver that is not running blanks nothing; starting one just to inhibit it would
    // be wrong.
    call.setAutoStartService(false);
    return call;
}

std::optional<uint> inhibitScreenSaver(const QString& who, const QString& why, QString* error) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        *error = QStringLiteral("no session bus (%1)").arg(bus.lastError().message());
        return std::nullopt;
    }
    QDBusMessage call = screenSaverCall(QStringLiteral("Inhibit"));
    call << who << why;
    const QDBusReply<uint> reply = bus.call(call, QDBus::Block, kBusCallTimeoutMs);
    if (!reply.isValid()) {
        *error = reply.error().message();
        return std::nullopt;
    }
    return reply.value();
}

void uninhibitScreenSaver(uint cookie) {
    QDBusMessage call = screenSaverCall(QStringLiteral("UnInhibit"));
    call << cookie;
    const QDBusMessage reply =
        QDBusConnection::sessionBus().call(call, QDBus::Block, kBusCallTimeoutMs);
    if (reply.type() == QDBusMessage::ErrorMessage)
        qCritical().noquote() << QStringLiteral("Power: screen saver inhibition not released: ") +
                                     reply.errorMessage();
}

} // namespace

struct SleepInhibitor::Holds {
    // logind ends the inhibition when this descriptor closes, also when the process dies.
    QDBusUnixFileDescriptor sleepLock;
    std::optional<uint> screenSaverCookie;
};

SleepInhibitor::SleepInhibitor(const QString& who, const QString& why)
    : holds_(std::make_unique<Holds>()) {
    QString error;
    // Only idling into sleep is held off: the user's own suspend still goes through, after the
    // session watchdog has paused the share.
    holds_->sleepLock =
        logind::inhibit(QStringLiteral("idle"), who, why, QStringLiteral("block"), &error);
    if (!holds_->sleepLock.isValid())
        reportOnce(sleepGapReported, QStringLiteral("Power: system sleep not inhibited: ") + error);

    holds_->screenSaverCookie = inhibitScreenSaver(who, why, &error);
    if (!holds_->screenSaverCookie)
        reportOnce(screenSaverGapReported,
                   QStringLiteral("Power: screen saver not inhibited: ") + error);
}

SleepInhibitor::~SleepInhibitor() {
    if (holds_->screenSaverCookie)
        uninhibitScreenSaver(*holds_->screenSaverCookie);
}

} // namespace platform
