#pragma once

#include "audiofifo.h"
#include "streamsizes.h"
#include "tonegenerator.h"

#include <QAbstractAudioInput>
#include <QAudioFormat>
#include <QPointer>
#include <QTimer>

#include <memory>

namespace quendral::emulator {

class DeviceConnection;

/// The emulated device's audio capture interface. It produces the tone of ToneGenerator in real
/// time, one period per tick, into the application's QIODevice (push mode, start(QIODevice*))
/// or into a bounded fifo the application reads (pull mode, start()). It stops with IOError when
/// the device leaves, as a USB sound card does.
class EmulatedAudioInput : public QAbstractAudioInput {
    Q_OBJECT

public:
    explicit EmulatedAudioInput(QByteArray device);
    ~EmulatedAudioInput() override;

    void start(QIODevice* device) override;
    QIODevice* start() override;
    void stop() override;
    void reset() override;
    void suspend() override;
    void resume() override;
    int bytesReady() const override;
    int periodSize() const override;
    void setBufferSize(int value) override;
    int bufferSize() const override;
    void setNotifyInterval(int milliSeconds) override;
    int notifyInterval() const override { return notifyIntervalMs_; }
    qint64 processedUSecs() const override;
    qint64 elapsedUSecs() const override;
    QAudio::Error error() const override { return error_; }
    QAudio::State state() const override { return state_; }
    void setFormat(const QAudioFormat& format) override { format_ = format; }
    QAudioFormat format() const override { return format_; }
    void setVolume(qreal volume) override;
    qreal volume() const override { return volume_; }

private:
    bool open();
    void begin();
    void produce();
    void halt(QAudio::Error error);
    void setState(QAudio::State state);
    void setError(QAudio::Error error);

    QByteArray device_;
    QAudioFormat format_;
    int requestedBufferBytes_ = 0;
    StreamSizes sizes_{0};
    int notifyIntervalMs_ = 1000;
    qreal volume_ = 1.0;
    QAudio::State state_ = QAudio::StoppedState;
    QAudio::Error error_ = QAudio::NoError;
    std::unique_ptr<DeviceConnection> connection_;
    AudioFifo fifo_;
    QPointer<QIODevice> sink_;
    bool pushing_ = false;
    QTimer timer_;
    ToneGenerator tone_;
    qint64 producedFrames_ = 0; ///< frames of the timeline produced or skipped
    qint64 deliveredBytes_ = 0;
    qint64 notifiedBytes_ = 0;
    qint64 startedUs_ = 0;
    qint64 suspendedAtUs_ = 0;
};

} // namespace quendral::emulator
