#include "uvc/uvcdevicefactory.h"

#include <mutex>

namespace quendral::uvc {

namespace {

// What the library sees until a platform backend or the emulator is installed: no device.
class NoDeviceFactory final : public IUvcDeviceFactory {
public:
    std::unique_ptr<IUvcDevice> open(std::uint16_t, std::uint16_t) override { return nullptr; }
    bool countVideoInputDevices(std::uint16_t, std::uint16_t, int) override { return false; }
    bool countCaptureInterfaces(std::uint16_t, std::uint16_t, int) override { return false; }
};

std::mutex& factoryMutex() {
    static std::mutex mutex;
    return mutex;
}

std::shared_ptr<IUvcDeviceFactory>& installedFactory() {
    static std::shared_ptr<IUvcDeviceFactory> factory;
    return factory;
}

} // namespace

void setUvcDeviceFactory(std::shared_ptr<IUvcDeviceFactory> factory) {
    std::lock_guard<std::mutex> lock(factoryMutex());
    installedFactory() = std::move(factory);
}

std::shared_ptr<IUvcDeviceFactory> uvcDeviceFactory() {
    std::lock_guard<std::mutex> lock(factoryMutex());
    if (!installedFactory()) {
        installedFactory() = std::make_shared<NoDeviceFactory>();
    }
    return installedFactory();
}

} // namespace quendral::uvc
