#pragma once

// What the emulated camera and audio devices produce, for whoever decodes it (tests, latency
// measurement). README.md beside this directory describes the same layout in prose; the two
// must agree.
//
// Time stamps are microseconds of CLOCK_MONOTONIC (std::chrono::steady_clock on Linux), the
// clock every process on the machine shares, so a receiver subtracts them from its own reading
// of that clock to get the latency.

#include <chrono>
#include <cstdint>

namespace quendral::emulator::media {

/// Now, on the clock of every stamp below.
inline std::int64_t monotonicNowUs() {
    return std::chrono::duration_cast<std::chrono::microseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// ---------------------------------------------------------------------------------------------
// Camera

/// Description of the emulated camera (QCameraInfo::description()).
inline constexpr const char* kCameraDescription = "Quendral Castwell (emulated)";

/// Frame rate of every mode of the emulated camera.
inline constexpr int kFrameRateFps = 60;

/// The stamp is a row of square blocks of this edge, starting at the top-left pixel: block i
/// covers columns [i * kStampBlockPx, (i + 1) * kStampBlockPx) of rows [0, kStampBlockPx).
/// A block is white (bit 1) or black (bit 0).
inline constexpr int kStampBlockPx = 8;
/// Blocks 0..31: frame counter, most significant bit first.
inline constexpr int kStampCounterBits = 32;
/// Blocks 32..95: capture time in microseconds, most significant bit first.
inline constexpr int kStampTimeBits = 64;
inline constexpr int kStampBits = kStampCounterBits + kStampTimeBits;

/// QVideoFrame::metaData() keys carrying the same two values (as qint64).
inline constexpr const char* kFrameCounterKey = "kestal.frameCounter";
inline constexpr const char* kCaptureTimeKey = "kestal.captureTimeUs";

// ---------------------------------------------------------------------------------------------
// Audio

/// The one format of both emulated audio devices: 48 kHz, two channels, 32-bit float,
/// little-endian, interleaved.
inline constexpr int kSampleRateHz = 48000;
inline constexpr int kChannelCount = 2;
inline constexpr int kSampleBytes = 4;
inline constexpr int kFrameBytes = kChannelCount * kSampleBytes;

/// Both channels carry a sine of this frequency and peak level outside the clicks.
inline constexpr int kToneHz = 1000;
inline constexpr float kTonePeak = 0.25f;

/// Click k starts at frame k * kClickIntervalFrames of the stream (frame 0 is the first frame
/// after start()) and lasts kClickFrames frames.
inline constexpr int kClickIntervalFrames = kSampleRateHz / 2;
/// During a click the left channel holds kClickPulseLevel: its first frame is the instant to
/// measure.
inline constexpr float kClickPulseLevel = 1.0f;
/// During a click the right channel holds one bit per frame, +kClickBitLevel for 1 and
/// -kClickBitLevel for 0: first the click index k (16 bits, wrapping), then the capture time of
/// the click's first frame in microseconds (64 bits), most significant bit first.
inline constexpr float kClickBitLevel = 0.75f;
inline constexpr int kClickIndexBits = 16;
inline constexpr int kClickTimeBits = 64;
inline constexpr int kClickFrames = kClickIndexBits + kClickTimeBits;

/// Name of the emulated sound card's output. It starts with the input's name (kAudioInputName
/// in emulatorclient.h) so both are recognisable as the emulator's.
inline constexpr const char* kAudioOutputName = "Quendral Castwell (emulated) output";

/// When set, the emulated output appends every byte it plays to the file this names.
inline constexpr const char* kAudioRecordEnvVar = "KESTAL_EMULATOR_AUDIO_RECORD";

} // namespace quendral::emulator::media
