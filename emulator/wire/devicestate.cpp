#include "devicestate.h"

#include <tuple>

namespace quendral::emulator {

namespace {
constexpr std::uint8_t kHidHdmiBit = 0x02;
constexpr std::uint8_t kHidStreamBit = 0x01;
} // namespace

std::uint8_t DeviceState::hidStatusByte() const {
    std::uint8_t status = 0;
    if (hdmiConnected) {
        status |= kHidHdmiBit;
    }
    if (otherStreaming || ourStreaming) {
        status |= kHidStreamBit;
    }
    return status;
}

std::string DeviceState::versionText() const {
    return std::to_string(versionMajor) + "." + std::to_string(versionMinor) + "." +
           std::to_string(versionBuild);
}

bool DeviceState::operator==(const DeviceState& other) const {
    auto tie = [](const DeviceState& s) {
        return std::tie(s.attached, s.hdmiConnected, s.otherStreaming, s.ourStreaming, s.usbMode,
                        s.versionMajor, s.versionMinor, s.versionBuild, s.enumeration, s.hidPath,
                        s.videoPath, s.cameraName);
    };
    return tie(*this) == tie(other);
}

} // namespace quendral::emulator
