// The emulator's Qt plugins as an application meets them: loaded by Qt from QT_PLUGIN_PATH and
// reached only through QCameraInfo, QCamera, QAudioDeviceInfo, QAudioInput and QAudioOutput,
// against a kestal-emulator daemon run as a separate process.
//
// Stamps and clicks are decoded here from the prose in README.md, not with the plugins' code,
// so a plugin that writes them differently from what it documents fails.

#include "deviceids.h"
#include "emulatedmedia.h"
#include "emulatorclient.h"
#include "emulatorprocess.h"

#include <QAbstractVideoSurface>
#include <QAudioDeviceInfo>
#include <QAudioInput>
#include <QAudioOutput>
#include <QBuffer>
#include <QCamera>
#include <QCameraInfo>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QVideoSurfaceFormat>
#include <QtEndian>
#include <QtTest>

#include <algorithm>
#include <cstring>
#include <memory>
#include <optional>

using namespace quendral::emulator;

namespace {

constexpr int kFrameWaitMs = 3000;

const QString kIdText =
    QString::asprintf("VID_%04x&PID_%04x", quendral::deviceVendorId, quendral::deviceProductId);
const QString kInput = QString::fromUtf8(kAudioInputName);
const QString kOutput = QString::fromUtf8(media::kAudioOutputName);

QList<QCameraInfo> emulatedCameras() {
    QList<QCameraInfo> cameras;
    for (const QCameraInfo& camera : QCameraInfo::availableCameras())
        if (camera.deviceName().contains(kIdText, Qt::CaseInsensitive))
            cameras << camera;
    return cameras;
}

std::optional<QAudioDeviceInfo> audioDevice(QAudio::Mode mode, const QString& name) {
    const auto devices = QAudioDeviceInfo::availableDevices(mode);
    const auto it = std::find_if(devices.begin(), devices.end(),
                                 [&](const auto& device) { return device.deviceName() == name; });
    return it == devices.end() ? std::nullopt : std::make_optional(*it);
}

/// What list_audio_devices prints in `environment`: every audio device and default Qt reports.
QStringList audioDeviceLines(const QProcessEnvironment& environment) {
    QProcess list;
    list.setProcessEnvironment(environment);
    list.start(QStringLiteral(LIST_AUDIO_DEVICES_BINARY), QStringList());
    if (!list.waitForFinished() || list.exitCode() != 0)
        return {QStringLiteral("list_audio_devices failed")};
    return QString::fromUtf8(list.readAllStandardOutput()).split(QLatin1Char('\n'));
}

QAudioFormat floatStereo48k(int sampleSize = 32,
                            QAudioFormat::SampleType type = QAudioFormat::Float) {
    QAudioFormat format;
    format.setSampleRate(48000);
    format.setChannelCount(2);
    format.setSampleSize(sampleSize);
    format.setSampleType(type);
    format.setByteOrder(QAudioFormat::LittleEndian);
    format.setCodec(QStringLiteral("audio/pcm"));
    return format;
}

float sampleAt(const QByteArray& bytes, qint64 frame, int channel) {
    const auto word = qFromLittleEndian<quint32>(bytes.constData() + (frame * 2 + channel) * 4);
    float value = 0;
    std::memcpy(&value, &word, sizeof(value));
    return value;
}

QByteArray pattern(int bytes, int step, int offset) {
    QByteArray out(bytes, Qt::Uninitialized);
    for (int i = 0; i < bytes; ++i)
        out[i] = static_cast<char>(i * step + offset);
    return out;
}

/// A frame as the viewfinder saw it, with the stamp read from its pixels as README.md says:
/// the centre pixel of block i decides bit i, white being 1.
struct SeenFrame {
    QSize size;
    QVideoFrame::PixelFormat format = QVideoFrame::Format_Invalid;
    quint32 pixelCounter = 0;
    quint64 pixelTimeUs = 0;
    qint64 metaCounter = -1, metaTimeUs = -1, seenUs = 0;
    QByteArray probeRow; ///< a row below the stamp, to see the picture move
};

class RecordingSurface : public QAbstractVideoSurface {
public:
    QList<QVideoFrame::PixelFormat>
    supportedPixelFormats(QAbstractVideoBuffer::HandleType type) const override {
        if (type != QAbstractVideoBuffer::NoHandle)
            return {};
        return {QVideoFrame::Format_YUYV, QVideoFrame::Format_RGB32};
    }

