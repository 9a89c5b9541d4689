#include "audiocontroller.h"
#include "audioinputmatcher.h"
#include "emulatedmedia.h"
#include "emulatorprocess.h"
#include "messagelog.h"

#include <QtTest>

#include <cmath>
#include <memory>
#include <vector>

using namespace std::chrono_literals;
namespace media = quendral::emulator::media;

namespace {

const QString kThreadName = QStringLiteral("Audio Share Thread");
// What the kernel keeps of it: thread names are cut to 15 bytes.
const QByteArray kKernelThreadName = QByteArrayLiteral("Audio Share Thr");
const QString kRetryLog =
    QStringLiteral("Audio: Input device not initialized. Retry attempts left:");

AudioController::Timing fastTiming(std::chrono::milliseconds scanInterval = 20ms) {
    AudioController::Timing timing;
    timing.scanInterval = scanInterval;
    timing.releaseDelay = 10ms;
    return timing;
}

QStringList loggedStartingWith(const QString& prefix) {
    return MessageLog::lines().filter(
        QRegularExpression(QLatin1Char('^') + QRegularExpression::escape(prefix)));
}

int countLogged(const QString& prefix) {
    return loggedStartingWith(prefix).size();
}

// Whether the lines starting with these prefixes were logged in this order (others between).
bool loggedInOrder(const QStringList& prefixes) {
    int next = 0;
    for (const QString& line : MessageLog::lines()) {
        if (next < prefixes.size() && line.startsWith(prefixes.at(next)))
            ++next;
    }
    return next == prefixes.size();
}

// Threads of this process still known to the kernel by the worker's name.
int audioThreadsAlive() {
    int count = 0;
    const QDir tasks(QStringLiteral("/proc/self/task"));
    for (const QString& task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile comm(tasks.filePath(task + QStringLiteral("/comm")));
        if (comm.open(QIODevice::ReadOnly) && comm.readAll().trimmed() == kKernelThreadName)
            ++count;
    }
    return count;
}

struct StereoFrame {
    float left, right;
};

std::vector<StereoFrame> readFrames(const QString& path) {
    QFile file(path);
    const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    std::vector<StereoFrame> frames;
    for (const char* at = bytes.constData(); at + media::kFrameBytes <= bytes.constEnd();
         at += media::kFrameBytes)
        frames.push_back({qFromLittleEndian<float>(at), qFromLittleEndian<float>(at + 4)});
    return frames;
}

float toneAt(qint64 frame) {
    constexpr int kTonePeriodFrames = media::kSampleRateHz / media::kToneHz;
    constexpr double kPi = 3.14159265358979323846;
    return media::kTonePeak *
           static_cast<float>(std::sin(2.0 * kPi * static_cast<double>(frame % kTonePeriodFrames) /
                                       kTonePeriodFrames));
}

bool near(float actual, float expected) {
    return std::fabs(actual - expected) < 1e-6f;
}

} // namespace

class AudioTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        socket_ = dir_.filePath(QStringLiteral("emulator.sock"));
        recording_ = dir_.filePath(QStringLiteral("played.raw"));

        daemon_ = std::make_unique<EmulatorProcess>(socket_);
        QVERIFY(daemon_->isRunning());

        // Before Qt's audio plugins are asked for anything: they read these on every query.
        qputenv("KESTAL_EMULATOR", socket_.toLocal8Bit());
        qputenv(media::kAudioRecordEnvVar, recording_.toLocal8Bit());
        // A sound server of the machine would otherwise provide the default output.
        qputenv("PULSE_SERVER", QByteArrayLiteral("unix:") +
                                    dir_.filePath(QStringLiteral("no-sound-server")).toLocal8Bit());
        MessageLog::capture();
    }
    void cleanupTestCase() {
        MessageLog::release();
        daemon_.reset();
    }
    void init() {
        QVERIFY(control("plug"));
        QFile::remove(recording_);
        MessageLog::clear();
    }
    void cleanup() { QTRY_COMPARE(audioThreadsAlive(), 0); }

    void matcherKnowsThePlatformNames() {
        const struct {
            const char* deviceName;
            const char* osVersion;
            bool matches;
        } cases[] = {
            {"alsa_input.usb-Quendral_Castwell-00.analog-stereo", "12", true},      // sound server
            {"alsa_input.usb-TESSMOOR_CASTWELL_0123-02.analog-stereo", "12", true}, // other brand
            {"usb-Quendral-Castwell", "12", true},
            {"Digital Audio Interface (Quendral Castwell)", "10", true},
            {"Quendral Castwell (emulated)", "12", true},
            {"alsa_input.pci-0000_00_1f.3.analog-stereo", "12", false},     // built in
            {"Quendral Capture Castwell", "12", false},                     // words apart
            {"alsa_input.usb-Quendral_Cast-00.analog-stereo", "12", false}, // short name
            {"alsa_input.usb-Quendral_Cast-00.analog-stereo", "7", true},
            {"Castwell Capture", "10", false}, // the product word alone
            {"Castwell Capture", "7", true},
            {"Castwell Capture", "17", false}, // 17 is not 7
        };
        for (const auto& c : cases) {
            QVERIFY2(AudioInputMatcher(QLatin1String(c.osVersion))
                             .matches(QLatin1String(c.deviceName)) == c.matches,
                     c.deviceName);
        }
    }

    void followsTheStateTable() {
        AudioController controller;
        controller.setTiming(fastTiming());

        controller.setApplicationState(NoHdmiSource);
        // Found while paused: opened, not started.
        controller.setApplicationState(Paused);
        QTRY_VERIFY(loggedInOrder(
            {QStringLiteral("Audio: Input Device: Quendral Castwell (emulated)"),
             QStringLiteral("Audio: Output Device: ") + QLatin1String(media::kAudioOutputName),
             QStringLiteral("Audio: Using Audio format:")}));
        QTest::qWait(200);
        QCOMPARE(countLogged(QStringLiteral("Audio: resume")), 0);
        QCOMPARE(recordedBytes(), 0);

        // State, what is logged in this order (the last line once), whether sound plays.
        const struct {
            ApplicationState state;
            const char* logged;
            bool plays;
        } steps[] = {{Sharing, "Audio: resume output", true},
                     {Pausing, "Audio: pause input", false},
                     {Sharing, "Audio: resume input|Audio: resume output", true},
                     {NoHdmiSource, "Audio: stop input|Audio: stop output", false},
                     {Sharing, "Audio: Input Device:", true}, // closed devices: a new search
                     {DeviceInUse, "Audio: pause input", false}};
        for (const auto& step : steps) {
            const QStringList logged = QString::fromLatin1(step.logged).split(QLatin1Char('|'));
            MessageLog::clear();
            controller.setApplicationState(step.state);
            QTRY_VERIFY2(loggedInOrder(logged), step.logged);
            QVERIFY2(countLogged(logged.last()) == 1, step.logged);
            QVERIFY2(step.plays ? recordingGrows() : recordingSettles(), step.logged);
        }
    }
    void toneReachesTheOutput() {
        AudioController controller;
        controller.setTiming(fastTiming());
        controller.setApplicationState(Sharing);

        // The stream begins with click 0; the next click follows half a second of tone later.
        constexpr qint64 kWantedFrames = media::kClickIntervalFrames + media::kClickFrames;
        QTRY_VERIFY_WITH_TIMEOUT(recordedBytes() >= kWantedFrames * media::kFrameBytes, 5000);
        controller.setApplicationState(NoHdmiSource);
        QTRY_COMPARE(countLogged(QStringLiteral("Audio: stop output")), 1);

        const std::vector<StereoFrame> frames = readFrames(recording_);
        QVERIFY(frames.size() >= static_cast<std::size_t>(kWantedFrames));
        for (const qint64 click : {qint64{0}, qint64{media::kClickIntervalFrames}}) {
            quint32 index = 0;
            for (int bit = 0; bit < media::kClickFrames; ++bit) {
                const StereoFrame& frame = frames[static_cast<std::size_t>(click + bit)];
                QCOMPARE(frame.left, media::kClickPulseLevel);
                QVERIFY2(near(std::fabs(frame.right), media::kClickBitLevel),
                         qPrintable(QStringLiteral("frame %1").arg(click + bit)));
                if (bit < media::kClickIndexBits)
                    index = (index << 1) | (frame.right > 0 ? 1u : 0u);
            }
            QCOMPARE(index, static_cast<quint32>(click / media::kClickIntervalFrames));
        }
        for (qint64 frame = media::kClickFrames; frame < media::kClickIntervalFrames; ++frame) {
            const StereoFrame& played = frames[static_cast<std::size_t>(frame)];
            QVERIFY2(near(played.left, toneAt(frame)) && near(played.right, toneAt(frame)),
                     qPrintable(QStringLiteral("frame %1").arg(frame)));
        }
    }
    // Without an emulator the plugin lists no input (the plugin suite shows that): the same case.
    void searchScansElevenTimesThenGivesUp() {
        QVERIFY(control("unplug"));
        AudioController controller;
        controller.setTiming(fastTiming());
        controller.setApplicationState(Sharing);
        QTRY_VERIFY(loggedInOrder({kRetryLog, QStringLiteral("Audio: Input device not found"),
                                   QStringLiteral("Devices present:")}));

        QCOMPARE(countLogged(QStringLiteral("Audio: Input device not found")), 1);
        QStringList expected;
        for (int left = 10; left >= 1; --left)
            expected << QStringLiteral("%1 %2").arg(kRetryLog).arg(left);
        QCOMPARE(loggedStartingWith(kRetryLog), expected);
        QCOMPARE(countLogged(QStringLiteral("Audio: Output Device:")), 0);

        // The search is over; only a new state above NoHdmiSource starts another one.
        QTest::qWait(100);
        QCOMPARE(countLogged(kRetryLog), 10);
        QVERIFY(control("plug"));
        controller.setApplicationState(Sharing);
        QTRY_COMPARE(countLogged(QStringLiteral("Audio: Input Device:")), 1);
        QVERIFY(recordingGrows());
    }
    void searchIsNotRestartedAndOpensPaused() {
        QVERIFY(control("unplug"));
        AudioController controller;
        controller.setTiming(fastTiming(50ms));

        controller.setApplicationState(DeviceInUse);
        QTRY_VERIFY(countLogged(kRetryLog) >= 1);
        controller.setApplicationState(Starting);
        controller.setApplicationState(Pausing);
        QTRY_VERIFY(countLogged(kRetryLog) >= 3);
        QVERIFY(control("plug"));

        QTRY_COMPARE(countLogged(QStringLiteral("Audio: Using Audio format:")), 1);
        QCOMPARE(countLogged(QStringLiteral("%1 10").arg(kRetryLog)), 1);
        QCOMPARE(countLogged(QStringLiteral("Audio: Input device not found")), 0);
        QTest::qWait(200);
        QCOMPARE(countLogged(QStringLiteral("Audio: resume")), 0);
        QCOMPARE(recordedBytes(), 0);

        controller.setApplicationState(Sharing);
        QTRY_COMPARE(countLogged(QStringLiteral("Audio: resume output")), 1);
        QVERIFY(recordingGrows());
    }
    void noHdmiSourceEndsASearch() {
        QVERIFY(control("unplug"));
        AudioController controller;
        controller.setTiming(fastTiming(100ms));

        controller.setApplicationState(Sharing);
        QTRY_VERIFY(countLogged(kRetryLog) >= 1);
        controller.setApplicationState(NoHdmiSource);
        QTRY_COMPARE(countLogged(QStringLiteral("Audio: Input device not found")), 1);
        const int scans = countLogged(kRetryLog);
        QVERIFY2(scans < 10, qPrintable(QString::number(scans)));
        QTest::qWait(300);
        QCOMPARE(countLogged(kRetryLog), scans);
    }
    void noDeviceDestroysTheWorker_data() {
        QTest::addColumn<int>("state"); // -1: the controller itself goes
        QTest::newRow("Initial") << int(Initial);
        QTest::newRow("NoDevice") << int(NoDevice);
        QTest::newRow("destroyed") << -1;
    }
    void noDeviceDestroysTheWorker() {
        QFETCH(int, state);
        auto controller = std::make_unique<AudioController>();
        controller->setTiming(fastTiming());
        controller->setApplicationState(Sharing);
        QVERIFY(recordingGrows());
        QCOMPARE(audioThreadsAlive(), 1);

        const QPointer<QThread> thread = controller->findChild<QThread*>(kThreadName);
        QVERIFY(thread);
        if (state < 0)
            controller.reset();
        else
            controller->setApplicationState(static_cast<ApplicationState>(state));
        QVERIFY(thread.isNull());
        QVERIFY(MessageLog::contains(QStringLiteral("Audio: stop all")));
        QTRY_COMPARE(audioThreadsAlive(), 0);
        QVERIFY(recordingSettles());
        if (!controller)
            return;
        QVERIFY(loggedInOrder({QStringLiteral("Audio: stop input"),
                               QStringLiteral("Audio: stop output"),
                               QStringLiteral("Audio: stop all")}));
        QVERIFY(controller->findChildren<QThread*>().isEmpty());

        // Again without a worker: nothing to do.
        controller->setApplicationState(static_cast<ApplicationState>(state));
        QCOMPARE(countLogged(QStringLiteral("Audio: stop all")), 1);

        controller->setApplicationState(NoHdmiSource);
        QVERIFY(controller->findChild<QThread*>(kThreadName));
        QTRY_COMPARE(audioThreadsAlive(), 1);
    }
    // A worker still busy when told to go gets the GUI thread's pending events handled before the
    // shutdown escalates; here, one of them is what it waits for. What was posted to it before it
    // was let go is ignored.
    void shutdownLetsTheGuiThreadFreeTheWorker() {
        AudioController controller;
        AudioController::Timing timing = fastTiming();
        timing.firstJoinWait = 50ms;
        timing.escalationWait = 5000ms;
        controller.setTiming(timing);
        controller.setApplicationState(NoHdmiSource);
        const QPointer<QThread> thread = controller.findChild<QThread*>(kThreadName);
        QVERIFY(thread);

        QObject onWorker;
        onWorker.moveToThread(thread);
        QSemaphore busy, freed;
        QTimer::singleShot(0, &onWorker, [&] {
            busy.release();
            freed.acquire();
        });
        QVERIFY(busy.tryAcquire(1, 5000));
        // Reaches the worker only after it was let go: too late to open anything.
        controller.setApplicationState(Sharing);
        QTimer::singleShot(0, this, [&] { freed.release(); });

        controller.setApplicationState(Initial);
        QVERIFY(thread.isNull());
        QCOMPARE(countLogged(QStringLiteral("Audio thread")), 0);
        QVERIFY(MessageLog::contains(QStringLiteral("Audio: stop all")));
        QCOMPARE(countLogged(QStringLiteral("Audio: Input Device:")), 0);
    }

private:
    bool control(const char* word) { return daemon_->control({QLatin1String(word)}); }
    qint64 recordedBytes() const { return QFileInfo(recording_).size(); }
    bool recordingGrows() {
        const qint64 before = recordedBytes();
        return QTest::qWaitFor([&] { return recordedBytes() > before; }, 3000);
    }
    // The output may still play what it holds (400 ms) after the input stopped.
    bool recordingSettles() {
        for (int sample = 0; sample < 10; ++sample) {
            const qint64 last = recordedBytes();
            QTest::qWait(300);
            if (recordedBytes() == last)
                return true;
        }
        return false;
    }

    QTemporaryDir dir_;
    QString socket_;
    QString recording_;
    std::unique_ptr<EmulatorProcess> daemon_;
};

QTEST_GUILESS_MAIN(AudioTest)
#include "tst_audio.moc"
