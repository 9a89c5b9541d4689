#include "videodeviceselectorcontrol.h"

#include "camerasession.h"
#include "emulatedmedia.h"

namespace quendral::emulator {

VideoDeviceSelectorControl::VideoDeviceSelectorControl(const CameraSession& session,
                                                       QObject* parent)
    : QVideoDeviceSelectorControl(parent)
    , session_(session)
    , selected_(defaultDevice()) {}

int VideoDeviceSelectorControl::deviceCount() const {
    return session_.deviceName().isEmpty() ? 0 : 1;
}

QString VideoDeviceSelectorControl::deviceName(int index) const {
    return index >= 0 && index < deviceCount() ? session_.deviceName() : QString();
}

QString VideoDeviceSelectorControl::deviceDescription(int index) const {
    return index >= 0 && index < deviceCount() ? QLatin1String(media::kCameraDescription)
                                               : QString();
}

int VideoDeviceSelectorControl::defaultDevice() const {
    return deviceCount() > 0 ? 0 : -1;
}

void VideoDeviceSelectorControl::setSelectedDevice(int index) {
    if (index == selected_ || index < 0 || index >= deviceCount()) {
        return;
    }
    selected_ = index;
    emit selectedDeviceChanged(index);
    emit selectedDeviceChanged(deviceName(index));
}

} // namespace quendral::emulator
