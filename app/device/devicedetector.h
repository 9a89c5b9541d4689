#pragma once

#include "kestalhiddevice.h"

#include <QMap>
#include <QObject>
#include <QPointer>
#include <QSharedPointer>

#include <chrono>
#include <memory>

class HidMonitor;

// Announces the device's HID interface when it appears and when it goes. A fresh interface is
// not always ready to open, so an arrival is retried once a second, ten attempts in all; at
// start a device that is already attached is announced too. GUI thread only.
class DeviceDetector : public QObject {
    Q_OBJECT
public:
    explicit DeviceDetector(std::unique_ptr<HidMonitor> monitor);
    ~DeviceDetector() override;

    static DeviceDetector* instance();

    // Delay between open attempts of one arrival; a knob for tests.
    void setRetryInterval(std::chrono::milliseconds interval) { retryInterval_ = interval; }

signals:
    void deviceConnected(QSharedPointer<KestalHIDDevice> device);
    void deviceDisconnected(QSharedPointer<KestalHIDDevice> device);

public slots:
    void start();

private slots:
    void handleAddDevice(QString dev_name);
    void handleRemoveDevice(QString dev_name);

private:
    std::unique_ptr<HidMonitor> monitor_;
    bool started_ = false;
    int retriesLeft_ = -1;
    QMap<QString, QSharedPointer<KestalHIDDevice>> devices_;
    std::chrono::milliseconds retryInterval_{1000};
};
