#pragma once

#include "applicationstate.h"
#include "hiddevicestate.h"

#include <QObject>
#include <QSharedPointer>

#include <chrono>
#include <memory>

class AboutBox;
class AudioController;
class CameraController;
class DeviceDetector;
class FWUpdateController;
class KestalApplication;
class KestalHIDDevice;
class KestalMainWindow;
class QCamera;
class QTimer;
class StateNotifier;
class TrayIconMenu;
class TrayPresence;
class Updater;
class WindowActivation;

// Turns device, camera and system events into the one application state and drives the
// windows, the tray, the camera and the audio from it. Only one device is used at a time.
// GUI thread only.
class AppController : public QObject {
    Q_OBJECT
public:
    // The collaborators the controller works with; whatever is left empty is made as usual.
    struct Parts {
        std::unique_ptr<CameraController> camera;
        std::unique_ptr<TrayIconMenu> tray;
        std::unique_ptr<DeviceDetector> detector;
        std::unique_ptr<TrayPresence> trayPresence;
        // Where state messages go while the desktop has no tray.
        std::unique_ptr<StateNotifier> desktopNotifier;
    };

    explicit AppController(QObject* parent = nullptr);
    ~AppController() override;

    void setUp(KestalApplication* app);
    void setUp(KestalApplication* app, Parts parts);

    ApplicationState state() const { return state_; }
    KestalMainWindow* mainWindow() const { return mainWindow_.get(); }
    QSharedPointer<KestalHIDDevice> device() const { return hid_; }
    // Wait between a device's arrival and the camera search; a knob for tests.
    void setCameraSearchDelay(std::chrono::milliseconds delay) { cameraSearchDelay_ = delay; }
    // Wait between the end of a share and the resumption of update checks; a knob for tests.
    void setUpdateResumeDelay(std::chrono::milliseconds delay);

signals:
    void stateChanged(ApplicationState);

public slots:
    void start();

private slots:
    void onDeviceConnected(QSharedPointer<KestalHIDDevice> device);
    void onDeviceDisconnected(QSharedPointer<KestalHIDDevice> device);
    void startingSession();
    void onExternalActivation();
    void activateApplication(bool start_from_minimized_allowed);
    void forceActivateWindow(bool start_from_minimized_allowed = true);
    void activateWindow();
    void onHIDReportChange(HIDDeviceState);
    void showAboutInfo();
    void enableAutoUpdatesIfNoFeed();

private:
    void enterState(ApplicationState state, bool force = false);
    // With a tray the program lives there; without one the main window stands in for it.
    void useTray(bool tray);
    StateNotifier* notifier() const;
    void onCameraFound(QSharedPointer<QCamera> camera);
    void onCameraResuming();
    void onGoingToSleep();
    void onWakingUp();
    void onFirmwareUpdateStart();

    std::unique_ptr<KestalMainWindow> mainWindow_;
    std::unique_ptr<TrayIconMenu> tray_;
    std::unique_ptr<DeviceDetector> detector_;
    std::unique_ptr<TrayPresence> trayPresence_;
    std::unique_ptr<StateNotifier> desktopNotifier_;
    bool trayShown_ = false;
    std::unique_ptr<AboutBox> aboutBox_;
    std::unique_ptr<Updater> updater_;
    std::unique_ptr<QTimer> autoUpdateTimer_;
    std::unique_ptr<QTimer> hidStartTimer_;
    std::unique_ptr<FWUpdateController> fwController_;
    std::unique_ptr<AudioController> audio_;
    QSharedPointer<KestalHIDDevice> hid_;
    std::unique_ptr<CameraController> camera_;
    std::unique_ptr<WindowActivation> windowActivation_;
    ApplicationState state_ = Initial;
    bool pausedForSleep_ = false;
    std::chrono::milliseconds cameraSearchDelay_{900};
};
