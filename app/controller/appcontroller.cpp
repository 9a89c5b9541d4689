#include "appcontroller.h"

#include "aboutbox.h"
#include "audiocontroller.h"
#include "cameracontroller.h"
#include "desktopnotifications.h"
#include "devicedetector.h"
#include "fwupdatecontroller.h"
#include "kestalapplication.h"
#include "kestalhiddevice.h"
#include "kestalmainwindow.h"
#include "settings.h"
#include "trayiconmenu.h"
#include "traypresence.h"
#include "updater.h"
#include "windowactivation.h"

#include <QAction>
#include <QApplication>
#include <QDebug>
#include <QScreen>
#include <QTimer>

namespace {

// Update checks resume this long after a share ends.
constexpr std::chrono::milliseconds kUpdateResumeDelay{5000};

Settings* settings() {
    return KestalApplication::instance()->settings();
}

} // namespace

AppController::AppController(QObject* parent)
    : QObject(parent)
    , autoUpdateTimer_(std::make_unique<QTimer>())
    , hidStartTimer_(std::make_unique<QTimer>())
    , windowActivation_(WindowActivation::forPlatform(QGuiApplication::platformName())) {
    qRegisterMetaType<ApplicationState>("ApplicationState");
    qRegisterMetaType<HIDDeviceState>("HIDDeviceState");
    qRegisterMetaType<QSharedPointer<KestalHIDDevice>>("QSharedPointer<KestalHIDDevice>");
    autoUpdateTimer_->setSingleShot(true);
    autoUpdateTimer_->setInterval(kUpdateResumeDelay);
    connect(autoUpdateTimer_.get(), &QTimer::timeout, this,
            &AppController::enableAutoUpdatesIfNoFeed);
}

AppController::~AppController() {
    // Ending the firmware thread runs the event loop for a while: nothing may reach this
    // half-destroyed controller meanwhile.
    const QObject* senders[] = {autoUpdateTimer_.get(),
                                hidStartTimer_.get(),
                                camera_.get(),
                                hid_.data(),
                                detector_.get(),
                                tray_.get(),
                                trayPresence_.get(),
                                fwController_.get(),
                                KestalApplication::instance()};
    for (const QObject* sender : senders) {
        if (sender)
            disconnect(sender, nullptr, this, nullptr);
    }
    QCoreApplication::removePostedEvents(this);
    autoUpdateTimer_->stop();
    audio_.reset();
    camera_.reset();
    aboutBox_.reset();
    updater_.reset();
    fwController_.reset();
    windowActivation_.reset();
    hid_.reset();
    hidStartTimer_.reset();
    detector_.reset();
    trayPresence_.reset();
    desktopNotifier_.reset();
    tray_.reset();
    mainWindow_.reset();
}

void AppController::setUpdateResumeDelay(std::chrono::milliseconds delay) {
    autoUpdateTimer_->setInterval(delay);
}

void AppController::setUp(KestalApplication* app) {
    setUp(app, Parts{});
}

