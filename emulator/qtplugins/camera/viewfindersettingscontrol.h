#pragma once

#include <QCameraViewfinderSettingsControl2>

namespace quendral::emulator {

class CameraSession;

/// The modes of the emulated camera (QCamera::supportedViewfinder*) and the one chosen.
class ViewfinderSettingsControl : public QCameraViewfinderSettingsControl2 {
    Q_OBJECT

public:
    explicit ViewfinderSettingsControl(CameraSession& session, QObject* parent = nullptr);

    QList<QCameraViewfinderSettings> supportedViewfinderSettings() const override;
    QCameraViewfinderSettings viewfinderSettings() const override;
    void setViewfinderSettings(const QCameraViewfinderSettings& settings) override;

private:
    CameraSession& session_;
};

} // namespace quendral::emulator
