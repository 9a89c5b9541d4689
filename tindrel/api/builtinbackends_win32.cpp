// Which device access and device presence the Windows DLL runs on: kernel streaming and device
// notifications, always. The emulated device is reached through a Unix socket and has no place
// in the Windows DLL.

#include "util/pnpproviderfactory.h"
#include "util/win32pnpprovider.h"
#include "uvc/uvcdevicefactory.h"
#include "uvc/win32uvcdevicefactory.h"

namespace quendral {

std::shared_ptr<uvc::IUvcDeviceFactory> uvc::makeBuiltInUvcDeviceFactory() {
    return std::make_shared<Win32UvcDeviceFactory>();
}

std::unique_ptr<util::IPnpProvider> util::makeBuiltInPnpProvider() {
    return std::make_unique<Win32PnpProvider>();
}

} // namespace quendral
