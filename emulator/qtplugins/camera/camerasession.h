#pragma once

#include <QAbstractVideoSurface>
#include <QCameraViewfinderSettings>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <cstdint>
#include <memory>

namespace quendral::emulator {

class DeviceConnection;
class TestPattern;

/// The device end of one camera service: opens the emulated device, runs its stream and delivers
/// the frames to the viewfinder surface. The controls only translate Qt's calls into these.
class CameraSession : public QObject {
    Q_OBJECT

public:
    /// `deviceName`: the emulated camera as listed when the service was created; empty when
    /// none was attached then.
    explicit CameraSession(QString deviceName, QObject* parent = nullptr);
    ~CameraSession() override;

    const QString& deviceName() const { return deviceName_; }

    /// Every mode of the emulated camera, preferred first.
    static QList<QCameraViewfinderSettings> supportedSettings();
    /// The mode streaming now; before that, the one asked for.
    QCameraViewfinderSettings settings() const;
    /// Takes effect at the next start, as the viewfinder settings of a real camera do.
    void setSettings(const QCameraViewfinderSettings& settings) { requested_ = settings; }

    QAbstractVideoSurface* surface() const { return surface_; }
    /// A surface replaced while streaming is stopped, and the new one started in the same mode.
    void setSurface(QAbstractVideoSurface* surface);

    /// Opens the device; false with `error` set when it is not there.
    bool load(QString* error);
    void unload();
    /// Starts the stream of the loaded device.
    bool startStream(QString* error);
    void stopStream();

signals:
    /// The device went away; the session is unloaded already.
    void deviceLost(const QString& reason);
    /// A new surface refused the running stream; the stream is stopped, the device stays loaded.
    void streamFailed(const QString& reason);

private:
    QCameraViewfinderSettings resolvedSettings() const;
    bool startSurface(QString* error);
    void stopSurface();
    void deliverDueFrame();
    void onDeviceLost(const QString& reason);

    QString deviceName_;
    QCameraViewfinderSettings requested_;
    QCameraViewfinderSettings active_;
    QPointer<QAbstractVideoSurface> surface_;
    std::unique_ptr<DeviceConnection> connection_;
    std::unique_ptr<TestPattern> pattern_; ///< exists while the stream runs
    QTimer frameTimer_;
    std::int64_t streamStartUs_ = 0;
    std::int64_t lastSlot_ = -1;
};

} // namespace quendral::emulator
