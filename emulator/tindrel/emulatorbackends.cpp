#include "emulatorbackends.h"

#include "emulatorclient.h"
#include "emulatorpnpprovider.h"
#include "emulatoruvcdevicefactory.h"

namespace quendral::emulator {

std::shared_ptr<uvc::IUvcDeviceFactory> makeEmulatorUvcDeviceFactory() {
    const auto path = EmulatorClient::socketPathFromEnvironment();
    return path ? std::make_shared<EmulatorUvcDeviceFactory>(*path) : nullptr;
}

std::unique_ptr<util::IPnpProvider> makeEmulatorPnpProvider() {
    const auto path = EmulatorClient::socketPathFromEnvironment();
    return path ? std::make_unique<EmulatorPnpProvider>(*path) : nullptr;
}

} // namespace quendral::emulator
