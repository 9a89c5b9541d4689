#include "emulatedaudiooutput.h"

#include "audiodeviceinfo.h"
#include "emulatedmedia.h"

#include <QDebug>

#include <algorithm>

namespace quendral::emulator {

EmulatedAudioOutput::EmulatedAudioOutput(QByteArray device)
    : device_(std::move(device)) {
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &EmulatedAudioOutput::consume);
}

EmulatedAudioOutput::~EmulatedAudioOutput() = default;

void EmulatedAudioOutput::start(QIODevice* device) {
    stop();
    pulling_ = true;
    source_ = device;
    if (device == nullptr || !open()) {
        halt(QAudio::OpenError);
        return;
    }
    begin(QAudio::ActiveState);
}

QIODevice* EmulatedAudioOutput::start() {
    stop();
    pulling_ = false;
    if (!open()) {
        halt(QAudio::OpenError);
        return nullptr;
    }
    fifo_.reopen(QIODevice::WriteOnly, StreamSizes(requestedBufferBytes_).bufferBytes());
    // Nothing to play until the application writes.
    begin(QAudio::IdleState);
    return &fifo_;
}

void EmulatedAudioOutput::stop() {
    if (state_ == QAudio::StoppedState) {
        return;
    }
    timer_.stop();
    recording_.close();
    source_ = nullptr;
    fifo_.close();
    setError(QAudio::NoError);
    setState(QAudio::StoppedState);
}

void EmulatedAudioOutput::reset() {
    fifo_.clear();
}

void EmulatedAudioOutput::suspend() {
    if (state_ != QAudio::ActiveState && state_ != QAudio::IdleState) {
        return;
    }
    timer_.stop();
    suspendedAtUs_ = media::monotonicNowUs();
    setState(QAudio::SuspendedState);
}

void EmulatedAudioOutput::resume() {
    if (state_ != QAudio::SuspendedState) {
        return;
    }
    clockOriginUs_ += media::monotonicNowUs() - suspendedAtUs_;
    timer_.start(sizes_.periodIntervalMs());
    setState(QAudio::ActiveState);
}

int EmulatedAudioOutput::bytesFree() const {
    return !pulling_ && state_ != QAudio::StoppedState ? static_cast<int>(fifo_.freeBytes()) : 0;
}

int EmulatedAudioOutput::periodSize() const {
    return state_ == QAudio::StoppedState ? StreamSizes(requestedBufferBytes_).periodBytes()
                                          : sizes_.periodBytes();
}

void EmulatedAudioOutput::setBufferSize(int value) {
    requestedBufferBytes_ = value;
}

int EmulatedAudioOutput::bufferSize() const {
    return state_ == QAudio::StoppedState ? StreamSizes(requestedBufferBytes_).bufferBytes()
                                          : sizes_.bufferBytes();
}

void EmulatedAudioOutput::setNotifyInterval(int milliSeconds) {
    notifyIntervalMs_ = std::max(0, milliSeconds);
}

qint64 EmulatedAudioOutput::processedUSecs() const {
    return StreamSizes::durationUs(playedBytes_);
}

qint64 EmulatedAudioOutput::elapsedUSecs() const {
    return state_ == QAudio::StoppedState ? 0 : media::monotonicNowUs() - startedUs_;
}

bool EmulatedAudioOutput::open() {
    if (device_ != media::kAudioOutputName) {
        qWarning("kestal emulated audio: %s is not an output device", device_.constData());
        return false;
    }
    if (format_ != AudioDeviceInfo::deviceFormat()) {
        qWarning("kestal emulated audio: the output only plays 48 kHz stereo float");
        return false;
    }
    const auto path = qEnvironmentVariable(media::kAudioRecordEnvVar);
    if (!path.isEmpty()) {
        recording_.setFileName(path);
        if (!recording_.open(QIODevice::WriteOnly | QIODevice::Append)) {
            qWarning("kestal emulated audio: cannot record to %s: %s", qPrintable(path),
                     qPrintable(recording_.errorString()));
            return false;
        }
    }
    return true;
}

void EmulatedAudioOutput::begin(QAudio::State initialState) {
    sizes_ = StreamSizes(requestedBufferBytes_);
    startedUs_ = media::monotonicNowUs();
    clockOriginUs_ = startedUs_;
    clockFrames_ = 0;
    creditBytes_ = 0;
    playedBytes_ = 0;
    notifiedBytes_ = 0;
    timer_.start(sizes_.periodIntervalMs());
    setError(QAudio::NoError);
    setState(initialState);
}

void EmulatedAudioOutput::consume() {
    // The card plays at the real rate and cannot catch up on more than its buffer after a gap.
    const auto frames = StreamSizes::framesIn(media::monotonicNowUs() - clockOriginUs_);
    creditBytes_ = std::min<qint64>(creditBytes_ + (frames - clockFrames_) * media::kFrameBytes,
                                    sizes_.bufferBytes());
    clockFrames_ = frames;
    if (creditBytes_ < media::kFrameBytes) {
        return;
    }
    if (pulling_ && !source_) {
        halt(QAudio::IOError);
        return;
    }
    const QByteArray played = pulling_ ? source_->read(creditBytes_) : fifo_.take(creditBytes_);
    if (played.isEmpty()) {
        if (state_ == QAudio::ActiveState) {
            setError(QAudio::UnderrunError);
            setState(QAudio::IdleState);
        }
        return;
    }
    if (recording_.isOpen() && recording_.write(played) != played.size()) {
        qWarning("kestal emulated audio: recording failed: %s",
                 qPrintable(recording_.errorString()));
        halt(QAudio::IOError);
        return;
    }
    creditBytes_ -= played.size();
    playedBytes_ += played.size();
    if (state_ == QAudio::IdleState) {
        setError(QAudio::NoError);
        setState(QAudio::ActiveState);
    }
    if (notifyIntervalMs_ > 0 &&
        StreamSizes::durationUs(playedBytes_ - notifiedBytes_) >= notifyIntervalMs_ * 1000LL) {
        notifiedBytes_ = playedBytes_;
        emit notify();
    }
}

void EmulatedAudioOutput::halt(QAudio::Error error) {
    timer_.stop();
    recording_.close();
    source_ = nullptr;
    fifo_.close();
    setError(error);
    setState(QAudio::StoppedState);
}

void EmulatedAudioOutput::setState(QAudio::State state) {
    if (state != state_) {
        state_ = state;
        emit stateChanged(state_);
    }
}

void EmulatedAudioOutput::setError(QAudio::Error error) {
    if (error != error_) {
        error_ = error;
        emit errorChanged(error_);
    }
}

} // namespace quendral::emulator
