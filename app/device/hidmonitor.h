#pragma once

#include <QObject>
#include <QString>

#include <memory>

// Follows HID interfaces coming and going on the system, by the path hidapi knows them by.
// Signals arrive on the thread the monitor lives in.
class HidMonitor : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Starts following; false when the system refuses notifications.
    virtual bool start() = 0;
    virtual bool isStarted() const = 0;

    // The emulated device's notifications when KESTAL_EMULATOR names one, else the system's.
    static std::unique_ptr<HidMonitor> create();

signals:
    void interfaceArrived(const QString& path);
    void interfaceRemoved(const QString& path);
};
