#include "desktopnotifications.h"

#include "kestalactionmenu.h"

#include <QCoreApplication>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDebug>
#include <QVariantMap>

namespace {

constexpr int kNotificationDurationMs = 5000;

// The installed icon and menu entry; the notification service finds both by this name.
const QLatin1String kDesktopEntry("com.quendral.Castwell");

const char* const kSummary = QT_TRANSLATE_NOOP("TrayIconMenu", "Quendral Castwell");

} // namespace

DesktopNotifications::DesktopNotifications(const QDBusConnection& bus, QObject* parent)
    : QObject(parent)
    , bus_(bus) {}

DesktopNotifications::~DesktopNotifications() = default;

void DesktopNotifications::showStateNotification(ApplicationState state) {
    if (!isAnnounced(state))
        return;
    QDBusMessage notify = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.Notifications"),
        QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
    const QVariantMap hints{{QStringLiteral("desktop-entry"), QString(kDesktopEntry)}};
    notify << QCoreApplication::applicationName() << shownId_ << QString(kDesktopEntry)
           << QCoreApplication::translate(kTrayTextContext, kSummary)
           << QCoreApplication::translate(kTrayTextContext, stateSourceText(state)) << QStringList()
           << hints << kNotificationDurationMs;
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(notify), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this](QDBusPendingCallWatcher* call) {
                call->deleteLater();
                const QDBusPendingReply<uint> reply = *call;
                if (reply.isValid()) {
                    shownId_ = reply.value();
                } else if (!failureReported_) {
                    // A desktop without a notification service would otherwise fill the log.
                    failureReported_ = true;
                    qCritical().noquote()
                        << "Desktop notifications not shown:" << reply.error().message();
                }
            });
}
