#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QProcess>
#include <QString>

// A D-Bus session bus of the test's own: a dbus-daemon child that ends with the test, so that
// a program meets only the test's stand-ins for the desktop's services there.
class PrivateSessionBus {
public:
    PrivateSessionBus();
    ~PrivateSessionBus();
    PrivateSessionBus(const PrivateSessionBus&) = delete;
    PrivateSessionBus& operator=(const PrivateSessionBus&) = delete;

    bool isValid() const { return connection_.isConnected(); }
    // For the program's DBUS_SESSION_BUS_ADDRESS.
    QString address() const { return address_; }
    // The test's own connection, for its stand-in services and its calls.
    QDBusConnection connection() const { return connection_; }

private:
    QProcess daemon_;
    QString address_;
    QString name_;
    QDBusConnection connection_;
};

// Stands in for a desktop's tray (a StatusNotifierItem host, as on KDE or Xfce): the program
// puts its icon and menu on the bus, where the test reads and opens them like a desktop.
class StatusNotifierWatcher : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(bool IsStatusNotifierHostRegistered READ isHostRegistered)
public:
    // Registers the watcher on `bus`; isValid() says whether that worked.
    explicit StatusNotifierWatcher(const PrivateSessionBus& bus);

    bool isValid() const { return valid_; }
    bool isHostRegistered() const { return true; }
    // The bus name of the item that registered last; empty until one did.
    QString item() const { return item_; }

    // The item's tooltip title, as a panel shows it.
    QString toolTip() const;
    // The labels of the item's menu entries by their ids, submenus included.
    QMap<int, QString> menuLabels() const;
    // Clicks the menu entry `id`, as a panel does; true when the item took the click.
    bool clickMenuEntry(int id) const;

public slots:
    void RegisterStatusNotifierItem(const QString& service) { item_ = service; }

private:
    QDBusConnection bus_;
    QString item_;
    bool valid_ = false;
};