void AppController::setUp(KestalApplication* app, Parts parts) {
    camera_ = parts.camera ? std::move(parts.camera) : std::make_unique<CameraController>();
    connect(this, &AppController::stateChanged, camera_.get(),
            &CameraController::setApplicationState);
    connect(qApp, &QCoreApplication::aboutToQuit, camera_.get(), &CameraController::pause,
            Qt::DirectConnection);

    updater_.reset(Updater::instance());
    fwController_.reset(FWUpdateController::instance());

    audio_.reset(AudioController::instance());
    connect(this, &AppController::stateChanged, audio_.get(),
            &AudioController::setApplicationState);

    tray_ = parts.tray ? std::move(parts.tray)
                       : std::make_unique<TrayIconMenu>(IconSet(QStringLiteral(":/app.svg")), this);
    tray_->bindSettings(app->settings());
    connect(tray_.get(), &TrayIconMenu::aboutRequested, this, &AppController::showAboutInfo);
    connect(tray_.get(), &TrayIconMenu::quitRequested, qApp, &QCoreApplication::quit);
    connect(tray_.get(), &TrayIconMenu::pauseRequested, camera_.get(), &CameraController::pause);
    connect(tray_.get(), &TrayIconMenu::resumeRequested, camera_.get(), &CameraController::resume);
    connect(tray_.get(), &TrayIconMenu::iconDoubleClicked, this,
            [this] { activateApplication(false); });

    QAction* autoStart = tray_->launchAtStartupAction();
    connect(autoStart, &QAction::triggered, app, &KestalApplication::setAutoStart);
    connect(app, &KestalApplication::autoStartChanged, autoStart, &QAction::setChecked);
    autoStart->setChecked(app->isAutoStart());

    connect(this, &AppController::stateChanged, tray_.get(), &TrayIconMenu::setState);

    mainWindow_ = std::make_unique<KestalMainWindow>();
    connect(this, &AppController::stateChanged, mainWindow_.get(), &KestalMainWindow::setState);
    connect(mainWindow_.get(), &KestalMainWindow::pauseRequested, camera_.get(),
            &CameraController::pause);
    connect(mainWindow_.get(), &KestalMainWindow::resumeRequested, camera_.get(),
            &CameraController::resume);

    QRect geometry = mainWindow_->geometry();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        geometry.moveCenter(screen->availableGeometry().center());
    mainWindow_->setGeometry(geometry);

    mainWindow_->setProgramActions(tray_->programActions());
    desktopNotifier_ = parts.desktopNotifier ? std::move(parts.desktopNotifier)
                                             : std::make_unique<DesktopNotifications>();
    trayPresence_ =
        parts.trayPresence ? std::move(parts.trayPresence) : std::make_unique<TrayPresence>();
    connect(trayPresence_.get(), &TrayPresence::availabilityChanged, this, &AppController::useTray);
    useTray(trayPresence_->isAvailable());

    enterState(Initial, true);

    hidStartTimer_->setInterval(cameraSearchDelay_);
    hidStartTimer_->setSingleShot(true);
    connect(camera_.get(), &CameraController::foundCamera, this, &AppController::onCameraFound);
    connect(hidStartTimer_.get(), &QTimer::timeout, this, [this] {
        if (hid_)
            camera_->findCamera(hid_);
    });
    connect(camera_.get(), &CameraController::startingSession, this,
            &AppController::startingSession);
    connect(camera_.get(), &CameraController::resuming, this, &AppController::onCameraResuming);
    connect(camera_.get(), &CameraController::active, this, [this] { enterState(Sharing); });
    connect(camera_.get(), &CameraController::startFailed, this,
            [this] { enterState(DeviceInUse); });
    connect(camera_.get(), &CameraController::pausing, this, [this] { enterState(Pausing); });
    connect(camera_.get(), &CameraController::paused, this, [this] { enterState(Paused); });

    connect(app, &KestalApplication::activationRequested, this,
            &AppController::onExternalActivation);
    connect(app, &KestalApplication::goingToSleep, this, &AppController::onGoingToSleep);
    connect(app, &KestalApplication::wakingUp, this, &AppController::onWakingUp);

    detector_ = parts.detector ? std::move(parts.detector)
                               : std::unique_ptr<DeviceDetector>(DeviceDetector::instance());
    connect(detector_.get(), &DeviceDetector::deviceConnected, this,
            &AppController::onDeviceConnected, Qt::QueuedConnection);
    connect(detector_.get(), &DeviceDetector::deviceDisconnected, this,
            &AppController::onDeviceDisconnected, Qt::QueuedConnection);

    connect(fwController_.get(), &FWUpdateController::updateStart, this,
            &AppController::onFirmwareUpdateStart);
    for (auto ended : {&FWUpdateController::downloadFailed, &FWUpdateController::installFailed,
                       &FWUpdateController::installSuccess, &FWUpdateController::signatureRejected,
                       &FWUpdateController::installPostponed})
        connect(fwController_.get(), ended, tray_.get(), &TrayIconMenu::enableMenu);
}

void AppController::start() {
    enterState(NoDevice);
    if (!trayShown_) {
        mainWindow_->show();
        activateWindow();
    }
    detector_->start();
}

void AppController::useTray(bool tray) {
    trayShown_ = tray;
    qDebug() << (tray ? "Desktop: system tray; the program lives in its icon"
                      : "Desktop: no system tray; the main window stands in for the icon");
    mainWindow_->setStandalone(!tray);
    if (tray) {
        tray_->showIcon();
        return;
    }
    tray_->hideIcon();
    // A tray that went away took the program's only face with it.
    if (state_ != Initial && mainWindow_->isHidden())
        activateWindow();
}

StateNotifier* AppController::notifier() const {
    if (trayShown_)
        return tray_.get();
    return desktopNotifier_.get();
}

void AppController::enterState(ApplicationState state, bool force) {
    if (state_ == state && !force)
        return;
    const ApplicationState old = state_;
    state_ = state;
    qDebug() << "Application state:" << int(state);

    // No update check may disturb a share; checks resume a while after it ended.
    // A resume is only pending while automatic program checks are off.
    if (state >= Starting) {
        autoUpdateTimer_->stop();
        updater_->pause();
        fwController_->pauseAutoUpdater();
    } else if (Updater::automaticChecksDisabled()) {
        autoUpdateTimer_->start();
    }

    if (state <= NoHdmiSource) {
        if (trayShown_ && !mainWindow_->isHidden())
            windowActivation_->hide(*mainWindow_);
    } else if (state == DeviceInUse && old <= NoHdmiSource) {
        mainWindow_->show();
    }

    const bool notify = settings()->notificationOnStateChange();
    const bool notifyingState =
        state == NoHdmiSource || state == DeviceInUse || state == Paused || state == Sharing;
    if (notifyingState && notify && old != NoDevice)
        notifier()->showStateNotification(state);

    emit stateChanged(state_);
}

