#include "viewfindersettingscontrol.h"

#include "camerasession.h"

namespace quendral::emulator {

ViewfinderSettingsControl::ViewfinderSettingsControl(CameraSession& session, QObject* parent)
    : QCameraViewfinderSettingsControl2(parent)
    , session_(session) {}

QList<QCameraViewfinderSettings> ViewfinderSettingsControl::supportedViewfinderSettings() const {
    return CameraSession::supportedSettings();
}

QCameraViewfinderSettings ViewfinderSettingsControl::viewfinderSettings() const {
    return session_.settings();
}

void ViewfinderSettingsControl::setViewfinderSettings(const QCameraViewfinderSettings& settings) {
    session_.setSettings(settings);
}

} // namespace quendral::emulator
