#pragma once

#include "controller/ipowerstatussource.h"

namespace quendral::fwupdate::controller {

// Windows' own account of the power supply (GetSystemPowerStatus).
class Win32PowerStatusSource final : public IPowerStatusSource {
public:
    std::optional<PowerStatus> query() const override;
};

// Reads the system's fields: only an AC line reported offline means battery power, as a machine
// that cannot tell has no battery to run on; a charge the system does not know counts as empty,
// so that a flash on battery is never started on a guess. The flags pass as they are.
PowerStatus powerStatusFrom(std::uint8_t acLineStatus, std::uint8_t batteryFlag,
                            std::uint8_t batteryLifePercent);

} // namespace quendral::fwupdate::controller
