#include "desktopnotifications.h"

#include "kestalactionmenu.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDebug>
#include <QGuiApplication>
#include <QVariantMap>

namespace {

constexpr int kNotificationDurationMs = 5000;

const char* const kSummary = QT_TRANSLATE_NOOP("TrayIconMenu", "Quendral Castwell");

} // namespace

DesktopNotifications::DesktopNotifications(const QDBusConnection& bus, QObject* parent)
    : QObject(parent)
    , bus_(bus) {}

DesktopNotifications::~DesktopNotifications() {
    // Replies still on their way refer to the connection, which may go with bus_ when it was the
    // last user: they must go first, and children would only go after the members.
    qDeleteAll(findChildren<QDBusPendingCallWatcher*>(QString(), Qt::FindDirectChildrenOnly));
}

void DesktopNotifications::showStateNotification(ApplicationState state) {
    if (!isAnnounced(state))
        return;
    QDBusMessage notify = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.Notifications"),
        QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
    // The installed icon and menu entry share the desktop file's name.
    const QString entry = QGuiApplication::desktopFileName();
    const QVariantMap hints{{QStringLiteral("desktop-entry"), entry}};
    notify << QCoreApplication::applicationName() << shownId_ << entry
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
