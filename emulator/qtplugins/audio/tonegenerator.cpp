#include "tonegenerator.h"

#include "emulatedmedia.h"

#include <QtEndian>

#include <cmath>
#include <cstring>

namespace quendral::emulator {

namespace {

using namespace media;

constexpr std::int64_t kMicrosPerSecond = 1000000;
constexpr double kPi = 3.14159265358979323846;

} // namespace

ToneGenerator::ToneGenerator() {
    // One table period is exactly one tone period, so the tone never drifts however long the
    // stream runs.
    static_assert(kSampleRateHz / kToneHz == kTonePeriodFrames);
    for (int i = 0; i < kTonePeriodFrames; ++i) {
        toneTable_[static_cast<std::size_t>(i)] =
            kTonePeak * static_cast<float>(std::sin(2.0 * kPi * i / kTonePeriodFrames));
    }
}

std::int64_t ToneGenerator::captureTimeUs(std::int64_t frame) const {
    return originUs_ + frame * kMicrosPerSecond / kSampleRateHz;
}

float ToneGenerator::sample(std::int64_t frame, int channel) const {
    const std::int64_t click = frame / kClickIntervalFrames;
    const int offset = static_cast<int>(frame % kClickIntervalFrames);
    if (offset >= kClickFrames) {
        return toneTable_[static_cast<std::size_t>(frame % kTonePeriodFrames)];
    }
    if (channel == 0) {
        return kClickPulseLevel;
    }
    const auto bits =
        offset < kClickIndexBits
            ? static_cast<std::uint64_t>(click) >> (kClickIndexBits - 1 - offset)
            : static_cast<std::uint64_t>(captureTimeUs(click * kClickIntervalFrames)) >>
                  (kClickFrames - 1 - offset);
    return (bits & 1u) != 0 ? kClickBitLevel : -kClickBitLevel;
}

void ToneGenerator::render(std::int64_t firstFrame, int frames, float gain, char* out) const {
    for (int i = 0; i < frames; ++i) {
        for (int channel = 0; channel < kChannelCount; ++channel) {
            const float value = gain * sample(firstFrame + i, channel);
            std::uint32_t word = 0;
            std::memcpy(&word, &value, sizeof(word));
            qToLittleEndian(word, out);
            out += sizeof(word);
        }
    }
}

} // namespace quendral::emulator
