#include "cameracontroller.h"

#include "deviceids.h"
#include "kestalapplication.h"
#include "kestalhiddevice.h"
#include "platform/cameraidentity.h"
#include "sleepprevencontrol.h"
#include "viewfindersettingstext.h"

#include <QCameraViewfinderSettings>
#include <QDebug>
#include <QMetaEnum>
#include <QTimer>

namespace {

constexpr int kSearchAttempts = 10;

QString errorKey(QCamera::Error error) {
    const QMetaObject& meta = QCamera::staticMetaObject;
    const QMetaEnum errors = meta.enumerator(meta.indexOfEnumerator("Error"));
    return QStringLiteral("QCamera::") + QString::fromLatin1(errors.valueToKey(error));
}

bool isRunning(QCamera::Status status) {
    return status == QCamera::StartingStatus || status == QCamera::ActiveStatus;
}

} // namespace

CameraController::CameraController(QObject* parent)
    : QObject(parent) {}

CameraController::~CameraController() {
    releaseCamera();
}

QString CameraController::deviceNameMarker() {
    return QStringLiteral("VID_%1&PID_%2")
        .arg(quendral::deviceVendorId, 4, 16, QLatin1Char('0'))
        .arg(quendral::deviceProductId, 4, 16, QLatin1Char('0'));
}

void CameraController::findCamera(QSharedPointer<KestalHIDDevice> device) {
    if (!device) {
        if (retriesLeft_ < 0)
            return;
        retriesLeft_ = -1;
        qCritical() << "Failed to find matching camera!";
        return;
    }
    if (retriesLeft_ == -1)
        retriesLeft_ = kSearchAttempts;
    if (retriesLeft_ > 0) {
        const QString marker = deviceNameMarker();
        const QList<QCameraInfo> cameras = QCameraInfo::availableCameras();
        for (const QCameraInfo& info : cameras) {
            if (platform::cameraSystemName(info.deviceName())
                    .contains(marker, Qt::CaseInsensitive)) {
                retriesLeft_ = -1;
                openCamera(info);
                return;
            }
        }
    }
    if (--retriesLeft_ > 0) {
        qDebug() << "Trying to find matching camera. Retry attempts left" << retriesLeft_;
        const QWeakPointer<KestalHIDDevice> weakDevice = device;
        QTimer::singleShot(searchInterval_, this,
                           [this, weakDevice] { findCamera(weakDevice.toStrongRef()); });
    } else {
        retriesLeft_ = -1;
        qCritical() << "Failed to find matching camera!";
    }
}

void CameraController::openCamera(const QCameraInfo& info) {
    if (camera_)
        releaseCamera();
    camera_ = QSharedPointer<QCamera>(new QCamera(info));
    cameraInfo_ = info;
    if (camera_->state() == QCamera::UnloadedState)
        camera_->load();
    connect(camera_.data(), &QCamera::statusChanged, this, &CameraController::onCameraStatus);
    connect(camera_.data(), QOverload<QCamera::Error>::of(&QCamera::error), this,
            &CameraController::onCameraError);
    qCritical() << "Camera: initialized";

    const QList<QSize> resolutions = camera_->supportedViewfinderResolutions();
    QSize chosen;
    if (resolutions.isEmpty()) {
        qDebug() << "Camera device" << info.description()
                 << "does not report available resolutions - using default";
    } else {
        qDebug() << "Camera supported resolutions:" << resolutions;
        for (const QSize& resolution : resolutions) {
            if (!chosen.isValid() || qint64(resolution.width()) * resolution.height() >
                                         qint64(chosen.width()) * chosen.height())
                chosen = resolution;
        }
    }
    QCameraViewfinderSettings settings;
    if (chosen.isValid())
        settings.setResolution(chosen);
    if (camera_->supportedViewfinderPixelFormats(settings).contains(QVideoFrame::Format_YUYV))
        settings.setPixelFormat(QVideoFrame::Format_YUYV);
    camera_->setViewfinderSettings(settings);
    emit foundCamera(camera_);
}

void CameraController::onCameraStatus(QCamera::Status status) {
    if (status != QCamera::ActiveStatus)
        return;
    qCritical() << "Camera: active";
    qDebug().noquote() << "Camera mode:" << viewfinderSettingsText(camera_->viewfinderSettings());
    if (camera_->error() != QCamera::NoError) {
        qDebug() << "Camera error:" << errorKey(camera_->error()) << camera_->errorString();
    } else if (KestalApplication* application = KestalApplication::instance()) {
        application->clearRestartTime();
    }
}

void CameraController::onCameraError(QCamera::Error error) {
    qDebug().noquote() << QStringLiteral("Camera error: ") + errorKey(error);
    if (!camera_)
        return;
    const QString message = camera_->errorString();
    qDebug() << message;
    if (message == QLatin1String("Runtime camera error")) {
        if (KestalApplication* application = KestalApplication::instance())
            QTimer::singleShot(0, application, &KestalApplication::restart);
    }
}

void CameraController::setApplicationState(ApplicationState state) {
    appState_ = state;
    if (state == Sharing)
        sleepPrevention_ = SleepPrevenControl::instance();
    else
        sleepPrevention_.reset();
}

void CameraController::startSession() {
    if (appState_ != Paused || !camera_)
        return;
    emit startingSession();
    startChecked();
}

void CameraController::resume() {
    if ((appState_ != Paused && appState_ != DeviceInUse) || !camera_)
        return;
    emit resuming();
    startChecked();
}

void CameraController::startChecked() {
    silentResume();
    if (isRunning(camera_->status())) {
        emit active();
        return;
    }
    const QString reason = camera_->errorString();
    qCritical().noquote() << "Failed to start camera stream:"
                          << (reason.isEmpty()
                                  ? QStringLiteral(
                                        "no camera errors detected, probably camera in use.")
                                  : QString::fromLocal8Bit(reason.toLocal8Bit()));
    emit startFailed();
}

void CameraController::pause() {
    if (!camera_ || appState_ != Sharing)
        return;
    emit pausing();
    silentPause();
    emit paused();
}

void CameraController::silentPause() {
    if (camera_ && camera_->status() > QCamera::LoadedStatus) {
        qCritical() << "Camera: stopping";
        camera_->stop();
    }
}

void CameraController::silentResume() {
    if (camera_ && !isRunning(camera_->status())) {
        qCritical() << "Camera: starting";
        camera_->start();
    }
}

void CameraController::releaseCamera() {
    if (camera_) {
        silentPause();
        disconnect(camera_.data(), nullptr, this, nullptr);
        camera_.reset();
        qCritical() << "Camera: deinitialized";
        cameraInfo_ = QCameraInfo();
    }
    if (retriesLeft_ > 0)
        retriesLeft_ = 0;
}
