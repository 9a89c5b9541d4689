#pragma once

#include "audiofifo.h"
#include "streamsizes.h"

#include <QAbstractAudioOutput>
#include <QAudioFormat>
#include <QFile>
#include <QPointer>
#include <QTimer>

namespace quendral::emulator {

/// A sound card output for machines without one: it plays at the real rate, one period per
/// tick, from the application's QIODevice (pull mode, start(QIODevice*)) or from a bounded fifo
/// the application writes (push mode, start()), and appends every byte it plays to the file
/// named by KESTAL_EMULATOR_AUDIO_RECORD, so that what reached the speaker can be checked.
class EmulatedAudioOutput : public QAbstractAudioOutput {
    Q_OBJECT

public:
    explicit EmulatedAudioOutput(QByteArray device);
    ~EmulatedAudioOutput() override;

    void start(QIODevice* device) override;
    QIODevice* start() override;
    void stop() override;
    void reset() override;
    void suspend() override;
    void resume() override;
    int bytesFree() const override;
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

private:
    bool open();
    void begin(QAudio::State initialState);
    void consume();
    void halt(QAudio::Error error);
    void setState(QAudio::State state);
    void setError(QAudio::Error error);

    QByteArray device_;
    QAudioFormat format_;
    int requestedBufferBytes_ = 0;
    StreamSizes sizes_{0};
    int notifyIntervalMs_ = 1000;
    QAudio::State state_ = QAudio::StoppedState;
    QAudio::Error error_ = QAudio::NoError;
    AudioFifo fifo_;
    QPointer<QIODevice> source_;
    bool pulling_ = false;
    QTimer timer_;
    QFile recording_;
    qint64 clockOriginUs_ = 0; ///< the playback clock, shifted by pauses
    qint64 clockFrames_ = 0;   ///< frames the playback clock has advanced since start
    qint64 creditBytes_ = 0;   ///< what the card may play now, at most one buffer
    qint64 playedBytes_ = 0;
    qint64 notifiedBytes_ = 0;
    qint64 startedUs_ = 0;
    qint64 suspendedAtUs_ = 0;
};

} // namespace quendral::emulator
