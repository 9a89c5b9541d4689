#pragma once

#include "uvc/iksfilter.h"
#include "uvc/iuvcdevice.h"

#include <map>
#include <memory>
#include <vector>

namespace quendral::uvc {

// A camera's capture interface on Windows, its extension-unit controls reached as properties of
// the unit's node in the kernel-streaming topology. Error codes in its results are Win32 codes.
class Win32UvcDevice final : public IUvcDevice {
public:
    struct Identity {
        std::uint16_t vendorId = 0;
        std::uint16_t productId = 0;
        std::string devicePath;
        std::string friendlyName;
    };

    // `units` maps each extension unit's GUID to its node id in the filter's topology.
    Win32UvcDevice(std::unique_ptr<IKsFilter> filter, Identity identity,
                   std::map<util::Guid, std::uint32_t> units);
    ~Win32UvcDevice() override;

    Win32UvcDevice(const Win32UvcDevice&) = delete;
    Win32UvcDevice& operator=(const Win32UvcDevice&) = delete;

    std::pair<std::uint16_t, std::uint16_t> usbIds() const override;
    const std::string& devicePath() const override;
    const std::string& friendlyName() const override;
    // Asks the control's length first, with a get of no bytes that the driver refuses with the
    // size it needs. While the driver names no size, the question is repeated after 500 ms,
    // five times in all, and no pause begins that would end later than 2.5 s after the first
    // question; no size even then reads as an empty control. Errors that no retry can change
    // (no such I/O control, device gone or wedged, no such unit or control) end the retries at
    // once.
    UvcResult readXu(const util::Guid& unit, std::uint8_t selector,
                     std::vector<std::uint8_t>& data) override;
    UvcResult writeXu(const util::Guid& unit, std::uint8_t selector,
                      const std::vector<std::uint8_t>& data) override;

private:
    struct Private;
    std::unique_ptr<Private> d;
};

// The nodes of the filter's topology that carry these extension units: every vendor-specific
// node is asked whether it has the unit's property set. A unit that no node has is left out.
// Throws util::WinException when the topology cannot be read.
std::map<util::Guid, std::uint32_t> findExtensionUnitNodes(IKsFilter& filter,
                                                           const std::vector<util::Guid>& units);

} // namespace quendral::uvc
