#pragma once

#include <QCameraInfoControl>

namespace quendral::emulator {

/// The emulated camera is an external capture device: no position, upright.
class CameraInfoControl : public QCameraInfoControl {
    Q_OBJECT

public:
    explicit CameraInfoControl(QObject* parent = nullptr);

    QCamera::Position cameraPosition(const QString& deviceName) const override;
    int cameraOrientation(const QString& deviceName) const override;
};

} // namespace quendral::emulator
