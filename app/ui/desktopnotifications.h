#pragma once

#include "statenotifier.h"

#include <QDBusConnection>
#include <QObject>

// State messages through the desktop's notification service (org.freedesktop.Notifications),
// for desktops without a tray. Each message replaces the previous one rather than piling up.
class DesktopNotifications : public QObject, public StateNotifier {
    Q_OBJECT
public:
    explicit DesktopNotifications(const QDBusConnection& bus = QDBusConnection::sessionBus(),
                                  QObject* parent = nullptr);
    ~DesktopNotifications() override;

    void showStateNotification(ApplicationState state) override;

private:
    QDBusConnection bus_;
    uint shownId_ = 0;
    bool failureReported_ = false;
};
