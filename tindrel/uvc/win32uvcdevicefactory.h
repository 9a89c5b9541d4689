#pragma once

#include "uvc/iksfilter.h"
#include "uvc/uvcdevicefactory.h"
#include "uvc/win32devicedirectory.h"

#include <memory>

namespace quendral::uvc {

// Finds cameras through SetupAPI and DirectShow and reaches them through kernel streaming.
class Win32UvcDeviceFactory final : public IUvcDeviceFactory {
public:
    explicit Win32UvcDeviceFactory(
        std::shared_ptr<IDeviceDirectory> directory = systemDeviceDirectory(),
        std::shared_ptr<IKsFilterOpener> opener = systemKsFilterOpener());
    ~Win32UvcDeviceFactory() override;

    Win32UvcDeviceFactory(const Win32UvcDeviceFactory&) = delete;
    Win32UvcDeviceFactory& operator=(const Win32UvcDeviceFactory&) = delete;

    // Walks the device's video capture interfaces in the system's order and keeps the first
    // that can be claimed (win32deviceclaim.h), opens, has the AIT unit in its topology and
    // answers the unit's control 2. The device stays claimed while it is open.
    std::unique_ptr<IUvcDevice> open(std::uint16_t vendorId, std::uint16_t productId,
                                     bool* heldElsewhere) override;
    // DirectShow's video input devices, as capture programs count them.
    bool countVideoInputDevices(std::uint16_t vendorId, std::uint16_t productId,
                                int threshold) override;
    // Capture interfaces of the video and the audio function alike.
    bool countCaptureInterfaces(std::uint16_t vendorId, std::uint16_t productId,
                                int threshold) override;

private:
    struct Private;
    std::unique_ptr<Private> d;
};

} // namespace quendral::uvc
