#include "backend/updatetask.h"

#include "common/ilogger.h"
#include "util/iclock.h"

#include <atomic>
#include <mutex>
#include <optional>

namespace quendral::fwupdate::backend {

namespace {

using util::LogLevel;

// Task states.
constexpr int kIdle = 0;
constexpr int kRunning = 1;
constexpr int kFinished = 2;

// Properties.
constexpr int kPropertySimulate = 1;
constexpr int kPropertyOption2 = 2;
constexpr int kPropertyPowerCycleMiracast = 3;
constexpr int kPropertyOption4 = 4;

// How long device work of another thread is waited for between looks at the task state.
constexpr std::chrono::milliseconds kLockRetryMs{1};

} // namespace

struct UpdateTask::Private {
    Private(std::string name, std::string taskId)
        : displayName(std::move(name))
        , id(std::move(taskId)) {}

    const std::string displayName;
    const std::string id;
    std::atomic<util::ILogger*> logger{nullptr};
    std::unique_ptr<IImageProvider> imageProvider;
    std::atomic<bool> simulate{false};
    bool option2 = false;
    bool powerCycleMiracast = false;
    std::string option4;
    std::optional<ImageInfo> imageInfoCache;       // empty: stale; under transferMutex
    std::optional<TaskDeviceInfo> deviceInfoCache; // empty: stale; under taskMutex
    std::atomic<int> taskState{kIdle};
    std::mutex transferMutex;
    std::mutex taskMutex;
    std::optional<bool> result;

