#include "emulatorbackends.h"

#include "emulatorclient.h"
#include "emulatorpnpprovider.h"
#include "emulatoruvcdevicefactory.h"
#include "util/pnpproviderfactory.h"

namespace quendral::emulator {

std::shared_ptr<uvc::IUvcDeviceFactory> makeEmulatorUvcDeviceFactory() {
    const auto path = EmulatorClient::socketPathFromEnvironment();
    return path ? std::make_shared<EmulatorUvcDeviceFactory>(*path) : nullptr;
}

std::unique_ptr<util::IPnpProvider> makeEmulatorPnpProvider() {
    const auto path = EmulatorClient::socketPathFromEnvironment();
    return path ? std::make_unique<EmulatorPnpProvider>(*path) : nullptr;
}

bool installEmulatorBackends() {
    const auto path = EmulatorClient::socketPathFromEnvironment();
    if (!path) {
        return false;
    }
    uvc::setUvcDeviceFactory(std::make_shared<EmulatorUvcDeviceFactory>(*path));
    util::setPnpProviderFactory([socketPath = *path]() -> std::unique_ptr<util::IPnpProvider> {
        return std::make_unique<EmulatorPnpProvider>(socketPath);
    });
    return true;
}

} // namespace quendral::emulator
