#include "controller/win32powerstatussource.h"

#include <windows.h>

namespace quendral::fwupdate::controller {

namespace {
constexpr std::uint8_t kAcLineOffline = 0;
constexpr std::uint8_t kUnknownCharge = 255;
} // namespace

PowerStatus powerStatusFrom(std::uint8_t acLineStatus, std::uint8_t batteryFlag,
                            std::uint8_t batteryLifePercent) {
    PowerStatus status;
    status.acLineOnline = acLineStatus != kAcLineOffline;
    status.batteryLifePercent = batteryLifePercent == kUnknownCharge ? 0 : batteryLifePercent;
    status.batteryFlag = batteryFlag;
    return status;
}

std::optional<PowerStatus> Win32PowerStatusSource::query() const {
    SYSTEM_POWER_STATUS system{};
    if (!GetSystemPowerStatus(&system)) {
        return std::nullopt;
    }
    return powerStatusFrom(system.ACLineStatus, system.BatteryFlag, system.BatteryLifePercent);
}

std::unique_ptr<IPowerStatusSource> createPlatformPowerStatusSource() {
    return std::make_unique<Win32PowerStatusSource>();
}

} // namespace quendral::fwupdate::controller
