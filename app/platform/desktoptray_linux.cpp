#include "desktoptray.h"

#include <QByteArray>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QGuiApplication>

#include <X11/Xlib.h>

#include <memory>

// Qt's own QSystemTrayIcon::isSystemTrayAvailable() remembers its first answer about the
// StatusNotifierItem host for the life of the process: asked before a panel is up, it would
// keep the icon off the panel for good. So the program asks the desktop itself, and creates
// its tray icon only once a tray is there.

namespace platform {
namespace {

// The host answers at once; a longer wait only means it hangs, and the caller is the GUI thread.
constexpr int kBusCallTimeoutMs = 500;

const QLatin1String kWatcherService("org.kde.StatusNotifierWatcher");

bool statusNotifierHostRegistered() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface()->isServiceRegistered(kWatcherService))
        return false;
    QDBusMessage get = QDBusMessage::createMethodCall(
        kWatcherService, QStringLiteral("/StatusNotifierWatcher"),
        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    get << QString(kWatcherService) << QStringLiteral("IsStatusNotifierHostRegistered");
    const QDBusMessage reply = bus.call(get, QDBus::Block, kBusCallTimeoutMs);
    return reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty() &&
           reply.arguments().constFirst().value<QDBusVariant>().variant().toBool();
}

struct DisplayCloser {
    void operator()(Display* display) const { XCloseDisplay(display); }
};

// An XEmbed tray owns the selection _NET_SYSTEM_TRAY_S<screen> while it runs.
bool xembedTrayPresent() {
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return false;
    static const std::unique_ptr<Display, DisplayCloser> display(XOpenDisplay(nullptr));
    if (!display)
        return false;
    const QByteArray selection =
        "_NET_SYSTEM_TRAY_S" + QByteArray::number(DefaultScreen(display.get()));
    const Atom atom = XInternAtom(display.get(), selection.constData(), False);
    return XGetSelectionOwner(display.get(), atom) != None;
}

} // namespace

bool desktopHasTray() {
    return statusNotifierHostRegistered() || xembedTrayPresent();
}

} // namespace platform
