#include "cameracontrol.h"

#include "camerasession.h"

namespace quendral::emulator {

CameraControl::CameraControl(CameraSession& session, QObject* parent)
    : QCameraControl(parent)
    , session_(session) {
    connect(&session_, &CameraSession::deviceLost, this, &CameraControl::onDeviceLost);
    connect(&session_, &CameraSession::streamFailed, this, &CameraControl::onStreamFailed);
}

void CameraControl::setState(QCamera::State target) {
    if (target == state_) {
        return;
    }
    if (target == QCamera::UnloadedState) {
        session_.unload();
        updateStatus(QCamera::UnloadedStatus);
        updateState(QCamera::UnloadedState);
        return;
    }
    QString reason;
    if (state_ == QCamera::UnloadedState) {
        updateStatus(QCamera::LoadingStatus);
        if (!session_.load(&reason)) {
            updateStatus(QCamera::UnloadedStatus);
            emit error(QCamera::CameraError, reason);
            return;
        }
        updateStatus(QCamera::LoadedStatus);
        updateState(QCamera::LoadedState);
    }
    if (target == QCamera::LoadedState) {
        if (state_ == QCamera::ActiveState) {
            updateStatus(QCamera::StoppingStatus);
            session_.stopStream();
            updateStatus(QCamera::LoadedStatus);
            updateState(QCamera::LoadedState);
        }
        return;
    }
    updateStatus(QCamera::StartingStatus);
    if (!session_.startStream(&reason)) {
        updateStatus(QCamera::LoadedStatus);
        emit error(QCamera::CameraError, reason);
        return;
    }
    updateStatus(QCamera::ActiveStatus);
    updateState(QCamera::ActiveState);
}

void CameraControl::setCaptureMode(QCamera::CaptureModes mode) {
    if (!isCaptureModeSupported(mode)) {
        emit error(QCamera::NotSupportedFeatureError,
                   QStringLiteral("the emulated camera only offers a viewfinder"));
    }
}

bool CameraControl::canChangeProperty(PropertyChangeType changeType, QCamera::Status status) const {
    switch (changeType) {
    case CaptureMode:
    case ViewfinderSettings:
        return status != QCamera::ActiveStatus;
    case ImageEncodingSettings:
    case VideoEncodingSettings:
    case Viewfinder:
        break;
    }
    return true;
}

void CameraControl::onDeviceLost(const QString& reason) {
    emit error(QCamera::CameraError, reason);
    updateStatus(QCamera::UnloadedStatus);
    updateState(QCamera::UnloadedState);
}

void CameraControl::onStreamFailed(const QString& reason) {
    emit error(QCamera::CameraError, reason);
    updateStatus(QCamera::LoadedStatus);
    updateState(QCamera::LoadedState);
}

void CameraControl::updateState(QCamera::State state) {
    if (state != state_) {
        state_ = state;
        emit stateChanged(state_);
    }
}

void CameraControl::updateStatus(QCamera::Status status) {
    if (status != status_) {
        status_ = status;
        emit statusChanged(status_);
    }
}

} // namespace quendral::emulator
