#include "tindrel/tindrel.h"

#include "api/controllerfactory.h"
#include "api/kestalspecialfunctions.h"
#include "backend/videodeviceupdatetask.h"
#include "common/bufferimageprovider.h"
#include "common/ilogger.h"
#include "util/iclock.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <shared_mutex>
#include <string>

namespace {

using namespace quendral;

// The complete set of texts that lastError() hands out.
const char* const kNoError = "";
const char* const kCannotCreateController = "ERROR: Unable to create update controller.";
const char* const kNoPnpMonitoring =
    "ERROR: Update controller was unable to provide PnP monitoring.";
const char* const kNoLogger = "ERROR: Unable to obtain logger.";
const char* const kCannotRegisterBackend = "ERROR: Unable to register backend.";
const char* const kNotInitialized = "ERROR: library not initialized";
const char* const kDeviceInfoWhileUpdating = "ERROR: cannot get device info - device updating";
const char* const kCannotStartUpdate =
    "ERROR: cannot start device update - device already updating";
const char* const kSpecialFunctionsNotInitialized = "ERROR: special functions not initialized";
const char* const kSpecialFunctionWhileUpdating =
    "ERROR: cannot perform special function - device updating";
const char* const kNoSuchSpecialFunction = "ERROR: no such special function";
const char* const kDeviceNotPresent = "ERROR: device not present";
const char* const kInitializeWhileUpdating = "ERROR: cannot initialize - device updating";
const char* const kDeviceBusy = "ERROR: device busy - used by another program";

const char* const kVideoTaskId = "video";
constexpr int kSwitchToUsb2 = 0;
constexpr int kSwitchToUsb3 = 1;
constexpr int kDeInitializePolls = 300;
constexpr std::chrono::milliseconds kDeInitializePollMs{1000};

// The engine objects. The firmware thread replaces them in initialize and deInitialize while
// the application's GUI thread may be asking for the USB mode, so replacing takes the lock
// exclusively, every use takes it shared, and retired objects are destroyed outside the lock
// (destroying a controller waits for its run).
struct Engine {
    std::unique_ptr<fwupdate::IUpdateController> controller;
    std::unique_ptr<fw::backend::ISpecialFunctions> specialFunctions;
    fwupdate::IUpdateTask* videoTask = nullptr;

    bool isUpdating() const { return controller && !controller->isIdle(); }
};

// Never destroyed: a run still going at process exit must not find its engine gone.
struct Library {
    std::shared_mutex mutex;
    Engine engine;
    // Used by the firmware thread only.
    std::unique_ptr<DeviceInfoRecord> deviceInfo;
    std::string deviceName;
    std::atomic<const char*> lastErrorText{kNoError};
};

Library& library() {
    static Library* const instance = new Library;
    return *instance;
}

void setError(const char* text) {
    library().lastErrorText = text;
}

void reportUnexpected(const char* exportName, const char* what) noexcept {
    try {
        Library& lib = library();
        std::shared_lock<std::shared_mutex> lock(lib.mutex, std::try_to_lock);
        if (lock.owns_lock() && lib.engine.controller) {
            if (util::ILogger* logger = lib.engine.controller->logger()) {
                logger->log(util::LogLevel::Error,
                            std::string("Unexpected failure in ") + exportName + ": " + what);
            }
        }
    } catch (...) {
        // Nothing more can be done about a failure while reporting a failure.
    }
}

// No exception may cross into the application: it ends the export with its failure result.
template <typename Result, typename Body>
Result guarded(const char* exportName, Result onFailure, Body body) noexcept {
    try {
        return body();
    } catch (const std::exception& e) {
        reportUnexpected(exportName, e.what());
    } catch (...) {
        reportUnexpected(exportName, "unknown exception");
    }
    return onFailure;
}

template <typename Body> void guardedVoid(const char* exportName, Body body) noexcept {
    guarded(exportName, true, [&body] {
        body();
        return true;
    });
}

// The refusal of a special function, or null when it may go ahead.
const char* specialFunctionRefusal(const Engine& engine) {
    if (!engine.specialFunctions) {
        return kSpecialFunctionsNotInitialized;
    }
    if (engine.isUpdating()) {
        return kSpecialFunctionWhileUpdating;
    }
    return nullptr;
}

bool queryUsb3(const Engine& engine) {
    if (const char* refusal = specialFunctionRefusal(engine)) {
        setError(refusal);
        return false;
    }
    return engine.specialFunctions->isUsb3();
}

fwupdate::TaskDeviceInfo freshDeviceInfo(const Engine& engine) {
    return engine.videoTask ? engine.videoTask->deviceInfo(true) : fwupdate::TaskDeviceInfo{};
}

fwupdate::IUpdateTask* findTask(const fwupdate::IUpdateController& controller,
                                const std::string& id) {
    for (fwupdate::IUpdateTask* task : controller.tasks()) {
        if (task->id() == id) {
            return task;
        }
    }
    return nullptr;
}

// Swaps in `replacement` and destroys the previous engine, controller first.
void replaceEngine(Engine replacement) {
    Library& lib = library();
    Engine retired;
    {
        std::unique_lock<std::shared_mutex> lock(lib.mutex);
        retired = std::move(lib.engine);
        lib.engine = std::move(replacement);
    }
    retired.controller.reset();
    retired.specialFunctions.reset();
}

} // namespace

