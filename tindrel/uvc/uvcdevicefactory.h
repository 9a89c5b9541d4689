#pragma once

#include "uvc/iuvcdevice.h"

#include <cstdint>
#include <memory>

namespace quendral::uvc {

// The platform's way to find UVC devices. The library never opens or counts devices in any
// other way, so a test, the emulator or a platform backend supplies devices by installing one.
class IUvcDeviceFactory {
public:
    virtual ~IUvcDeviceFactory() = default;

    // Opens the capture interface of the device with these USB identifiers whose AIT unit
    // answers; null when there is none, with *heldElsewhere set when one exists but another
    // process has it. Must not throw.
    virtual std::unique_ptr<IUvcDevice> open(std::uint16_t vendorId, std::uint16_t productId,
                                             bool* heldElsewhere) = 0;
    // True when more than `threshold` video input devices with these identifiers exist.
    // May throw when the system cannot be asked.
    virtual bool countVideoInputDevices(std::uint16_t vendorId, std::uint16_t productId,
                                        int threshold) = 0;
    // True when more than `threshold` present capture interfaces carry these identifiers
    // (one device exposes a video and an audio capture interface). May throw when the system
    // cannot be asked.
    virtual bool countCaptureInterfaces(std::uint16_t vendorId, std::uint16_t productId,
                                        int threshold) = 0;
};

// Installs the process-wide factory; null restores the built-in one, chosen again at its next
// use. Install before `initialize`; the library takes a reference for every use, so replacing
// the factory never pulls it from under a running call.
void setUvcDeviceFactory(std::shared_ptr<IUvcDeviceFactory> factory);
std::shared_ptr<IUvcDeviceFactory> uvcDeviceFactory();

// The built-in factory: the emulated device's while KESTAL_EMULATOR names an emulator, the
// system's otherwise.
std::shared_ptr<IUvcDeviceFactory> makeBuiltInUvcDeviceFactory();

} // namespace quendral::uvc
