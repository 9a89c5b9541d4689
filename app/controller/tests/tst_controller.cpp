#include "aboutbox.h"
#include "appcontroller.h"
#include "cameracontroller.h"
#include "devicedetector.h"
#include "fakehid.h"
#include "fakelibrary.h"
#include "fwautoupdater.h"
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
#include <QtTest>
#include <QtWidgets>

#include <memory>

namespace {

// Makes a part, hands it to its slot and keeps a pointer for the test.
template <class Part, class Slot> Part* make(Slot& slot) {
    auto part = std::make_unique<Part>();
    Part* kept = part.get();
    slot = std::move(part);
    return kept;
}

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
        return calls.filter(QRegularExpression(QStringLiteral("^(?!state )|^state 4$")));
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

        controller_ = std::make_unique<AppController>();
        controller_->setCameraSearchDelay(std::chrono::milliseconds(1));
        stateSpy_ = std::make_unique<QSignalSpy>(controller_.get(), &AppController::stateChanged);
        AppController::Parts parts;
        camera_ = make<FakeCamera>(parts.camera);
        tray_ = make<FakeTray>(parts.tray);
        desktop_ = make<FakeNotifier>(parts.desktopNotifier);
        trayAvailable_ = true;
        parts.trayPresence = std::make_unique<TrayPresence>([this] { return trayAvailable_; });
        trayPresence_ = parts.trayPresence.get();
        auto monitor = std::make_unique<FakeHidMonitor>();
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