extern "C" {

TINDREL_API void initialize(void) {
    guardedVoid("initialize", [] {
        setError(kNoError);
        {
            // A fresh engine would lose the running flash's result and stop refusing device
            // access during it. Only the firmware thread starts updates, so none can begin
            // between this check and the replacement.
            Library& lib = library();
            std::shared_lock<std::shared_mutex> lock(lib.mutex);
            if (lib.engine.isUpdating()) {
                setError(kInitializeWhileUpdating);
                return;
            }
        }
        std::unique_ptr<fwupdate::IUpdateController> controller;
        try {
            controller = fwupdate::createUpdateController();
        } catch (const std::exception&) {
            controller.reset();
        }
        if (!controller) {
            setError(kCannotCreateController);
            return;
        }
        if (controller->pnpProvider() == nullptr) {
            setError(kNoPnpMonitoring);
            return;
        }
        util::ILogger* logger = controller->logger();
        if (logger == nullptr) {
            setError(kNoLogger);
            return;
        }
        auto videoTask = std::make_shared<fwupdate::backend::VideoDeviceUpdateTask>();
        videoTask->setLogger(logger);
        auto specialFunctions = fw::backend::makeKestalSpecialFunctions(videoTask);
        if (!controller->registerTask(videoTask)) {
            // The special functions of this attempt go with it, so none can outlive a
            // controller.
            setError(kCannotRegisterBackend);
            return;
        }
        Engine engine;
        engine.videoTask = findTask(*controller, kVideoTaskId);
        engine.controller = std::move(controller);
        engine.specialFunctions = std::move(specialFunctions);
        replaceEngine(std::move(engine));
    });
}

TINDREL_API void deInitialize(void) {
    guardedVoid("deInitialize", [] {
        setError(kNoError);
        Library& lib = library();
        {
            std::shared_lock<std::shared_mutex> lock(lib.mutex);
            if (!lib.engine.controller) {
                setError(kNotInitialized);
                return;
            }
        }
        lib.deviceInfo.reset();
        lib.deviceName.clear();
        const auto clock = util::currentClock();
        for (int poll = 0; poll < kDeInitializePolls; ++poll) {
            {
                std::shared_lock<std::shared_mutex> lock(lib.mutex);
                if (!lib.engine.isUpdating()) {
                    break;
                }
            }
            clock->sleepFor(kDeInitializePollMs);
        }
        // Destroying the controller waits for a run that is still going, however long.
        replaceEngine(Engine{});
    });
}

TINDREL_API bool isInitialized(void) {
    return guarded("isInitialized", false, [] {
        Library& lib = library();
        std::shared_lock<std::shared_mutex> lock(lib.mutex);
        return lib.engine.controller != nullptr;
    });
}

TINDREL_API const char* lastError(void) {
    return guarded("lastError", kNoError, [] { return library().lastErrorText.load(); });
}

TINDREL_API const DeviceInfoRecord* getDeviceInfo(void) {
    return guarded("getDeviceInfo", static_cast<const DeviceInfoRecord*>(nullptr),
                   []() -> const DeviceInfoRecord* {
                       setError(kNoError);
                       Library& lib = library();
                       std::shared_lock<std::shared_mutex> lock(lib.mutex);
                       const Engine& engine = lib.engine;
                       if (!engine.controller) {
                           setError(kNotInitialized);
                           return nullptr;
                       }
                       if (!lib.deviceInfo) {
                           lib.deviceInfo = std::make_unique<DeviceInfoRecord>();
                           *lib.deviceInfo = DeviceInfoRecord{kNoError, {0, 0, 0}, 0, 0};
                       }
                       DeviceInfoRecord& record = *lib.deviceInfo;
                       if (engine.isUpdating()) {
                           setError(kDeviceInfoWhileUpdating);
                           record = DeviceInfoRecord{kNoError, {0, 0, 0}, 0, 0};
                           return &record;
                       }
                       const fwupdate::TaskDeviceInfo info = freshDeviceInfo(engine);
                       if (info.heldElsewhere) {
                           setError(kDeviceBusy);
                       }
                       lib.deviceName = info.name;
                       record.name = lib.deviceName.c_str();
                       record.version = {info.firmwareVersion.major, info.firmwareVersion.minor,
                                         info.firmwareVersion.build};
                       record.present = info.present ? 1 : 0;
                       record.singleDevice = info.multipleDevices ? 0 : 1;
                       return &record;
                   });
}

TINDREL_API bool startFWUpdate(const char* image, int size) {
    return guarded("startFWUpdate", false, [image, size] {
        setError(kNoError);
        Library& lib = library();
        std::shared_lock<std::shared_mutex> lock(lib.mutex);
        const Engine& engine = lib.engine;
        if (!engine.controller) {
            setError(kNotInitialized);
            return false;
        }
        if (engine.isUpdating() || engine.videoTask == nullptr) {
            setError(kCannotStartUpdate);
            return false;
        }
        // A negative size or a null image holds no image, which verification then refuses; so
        // does an image too large to copy.
        try {
            engine.videoTask->setImageProvider(
                std::make_unique<fwupdate::BufferImageProvider>(image, size));
        } catch (const std::bad_alloc&) {
            setError(kCannotStartUpdate);
            return false;
        }
        const fwupdate::TaskDeviceInfo device = engine.videoTask->deviceInfo(false);
        const fwupdate::ImageInfo imageInfo = engine.videoTask->imageInfo();
        if (!device.present || !imageInfo.valid) {
            setError(device.heldElsewhere ? kDeviceBusy : kCannotStartUpdate);
            return false;
        }
        engine.controller->setTaskEnabled(kVideoTaskId, true);
        return engine.controller->start();
    });
}

TINDREL_API int getUpdateProgress(void) {
    return guarded("getUpdateProgress", -1, [] {
        Library& lib = library();
        std::shared_lock<std::shared_mutex> lock(lib.mutex);
        if (!lib.engine.controller) {
            setError(kNotInitialized);
            return -1;
        }
        return lib.engine.controller->currentProgress();
    });
}

TINDREL_API bool getUpdateResult(bool* succeeded) {
    return guarded("getUpdateResult", false, [succeeded] {
        setError(kNoError);
        Library& lib = library();
        std::shared_lock<std::shared_mutex> lock(lib.mutex);
        if (!lib.engine.controller) {
            setError(kNotInitialized);
            return false;
        }
        if (succeeded == nullptr) {
            return false;
        }
        return lib.engine.controller->result(succeeded);
    });
}

TINDREL_API void resetState(void) {
    guardedVoid("resetState", [] {
        Library& lib = library();
        std::shared_lock<std::shared_mutex> lock(lib.mutex);
        if (!lib.engine.controller) {
            setError(kNotInitialized);
            return;
        }
        if (!lib.engine.isUpdating()) {
            lib.engine.controller->reset();
        }
    });
}

TINDREL_API void execSpecialFunction(int id) {
    guardedVoid("execSpecialFunction", [id] {
        setError(kNoError);
        Library& lib = library();
        std::shared_lock<std::shared_mutex> lock(lib.mutex);
        if (const char* refusal = specialFunctionRefusal(lib.engine)) {
            setError(refusal);
            return;
        }
        switch (id) {
        case kSwitchToUsb2:
            lib.engine.specialFunctions->switchToUsb2();
            break;
        case kSwitchToUsb3:
            lib.engine.specialFunctions->switchToUsb3();
            break;
        default:
            setError(kNoSuchSpecialFunction);
            break;
        }
    });
}

TINDREL_API bool isUsb3(void) {
    return guarded("isUsb3", false, [] {
        setError(kNoError);
        Library& lib = library();
        std::shared_lock<std::shared_mutex> lock(lib.mutex);
        return queryUsb3(lib.engine);
    });
}

TINDREL_API bool ensureCorrectUsbMode(bool hostIsWindows7) {
    return guarded("ensureCorrectUsbMode", true, [hostIsWindows7] {
        setError(kNoError);
        Library& lib = library();
        std::shared_lock<std::shared_mutex> lock(lib.mutex);
        const Engine& engine = lib.engine;
        if (!engine.controller) {
            setError(kNotInitialized);
            return true;
        }
        const fwupdate::TaskDeviceInfo device = freshDeviceInfo(engine);
        if (!device.present) {
            setError(device.heldElsewhere ? kDeviceBusy : kDeviceNotPresent);
            return true;
        }
        if (const char* refusal = specialFunctionRefusal(engine)) {
            setError(refusal);
            return true;
        }
        const bool wantUsb3 = !hostIsWindows7;
        if (engine.specialFunctions->isUsb3() == wantUsb3) {
            return true;
        }
        // A run may have begun since the query.
        if (const char* refusal = specialFunctionRefusal(engine)) {
            setError(refusal);
        } else if (wantUsb3) {
            engine.specialFunctions->switchToUsb3();
        } else {
            engine.specialFunctions->switchToUsb2();
        }
        return false;
    });
}

} // extern "C"
