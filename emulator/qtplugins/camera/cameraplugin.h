#pragma once

#include "emulatorprobe.h"

#include <QMediaServiceProviderPlugin>

namespace quendral::emulator {

/// The camera service plugin: lists the emulated camera while the emulated device is attached
/// and KESTAL_EMULATOR names a running emulator, and nothing otherwise.
class CameraPlugin : public QMediaServiceProviderPlugin,
                     public QMediaServiceSupportedDevicesInterface {
    Q_OBJECT
    Q_INTERFACES(QMediaServiceSupportedDevicesInterface)
    Q_PLUGIN_METADATA(IID "org.qt-project.qt.mediaserviceproviderfactory/5.0" FILE "camera.json")

public:
    QMediaService* create(const QString& key) override;
    void release(QMediaService* service) override;

    QList<QByteArray> devices(const QByteArray& service) const override;
    QString deviceDescription(const QByteArray& service, const QByteArray& device) override;

private:
    // Device lists are asked for through const functions, yet each needs a daemon round trip.
    mutable EmulatorProbe probe_;
};

} // namespace quendral::emulator
