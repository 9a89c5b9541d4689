#include "api/controllerfactory.h"

#include "controller/updatecontroller.h"

#include <mutex>

namespace quendral::fwupdate {

namespace {

std::mutex& factoryMutex() {
    static std::mutex mutex;
    return mutex;
}

UpdateControllerFactory& installedFactory() {
    static UpdateControllerFactory factory;
    return factory;
}

} // namespace

void setUpdateControllerFactory(UpdateControllerFactory factory) {
    std::lock_guard<std::mutex> lock(factoryMutex());
    installedFactory() = std::move(factory);
}

std::unique_ptr<IUpdateController> createUpdateController() {
    UpdateControllerFactory factory;
    {
        std::lock_guard<std::mutex> lock(factoryMutex());
        factory = installedFactory();
    }
    if (!factory) {
        return std::make_unique<controller::UpdateController>();
    }
    return factory();
}

} // namespace quendral::fwupdate
