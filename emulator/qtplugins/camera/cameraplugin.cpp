#include "cameraplugin.h"

#include "cameraservice.h"
#include "emulatedmedia.h"

namespace quendral::emulator {

QMediaService* CameraPlugin::create(const QString& key) {
    // Without an emulator there is nothing to serve; with one, a service is made even while the
    // device is away, and reports the missing device when the camera is loaded.
    if (key != QLatin1String(Q_MEDIASERVICE_CAMERA) || !EmulatorProbe::configured()) {
        return nullptr;
    }
    const auto device = probe_.attachedDevice();
    return new CameraService(device ? QString::fromStdString(device->cameraName) : QString());
}

void CameraPlugin::release(QMediaService* service) {
    delete service;
}

QList<QByteArray> CameraPlugin::devices(const QByteArray& service) const {
    if (service != Q_MEDIASERVICE_CAMERA) {
        return {};
    }
    const auto device = probe_.attachedDevice();
    if (!device) {
        return {};
    }
    return {QByteArray::fromStdString(device->cameraName)};
}

QString CameraPlugin::deviceDescription(const QByteArray& service, const QByteArray& device) {
    if (service != Q_MEDIASERVICE_CAMERA || device.isEmpty()) {
        return {};
    }
    return QLatin1String(media::kCameraDescription);
}

} // namespace quendral::emulator
