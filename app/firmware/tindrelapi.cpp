#include "tindrelapi.h"

#include <atomic>

namespace {

const TindrelApi library{initialize,          deInitialize,    isInitialized,
                         lastError,           getDeviceInfo,   startFWUpdate,
                         getUpdateProgress,   getUpdateResult, resetState,
                         execSpecialFunction, isUsb3,          ensureCorrectUsbMode};

std::atomic<const TindrelApi*> overridden{nullptr};

} // namespace

const TindrelApi& TindrelApi::current() {
    const TindrelApi* api = overridden.load();
    return api ? *api : library;
}

void TindrelApi::setCurrent(const TindrelApi* api) {
    overridden.store(api);
}