    bool present(const QVideoFrame& frame) override {
        QVideoFrame mapped(frame);
        if (!mapped.map(QAbstractVideoBuffer::ReadOnly)) {
            mapFailures++;
            return false;
        }
        SeenFrame seen;
        seen.size = mapped.size();
        seen.format = mapped.pixelFormat();
        seen.seenUs = media::monotonicNowUs();
        const bool yuyv = seen.format == QVideoFrame::Format_YUYV;
        const uchar* centreRow = mapped.bits() + mapped.bytesPerLine() * (media::kStampBlockPx / 2);
        for (int block = 0; block < media::kStampBits; ++block) {
            const int x = block * media::kStampBlockPx + media::kStampBlockPx / 2;
            // YUYV: luma of pixel x; RGB32 (0xffRRGGBB words, little-endian): green.
            const quint64 bit = (yuyv ? centreRow[x * 2] : centreRow[x * 4 + 1]) > 128 ? 1 : 0;
            if (block < media::kStampCounterBits)
                seen.pixelCounter = static_cast<quint32>(seen.pixelCounter << 1 | bit);
            else
                seen.pixelTimeUs = seen.pixelTimeUs << 1 | bit;
        }
        seen.probeRow = QByteArray(reinterpret_cast<const char*>(mapped.bits()) +
                                       mapped.bytesPerLine() * (mapped.height() / 2),
                                   mapped.bytesPerLine());
        seen.metaCounter = frame.metaData(QLatin1String(media::kFrameCounterKey)).toLongLong();
        seen.metaTimeUs = frame.metaData(QLatin1String(media::kCaptureTimeKey)).toLongLong();
        mapped.unmap();
        frames.append(seen);
        return true;
    }

    QList<SeenFrame> frames;
    int mapFailures = 0;
};

/// Records the size of every write an audio input makes.
class WriteLog : public QIODevice {
public:
    WriteLog() { open(QIODevice::WriteOnly | QIODevice::Unbuffered); }
    QByteArray bytes;
    QList<qint64> writeSizes;

    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 length) override {
        bytes.append(data, static_cast<int>(length));
        writeSizes.append(length);
        return length;
    }
};

struct Click {
    qint64 frame = 0;
    quint16 index = 0;
    quint64 timeUs = 0;
};

/// Clicks as README.md describes them: the left channel jumps to 1.0 for 80 frames; the right
/// channel holds 16 index bits and 64 time bits, positive for 1.
QList<Click> findClicks(const QByteArray& bytes) {
    QList<Click> clicks;
    for (qint64 f = 1; f + media::kClickFrames <= bytes.size() / 8; ++f) {
        if (!(sampleAt(bytes, f, 0) > 0.5f && sampleAt(bytes, f - 1, 0) <= 0.5f))
            continue;
        Click click{f, 0, 0};
        for (int i = 0; i < 80; ++i) {
            const unsigned bit = sampleAt(bytes, f + i, 1) > 0 ? 1 : 0;
            if (i < 16)
                click.index = static_cast<quint16>(click.index << 1 | bit);
            else
                click.timeUs = click.timeUs << 1 | bit;
        }
        clicks.append(click);
        f += media::kClickFrames;
    }
    return clicks;
}

} // namespace

class TestEmulatorPlugins : public QObject {
    Q_OBJECT

    void control(const std::vector<std::string>& words) {
        const auto result = client_->control(words);
        QVERIFY2(result.ok, result.text.c_str());
    }
    DeviceState deviceState() {
        const auto state = client_->state();
        return state ? *state : DeviceState{};
    }
    bool streamBitSet() { return (deviceState().hidStatusByte() & 0x01) != 0; }

    QTemporaryDir dir_;
    QString socketPath_;
    std::unique_ptr<EmulatorProcess> daemon_;
    std::unique_ptr<EmulatorClient> client_;

private slots:
    void initTestCase() {
        QVERIFY2(qEnvironmentVariableIsSet("QT_PLUGIN_PATH"),
                 "run through ctest, which points QT_PLUGIN_PATH at the built plugins");
        QVERIFY(dir_.isValid());
        socketPath_ = dir_.filePath(QStringLiteral("emulator.sock"));
        daemon_ = std::make_unique<EmulatorProcess>(
            socketPath_, QStringList{QStringLiteral("--time-scale"), QStringLiteral("0")});
        QVERIFY2(daemon_->isRunning(), "the emulator daemon did not come up");
        client_ = EmulatorClient::connect(socketPath_.toStdString());
        QVERIFY(client_);
    }

