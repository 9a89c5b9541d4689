#pragma once

#include "deviceinfo.h"

#include <QByteArray>
#include <QMutex>
#include <QObject>
#include <QPointer>

// The program's one owner of the firmware library: initializes it when made, deinitializes it
// when destroyed, keeps a copy of the device information and announces the device's arrival and
// departure. Lives in the firmware thread, where every library call but the two USB-mode
// queries is made.
class Tindrel : public QObject {
    Q_OBJECT
public:
    // Made in the calling thread on first use; a failed initialization still gives an object.
    static Tindrel* instance();
    ~Tindrel() override;

    // A copy of the cache; safe from any thread.
    DeviceInfo deviceInfo() const;

    bool startUpdate(const QByteArray& firmware);
    int updateProgress();
    bool updateResult(bool* succeeded);

    // Puts the device into the USB mode this host wants, at most once per 5 s; true when
    // nothing was switched. GUI thread.
    static bool ensureCorrectUsbMode();
    // The next ensureCorrectUsbMode() reaches the library whatever the time; for tests.
    static void forgetLastUsbModeCorrection();

signals:
    void deviceInfoCacheUpdated();
    void deviceAppeared();
    void deviceDisappeared();

public slots:
    void updateDeviceInfoCache();
    void reset();
    void toggleUSB2();
    void toggleUSB3();

private:
    Tindrel();

    mutable QMutex mutex_;
    DeviceInfo cache_;
    static QPointer<Tindrel> instance_;
};
