#pragma once

#include "devicestate.h"
#include "uvc/iuvcdevice.h"

#include <memory>

namespace quendral::emulator {

class EmulatorClient;

/// The emulated device's capture interface as the library sees a UVC device. It stays bound to
/// the enumeration it was opened in: once the device re-enumerates, every request fails with
/// ENODEV, as a real handle does.
class EmulatorUvcDevice : public uvc::IUvcDevice {
public:
    /// Takes `lockFd`, the open lock that makes the device this process's, and releases it
    /// when closed.
    EmulatorUvcDevice(std::shared_ptr<EmulatorClient> client, const DeviceState& state,
                      std::uint16_t vendorId, std::uint16_t productId, int lockFd);
    ~EmulatorUvcDevice() override;
    EmulatorUvcDevice(const EmulatorUvcDevice&) = delete;
    EmulatorUvcDevice& operator=(const EmulatorUvcDevice&) = delete;

    std::pair<std::uint16_t, std::uint16_t> usbIds() const override;
    const std::string& devicePath() const override { return devicePath_; }
    const std::string& friendlyName() const override { return friendlyName_; }
    uvc::UvcResult readXu(const util::Guid& unit, std::uint8_t selector,
                          std::vector<std::uint8_t>& data) override;
    uvc::UvcResult writeXu(const util::Guid& unit, std::uint8_t selector,
                           const std::vector<std::uint8_t>& data) override;

private:
    std::shared_ptr<EmulatorClient> client_;
    std::uint32_t enumeration_;
    std::uint16_t vendorId_;
    std::uint16_t productId_;
    std::string devicePath_;
    std::string friendlyName_;
    int lockFd_;
};

} // namespace quendral::emulator
