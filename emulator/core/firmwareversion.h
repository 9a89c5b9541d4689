#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace quendral::emulator {

/// Firmware version as the device reports it: two decimal digits per part, so each part is
/// 0..99.
struct FirmwareVersion {
    static constexpr int kMaxPart = 99;

    std::uint8_t major = 0;
    std::uint8_t minor = 0;
    std::uint16_t build = 0;

    /// Parses "X.Y.Z" with each part 0..99; nothing for anything else.
    static std::optional<FirmwareVersion> parse(const std::string& text);
    std::string text() const;

    bool operator==(const FirmwareVersion& other) const {
        return major == other.major && minor == other.minor && build == other.build;
    }
    bool operator!=(const FirmwareVersion& other) const { return !(*this == other); }
};

} // namespace quendral::emulator
