#pragma once

#include "uvc/iuvcdevice.h"
#include "uvc/iuvcnode.h"

#include <map>
#include <memory>

namespace quendral::uvc {

// A camera's capture node on Linux, its extension-unit controls reached through the uvcvideo
// driver. Error codes in its results are errno values.
class LinuxUvcDevice final : public IUvcDevice {
public:
    struct Identity {
        std::uint16_t vendorId = 0;
        std::uint16_t productId = 0;
        std::string devicePath;
        std::string friendlyName;
    };

    // `units` maps each extension unit's GUID to its unit id on this node's video function.
    LinuxUvcDevice(std::unique_ptr<IUvcNode> node, Identity identity,
                   std::map<util::Guid, std::uint8_t> units);
    ~LinuxUvcDevice() override;

    LinuxUvcDevice(const LinuxUvcDevice&) = delete;
    LinuxUvcDevice& operator=(const LinuxUvcDevice&) = delete;

    std::pair<std::uint16_t, std::uint16_t> usbIds() const override;
    const std::string& devicePath() const override;
    const std::string& friendlyName() const override;
    // Asks the control's length first (UVC_GET_LEN). While the driver answers no length, the
    // question is repeated after 500 ms, five times in all; a length of 0 even then reads as
    // an empty control. Errors that no retry can change (no such ioctl on the node, node gone,
    // no such unit or control) end the retries at once.
    UvcResult readXu(const util::Guid& unit, std::uint8_t selector,
                     std::vector<std::uint8_t>& data) override;
    UvcResult writeXu(const util::Guid& unit, std::uint8_t selector,
                      const std::vector<std::uint8_t>& data) override;

private:
    struct Private;
    std::unique_ptr<Private> d;
};

} // namespace quendral::uvc
