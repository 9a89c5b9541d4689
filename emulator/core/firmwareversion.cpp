#include "firmwareversion.h"

#include <cctype>

namespace quendral::emulator {

std::optional<FirmwareVersion> FirmwareVersion::parse(const std::string& text) {
    int parts[3] = {0, 0, 0};
    std::size_t index = 0;
    std::size_t digits = 0;
    for (const char c : text) {
        if (c == '.') {
            if (digits == 0 || ++index == 3) {
                return std::nullopt;
            }
            digits = 0;
        } else if (std::isdigit(static_cast<unsigned char>(c)) != 0) {
            if (++digits > 2) {
                return std::nullopt;
            }
            parts[index] = parts[index] * 10 + (c - '0');
        } else {
            return std::nullopt;
        }
    }
    if (index != 2 || digits == 0) {
        return std::nullopt;
    }
    return FirmwareVersion{static_cast<std::uint8_t>(parts[0]), static_cast<std::uint8_t>(parts[1]),
                           static_cast<std::uint16_t>(parts[2])};
}

std::string FirmwareVersion::text() const {
    return std::to_string(major) + "." + std::to_string(minor) + "." + std::to_string(build);
}

} // namespace quendral::emulator
