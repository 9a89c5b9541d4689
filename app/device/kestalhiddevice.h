#pragma once

#include "hiddevicestate.h"

#include <QObject>
#include <QSharedPointer>
#include <QString>

#include <chrono>

struct hid_device_;

// The application's handle on the device's HID status interface. Polls the input report once
// a second while started and announces changes of the HDMI/stream state. A failed read is
// answered by one reopen; when that fails too the device is reported lost.
// One object per interface path in the process; obtain it through acquire(). GUI thread only.
class KestalHIDDevice : public QObject {
    Q_OBJECT
public:
    ~KestalHIDDevice() override;

    // The device object for `path` (any letter case), opened; an empty path asks for the first
    // attached interface. Null when the interface cannot be opened.
    static QSharedPointer<KestalHIDDevice> acquire(const QString& path);
    // The interface at `path` is gone: its object, however long others still hold it, is never
    // handed out again, so a re-arrival gets a fresh one instead of a stale handle.
    static void forget(const QString& path);

    QString path() const { return path_; }
    HIDDeviceState state() const { return state_; }

    // Poll interval of every device; a knob for tests.
    static void setPollInterval(std::chrono::milliseconds interval);

signals:
    void deviceStateChanged(HIDDeviceState);
    void deviceDisconnected();

public slots:
    void startTimerIfStopped();

private slots:
    void openDevice(QString device_path);

protected:
    void timerEvent(QTimerEvent* event) override;

private:
    KestalHIDDevice();
    void reconnect();
    void stopTimer();

    hid_device_* handle_ = nullptr;
    int timerId_ = 0;
    HIDDeviceState state_ = CableDisconnected;
    QString path_;
};

Q_DECLARE_METATYPE(QSharedPointer<KestalHIDDevice>)
