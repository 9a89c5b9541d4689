#include "util/pnpproviderfactory.h"

#include <mutex>

namespace quendral::util {

namespace {

std::mutex& factoryMutex() {
    static std::mutex mutex;
    return mutex;
}

PnpProviderFactory& installedFactory() {
    static PnpProviderFactory factory;
    return factory;
}

} // namespace

void setPnpProviderFactory(PnpProviderFactory factory) {
    std::lock_guard<std::mutex> lock(factoryMutex());
    installedFactory() = std::move(factory);
}

std::unique_ptr<IPnpProvider> createPnpProvider() {
    PnpProviderFactory factory;
    {
        std::lock_guard<std::mutex> lock(factoryMutex());
        factory = installedFactory();
    }
    return factory ? factory() : makeBuiltInPnpProvider();
}

} // namespace quendral::util
