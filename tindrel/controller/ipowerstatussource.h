#pragma once

#include <cstdint>
#include <memory>
#include <optional>

namespace quendral::fwupdate::controller {

struct PowerStatus {
    bool acLineOnline = true;
    int batteryLifePercent = 0;
    // 255: the system has no information about its battery.
    std::uint8_t batteryFlag = 0;
};

// Where the controller learns whether the machine may safely run a flash on battery.
class IPowerStatusSource {
public:
    virtual ~IPowerStatusSource() = default;

    // Nothing when the system cannot be asked.
    virtual std::optional<PowerStatus> query() const = 0;
};

std::unique_ptr<IPowerStatusSource> createPlatformPowerStatusSource();

} // namespace quendral::fwupdate::controller
