#include "emulatoruvcdevice.h"

#include "emulatorclient.h"
#include "uvc/aitextensionunit.h"

#include <unistd.h>

namespace quendral::emulator {

namespace {

uvc::UvcResult fromTransfer(const TransferResult& result) {
    return uvc::UvcResult{result.ok, result.ok ? 0u : static_cast<std::uint32_t>(result.errorCode)};
}

} // namespace

EmulatorUvcDevice::EmulatorUvcDevice(std::shared_ptr<EmulatorClient> client,
                                     const DeviceState& state, std::uint16_t vendorId,
                                     std::uint16_t productId, int lockFd)
    : client_(std::move(client))
    , enumeration_(state.enumeration)
    , vendorId_(vendorId)
    , productId_(productId)
    , devicePath_(state.videoPath)
    , friendlyName_(kHidProductName)
    , lockFd_(lockFd) {}

EmulatorUvcDevice::~EmulatorUvcDevice() {
    ::close(lockFd_);
}

std::pair<std::uint16_t, std::uint16_t> EmulatorUvcDevice::usbIds() const {
    return {vendorId_, productId_};
}

uvc::UvcResult EmulatorUvcDevice::readXu(const util::Guid& unit, std::uint8_t selector,
                                         std::vector<std::uint8_t>& data) {
    if (unit != uvc::aitExtensionUnit()) {
        // The device has no other extension unit.
        return uvc::UvcResult{false, 0};
    }
    auto result = client_->xuGet(enumeration_, selector);
    if (result.ok) {
        data = std::move(result.data);
    }
    return fromTransfer(result);
}

uvc::UvcResult EmulatorUvcDevice::writeXu(const util::Guid& unit, std::uint8_t selector,
                                          const std::vector<std::uint8_t>& data) {
    if (unit != uvc::aitExtensionUnit()) {
        return uvc::UvcResult{false, 0};
    }
    return fromTransfer(client_->xuSet(enumeration_, selector, data));
}

} // namespace quendral::emulator
