#include "devicedetector.h"
#include "emulatorprocess.h"
#include "fakehid.h"
#include "kestalhiddevice.h"
#include "messagelog.h"

#include <QtTest>

#include <memory>

namespace {

FakeHid& fake = FakeHid::instance();
const HidApi& fakeApi = fakeHidApi();

constexpr std::chrono::milliseconds kFastInterval{5};

// A started detector on arrivals and removals the test announces, with its signals recorded.
struct Detector {
    explicit Detector(std::chrono::milliseconds retryInterval = kFastInterval, bool accepts = true)
        : monitor(new FakeHidMonitor(accepts)) {
        detector.setRetryInterval(retryInterval);
        detector.start();
    }
    FakeHidMonitor* const monitor;
    DeviceDetector detector{std::unique_ptr<HidMonitor>(monitor)};
    QSignalSpy connected{&detector, &DeviceDetector::deviceConnected};
    QSignalSpy disconnected{&detector, &DeviceDetector::deviceDisconnected};
};

QSharedPointer<KestalHIDDevice> announced(const QSignalSpy& spy, int index) {
    return spy.at(index).at(0).value<QSharedPointer<KestalHIDDevice>>();
}

} // namespace

class DeviceTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        HidApi::setCurrent(&fakeApi);
        KestalHIDDevice::setPollInterval(kFastInterval);
    }
    void init() {
        fake = FakeHid{};
        MessageLog::clear();
        MessageLog::capture();
    }
    void cleanup() {
        MessageLog::release();
        // Deferred deletions of released devices, so that each test starts with an empty cache.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // Each report byte in turn: a state is announced, and logged, only when it changes.
    void reportBytesBecomeStates() {
        fake.interfaces = {{"/dev/hidraw0"}};
        const auto device = KestalHIDDevice::acquire(QStringLiteral("/dev/hidraw0"));
        QVERIFY(device);
        QVERIFY(MessageLog::contains(QStringLiteral("HID: found device: Fake Kestal")));
        QSignalSpy changes(device.data(), &KestalHIDDevice::deviceStateChanged);
        device->startTimerIfStopped();

        const struct {
            unsigned char status;
            int state;                    // -1: unchanged
            const char* line;             // null: no line
        } steps[] = {{0x01, -1, nullptr}, // the stream bit alone counts for nothing
                     {0x02, CableConnected, "HID: HDMI cable connected"},
                     {0x06, -1, nullptr}, // other bits are ignored
                     {0x03, Streaming, "HID: stream started"},
                     {0xff, -1, nullptr},
                     {0x02, CableConnected, "HID: stream stopped"},
                     {0x00, CableDisconnected, "HID: HDMI cable disconnected"},
                     {0x03, Streaming, nullptr},
                     {0x00, CableDisconnected, "HID: HDMI cable disconnected"}};
        int expectedSignals = 0;
        for (const auto& step : steps) {
            MessageLog::clear();
            fake.interfaces[0].status = step.status;
            const int reads = fake.reads;
            QTRY_VERIFY(fake.reads >= reads + 3);
            if (step.state >= 0)
                ++expectedSignals;
            QCOMPARE(changes.count(), expectedSignals);
            if (step.state >= 0)
                QCOMPARE(changes.last().at(0).value<HIDDeviceState>(), step.state);
            QCOMPARE(MessageLog::lines().filter(QStringLiteral("HID: ")),
                     step.line ? QStringList{QString::fromLatin1(step.line)} : QStringList{});
        }
    }
    void failedReadReopensOnce() {
        fake.interfaces = {{"/dev/hidraw0", true, 0x02}};
        const auto device = KestalHIDDevice::acquire(QString());
        QSignalSpy changes(device.data(), &KestalHIDDevice::deviceStateChanged);
        QSignalSpy lost(device.data(), &KestalHIDDevice::deviceDisconnected);
        device->startTimerIfStopped();
        QTRY_COMPARE(changes.count(), 1);

        // A failed read, or a report of one byte, of none or of another id (the status byte there
        // would be a change): the interface is opened again, and once it answers properly polling
        // goes on without a signal.
        for (const auto& [fails, length, id] :
             {std::tuple{true, 2, 0}, {false, 1, 0}, {false, 0, 0}, {false, 2, 5}}) {
            MessageLog::clear();
            fake.interfaces[0] = {"/dev/hidraw0", true, 0x03, length, uchar(id), fails};
            QTRY_VERIFY(!MessageLog::lines()
                             .filter(fails ? QStringLiteral("HID: Failed to get device state: "
                                                            "device gone")
                                           : QStringLiteral("HID: Failed to get"))
                             .isEmpty());
            fake.interfaces[0] = {"/dev/hidraw0", true, 0x02};
            const int readsAfterRecovery = fake.reads;
            QTRY_VERIFY(fake.reads > readsAfterRecovery + 2);
            QCOMPARE(lost.count(), 0);
            QCOMPARE(changes.count(), 1);
            QCOMPARE(device->state(), CableConnected);
        }

        // The device goes away: the read fails, the reopen finds nothing, and polling stops.
        fake.interfaces.clear();
        QTRY_COMPARE(lost.count(), 1);
        QVERIFY(MessageLog::contains(QStringLiteral("HID: lost device")));
        QCOMPARE(device->state(), CableDisconnected);
        const int readsWhenLost = fake.reads;
        QTest::qWait(50);
        QCOMPARE(fake.reads, readsWhenLost);
        QCOMPARE(lost.count(), 1);
    }
    void cacheIsCaseInsensitive() {
        fake.interfaces = {{"/dev/HIDRAW3"}, {"/dev/hidraw4"}};
        auto first = KestalHIDDevice::acquire(QString());
        QVERIFY(first && first->path() == QLatin1String("/dev/HIDRAW3"));
        // The empty request was cached under the real path.
        QCOMPARE(KestalHIDDevice::acquire(QStringLiteral("/dev/hidraw3")), first);
        QCOMPARE(KestalHIDDevice::acquire(QStringLiteral("/DEV/HIDRAW3")), first);
        auto second = KestalHIDDevice::acquire(QStringLiteral("/dev/hidraw4"));
        QVERIFY(second && second != first);
        QVERIFY(!KestalHIDDevice::acquire(QStringLiteral("/dev/hidraw9")));

        // Once released, a new object is made.
        QPointer<KestalHIDDevice> watch(first.data());
        first.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(watch.isNull());
        QVERIFY(KestalHIDDevice::acquire(QStringLiteral("/dev/hidraw3")));
    }

    // Attached before the start: announced once, also when the monitor refuses to watch.
    void attachedBeforeStartIsAnnouncedOnce() {
        fake.interfaces = {{"/dev/hidraw1"}};
        for (const bool accepts : {true, false}) {
            MessageLog::clear();
            Detector d(kFastInterval, accepts);
            QCOMPARE(d.connected.count(), 1);
            QCOMPARE(d.monitor->isStarted(), accepts);
            QCOMPARE(
                MessageLog::contains(QStringLiteral("Failed register for device notifications")),
                !accepts);
            d.detector.start();
            QCOMPARE(d.connected.count(), 1);
            QVERIFY(MessageLog::contains(QStringLiteral("Device detector already started")));
        }
    }
    void arrivalsAndRemovalsIgnoreCase() {
        Detector d;
        QCOMPARE(d.connected.count(), 0);

        fake.interfaces = {{"/dev/hidraw2"}};
        d.monitor->arrive(QStringLiteral("/DEV/HIDRAW2"));
        QCOMPARE(d.connected.count(), 1);
        const auto device = announced(d.connected, 0);
        QCOMPARE(device->path(), QStringLiteral("/dev/hidraw2"));

        d.monitor->remove(QStringLiteral("/dev/Hidraw7")); // never announced
        QCOMPARE(d.disconnected.count(), 0);
        d.monitor->remove(QStringLiteral("/Dev/HidRaw2"));
        QCOMPARE(d.disconnected.count(), 1);
        QCOMPARE(announced(d.disconnected, 0), device);
        d.monitor->remove(QStringLiteral("/dev/hidraw2"));
        QCOMPARE(d.disconnected.count(), 1);

        // Back on the same path while the old object is still held (as by a controller that has
        // not yet seen the removal): a fresh object, not the stale one.
        d.monitor->arrive(QStringLiteral("/dev/hidraw2"));
        QCOMPARE(d.connected.count(), 2);
        QVERIFY(announced(d.connected, 1) != device);
    }
    void arrivalRetriesTenTimes() {
        Detector d;
        // An interface that never becomes ready: ten attempts, lines counting 10 down to 2.
        fake.interfaces = {{"/dev/hidraw5", false}};
        const int enumerationsBefore = fake.enumerations;
        d.monitor->arrive(QStringLiteral("/dev/hidraw5"));
        QTRY_VERIFY(MessageLog::contains(QStringLiteral("Failed to find initialized HID device")));
        QCOMPARE(fake.enumerations - enumerationsBefore, 10);
        QStringList expected;
        for (int left = 10; left >= 2; --left)
            expected
                << QStringLiteral(
                       "Matching HID device connected, but not initialized. Retry attempts left %1")
                       .arg(left);
        QCOMPARE(MessageLog::lines().filter(QStringLiteral("Retry attempts left")), expected);
        QCOMPARE(d.connected.count(), 0);

        // A new arrival starts a fresh chain, and one that becomes ready on the third try connects.
        MessageLog::clear();
        fake.readyAtEnumeration = fake.enumerations + 3;
        d.monitor->arrive(QStringLiteral("/dev/hidraw5"));
        QTRY_COMPARE(d.connected.count(), 1);
        QTest::qWait(30);
        QCOMPARE(MessageLog::lines().filter(QStringLiteral("Retry attempts left")).size(), 2);
        QVERIFY(!MessageLog::contains(QStringLiteral("Failed to find initialized HID device")));
    }
    void removalEndsRetryChain() {
        Detector d(std::chrono::milliseconds(50));
        fake.interfaces = {{"/dev/hidraw6", false}};
        d.monitor->arrive(QStringLiteral("/dev/hidraw6"));
        const int enumerations = fake.enumerations;
        d.monitor->remove(QStringLiteral("/dev/hidraw6"));
        QTRY_VERIFY(MessageLog::contains(QStringLiteral("Failed to find initialized HID device")));
        QCOMPARE(fake.enumerations, enumerations); // the scheduled attempt tried nothing
        QCOMPARE(MessageLog::lines().filter(QStringLiteral("Failed to find initialized")).size(),
                 1);
    }

    void followsTheEmulatedDevice() {
        QTemporaryDir dir;
        const QString socket = dir.filePath(QStringLiteral("emulator.sock"));
        EmulatorProcess daemon(socket, {QStringLiteral("--detached")});
        QVERIFY(daemon.isRunning());
        qputenv("KESTAL_EMULATOR", socket.toLocal8Bit());
        auto unsetEmulator = qScopeGuard([] { qunsetenv("KESTAL_EMULATOR"); });

        HidApi::setCurrent(&HidApi::emulated());
        auto restoreFake = qScopeGuard([] { HidApi::setCurrent(&fakeApi); });
        DeviceDetector detector{HidMonitor::create()};
        QSignalSpy connected(&detector, &DeviceDetector::deviceConnected);
        QSignalSpy disconnected(&detector, &DeviceDetector::deviceDisconnected);
        detector.start();
        QCOMPARE(connected.count(), 0);

        QVERIFY(daemon.control({QStringLiteral("plug")}));
        QTRY_COMPARE(connected.count(), 1);
        const auto device = announced(connected, 0);
        QVERIFY(device->path().contains(QStringLiteral("vid_")));
        // What the reports say on the way is left to the end-to-end run.
        device->startTimerIfStopped();
        QSignalSpy lost(device.data(), &KestalHIDDevice::deviceDisconnected);
        QVERIFY(daemon.control({QStringLiteral("unplug")}));
        QTRY_COMPARE(disconnected.count(), 1);
        QTRY_COMPARE(lost.count(), 1);
    }
};

QTEST_GUILESS_MAIN(DeviceTest)
#include "tst_device.moc"
