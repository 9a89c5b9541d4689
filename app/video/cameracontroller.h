#pragma once

#include "applicationstate.h"

#include <QCamera>
#include <QCameraInfo>
#include <QObject>
#include <QSharedPointer>

#include <chrono>
#include <memory>

class KestalHIDDevice;
class SleepPrevenControl;

// Owns the camera of the device's video function: finds it among the system's cameras,
// chooses its resolution and pixel format, and starts, pauses and resumes its stream on
// request, gated by the application state. GUI thread only.
class CameraController : public QObject {
    Q_OBJECT
public:
    explicit CameraController(QObject* parent = nullptr);
    ~CameraController() override;

    // Starts (or goes on with) the search for the camera of a connected device.
    virtual void findCamera(QSharedPointer<KestalHIDDevice> device);
    virtual void releaseCamera();

    QSharedPointer<QCamera> camera() const { return camera_; }
    // The text a camera's system name contains when it belongs to the device.
    static QString deviceNameMarker();
    // Delay between search attempts; a knob for tests.
    void setSearchInterval(std::chrono::milliseconds interval) { searchInterval_ = interval; }

signals:
    void foundCamera(QSharedPointer<QCamera> camera);
    void startingSession();
    void resuming();
    void active();
    void startFailed();
    void pausing();
    void paused();

public slots:
    virtual void setApplicationState(ApplicationState state);
    virtual void startSession();
    virtual void resume();
    virtual void pause();
    virtual void silentPause();
    virtual void silentResume();

private:
    void openCamera(const QCameraInfo& info);
    void startChecked();
    void onCameraStatus(QCamera::Status status);
    void onCameraError(QCamera::Error error);

    QSharedPointer<QCamera> camera_;
    QCameraInfo cameraInfo_;
    ApplicationState appState_ = Initial;
    int retriesLeft_ = -1;
    std::shared_ptr<SleepPrevenControl> sleepPrevention_;
    std::chrono::milliseconds searchInterval_{1000};
};
