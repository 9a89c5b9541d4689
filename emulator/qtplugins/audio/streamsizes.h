#pragma once

#include <QtGlobal>

namespace quendral::emulator {

/// Buffer and period of an emulated audio stream, in bytes of the devices' one format. A stream
/// moves audio one period at a time; its buffer holds kPeriodsPerBuffer periods.
class StreamSizes {
public:
    static constexpr int kPeriodsPerBuffer = 4;

    /// `requestedBufferBytes` as given to setBufferSize(); 0 or less: the default buffer.
    explicit StreamSizes(int requestedBufferBytes);

    int bufferBytes() const { return bufferBytes_; }
    int periodBytes() const { return bufferBytes_ / kPeriodsPerBuffer; }
    int periodFrames() const;
    /// Timer interval that keeps up with one period per tick.
    int periodIntervalMs() const;

    /// Play time of `bytes`, in microseconds.
    static qint64 durationUs(qint64 bytes);
    /// Whole frames played in `us` microseconds.
    static qint64 framesIn(qint64 us);

private:
    int bufferBytes_ = 0;
};

} // namespace quendral::emulator
