#include "uvc/uvcdevicefactory.h"

#include <mutex>

namespace quendral::uvc {

namespace {

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
        installedFactory() = makeBuiltInUvcDeviceFactory();
    }
    return installedFactory();
}

} // namespace quendral::uvc
