#include "camerainfocontrol.h"

namespace quendral::emulator {

CameraInfoControl::CameraInfoControl(QObject* parent)
    : QCameraInfoControl(parent) {}

QCamera::Position CameraInfoControl::cameraPosition(const QString& /*deviceName*/) const {
    return QCamera::UnspecifiedPosition;
}

int CameraInfoControl::cameraOrientation(const QString& /*deviceName*/) const {
    return 0;
}

} // namespace quendral::emulator