    void sharingSessionFollowsDeviceAndCamera() {
        connectDevice(QStringLiteral("/dev/hidraw1"));
        QTRY_VERIFY(controller_->device());
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

        playAndCompare({{"startingSession", Starting}});
        QVERIFY(controller_->mainWindow()->isVisible() && controller_->mainWindow()->isMaximized());
        playAndCompare({{"active", Sharing}, {"stream", Sharing}}); // our own stream

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
        emit tray_->pauseRequested();
        emit controller_->mainWindow()->resumeRequested();
        QCOMPARE(camera_->requests(), (QStringList{"pause", "resume"}));

        // Paused by the user: the source alone ("in") changes nothing.
        controller_->mainWindow()->showMinimized();
        playAndCompare({{"pausing", Pausing},
                        {"paused", Paused},
                        {"in", Paused},
                        {"resuming", Starting},
                        {"active", Sharing}});
        QVERIFY(!controller_->mainWindow()->isMinimized());
    }
    void cableAndOtherProgram() {
        reachSharing();
        playAndCompare({{"out", NoHdmiSource}});
        QCOMPARE(camera_->requests(), QStringList{"silentPause"});
        QVERIFY(controller_->mainWindow()->isHidden());

        // Another program streams from the device while we do not: "in use", window shown.
        playAndCompare({{"stream", DeviceInUse},
                        {"in", Paused},
                        {"stream", DeviceInUse},
                        {"startFailed", DeviceInUse},
                        {"in", Paused},
                        {"startFailed", DeviceInUse}});
        QVERIFY(controller_->mainWindow()->isVisible());
    }
    void notificationRule() {
        findCamera();
        QVERIFY(tray_->notifications.isEmpty()); // NoDevice -> NoHdmiSource: silent

        // Never for Starting and Pausing, nor for a state reached again.
        play("startingSession active pausing paused stream in out out");
        QCOMPARE(tray_->notifications,
                 (QList<int>{Sharing, Paused, DeviceInUse, Paused, NoHdmiSource}));
        QCOMPARE(states().count(NoHdmiSource), 2);

        // Switched off in the settings: nothing more.
        application_->settings()->setNotificationOnStateChange(false);
        tray_->notifications.clear();
        playAndCompare({{"stream in", Paused}});
        QVERIFY(tray_->notifications.isEmpty());
    }
    void activationRequests() {
        QCOMPARE(states(), (QList<int>{Initial, NoDevice}));
        QVERIFY(monitor_->isStarted() && tray_->notifications.isEmpty());
        // Nothing to show in "no device" and "no source": the tray says why instead.
        emit application_->activationRequested();
        QCOMPARE(tray_->notifications, QList<int>{NoDevice});
        QVERIFY(controller_->mainWindow()->isHidden());

        reachSharing();
        tray_->notifications.clear();
        controller_->mainWindow()->showMinimized();
        emit application_->activationRequested();
        QVERIFY(tray_->notifications.isEmpty());
        QVERIFY(controller_->mainWindow()->isVisible() &&
                !controller_->mainWindow()->isMinimized());

        play("out");
        tray_->notifications.clear();
        emit application_->activationRequested();
        QCOMPARE(tray_->notifications, QList<int>{NoHdmiSource});
        QVERIFY(controller_->mainWindow()->isHidden());
    }
    void sleepAndWake() {
        reachSharing();
        emit application_->goingToSleep();
        emit application_->wakingUp();
        QCOMPARE(camera_->requests(), (QStringList{"silentPause", "silentResume"}));
        QVERIFY(MessageLog::contains(QStringLiteral("Pausing before system sleep...")) &&
                MessageLog::contains(QStringLiteral("Resuming after system sleep...")));

        play("pausing paused");
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
        findCamera();
        QVERIFY(MessageLog::contains(QStringLiteral("Best USB mode: USB 2.0")) &&
                MessageLog::contains(QStringLiteral("USB mode toggled")));
        QCOMPARE(controller_->state(), NoDevice);
        QCOMPARE(FakeLibrary::instance().usbModeCorrections.load(), 1);
    }
    void firmwareUpdateTakesOverTheShare() {
        FWUpdateController* firmware = FWUpdateController::instance();
        reachSharing();
        emit firmware->updateStart();
        QCOMPARE(camera_->requests(), QStringList{"pause"});
        QVERIFY(controller_->mainWindow()->isMinimized() && !tray_->isMenuEnabled());
        emit firmware->downloadProgress(50);
        QVERIFY(!tray_->isMenuEnabled());
        emit firmware->installFailed();
        QVERIFY(tray_->isMenuEnabled());

        // Not sharing: the menu is locked, the camera left alone.
        play("pausing paused");
        camera_->calls.clear();
        emit firmware->updateStart();
        QVERIFY(camera_->requests().isEmpty() && !tray_->isMenuEnabled());
        emit firmware->installSuccess();
        QVERIFY(tray_->isMenuEnabled());
    }
    void updateChecksAndInstallsWaitForTheShareToEnd() {
        const FWAutoUpdater* firmware = FWUpdateController::instance()->autoUpdater();
        reachSharing();
        controller_->setUpdateResumeDelay(std::chrono::milliseconds(30));
        // A resume that comes due during a share does nothing.
        QVERIFY(QMetaObject::invokeMethod(controller_.get(), "enableAutoUpdatesIfNoFeed"));
        QVERIFY(Updater::automaticChecksDisabled() && !firmware->resumed);

        // Paused: a resume is pending, and a share that starts again cancels it.
        playAndCompare({{"pausing paused resuming", Starting}});
        QTest::qWait(100);
        QVERIFY(Updater::automaticChecksDisabled() && !firmware->resumed);

        play("pausing paused");
        QTRY_VERIFY(!Updater::automaticChecksDisabled() && firmware->resumed);
        playAndCompare({{"resuming", Starting}});
        QVERIFY(Updater::automaticChecksDisabled() && !firmware->resumed);
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
        QVERIFY(!tray_->isIconShown() && window->isVisible());
        reachSharing();
        playAndCompare({{"out", NoHdmiSource}});
        QVERIFY(window->isVisible());

        // Messages go to the desktop; closing minimizes, a later start brings the window back.
        QCOMPARE(desktop_->notifications, (QList<int>{Sharing, NoHdmiSource}));
        QVERIFY(!window->close() && window->isMinimized());
        emit application_->activationRequested();
        QVERIFY(window->isVisible() && !window->isMinimized() && tray_->notifications.isEmpty());

        // The tray is back: the icon shows and takes the messages again.
        trayAvailable_ = true;
        trayPresence_->recheck();
        QVERIFY(tray_->isIconShown());
        play("stream");
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
    void findCamera() {
        connectDevice(QStringLiteral("/dev/hidraw1"));
        QTRY_VERIFY(camera_->calls.contains(QStringLiteral("find")));
        emit camera_->foundCamera(QSharedPointer<QCamera>(new QCamera));
    }
    // Device plugged, camera found, cable in, session started and active; the camera's calls so
    // far forgotten.
    void reachSharing() {
        findCamera();
        QCOMPARE(controller_->state(), NoHdmiSource);
        playAndCompare({{"in startingSession active", Sharing}});
        camera_->calls.clear();
    }
    void report(HIDDeviceState state) { emit controller_->device()->deviceStateChanged(state); }
    // The device's reports ("in", "out", "stream") and the camera's signals, by name.
    void play(const char* events) {
        for (const QString& event : QString::fromLatin1(events).split(QLatin1Char(' '))) {
            if (event == QLatin1String("in") || event == QLatin1String("out"))
                report(event == QLatin1String("in") ? CableConnected : CableDisconnected);
            else if (event == QLatin1String("stream"))
                report(Streaming);
            else
                QVERIFY2(QMetaObject::invokeMethod(camera_, event.toLatin1().constData()), events);
        }
    }
    void playAndCompare(std::initializer_list<std::pair<const char*, ApplicationState>> steps) {
        for (const auto& [events, state] : steps) {
            play(events);
            QVERIFY2(controller_->state() == state, events);
        }
    }

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
