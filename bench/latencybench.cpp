// How long the device's picture and sound take through Castwell, measured with the time stamps
// the emulated device puts into every frame and every click.
//
// Video: capture -> handed to the video surface, and capture -> drawn (after glFinish). The
// frame period of the camera is the baseline: the ratio says how many frames behind the picture
// on screen is. Audio: capture of a click -> played by the output, against the input buffer the
// pass-through asks for as the baseline.
//
// Usage: castwell_latency_bench [--seconds N]   (needs an X server with OpenGL)

#include "audiocontroller.h"
#include "cameracontroller.h"
#include "camerasurface.h"
#include "camerasurfacewidget.h"
#include "emulatedmedia.h"
#include "emulatorprocess.h"
#include "videoframe.h"

#include <QApplication>
#include <QCamera>
#include <QCameraInfo>
#include <QCameraViewfinderSettings>
#include <QFile>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

namespace media = quendral::emulator::media;

namespace {

constexpr double kFramePeriodMs = 1000.0 / media::kFrameRateFps;
// What the pass-through asks of the input: 200 ms of audio.
constexpr double kInputBufferMs = 200.0;
constexpr int kRecordPollIntervalMs = 1;

double median(std::vector<double> values) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Takes the capture stamp of every new frame it draws.
class MeasuringSurfaceWidget : public CameraSurfaceWidget {
public:
    std::vector<double> drawnMs;
    std::vector<double> presentedMs;

protected:
    void paintGL() override {
        CameraSurfaceWidget::paintGL();
        const QVideoFrame& frame = videoSurface()->renderer()->frame();
        const QVariant counter = frame.metaData(QString::fromLatin1(media::kFrameCounterKey));
        if (!counter.isValid() || counter.toLongLong() == lastCounter_)
            return;
        lastCounter_ = counter.toLongLong();
        context()->functions()->glFinish();
        const qint64 captured =
            frame.metaData(QString::fromLatin1(media::kCaptureTimeKey)).toLongLong();
        drawnMs.push_back((media::monotonicNowUs() - captured) / 1000.0);
    }

private:
    qint64 lastCounter_ = -1;
};

// Times when each click of the recorded output appears: the output appends what it plays.
class RecordWatcher : public QObject {
public:
    explicit RecordWatcher(const QString& path)
        : file_(path) {
        connect(&timer_, &QTimer::timeout, this, &RecordWatcher::poll);
        timer_.start(kRecordPollIntervalMs);
    }

    std::vector<double> latenciesMs;

private:
    void poll() {
        if (!file_.isOpen() && !file_.open(QIODevice::ReadOnly))
            return;
        pending_ += file_.readAll();
        const qint64 nowUs = media::monotonicNowUs();
        const int frames = pending_.size() / media::kFrameBytes;
        for (int i = 0; i < frames; ++i) {
            float left = 0;
            float right = 0;
            std::memcpy(&left, pending_.constData() + i * media::kFrameBytes, sizeof(float));
            std::memcpy(&right, pending_.constData() + i * media::kFrameBytes + 4, sizeof(float));
            if (clickFrame_ >= 0) {
                if (clickFrame_ >= media::kClickIndexBits)
                    clickTime_ = (clickTime_ << 1) | (right > 0 ? 1 : 0);
                if (++clickFrame_ == media::kClickFrames) {
                    latenciesMs.push_back((nowUs - clickTime_) / 1000.0);
                    clickFrame_ = -1;
                }
            } else if (left > 0.5f && previousLeft_ <= 0.5f) {
                clickFrame_ = 1;
                clickTime_ = 0;
            }
            previousLeft_ = left;
        }
        pending_.remove(0, frames * media::kFrameBytes);
    }

    QFile file_;
    QTimer timer_;
    QByteArray pending_;
    float previousLeft_ = 0;
    int clickFrame_ = -1;
    qint64 clickTime_ = 0;
};

} // namespace

int main(int argc, char** argv) {
    int seconds = 5;
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--seconds") == 0)
            seconds = std::max(1, std::atoi(argv[i + 1]));
    }

    QTemporaryDir dir;
    const QString socket = dir.filePath(QStringLiteral("emulator.sock"));
    const QString record = dir.filePath(QStringLiteral("played.raw"));
    qputenv("KESTAL_EMULATOR", socket.toLocal8Bit());
    qputenv("QT_PLUGIN_PATH", EMULATOR_PLUGIN_DIR);
    qputenv(media::kAudioRecordEnvVar, record.toLocal8Bit());
    EmulatorProcess emulator(socket, {QStringLiteral("--hdmi"), QStringLiteral("on")});
    if (!emulator.isRunning()) {
        std::fprintf(stderr, "could not start the emulated device\n");
        return 1;
    }

    qputenv("QT_LOGGING_RULES", "*.debug=false");
    QApplication app(argc, argv);

    QCameraInfo device;
    for (const QCameraInfo& info : QCameraInfo::availableCameras()) {
        if (info.deviceName().contains(CameraController::deviceNameMarker(), Qt::CaseInsensitive))
            device = info;
    }
    if (device.isNull()) {
        std::fprintf(stderr, "the emulated camera is not listed\n");
        return 1;
    }

    MeasuringSurfaceWidget widget;
    widget.resize(960, 540);
    widget.show();
    QCamera camera(device);
    QCameraViewfinderSettings settings;
    settings.setResolution(1920, 1080);
    settings.setPixelFormat(QVideoFrame::Format_YUYV);
    camera.setViewfinderSettings(settings);
    camera.setViewfinder(widget.videoSurface());
    camera.start();

    RecordWatcher watcher(record);
    AudioController audio;
    audio.setApplicationState(Sharing);

    QTimer::singleShot(seconds * 1000, &app, &QCoreApplication::quit);
    app.exec();
    camera.stop();
    audio.setApplicationState(NoDevice);

    const double drawn = median(widget.drawnMs);
    const double clicks = median(watcher.latenciesMs);
    std::printf("video: %zu frames drawn; capture -> drawn median %.2f ms = %.2f frame periods "
                "(baseline: %.2f ms per frame at %d fps)\n",
                widget.drawnMs.size(), drawn, drawn / kFramePeriodMs, kFramePeriodMs,
                media::kFrameRateFps);
    std::printf("audio: %zu clicks played; capture -> played median %.2f ms = %.2f of the input "
                "buffer (baseline: %.0f ms)\n",
                watcher.latenciesMs.size(), clicks, clicks / kInputBufferMs, kInputBufferMs);
    return widget.drawnMs.empty() || watcher.latenciesMs.empty() ? 1 : 0;
}
