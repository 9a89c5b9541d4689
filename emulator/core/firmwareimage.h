#pragma once

#include "firmwareversion.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace quendral::emulator {

/// Images the emulated device installs. Beyond the "AIT842" prefix that the host checks, the
/// device needs to know which version it is installing, so it reads a version record right
/// behind the prefix:
///
///   offset 0..5   "AIT842"
///   offset 6..8   "VER"
///   offset 9      major (0..99)
///   offset 10     minor (0..99)
///   offset 11     build (0..99)
///
/// Everything after offset 11 is payload the device does not interpret.
class FirmwareImage {
public:
    static constexpr std::size_t kHeaderBytes = 12;
    static constexpr std::size_t kVersionOffset = 9;

    /// An image of `totalBytes` (at least kHeaderBytes) carrying `version`, with a payload that
    /// changes with every byte so a dropped or repeated block changes the image.
    static std::vector<std::uint8_t> build(const FirmwareVersion& version, std::size_t totalBytes);

    /// The version an image carries; nothing when the prefix, the record or a part is invalid.
    static std::optional<FirmwareVersion> carriedVersion(const std::vector<std::uint8_t>& image);
};

} // namespace quendral::emulator
