#include "emulatedaudioinput.h"

#include "audiodeviceinfo.h"
#include "deviceconnection.h"
#include "emulatedmedia.h"
#include "emulatorclient.h"

#include <QDebug>

#include <algorithm>

namespace quendral::emulator {

EmulatedAudioInput::EmulatedAudioInput(QByteArray device)
    : device_(std::move(device)) {
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &EmulatedAudioInput::produce);
}

EmulatedAudioInput::~EmulatedAudioInput() = default;

void EmulatedAudioInput::start(QIODevice* device) {
    stop();
    pushing_ = true;
    sink_ = device;
    if (device == nullptr || !open()) {
        halt(QAudio::OpenError);
        return;
    }
    begin();
}

QIODevice* EmulatedAudioInput::start() {
    stop();
    pushing_ = false;
    if (!open()) {
        halt(QAudio::OpenError);
        return nullptr;
    }
    fifo_.reopen(QIODevice::ReadOnly, StreamSizes(requestedBufferBytes_).bufferBytes());
    begin();
    return &fifo_;
}

void EmulatedAudioInput::stop() {
    if (state_ == QAudio::StoppedState) {
        return;
    }
    timer_.stop();
    connection_.reset();
    sink_ = nullptr;
    fifo_.close();
    setError(QAudio::NoError);
    setState(QAudio::StoppedState);
}

void EmulatedAudioInput::reset() {
    fifo_.clear();
}

void EmulatedAudioInput::suspend() {
    if (state_ != QAudio::ActiveState) {
        return;
    }
    timer_.stop();
    suspendedAtUs_ = media::monotonicNowUs();
    setState(QAudio::SuspendedState);
}

void EmulatedAudioInput::resume() {
    if (state_ != QAudio::SuspendedState) {
        return;
    }
    // Nothing was captured while suspended: the timeline, and so the stamps, resume where they
    // stopped rather than jumping by the pause.
    tone_.setOrigin(tone_.originUs() + media::monotonicNowUs() - suspendedAtUs_);
    timer_.start(sizes_.periodIntervalMs());
    setState(QAudio::ActiveState);
}

int EmulatedAudioInput::bytesReady() const {
    // In push mode every period goes straight to the application's device.
    return !pushing_ && state_ != QAudio::StoppedState ? static_cast<int>(fifo_.size()) : 0;
}

int EmulatedAudioInput::periodSize() const {
    return state_ == QAudio::StoppedState ? StreamSizes(requestedBufferBytes_).periodBytes()
                                          : sizes_.periodBytes();
}

void EmulatedAudioInput::setBufferSize(int value) {
    requestedBufferBytes_ = value;
}

int EmulatedAudioInput::bufferSize() const {
    return state_ == QAudio::StoppedState ? StreamSizes(requestedBufferBytes_).bufferBytes()
                                          : sizes_.bufferBytes();
}

void EmulatedAudioInput::setNotifyInterval(int milliSeconds) {
    notifyIntervalMs_ = std::max(0, milliSeconds);
}

qint64 EmulatedAudioInput::processedUSecs() const {
    return StreamSizes::durationUs(deliveredBytes_);
}

qint64 EmulatedAudioInput::elapsedUSecs() const {
    return state_ == QAudio::StoppedState ? 0 : media::monotonicNowUs() - startedUs_;
}

void EmulatedAudioInput::setVolume(qreal volume) {
    volume_ = std::clamp(volume, 0.0, 1.0);
}

bool EmulatedAudioInput::open() {
    if (device_ != kAudioInputName) {
        qWarning("kestal emulated audio: %s is not a capture device", device_.constData());
        return false;
    }
    if (format_ != AudioDeviceInfo::deviceFormat()) {
        qWarning("kestal emulated audio: the capture device only delivers 48 kHz stereo float");
        return false;
    }
    QString reason;
    connection_ = DeviceConnection::open(&reason);
    if (!connection_) {
        qWarning("kestal emulated audio: %s", qPrintable(reason));
        return false;
    }
    connect(connection_.get(), &DeviceConnection::lost, this, [this](const QString& why) {
        qWarning("kestal emulated audio: %s", qPrintable(why));
        halt(QAudio::IOError);
    });
    return true;
}

void EmulatedAudioInput::begin() {
    sizes_ = StreamSizes(requestedBufferBytes_);
    startedUs_ = media::monotonicNowUs();
    tone_.setOrigin(startedUs_);
    producedFrames_ = 0;
    deliveredBytes_ = 0;
    notifiedBytes_ = 0;
    timer_.start(sizes_.periodIntervalMs());
    setError(QAudio::NoError);
    setState(QAudio::ActiveState);
}

void EmulatedAudioInput::produce() {
    const int periodFrames = sizes_.periodFrames();
    const auto dueFrames = StreamSizes::framesIn(media::monotonicNowUs() - tone_.originUs());
    auto periods = (dueFrames - producedFrames_) / periodFrames;
    if (periods > StreamSizes::kPeriodsPerBuffer) {
        // The event loop stalled for longer than the device buffers: what did not fit is lost.
        producedFrames_ += (periods - StreamSizes::kPeriodsPerBuffer) * periodFrames;
        periods = StreamSizes::kPeriodsPerBuffer;
    }
    QByteArray chunk(sizes_.periodBytes(), Qt::Uninitialized);
    for (qint64 i = 0; i < periods; ++i) {
        tone_.render(producedFrames_, periodFrames, static_cast<float>(volume_), chunk.data());
        producedFrames_ += periodFrames;
        if (pushing_) {
            const auto written = sink_ ? sink_->write(chunk) : -1;
            if (written < 0) {
                halt(QAudio::IOError);
                return;
            }
            deliveredBytes_ += written;
        } else {
            deliveredBytes_ += fifo_.append(chunk.constData(), chunk.size());
        }
        // The application, reached through write() or readyRead(), may have stopped us.
        if (state_ != QAudio::ActiveState) {
            return;
        }
    }
    if (notifyIntervalMs_ > 0 &&
        StreamSizes::durationUs(deliveredBytes_ - notifiedBytes_) >= notifyIntervalMs_ * 1000LL) {
        notifiedBytes_ = deliveredBytes_;
        emit notify();
    }
}

void EmulatedAudioInput::halt(QAudio::Error error) {
    timer_.stop();
    connection_.reset();
    sink_ = nullptr;
    fifo_.close();
    setError(error);
    setState(QAudio::StoppedState);
}

void EmulatedAudioInput::setState(QAudio::State state) {
    if (state != state_) {
        state_ = state;
        emit stateChanged(state_);
    }
}

void EmulatedAudioInput::setError(QAudio::Error error) {
    if (error != error_) {
        error_ = error;
        emit errorChanged(error_);
    }
}

} // namespace quendral::emulator
