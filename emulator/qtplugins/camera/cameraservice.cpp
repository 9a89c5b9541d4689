#include "cameraservice.h"

#include <cstring>

namespace quendral::emulator {

CameraService::CameraService(QString deviceName, QObject* parent)
    : QMediaService(parent)
    , session_(std::move(deviceName))
    , cameraControl_(session_)
    , rendererControl_(session_)
    , selectorControl_(session_)
    , settingsControl_(session_) {}

CameraService::~CameraService() = default;

QMediaControl* CameraService::requestControl(const char* name) {
    if (std::strcmp(name, QCameraControl_iid) == 0) {
        return &cameraControl_;
    }
    if (std::strcmp(name, QVideoRendererControl_iid) == 0) {
        if (rendererTaken_) {
            return nullptr;
        }
        rendererTaken_ = true;
        return &rendererControl_;
    }
    if (std::strcmp(name, QVideoDeviceSelectorControl_iid) == 0) {
        return &selectorControl_;
    }
    if (std::strcmp(name, QCameraInfoControl_iid) == 0) {
        return &infoControl_;
    }
    if (std::strcmp(name, QCameraViewfinderSettingsControl2_iid) == 0) {
        return &settingsControl_;
    }
    return nullptr;
}

void CameraService::releaseControl(QMediaControl* control) {
    if (control == &rendererControl_) {
        rendererControl_.setSurface(nullptr);
        rendererTaken_ = false;
    }
}

} // namespace quendral::emulator
