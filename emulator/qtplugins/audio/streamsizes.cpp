#include "streamsizes.h"

#include "emulatedmedia.h"

#include <algorithm>

namespace quendral::emulator {

namespace {

using media::kFrameBytes;
using media::kSampleRateHz;

constexpr qint64 kMicrosPerSecond = 1000000;
constexpr int kDefaultBufferMs = 100;
constexpr int kMaxBufferMs = 2000;
constexpr int kMinPeriodFrames = kSampleRateHz / 1000;
/// Buffers are whole periods of whole frames.
constexpr int kBufferGranuleBytes = StreamSizes::kPeriodsPerBuffer * kFrameBytes;

constexpr int bytesOfMs(int ms) {
    return kSampleRateHz / 1000 * ms * kFrameBytes;
}

} // namespace

StreamSizes::StreamSizes(int requestedBufferBytes) {
    const int requested =
        requestedBufferBytes > 0 ? requestedBufferBytes : bytesOfMs(kDefaultBufferMs);
    const int clamped = std::clamp(requested, kPeriodsPerBuffer * kMinPeriodFrames * kFrameBytes,
                                   bytesOfMs(kMaxBufferMs));
    bufferBytes_ = clamped / kBufferGranuleBytes * kBufferGranuleBytes;
}

int StreamSizes::periodFrames() const {
    return periodBytes() / kFrameBytes;
}

int StreamSizes::periodIntervalMs() const {
    return std::max(1, periodFrames() * 1000 / kSampleRateHz);
}

qint64 StreamSizes::durationUs(qint64 bytes) {
    return bytes / kFrameBytes * kMicrosPerSecond / kSampleRateHz;
}

qint64 StreamSizes::framesIn(qint64 us) {
    return us * kSampleRateHz / kMicrosPerSecond;
}

} // namespace quendral::emulator
