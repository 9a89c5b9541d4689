#include "camerasession.h"

#include "deviceconnection.h"
#include "emulatedmedia.h"
#include "emulatorclient.h"
#include "testpattern.h"

#include <QVideoSurfaceFormat>

#include <algorithm>

namespace quendral::emulator {

namespace {

constexpr std::int64_t kMicrosPerSecond = 1000000;

// The modes of an HDMI source: 1080p and 720p, or only the one KESTAL_EMULATOR_SOURCE names
// ("1280x720"), as a source that sends nothing larger offers.
QList<QSize> sourceResolutions() {
    const QList<QSize> all{QSize(1920, 1080), QSize(1280, 720)};
    const QByteArray wanted = qgetenv("KESTAL_EMULATOR_SOURCE");
    for (const QSize& resolution : all) {
        if (wanted ==
            QByteArray::number(resolution.width()) + 'x' + QByteArray::number(resolution.height()))
            return {resolution};
    }
    return all;
}

} // namespace

CameraSession::CameraSession(QString deviceName, QObject* parent)
    : QObject(parent)
    , deviceName_(std::move(deviceName)) {
    frameTimer_.setSingleShot(true);
    frameTimer_.setTimerType(Qt::PreciseTimer);
    connect(&frameTimer_, &QTimer::timeout, this, &CameraSession::deliverDueFrame);
}

CameraSession::~CameraSession() {
    unload();
}

QList<QCameraViewfinderSettings> CameraSession::supportedSettings() {
    QList<QCameraViewfinderSettings> all;
    for (const QSize resolution : sourceResolutions()) {
        for (const auto format : TestPattern::pixelFormats()) {
            QCameraViewfinderSettings settings;
            settings.setResolution(resolution);
            settings.setPixelFormat(format);
            settings.setMinimumFrameRate(media::kFrameRateFps);
            settings.setMaximumFrameRate(media::kFrameRateFps);
            settings.setPixelAspectRatio(1, 1);
            all.append(settings);
        }
    }
    return all;
}

QCameraViewfinderSettings CameraSession::settings() const {
    return pattern_ ? active_ : requested_;
}

void CameraSession::setSurface(QAbstractVideoSurface* surface) {
    if (surface == surface_) {
        return;
    }
    if (!pattern_) {
        surface_ = surface;
        return;
    }
    stopSurface();
    surface_ = surface;
    QString error;
    if (!startSurface(&error)) {
        stopStream();
        emit streamFailed(error);
    }
}

bool CameraSession::load(QString* error) {
    if (connection_) {
        return true;
    }
    if (deviceName_.isEmpty()) {
        *error = QStringLiteral("no emulated camera was attached when this camera was created");
        return false;
    }
    auto connection = DeviceConnection::open(error);
    if (!connection) {
        return false;
    }
    if (QString::fromStdString(connection->openedState().cameraName) != deviceName_) {
        *error = QStringLiteral("the emulated device no longer offers camera %1").arg(deviceName_);
        return false;
    }
    connect(connection.get(), &DeviceConnection::lost, this, &CameraSession::onDeviceLost);
    connection_ = std::move(connection);
    return true;
}

void CameraSession::unload() {
    stopStream();
    connection_.reset();
}

bool CameraSession::startStream(QString* error) {
    if (pattern_) {
        return true;
    }
    if (!connection_) {
        *error = QStringLiteral("the emulated camera is not loaded");
        return false;
    }
    active_ = resolvedSettings();
    if (active_.isNull()) {
        *error = QStringLiteral("the viewfinder accepts neither YUYV nor RGB32 frames");
        return false;
    }
    if (!connection_->client().setStreaming(true)) {
        *error = QStringLiteral("the emulated device refused to start the stream");
        return false;
    }
    pattern_ = std::make_unique<TestPattern>(active_.resolution(), active_.pixelFormat());
    if (!startSurface(error)) {
        pattern_.reset();
        connection_->client().setStreaming(false);
        return false;
    }
    streamStartUs_ = media::monotonicNowUs();
    lastSlot_ = -1;
    deliverDueFrame();
    return true;
}

void CameraSession::stopStream() {
    if (!pattern_) {
        return;
    }
    frameTimer_.stop();
    stopSurface();
    pattern_.reset();
    if (connection_) {
        connection_->client().setStreaming(false);
    }
}

QCameraViewfinderSettings CameraSession::resolvedSettings() const {
    // Parts left open or unsupported fall back to what the camera prefers, as Qt documents for
    // viewfinder settings; a mode the surface cannot show is never chosen.
    QCameraViewfinderSettings best;
    int bestScore = -1;
    for (const auto& candidate : supportedSettings()) {
        if (surface_ && !surface_->supportedPixelFormats().contains(candidate.pixelFormat())) {
            continue;
        }
        const int score = (requested_.resolution() == candidate.resolution() ? 1 : 0) +
                          (requested_.pixelFormat() == candidate.pixelFormat() ? 1 : 0);
        if (score > bestScore) {
            best = candidate;
            bestScore = score;
        }
    }
    return best;
}

bool CameraSession::startSurface(QString* error) {
    if (!surface_) {
        return true;
    }
    if (surface_->isActive()) {
        surface_->stop();
    }
    QVideoSurfaceFormat format(active_.resolution(), active_.pixelFormat());
    format.setFrameRate(media::kFrameRateFps);
    format.setPixelAspectRatio(1, 1);
    if (!surface_->start(format)) {
        *error = QStringLiteral("the viewfinder refused %1x%2 frames in pixel format %3")
                     .arg(active_.resolution().width())
                     .arg(active_.resolution().height())
                     .arg(static_cast<int>(active_.pixelFormat()));
        return false;
    }
    return true;
}

void CameraSession::stopSurface() {
    if (surface_ && surface_->isActive()) {
        surface_->stop();
    }
}

void CameraSession::deliverDueFrame() {
    // Frames belong to fixed slots of the sensor's clock; a slot missed because the event loop
    // was late leaves a gap in the counters, as a camera drops frames nobody fetched.
    const auto now = media::monotonicNowUs();
    const auto slot = (now - streamStartUs_) * media::kFrameRateFps / kMicrosPerSecond;
    if (slot > lastSlot_) {
        lastSlot_ = slot;
        const auto frame = pattern_->frame(static_cast<std::uint32_t>(slot), now);
        if (frame.isValid() && surface_ && surface_->isActive()) {
            surface_->present(frame);
        }
    }
    // Whoever present() reached may have stopped the camera.
    if (!pattern_) {
        return;
    }
    const auto nextUs =
        streamStartUs_ +
        ((lastSlot_ + 1) * kMicrosPerSecond + media::kFrameRateFps - 1) / media::kFrameRateFps;
    const auto waitUs = std::max<std::int64_t>(0, nextUs - media::monotonicNowUs());
    frameTimer_.start(static_cast<int>((waitUs + 999) / 1000));
}

void CameraSession::onDeviceLost(const QString& reason) {
    unload();
    emit deviceLost(reason);
}

} // namespace quendral::emulator