void AppController::onDeviceConnected(QSharedPointer<KestalHIDDevice> device) {
    if (!device)
        return;
    if (hid_) {
        if (hid_->path().compare(device->path(), Qt::CaseInsensitive) != 0)
            qDebug() << "Using more than one Kestal device is not supported";
        return;
    }
    hid_ = device;
    qDebug() << "Connected HID" << hid_->path();
    connect(hid_.data(), &KestalHIDDevice::deviceStateChanged, this,
            &AppController::onHIDReportChange);
    connect(hid_.data(), &KestalHIDDevice::deviceDisconnected, this, [this] {
        if (hid_)
            onDeviceDisconnected(hid_);
    });
    fwController_->handleDeviceChanged();
    hidStartTimer_->start();
}

void AppController::onDeviceDisconnected(QSharedPointer<KestalHIDDevice> device) {
    if (!hid_ || !device)
        return;
    if (!device->path().isEmpty() && device->path().compare(hid_->path(), Qt::CaseInsensitive) != 0)
        return;
    const QSharedPointer<KestalHIDDevice> old = hid_;
    hid_.reset();
    hidStartTimer_->stop();
    enterState(NoDevice);
    camera_->releaseCamera();
    fwController_->handleDeviceChanged();
    qDebug() << "Disconnected HID" << old->path();
    disconnect(old.data(), nullptr, this, nullptr);
    mainWindow_->detachCamera();
}

void AppController::onCameraFound(QSharedPointer<QCamera> camera) {
    mainWindow_->attachCamera(camera);
    qDebug() << "Best USB mode:" << (FWUpdateController::isUsb3() ? "USB 3.x" : "USB 2.0");
    if (!FWUpdateController::ensureCorrectUsbMode()) {
        // The device comes back in the other mode as a new connection.
        qCritical() << "USB mode toggled";
        return;
    }
    enterState(NoHdmiSource);
    if (hid_)
        hid_->startTimerIfStopped();
}

void AppController::onHIDReportChange(HIDDeviceState hidState) {
    switch (hidState) {
    case CableDisconnected:
        camera_->silentPause();
        enterState(NoHdmiSource);
        break;
    case CableConnected:
        if (state_ == DeviceInUse) {
            enterState(Paused);
        } else if (state_ == NoHdmiSource) {
            // The camera's own gate wants "paused" to start a session; the controller's state
            // follows from what the camera then reports.
            camera_->setApplicationState(Paused);
            camera_->startSession();
        }
        break;
    case Streaming:
        if (state_ == NoHdmiSource || state_ == Paused)
            enterState(DeviceInUse);
        break;
    }
}

void AppController::onCameraResuming() {
    windowActivation_->bringToFront(*mainWindow_, false);
    enterState(Starting);
}

void AppController::startingSession() {
    if (settings()->maximizeOnShare() && !mainWindow_->isFullScreen())
        mainWindow_->showMaximized();
    windowActivation_->bringToFront(*mainWindow_, settings()->toFrontOnShare());
    enterState(Starting);
}

void AppController::onGoingToSleep() {
    pausedForSleep_ = state_ == Sharing;
    if (pausedForSleep_) {
        qCritical() << "Pausing before system sleep...";
        camera_->silentPause();
    }
}

void AppController::onWakingUp() {
    if (!pausedForSleep_)
        return;
    qCritical() << "Resuming after system sleep...";
    camera_->silentResume();
}

void AppController::activateApplication(bool start_from_minimized_allowed) {
    // With nothing to share the tray says why; without a tray the window says it.
    if (trayShown_ && (state_ == NoDevice || state_ == NoHdmiSource))
        tray_->showStateNotification(state_);
    else
        forceActivateWindow(start_from_minimized_allowed);
}

void AppController::forceActivateWindow(bool start_from_minimized_allowed) {
    windowActivation_->bringToFront(*mainWindow_, start_from_minimized_allowed);
}

void AppController::activateWindow() {
    windowActivation_->bringToFront(*mainWindow_, false);
}

void AppController::onExternalActivation() {
    activateApplication(true);
}

void AppController::onFirmwareUpdateStart() {
    tray_->disableMenu();
    if (state_ > Paused) {
        camera_->pause();
        if (!mainWindow_->isHidden())
            mainWindow_->showMinimized();
    }
}

void AppController::enableAutoUpdatesIfNoFeed() {
    if (state_ >= Starting)
        return;
    updater_->resume();
    fwController_->resumeAutoUpdater();
}

void AppController::showAboutInfo() {
    if (!aboutBox_) {
        aboutBox_ = std::make_unique<AboutBox>();
        connect(aboutBox_.get(), &AboutBox::checkSWUpdate, updater_.get(), &Updater::checkNow);
        fwController_->connectAboutBox(aboutBox_.get());
        fwController_->checkNow();
    }
    aboutBox_->showNormal();
    aboutBox_->raise();
    aboutBox_->activateWindow();
}
