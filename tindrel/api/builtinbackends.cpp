// Which device access and device presence the library runs on: the emulated device when
// KESTAL_EMULATOR names one, so that the library, its tool and the application can be run and
// tested end to end without hardware; the system's udev and uvcvideo otherwise.

#include "emulatorbackends.h"
#include "util/pnpproviderfactory.h"
#include "util/udevpnpprovider.h"
#include "uvc/linuxuvcdevicefactory.h"
#include "uvc/uvcdevicefactory.h"

namespace quendral {

std::shared_ptr<uvc::IUvcDeviceFactory> uvc::makeBuiltInUvcDeviceFactory() {
    if (auto emulated = emulator::makeEmulatorUvcDeviceFactory()) {
        return emulated;
    }
    return std::make_shared<LinuxUvcDeviceFactory>();
}

std::unique_ptr<util::IPnpProvider> util::makeBuiltInPnpProvider() {
    if (auto emulated = emulator::makeEmulatorPnpProvider()) {
        return emulated;
    }
    return std::make_unique<UdevPnpProvider>();
}

} // namespace quendral
