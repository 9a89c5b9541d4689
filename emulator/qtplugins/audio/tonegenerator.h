#pragma once

#include <array>
#include <cstdint>

namespace quendral::emulator {

/// The emulated input's signal: a sine on both channels with a marked click every half second
/// (layout in emulatedmedia.h). A pure function of the frame index, so a stream can skip frames
/// it could not deliver and stay on its clock.
class ToneGenerator {
public:
    ToneGenerator();

    /// Capture time of frame 0, in microseconds of the monotonic clock.
    std::int64_t originUs() const { return originUs_; }
    void setOrigin(std::int64_t originUs) { originUs_ = originUs; }

    /// When frame `frame` was captured.
    std::int64_t captureTimeUs(std::int64_t frame) const;

    /// Writes `frames` interleaved frames from `firstFrame` on, scaled by `gain`, as
    /// little-endian 32-bit floats.
    void render(std::int64_t firstFrame, int frames, float gain, char* out) const;

private:
    float sample(std::int64_t frame, int channel) const;

    static constexpr int kTonePeriodFrames = 48;
    std::array<float, kTonePeriodFrames> toneTable_{};
    std::int64_t originUs_ = 0;
};

} // namespace quendral::emulator