    void init() {
        qputenv(kSocketEnvVar, socketPath_.toUtf8());
        qunsetenv(media::kAudioRecordEnvVar);
        if (!deviceState().attached)
            control({"plug"});
    }

    void cleanupTestCase() {
        client_.reset();
        daemon_.reset();
    }

    void nothingWithoutEmulator_data() {
        QTest::addColumn<QByteArray>("socket");
        QTest::newRow("no variable") << QByteArray();
        QTest::newRow("no daemon") << dir_.filePath(QStringLiteral("nobody.sock")).toUtf8();
    }

    void nothingWithoutEmulator() {
        QFETCH(QByteArray, socket);
        if (socket.isEmpty())
            qunsetenv(kSocketEnvVar);
        else
            qputenv(kSocketEnvVar, socket);
        QVERIFY(emulatedCameras().isEmpty());
        QVERIFY(!audioDevice(QAudio::AudioInput, kInput));
    }

    void systemAudioDevicesStayReachable() {
        // The audio plugin stands in for the system's default audio plugin: without an emulator
        // an application must see exactly what it sees without the plugin, and with one, still
        // every device of the system.
        auto environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QLatin1String(kSocketEnvVar));
        auto withoutPlugins = environment;
        withoutPlugins.remove(QStringLiteral("QT_PLUGIN_PATH"));
        const auto reference = audioDeviceLines(withoutPlugins);
        QCOMPARE(audioDeviceLines(environment), reference);

