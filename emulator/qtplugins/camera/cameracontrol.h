#pragma once

#include <QCameraControl>

namespace quendral::emulator {

class CameraSession;

/// QCamera's states on the emulated device: loaded = device open, active = streaming.
class CameraControl : public QCameraControl {
    Q_OBJECT

public:
    explicit CameraControl(CameraSession& session, QObject* parent = nullptr);

    QCamera::State state() const override { return state_; }
    void setState(QCamera::State state) override;
    QCamera::Status status() const override { return status_; }

    QCamera::CaptureModes captureMode() const override { return QCamera::CaptureViewfinder; }
    void setCaptureMode(QCamera::CaptureModes mode) override;
    bool isCaptureModeSupported(QCamera::CaptureModes mode) const override {
        return mode == QCamera::CaptureViewfinder;
    }
    /// Mode and viewfinder changes need a restart while frames flow, as with a UVC camera.
    bool canChangeProperty(PropertyChangeType changeType, QCamera::Status status) const override;

private:
    void onDeviceLost(const QString& reason);
    void onStreamFailed(const QString& reason);
    void updateState(QCamera::State state);
    void updateStatus(QCamera::Status status);

    CameraSession& session_;
    QCamera::State state_ = QCamera::UnloadedState;
    QCamera::Status status_ = QCamera::UnloadedStatus;
};

} // namespace quendral::emulator
