#pragma once

#include "controller/ipowerstatussource.h"

#include <string>

namespace quendral::fwupdate::controller {

// Reads the kernel's power-supply class (/sys/class/power_supply). The machine runs on battery
// when it has a mains or USB supply and none of them is online; the charge is that of the first
// battery that reports a capacity. Without any supply, it counts as a machine on mains power.
class SysfsPowerStatusSource final : public IPowerStatusSource {
public:
    explicit SysfsPowerStatusSource(std::string root = "/sys/class/power_supply");

    std::optional<PowerStatus> query() const override;

private:
    std::string m_root;
};

} // namespace quendral::fwupdate::controller