    // Takes the task mutex for device work. Another thread's device work is waited for, but a
    // running transfer holds the mutex for minutes, so that answers at once with no lock.
    std::unique_lock<std::mutex> lockForDeviceWork() {
        std::unique_lock<std::mutex> lock(taskMutex, std::try_to_lock);
        while (!lock.owns_lock() && taskState != kRunning) {
            util::currentClock()->sleepFor(kLockRetryMs);
            lock.try_lock();
        }
        return lock;
    }
};

UpdateTask::UpdateTask(std::string displayName, std::string id)
    : d(std::make_unique<Private>(std::move(displayName), std::move(id))) {}

UpdateTask::~UpdateTask() = default;

std::string UpdateTask::id() const {
    return d->id;
}

std::string UpdateTask::displayName() const {
    return d->displayName;
}

void UpdateTask::setLogger(util::ILogger* logger) {
    d->logger = logger;
}

void UpdateTask::setImageProvider(std::unique_ptr<IImageProvider> provider) {
    if (d->taskState == kRunning) {
        return;
    }
    std::lock_guard<std::mutex> lock(d->transferMutex);
    d->imageProvider = std::move(provider);
    d->imageInfoCache.reset();
}

bool UpdateTask::setProperty(int propertyId, const PropertyValue& value) {
    if (d->taskState != kIdle) {
        return false;
    }
    switch (propertyId) {
    case kPropertySimulate:
        d->simulate = value.boolValue;
        return true;
    case kPropertyOption2:
        d->option2 = value.boolValue;
        return true;
    case kPropertyPowerCycleMiracast:
        d->powerCycleMiracast = value.boolValue;
        log(LogLevel::Debug,
            std::string("SetProperty: PowerCycleMiracast: ") + (value.boolValue ? "1" : "0"));
        return true;
    case kPropertyOption4:
        d->option4 = value.stringValue;
        return true;
    default:
        return setCustomProperty(propertyId, value);
    }
}

ImageInfo UpdateTask::imageInfo() {
    std::unique_lock<std::mutex> lock(d->transferMutex, std::try_to_lock);
    if (!lock.owns_lock()) {
        return {};
    }
    if (d->imageInfoCache) {
        return *d->imageInfoCache;
    }
    if (!d->imageProvider) {
        return {};
    }
    if (!d->imageProvider->isOpen()) {
        if (!d->imageProvider->open()) {
            return {};
        }
        if (!verifyImage()) {
            d->imageProvider->close();
            return {};
        }
    }
    ImageInfo info = readImageInfo();
    if (info.source.empty()) {
        info.source = d->imageProvider->description();
    }
    d->imageInfoCache = info;
    return info;
}

TaskDeviceInfo UpdateTask::deviceInfo(bool refresh) {
    const std::unique_lock<std::mutex> lock = d->lockForDeviceWork();
    if (!lock.owns_lock() || d->taskState == kRunning) {
        return {};
    }
    if (d->deviceInfoCache && !refresh) {
        return *d->deviceInfoCache;
    }
    bool multipleDevices = false;
    try {
        multipleDevices = multipleDevicesPresent();
    } catch (const std::exception& e) {
        // Without an answer from the system, the device is treated as the only one.
        log(LogLevel::Warning, std::string("Unable to count attached devices: ") + e.what());
    }
    TaskDeviceInfo info;
    if (openDevice()) {
        info = readDeviceInfo();
        info.multipleDevices = multipleDevices;
    } else {
        info.heldElsewhere = deviceHeldElsewhere();
    }
    d->deviceInfoCache = info;
    return info;
}

VersionComparator UpdateTask::versionComparator() const {
    return DefaultVersionComparator();
}

int UpdateTask::errorCode() const {
    const int state = d->taskState;
    return state == kIdle || state == kFinished ? lastErrorCode() : -1;
}

bool UpdateTask::start() {
    if (d->taskState != kIdle) {
        return false;
    }
    std::lock_guard<std::mutex> taskLock(d->taskMutex);
    closeDevice();
    d->deviceInfoCache.reset();
    if (!openDevice() || !d->imageProvider) {
        return false;
    }
    std::lock_guard<std::mutex> transferLock(d->transferMutex);
    if (!d->imageProvider->open()) {
        return false;
    }
    d->taskState = kRunning;
    d->result.reset();
    try {
        runUpdate();
        bool succeeded = false;
        if (takeResult(&succeeded)) {
            d->result = succeeded;
        }
    } catch (const std::exception& e) {
        log(LogLevel::Error, "Task '" + d->displayName + "' aborted: " + e.what());
        d->result = false;
    }
    d->taskState = kFinished;
    return true;
}

bool UpdateTask::isReady() {
    return readyHook();
}

int UpdateTask::progress() const {
    switch (d->taskState) {
    case kIdle:
        return -1;
    case kRunning:
        return runningProgress();
    case kFinished:
        return 100;
    default:
        return -2;
    }
}

int UpdateTask::reservedInt() const {
    return -1;
}

bool UpdateTask::waitForResult(bool* succeeded) {
    if (d->taskState != kFinished || !d->result) {
        return false;
    }
    *succeeded = *d->result;
    return true;
}

void UpdateTask::reset() {
    if (d->taskState == kFinished) {
        d->result.reset();
        d->taskState = kIdle;
    }
    {
        std::lock_guard<std::mutex> lock(d->taskMutex);
        d->deviceInfoCache.reset();
        closeDevice();
    }
    std::lock_guard<std::mutex> lock(d->transferMutex);
    d->imageInfoCache.reset();
    if (d->imageProvider) {
        d->imageProvider->close();
    }
}

bool UpdateTask::supportsDevice(std::uint16_t vendorId, std::uint16_t productId) {
    return supportsDeviceHook(vendorId, productId);
}

void UpdateTask::prepare() {
    prepareHook();
}

bool UpdateTask::reservedFlag() {
    return flagHook();
}

void UpdateTask::switchToUsb2() {
    const std::unique_lock<std::mutex> lock = d->lockForDeviceWork();
    if (lock.owns_lock() && d->taskState != kRunning && openDevice()) {
        enterUsb2Mode();
    }
}

void UpdateTask::switchToUsb3() {
    const std::unique_lock<std::mutex> lock = d->lockForDeviceWork();
    if (lock.owns_lock() && d->taskState != kRunning && openDevice()) {
        enterUsb3Mode();
    }
}

bool UpdateTask::isUsb3() {
    const std::unique_lock<std::mutex> lock = d->lockForDeviceWork();
    return lock.owns_lock() && d->taskState != kRunning && openDevice() && queryUsb3();
}

bool UpdateTask::deviceHeldElsewhere() const {
    return false;
}

bool UpdateTask::setCustomProperty(int, const PropertyValue&) {
    return false;
}

bool UpdateTask::readyHook() {
    return true;
}

void UpdateTask::prepareHook() {}

bool UpdateTask::flagHook() {
    return true;
}

void UpdateTask::enterUsb2Mode() {}

void UpdateTask::enterUsb3Mode() {}

bool UpdateTask::queryUsb3() {
    return false;
}

void UpdateTask::log(int level, const std::string& message) const {
    if (util::ILogger* logger = d->logger) {
        logger->log(level, message);
    }
}

const IImageProvider* UpdateTask::imageProvider() const {
    return d->imageProvider.get();
}

bool UpdateTask::simulate() const {
    return d->simulate;
}

} // namespace quendral::fwupdate::backend
