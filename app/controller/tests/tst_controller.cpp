#include "aboutbox.h"
#include "appcontroller.h"
#include "cameracontroller.h"
#include "devicedetector.h"
#include "fakehid.h"
#include "fakelibrary.h"
#include "fwupdatecontroller.h"
#include "kestalapplication.h"
#include "kestalhiddevice.h"
#include "kestalmainwindow.h"
#include "messagelog.h"
#include "sessionsandbox.h"
#include "settings.h"
#include "tindrel.h"
#include "trayiconmenu.h"
#include "traypresence.h"
#include "updateengine.h"
#include "updater.h"

#include <QCamera>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

namespace {

// Records what the application controller asks of the camera; the test plays the camera's
// answers by emitting its signals.
class FakeCamera : public CameraController {
public:
    QStringList calls;

    void findCamera(QSharedPointer<KestalHIDDevice>) override { calls << QStringLiteral("find"); }
    void releaseCamera() override { calls << QStringLiteral("release"); }
    void setApplicationState(ApplicationState state) override {
        calls << QStringLiteral("state %1").arg(state);
    }
    void startSession() override { calls << QStringLiteral("startSession"); }
    void resume() override { calls << QStringLiteral("resume"); }
    void pause() override { calls << QStringLiteral("pause"); }
    void silentPause() override { calls << QStringLiteral("silentPause"); }
    void silentResume() override { calls << QStringLiteral("silentResume"); }

    // The calls other than the state broadcasts every change brings.
    QStringList requests() const {
        QStringList result;
        for (const QString& call : calls) {
            if (!call.startsWith(QLatin1String("state ")) || call == QLatin1String("state 4"))
                result << call;
        }
        return result;
    }
};

class FakeTray : public TrayIconMenu {
public:
    FakeTray()
        : TrayIconMenu(IconSet(QStringLiteral(":/app.svg"))) {}
    QList<int> notifications;
    void showStateNotification(ApplicationState state) override { notifications << state; }
    bool isMenuEnabled() { return findChild<QSystemTrayIcon*>()->contextMenu()->isEnabled(); }
    bool isIconShown() { return findChild<QSystemTrayIcon*>()->isVisible(); }
};

class FakeNotifier : public StateNotifier {
public:
    QList<int> notifications;
    void showStateNotification(ApplicationState state) override { notifications << state; }
};

} // namespace

class ControllerTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QVERIFY(session_.isValid());
        session_.enter();
        qputenv("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=/nonexistent");
        qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent");
        // Nothing listens there: program update checks fail at once.
        qputenv("CASTWELL_UPDATE_SERVER", "http://127.0.0.1:9");
        HidApi::setCurrent(&fakeHidApi());
        FakeLibrary::install();

        static int argc = 1;
        static char name[] = "castwell";
        static char* argv[] = {name, nullptr};
        application_ = std::make_unique<KestalApplication>(argc, argv);
        QVERIFY(application_->init());
    }
    void init() {
        FakeHid::instance() = FakeHid{};
        FakeLibrary::install();
        Tindrel::forgetLastUsbModeCorrection();
        application_->settings()->setNotificationOnStateChange(true);
        application_->settings()->setMaximizeOnShare(true);
        application_->settings()->setToFrontOnShare(true);

        controller_ = std::make_unique<AppController>();
        controller_->setCameraSearchDelay(std::chrono::milliseconds(1));
        stateSpy_ = std::make_unique<QSignalSpy>(controller_.get(), &AppController::stateChanged);
        AppController::Parts parts;
        parts.camera = std::make_unique<FakeCamera>();
        parts.tray = std::make_unique<FakeTray>();
        trayAvailable_ = true;
        parts.trayPresence = std::make_unique<TrayPresence>([this] { return trayAvailable_; });
        parts.desktopNotifier = std::make_unique<FakeNotifier>();
        trayPresence_ = parts.trayPresence.get();
        desktop_ = static_cast<FakeNotifier*>(parts.desktopNotifier.get());
        auto monitor = std::make_unique<FakeHidMonitor>();
        camera_ = static_cast<FakeCamera*>(parts.camera.get());
        tray_ = static_cast<FakeTray*>(parts.tray.get());
        monitor_ = monitor.get();
        parts.detector = std::make_unique<DeviceDetector>(std::move(monitor));
        controller_->setUp(application_.get(), std::move(parts));
        controller_->start();
        MessageLog::clear();
        MessageLog::capture();
    }
    void cleanup() {
        MessageLog::release();
        controller_.reset();
        stateSpy_.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void setUpEntersInitialThenStartNoDevice() {
        QCOMPARE(states(), (QList<int>{Initial, NoDevice}));
        QVERIFY(monitor_->isStarted());
        QVERIFY(controller_->mainWindow()->isHidden());
        QVERIFY(tray_->notifications.isEmpty());
    }
    void sharingSessionFollowsDeviceAndCamera() {
        connectDevice(QStringLiteral("/dev/hidraw1"));
        QTRY_VERIFY(controller_->device());
        QVERIFY(MessageLog::contains(QStringLiteral("Connected HID \"/dev/hidraw1\"")));
        QTRY_COMPARE(camera_->requests(), QStringList{"find"});

        emit camera_->foundCamera(QSharedPointer<QCamera>(new QCamera));
        QCOMPARE(controller_->state(), NoHdmiSource);

        // Cable in while waiting for a source: the camera is told "paused" and starts a session;
        // the controller's own state waits for the camera's answer.
        stateSpy_->clear();
        report(CableConnected);
        QCOMPARE(camera_->requests(), (QStringList{"find", "state 4", "startSession"}));
        QCOMPARE(controller_->state(), NoHdmiSource);
        QVERIFY(stateSpy_->isEmpty());

        emit camera_->startingSession();
        QCOMPARE(controller_->state(), Starting);
        QVERIFY(controller_->mainWindow()->isVisible());
        QVERIFY(controller_->mainWindow()->isMaximized());
        emit camera_->active();
        QCOMPARE(controller_->state(), Sharing);

        report(Streaming); // our own stream
        QCOMPARE(controller_->state(), Sharing);

        // The device goes: back to "no device", camera released, window hidden.
        camera_->calls.clear();
        monitor_->remove(QStringLiteral("/dev/hidraw1"));
        QTRY_COMPARE(controller_->state(), NoDevice);
        QVERIFY(!controller_->device());
        QCOMPARE(camera_->requests(), QStringList{"release"});
        QVERIFY(controller_->mainWindow()->isHidden());
        QCOMPARE(states().mid(states().size() - 3), (QList<int>{Starting, Sharing, NoDevice}));
    }
    void userPauseAndResume() {
        reachSharing();
        camera_->calls.clear();
        emit tray_->pauseRequested();
        emit controller_->mainWindow()->resumeRequested();
        QCOMPARE(camera_->requests(), (QStringList{"pause", "resume"}));

        emit camera_->pausing();
        QCOMPARE(controller_->state(), Pausing);
        emit camera_->paused();
        QCOMPARE(controller_->state(), Paused);

        report(CableConnected); // paused by the user: the source alone changes nothing
        QCOMPARE(controller_->state(), Paused);

        controller_->mainWindow()->showMinimized();
        emit camera_->resuming();
        QCOMPARE(controller_->state(), Starting);
        QVERIFY(!controller_->mainWindow()->isMinimized());
        emit camera_->active();
        QCOMPARE(controller_->state(), Sharing);
    }
    void cableAndOtherProgram() {
        reachSharing();
        camera_->calls.clear();
        report(CableDisconnected);
        QCOMPARE(camera_->requests(), QStringList{"silentPause"});
        QCOMPARE(controller_->state(), NoHdmiSource);
        QVERIFY(controller_->mainWindow()->isHidden());

        // Another program streams from the device while we do not: "in use", window shown.
        report(Streaming);
        QCOMPARE(controller_->state(), DeviceInUse);
        QVERIFY(controller_->mainWindow()->isVisible());
        report(CableConnected); // it stopped
        QCOMPARE(controller_->state(), Paused);
        report(Streaming);
        QCOMPARE(controller_->state(), DeviceInUse);
        emit camera_->startFailed();
        QCOMPARE(controller_->state(), DeviceInUse);
        report(CableConnected);
        QCOMPARE(controller_->state(), Paused);
        emit camera_->startFailed();
        QCOMPARE(controller_->state(), DeviceInUse);
    }
    void notificationRule() {
        connectDevice(QStringLiteral("/dev/hidraw1"));
        QTRY_VERIFY(camera_->calls.contains(QStringLiteral("find")));
        emit camera_->foundCamera(QSharedPointer<QCamera>(new QCamera)); // 1 -> 2: silent
        QVERIFY(tray_->notifications.isEmpty());

        emit camera_->startingSession(); // 6: never
        emit camera_->active();          // 7
        emit camera_->pausing();         // 5: never
        emit camera_->paused();          // 4
        report(Streaming);               // 3
        report(CableConnected);          // 4
        report(CableDisconnected);       // 2
        report(CableDisconnected);       // 2 again: nothing at all
        QCOMPARE(tray_->notifications,
                 (QList<int>{Sharing, Paused, DeviceInUse, Paused, NoHdmiSource}));
        QCOMPARE(states().count(NoHdmiSource), 2);

        // Switched off in the settings: nothing more.
        application_->settings()->setNotificationOnStateChange(false);
        tray_->notifications.clear();
        report(Streaming);
        report(CableConnected);
        QCOMPARE(controller_->state(), Paused);
        QVERIFY(tray_->notifications.isEmpty());
    }
    void activationRequests() {
        // Nothing to show in "no device" and "no source": the tray says why instead.
        emit application_->activationRequested();
        QCOMPARE(tray_->notifications, QList<int>{NoDevice});
        QVERIFY(controller_->mainWindow()->isHidden());

        reachSharing();
        tray_->notifications.clear();
        controller_->mainWindow()->showMinimized();
        emit application_->activationRequested();
        QVERIFY(tray_->notifications.isEmpty());
        QVERIFY(controller_->mainWindow()->isVisible());
        QVERIFY(!controller_->mainWindow()->isMinimized());

        report(CableDisconnected);
        tray_->notifications.clear();
        emit application_->activationRequested();
        QCOMPARE(tray_->notifications, QList<int>{NoHdmiSource});
        QVERIFY(controller_->mainWindow()->isHidden());
    }
    void sleepAndWake() {
        reachSharing();
        camera_->calls.clear();
        emit application_->goingToSleep();
        emit application_->wakingUp();
        QCOMPARE(camera_->requests(), (QStringList{"silentPause", "silentResume"}));
        QVERIFY(MessageLog::contains(QStringLiteral("Pausing before system sleep...")));
        QVERIFY(MessageLog::contains(QStringLiteral("Resuming after system sleep...")));

        emit camera_->pausing();
        emit camera_->paused();
        camera_->calls.clear();
        emit application_->goingToSleep();
        emit application_->wakingUp();
        QVERIFY(camera_->requests().isEmpty());
    }
    void removalsOfOthersAndDuplicatesIgnored() {
        reachSharing();
        const QSharedPointer<KestalHIDDevice> device = controller_->device();

        // A second device is refused, and its removal leaves ours alone.
        const QString refusal =
            QStringLiteral("Using more than one Kestal device is not supported");
        connectDevice(QStringLiteral("/dev/hidraw2"));
        QTRY_VERIFY(MessageLog::contains(refusal));
        QCOMPARE(controller_->device(), device);
        // The same device announced again is ours already: no complaint.
        MessageLog::clear();
        QMetaObject::invokeMethod(controller_.get(), "onDeviceConnected",
                                  Q_ARG(QSharedPointer<KestalHIDDevice>, device));
        QVERIFY(!MessageLog::contains(refusal));
        monitor_->remove(QStringLiteral("/dev/hidraw2"));
        QTest::qWait(20);
        QCOMPARE(controller_->state(), Sharing);

        // Ours goes: the device's own loss and the detector's removal both report it.
        camera_->calls.clear();
        emit device->deviceDisconnected();
        monitor_->remove(QStringLiteral("/dev/hidraw1"));
        QTRY_COMPARE(controller_->state(), NoDevice);
        QTest::qWait(20);
        QCOMPARE(camera_->requests(), QStringList{"release"});
        QCOMPARE(states().count(NoDevice), 2); // start, and this one removal
    }
    void wrongUsbModeSwitchesInsteadOfSharing() {
        FakeLibrary::instance().wantsModeSwitch = true;
        connectDevice(QStringLiteral("/dev/hidraw1"));
        QTRY_VERIFY(camera_->calls.contains(QStringLiteral("find")));
        emit camera_->foundCamera(QSharedPointer<QCamera>(new QCamera));
        QVERIFY(MessageLog::contains(QStringLiteral("Best USB mode: USB 2.0")));
        QVERIFY(MessageLog::contains(QStringLiteral("USB mode toggled")));
        QCOMPARE(controller_->state(), NoDevice);
        QCOMPARE(FakeLibrary::instance().usbModeCorrections.load(), 1);
    }
    void firmwareUpdateTakesOverTheShare() {
        FWUpdateController* firmware = FWUpdateController::instance();
        reachSharing();
        camera_->calls.clear();
        emit firmware->updateStart();
        QCOMPARE(camera_->requests(), QStringList{"pause"});
        QVERIFY(controller_->mainWindow()->isMinimized());
        QVERIFY(!tray_->isMenuEnabled());
        emit firmware->downloadProgress(50);
        QVERIFY(!tray_->isMenuEnabled());
        emit firmware->installFailed();
        QVERIFY(tray_->isMenuEnabled());

        // Not sharing: the menu is locked, the camera left alone.
        emit camera_->pausing();
        emit camera_->paused();
        camera_->calls.clear();
        emit firmware->updateStart();
        QVERIFY(camera_->requests().isEmpty());
        QVERIFY(!tray_->isMenuEnabled());
        emit firmware->installSuccess();
        QVERIFY(tray_->isMenuEnabled());
    }
    void programUpdateChecksWaitForTheShareToEnd() {
        reachSharing();
        controller_->setUpdateResumeDelay(std::chrono::milliseconds(30));
        // A resume that comes due during a share does nothing.
        QVERIFY(QMetaObject::invokeMethod(controller_.get(), "enableAutoUpdatesIfNoFeed"));
        QVERIFY(Updater::automaticChecksDisabled());

        // Paused: a resume is pending, and a share that starts again cancels it.
        emit camera_->pausing();
        emit camera_->paused();
        emit camera_->resuming();
        QCOMPARE(controller_->state(), Starting);
        QTest::qWait(100);
        QVERIFY(Updater::automaticChecksDisabled());

        emit camera_->pausing();
        emit camera_->paused();
        QTRY_VERIFY(!Updater::automaticChecksDisabled());
    }
    void aboutBoxTestButtonChecksForProgramUpdates() {
        emit tray_->aboutRequested();
        AboutBox* about = nullptr;
        for (QWidget* widget : QApplication::topLevelWidgets())
            about = about ? about : qobject_cast<AboutBox*>(widget);
        QVERIFY(about && about->isVisible());
        about->findChild<QPushButton*>(QStringLiteral("btn_check_sw_update"))->click();
        QTRY_VERIFY(appcast::UpdateEngine::current()->window() &&
                    appcast::UpdateEngine::current()->window()->isVisible());
    }
    void windowStandsInForAMissingTray() {
        QVERIFY(tray_->isIconShown());
        KestalMainWindow* window = controller_->mainWindow();

        // The tray goes: the window comes up at once and stays up without anything to share.
        trayAvailable_ = false;
        trayPresence_->recheck();
        QVERIFY(!tray_->isIconShown());
        QVERIFY(window->isVisible());
        QVERIFY(MessageLog::contains(
            QStringLiteral("Desktop: no system tray; the main window stands in for the icon")));
        reachSharing();
        report(CableDisconnected);
        QCOMPARE(controller_->state(), NoHdmiSource);
        QVERIFY(window->isVisible());

        // Messages go to the desktop; closing minimizes, a later start brings the window back.
        QCOMPARE(desktop_->notifications, (QList<int>{Sharing, NoHdmiSource}));
        QVERIFY(!window->close());
        QVERIFY(window->isMinimized());
        emit application_->activationRequested();
        QVERIFY(window->isVisible() && !window->isMinimized());
        QVERIFY(tray_->notifications.isEmpty());

        // The tray is back: the icon shows and takes the messages again.
        trayAvailable_ = true;
        trayPresence_->recheck();
        QVERIFY(tray_->isIconShown());
        report(Streaming);
        QCOMPARE(tray_->notifications, QList<int>{DeviceInUse});
    }

private:
    QList<int> states() const {
        QList<int> result;
        for (const QList<QVariant>& emission : *stateSpy_)
            result << emission.at(0).value<ApplicationState>();
        return result;
    }
    void connectDevice(const QString& path) {
        FakeHid::instance().interfaces.push_back(FakeInterface{path.toStdString()});
        monitor_->arrive(path);
    }
    // Device plugged, camera found, cable in, session started and active.
    void reachSharing() {
        connectDevice(QStringLiteral("/dev/hidraw1"));
        QTRY_VERIFY(camera_->calls.contains(QStringLiteral("find")));
        emit camera_->foundCamera(QSharedPointer<QCamera>(new QCamera));
        QCOMPARE(controller_->state(), NoHdmiSource);
        report(CableConnected);
        emit camera_->startingSession();
        emit camera_->active();
        QCOMPARE(controller_->state(), Sharing);
    }
    void report(HIDDeviceState state) { emit controller_->device()->deviceStateChanged(state); }

    SessionSandbox session_;
    std::unique_ptr<KestalApplication> application_;
    std::unique_ptr<AppController> controller_;
    std::unique_ptr<QSignalSpy> stateSpy_;
    FakeCamera* camera_ = nullptr;
    FakeTray* tray_ = nullptr;
    FakeNotifier* desktop_ = nullptr;
    TrayPresence* trayPresence_ = nullptr;
    bool trayAvailable_ = true;
    FakeHidMonitor* monitor_ = nullptr;
};

QTEST_MAIN(ControllerTest)
#include "tst_controller.moc"
