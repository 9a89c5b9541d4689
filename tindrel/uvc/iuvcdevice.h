#pragma once

#include "common/guid.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace quendral::uvc {

// Outcome of one extension-unit control request. errorCode is the platform's error code
// (0 when ok, and 0 when the unit does not exist on the device).
struct UvcResult {
    bool ok = false;
    std::uint32_t errorCode = 0;

    // The readable form used in log messages: the system text of errorCode followed by
    // " (Error: 0x<code>)".
    std::string errorText() const;
};

// One opened UVC capture interface whose extension-unit controls can be read and written.
// Implementations need no lock: the caller serialises all access to one device.
class IUvcDevice {
public:
    virtual ~IUvcDevice() = default;

    // The identifiers the device was opened with: (vendor, product).
    virtual std::pair<std::uint16_t, std::uint16_t> usbIds() const = 0;
    // Path of the capture interface, UTF-8.
    virtual const std::string& devicePath() const = 0;
    // Friendly name of the capture interface, UTF-8.
    virtual const std::string& friendlyName() const = 0;
    // Reads control `selector` of `unit`; `data` is resized to the control's length.
    virtual UvcResult readXu(const util::Guid& unit, std::uint8_t selector,
                             std::vector<std::uint8_t>& data) = 0;
    // Writes exactly `data` to control `selector` of `unit`.
    virtual UvcResult writeXu(const util::Guid& unit, std::uint8_t selector,
                              const std::vector<std::uint8_t>& data) = 0;
};

} // namespace quendral::uvc
