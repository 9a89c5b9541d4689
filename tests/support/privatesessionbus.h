#pragma once

#include "childprocess.h"

#include <QDBusConnection>
#include <QString>
#include <QTemporaryDir>

// A D-Bus bus of the test's own: a dbus-daemon child that ends with the test and starts no
// services, so that a program meets only the test's stand-ins for the desktop's services there
// and a missing service stays missing.
class PrivateSessionBus {
public:
    PrivateSessionBus();
    ~PrivateSessionBus();
    PrivateSessionBus(const PrivateSessionBus&) = delete;
    PrivateSessionBus& operator=(const PrivateSessionBus&) = delete;

    bool isValid() const { return connection_.isConnected(); }
    // For the program's DBUS_SESSION_BUS_ADDRESS (or DBUS_SYSTEM_BUS_ADDRESS).
    QString address() const { return address_; }
    // The test's own connection, for its stand-in services and its calls.
    QDBusConnection connection() const { return connection_; }

private:
    QTemporaryDir dir_;
    ChildProcess daemon_;
    QString address_;
    QString name_;
    QDBusConnection connection_;
};