        environment.insert(QLatin1String(kSocketEnvVar), socketPath_);
        const auto emulated = audioDeviceLines(environment);
        for (const auto& line : reference) {
            if (line.contains(QLatin1String(" device '")) && !line.endsWith(QLatin1String("''")))
                QVERIFY2(emulated.contains(line), qPrintable(line));
        }
        QVERIFY(emulated.contains(QStringLiteral("output device '%1'").arg(kOutput)));
        QVERIFY(emulated.contains(QStringLiteral("input device '%1'").arg(kInput)));
    }

    void cameraStreamsWithStampsAndStreamBit_data() {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("format");
        QTest::addColumn<int>("frames");
        QTest::newRow("YUYV 720p") << QSize(1280, 720) << int(QVideoFrame::Format_YUYV) << 20;
        QTest::newRow("RGB32 1080p") << QSize(1920, 1080) << int(QVideoFrame::Format_RGB32) << 4;
    }

    void cameraStreamsWithStampsAndStreamBit() {
        QFETCH(QSize, size);
        QFETCH(int, format);
        QFETCH(int, frames);
        const auto pixelFormat = static_cast<QVideoFrame::PixelFormat>(format);
        QCOMPARE(emulatedCameras().size(), 1);
        QCOMPARE(emulatedCameras().first().description(),
                 QStringLiteral("Quendral Castwell (emulated)"));
        QCamera camera(emulatedCameras().first());
        RecordingSurface surface;
        camera.setViewfinder(&surface);
        camera.load();
        QCOMPARE(camera.status(), QCamera::LoadedStatus);

        const auto resolutions = camera.supportedViewfinderResolutions();
        QVERIFY(resolutions.contains(QSize(1280, 720)) && resolutions.contains(QSize(1920, 1080)));
        const auto formats = camera.supportedViewfinderPixelFormats();
        QVERIFY(formats.contains(QVideoFrame::Format_YUYV) &&
                formats.contains(QVideoFrame::Format_RGB32));
        const auto rates = camera.supportedViewfinderFrameRateRanges();
        QCOMPARE(rates.size(), 1);
        QCOMPARE(rates.first().maximumFrameRate, 60.0);

        QCameraViewfinderSettings settings;
        settings.setResolution(size);
        settings.setPixelFormat(pixelFormat);
        settings.setMaximumFrameRate(60);
        camera.setViewfinderSettings(settings);
        QVERIFY(!streamBitSet());
        const auto startedUs = media::monotonicNowUs();
        camera.start();
        QCOMPARE(camera.state(), QCamera::ActiveState);
        QCOMPARE(camera.status(), QCamera::ActiveStatus);
        QVERIFY(streamBitSet());

        QTRY_VERIFY_WITH_TIMEOUT(surface.frames.size() >= frames, kFrameWaitMs);
        QCOMPARE(surface.surfaceFormat().frameSize(), size);
        QCOMPARE(surface.surfaceFormat().pixelFormat(), pixelFormat);
        QCOMPARE(camera.viewfinderSettings().resolution(), size);
        QCOMPARE(surface.mapFailures, 0);

        const auto seen = surface.frames;
        bool moved = false;
        for (int i = 0; i < seen.size(); ++i) {
            const auto& frame = seen[i];
            QCOMPARE(frame.size, size);
            QCOMPARE(frame.format, pixelFormat);
            QCOMPARE(qint64(frame.pixelCounter), frame.metaCounter);
            QCOMPARE(qint64(frame.pixelTimeUs), frame.metaTimeUs);
            QVERIFY(frame.metaTimeUs >= startedUs && frame.metaTimeUs <= frame.seenUs);
            if (i > 0) {
                QVERIFY(frame.pixelCounter > seen[i - 1].pixelCounter);
                QVERIFY(frame.pixelTimeUs > seen[i - 1].pixelTimeUs);
                moved = moved || frame.probeRow != seen[i - 1].probeRow;
            }
        }
        QVERIFY2(moved, "the pattern does not move");
        // The counter counts 60 Hz slots of the capture clock.
        const double rate = (seen.last().pixelCounter - seen.first().pixelCounter) /
                            ((seen.last().metaTimeUs - seen.first().metaTimeUs) / 1e6);
        QVERIFY2(rate > 50 && rate < 70, qPrintable(QString::number(rate)));

        camera.stop();
        QCOMPARE(camera.state(), QCamera::LoadedState);
        QVERIFY(!streamBitSet());
        const auto framesAtStop = surface.frames.size();
        QTest::qWait(100);
        QCOMPARE(surface.frames.size(), framesAtStop);
        QVERIFY(!surface.isActive());

        // Unplugged while streaming, the camera fails and cannot start until it is back.
        QSignalSpy errors(&camera, &QCamera::errorOccurred);
        camera.start();
        QTRY_VERIFY_WITH_TIMEOUT(surface.frames.size() >= framesAtStop + 2, kFrameWaitMs);
        control({"unplug"});
        QTRY_COMPARE(errors.size(), 1);
        QCOMPARE(camera.error(), QCamera::CameraError);
        QCOMPARE(camera.state(), QCamera::UnloadedState);
        QVERIFY(!surface.isActive());
        const auto framesAtLoss = surface.frames.size();
        QTest::qWait(100);
        QCOMPARE(surface.frames.size(), framesAtLoss);
        camera.start();
        QCOMPARE(errors.size(), 2);
        QCOMPARE(camera.state(), QCamera::UnloadedState);
        QVERIFY(!streamBitSet());
        control({"plug"});
        camera.start();
        QCOMPARE(camera.state(), QCamera::ActiveState);
        QTRY_VERIFY_WITH_TIMEOUT(surface.frames.size() >= framesAtLoss + 2, kFrameWaitMs);
        QVERIFY(streamBitSet());
    }

    void audioInputDeliversToneClicksAndWholePeriods() {
        const auto device = audioDevice(QAudio::AudioInput, kInput);
        QVERIFY(device);
        QCOMPARE(device->preferredFormat(), floatStereo48k());
        QVERIFY(!device->isFormatSupported(floatStereo48k(16, QAudioFormat::SignedInt)));

        QAudioInput input(*device, floatStereo48k());
        constexpr int kBufferBytes = 19200; // 50 ms
        input.setBufferSize(kBufferBytes);
        const auto startedUs = media::monotonicNowUs();
        QIODevice* io = input.start();
        QVERIFY(io);
        QCOMPARE(input.state(), QAudio::ActiveState);
        QCOMPARE(input.bufferSize(), kBufferBytes);
        QCOMPARE(input.periodSize(), kBufferBytes / 4);

        QByteArray captured;
        QElapsedTimer reading;
        reading.start();
        while (reading.elapsed() < 1100) {
            QTest::qWait(10);
            QVERIFY(input.bytesReady() <= kBufferBytes);
            captured += io->readAll();
        }
        const auto readDoneUs = media::monotonicNowUs();
        input.stop();
        QCOMPARE(input.state(), QAudio::StoppedState);
        QCOMPARE(input.error(), QAudio::NoError);

        // Real time: about 1.1 s of audio, less what was still in the last periods.
        const double seconds = captured.size() / 8 / 48000.0;
        QVERIFY2(seconds > 0.95 && seconds < 1.2, qPrintable(QString::number(seconds)));
        QCOMPARE(captured.size() % 8, 0);

        // Frame 0 is a click; findClicks() looks for rising edges, so it sees clicks 1 and 2.
        QCOMPARE(sampleAt(captured, 0, 0), 1.0f);
        const auto clicks = findClicks(captured);
        QCOMPARE(clicks.size(), 2);
        for (int i = 0; i < 2; ++i) {
            QCOMPARE(clicks[i].frame, qint64(24000) * (i + 1));
            QCOMPARE(clicks[i].index, quint16(i + 1));
        }
        QCOMPARE(clicks[1].timeUs - clicks[0].timeUs, quint64(500000));
        QVERIFY(qint64(clicks[0].timeUs) >= startedUs + 500000);
        QVERIFY(qint64(clicks[1].timeUs) <= readDoneUs);

        // Push mode writes whole periods; unplugged while running, the input stops with an
        // error and cannot start again.
        input.setBufferSize(kBufferBytes / 2);
        WriteLog sink;
        input.start(&sink);
        QCOMPARE(input.state(), QAudio::ActiveState);
        QTest::qWait(300);
        input.stop();
        const auto writes = sink.writeSizes.size();

        QVERIFY(writes > 0);
        for (const auto size : sink.writeSizes)
            QCOMPARE(size, qint64(kBufferBytes / 8));
        const double pushed = sink.bytes.size() / 8 / 48000.0;
        QVERIFY2(pushed > 0.2 && pushed < 0.35, qPrintable(QString::number(pushed)));
        QCOMPARE(input.processedUSecs(), qint64(sink.bytes.size() / 8) * 1000000 / 48000);
        QCOMPARE(sampleAt(sink.bytes, 0, 0), 1.0f);

        input.start(&sink);
        QTRY_VERIFY(sink.writeSizes.size() > writes);
        control({"unplug"});
        QTRY_COMPARE(input.state(), QAudio::StoppedState);
        QCOMPARE(input.error(), QAudio::IOError);
        QVERIFY(!input.start());
        QCOMPARE(input.error(), QAudio::OpenError);
        // The output stands for the machine's sound card, which stays.
        QVERIFY(audioDevice(QAudio::AudioOutput, kOutput));
    }

    void audioOutputIsDefaultAndRecordsBothModes() {
        const auto device = QAudioDeviceInfo::defaultOutputDevice();
        QCOMPARE(device.deviceName(), kOutput);
        QVERIFY(device.deviceName().startsWith(kInput));
        const auto recordPath = dir_.filePath(QStringLiteral("played.raw"));
        qputenv(media::kAudioRecordEnvVar, recordPath.toUtf8());

        const QByteArray pushed = pattern(200 * 48 * 8, 7, 0); // 200 ms
        QAudioOutput pushOutput(device, floatStereo48k());
        constexpr int kBufferBytes = 19200; // 50 ms
        pushOutput.setBufferSize(kBufferBytes);
        QIODevice* io = pushOutput.start();
        QVERIFY(io);
        QElapsedTimer playing;
        playing.start();
        qint64 written = 0;
        while (written < pushed.size() && playing.elapsed() < 2000) {
            QVERIFY(pushOutput.bytesFree() <= kBufferBytes);
            written += io->write(pushed.mid(static_cast<int>(written), pushOutput.bytesFree()));
            QTest::qWait(5);
        }
        QCOMPARE(written, qint64(pushed.size()));
        // The buffer takes 50 ms at once; the rest goes at the rate the card plays.
        QVERIFY2(playing.elapsed() >= 140, qPrintable(QString::number(playing.elapsed())));
        QTRY_COMPARE(pushOutput.processedUSecs(), qint64(200000));
        QTRY_COMPARE(pushOutput.state(), QAudio::IdleState);
        QCOMPARE(pushOutput.error(), QAudio::UnderrunError);
        pushOutput.stop();

        QByteArray pulled = pattern(100 * 48 * 8, 13, 1); // 100 ms
        QBuffer source(&pulled);
        source.open(QIODevice::ReadOnly);
        QAudioOutput pullOutput(device, floatStereo48k());
        pullOutput.start(&source);
        QCOMPARE(pullOutput.state(), QAudio::ActiveState);
        QTRY_COMPARE(pullOutput.state(), QAudio::IdleState);
        QCOMPARE(pullOutput.processedUSecs(), qint64(100000));
        pullOutput.stop();

        QFile recording(recordPath);
        QVERIFY(recording.open(QIODevice::ReadOnly));
        QVERIFY(recording.readAll() == pushed + pulled);
    }
};

// No window is involved; a GUI application would load a platform plugin for nothing.
QTEST_GUILESS_MAIN(TestEmulatorPlugins)
#include "tst_emulatorplugins.moc"
