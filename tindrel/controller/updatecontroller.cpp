#include "controller/updatecontroller.h"

#include "controller/logger.h"
#include "util/iclock.h"
#include "util/pnpproviderfactory.h"

#include <atomic>
#include <future>
#include <regex>

namespace quendral::fwupdate::controller {

namespace {

using util::LogLevel;

// Controller states.
constexpr int kIdle = 0;
constexpr int kRunning = 1;
constexpr int kSucceeded = 2;
constexpr int kFailed = 3;

// Reasons the controller refuses to start, and task codes with special handling.
constexpr int kNoError = -1;
constexpr int kNoEnabledTask = 100;
constexpr int kMultipleDevices = 131;
constexpr int kBatteryTooLow = 223;
constexpr int kMiracastRetryableFailure = 226;

constexpr std::chrono::milliseconds kPauseBeforeTaskMs{4750};
constexpr int kAudioCodecRetries = 3;
constexpr int kLowBatteryPercent = 10;
constexpr std::uint8_t kNoBatteryInformation = 255;

const char* const kMiracastId = "amiracast";
const char* const kAudioId = "audio";
const char* const kCodecId = "codec";

struct TaskEntry {
    std::string id;
    std::shared_ptr<IUpdateTask> task;
    // Written only while no run is active; the state's atomic hand-over orders it.
    bool enabled = true;
};

} // namespace

struct UpdateController::Private {
    std::atomic<int> errorCode{kNoError};
    std::unique_ptr<Logger> logger = std::make_unique<Logger>();
    std::unique_ptr<util::IPnpProvider> pnpProvider;
    std::vector<TaskEntry> tasks;
    std::atomic<int> state{kIdle};
    std::future<void> runHandle;
    std::atomic<IUpdateTask*> currentTask{nullptr};
    IUpdateTask* miracastTask = nullptr;
    std::unique_ptr<IPowerStatusSource> powerStatus;

    void log(int level, const std::string& message) const { logger->log(level, message); }

    TaskEntry* find(const std::string& id) {
        for (auto& entry : tasks) {
            if (entry.id == id) {
                return &entry;
            }
        }
        return nullptr;
    }

    void run();
    // False when the task could not be restarted, which ends the run.
    bool retryMiracast(IUpdateTask& task, bool& failed);
    void retryAudioOrCodec(IUpdateTask& task, const std::string& name, bool& failed);
};

UpdateController::UpdateController()
    : UpdateController(createPlatformPowerStatusSource()) {}

UpdateController::UpdateController(std::unique_ptr<IPowerStatusSource> powerStatus)
    : d(std::make_unique<Private>()) {
    d->powerStatus = std::move(powerStatus);
    try {
        d->pnpProvider = util::createPnpProvider();
    } catch (const std::exception& e) {
        d->log(LogLevel::Debug, std::string("Unable to create Windows PnP provider: ") + e.what());
    }
}

UpdateController::~UpdateController() {
    if (d->runHandle.valid()) {
        d->runHandle.wait();
    }
}

bool UpdateController::registerTask(std::shared_ptr<IUpdateTask> task) {
    if (!task || d->find(task->id()) != nullptr) {
        return false;
    }
    const std::string id = task->id();
    d->tasks.push_back({id, std::move(task), true});
    return true;
}

std::vector<IUpdateTask*> UpdateController::tasks() const {
    std::vector<IUpdateTask*> list;
    list.reserve(d->tasks.size());
    for (const auto& entry : d->tasks) {
        list.push_back(entry.task.get());
    }
    return list;
}

std::vector<IUpdateTask*> UpdateController::allTasks() const {
    return tasks();
}

util::ILogger* UpdateController::logger() const {
    return d->logger.get();
}

util::IPnpProvider* UpdateController::pnpProvider() const {
    return d->pnpProvider.get();
}

bool UpdateController::setImageProvider(const std::string& taskId,
                                        std::unique_ptr<IImageProvider> provider) {
    TaskEntry* entry = d->find(taskId);
    if (entry == nullptr) {
        return false;
    }
    entry->task->setImageProvider(std::move(provider));
    return true;
}

bool UpdateController::setTaskProperty(const std::string& taskId, int propertyId,
                                       const PropertyValue& value) {
    TaskEntry* entry = d->find(taskId);
    if (d->state == kRunning || entry == nullptr) {
        return false;
    }
    entry->task->setProperty(propertyId, value);
    return true;
}

bool UpdateController::isTaskEnabled(const std::string& taskId) const {
    const TaskEntry* entry = d->find(taskId);
    return entry != nullptr && entry->enabled;
}

bool UpdateController::setTaskEnabled(const std::string& taskId, bool enabled) {
    TaskEntry* entry = d->find(taskId);
    if (d->state == kRunning || entry == nullptr) {
        return false;
    }
    entry->enabled = enabled;
    return true;
}

bool UpdateController::start() {
    if (d->state != kIdle) {
        return false;
    }
    int enabledCount = 0;
    bool multipleDevices = false;
    for (const auto& entry : d->tasks) {
        if (entry.enabled) {
            ++enabledCount;
        }
        // Every task is asked, enabled or not: a second device of any kind makes a flash unsafe.
        if (entry.task->deviceInfo(false).multipleDevices) {
            multipleDevices = true;
        }
    }
    if (enabledCount == 0) {
        d->log(LogLevel::Warning, "No enabled tasks. Nothing to do.");
        d->errorCode = kNoEnabledTask;
        return false;
    }
    if (multipleDevices) {
        d->log(LogLevel::Warning, "Multiple devices detected");
        d->errorCode = kMultipleDevices;
        return false;
    }
    d->state = kRunning;
    d->currentTask = nullptr;
    d->miracastTask = nullptr;
    try {
        d->runHandle = std::async(std::launch::async, [this] { d->run(); });
    } catch (const std::system_error& e) {
        d->log(LogLevel::Error, std::string("Unable to launch the update run: ") + e.what());
        d->state = kIdle;
        return false;
    }
    return true;
}

void UpdateController::Private::run() {
    bool failed = false;
    try {
        for (const auto& entry : tasks) {
            IUpdateTask& task = *entry.task;
            const std::string name = task.displayName();
            if (entry.id == kMiracastId) {
                miracastTask = &task;
            }
            if (!entry.enabled) {
                log(LogLevel::Debug, "Skipping disabled task '" + name + "'.");
                continue;
            }
            log(LogLevel::Info, "Starting task '" + name + "' ...");
            currentTask = &task;
            util::currentClock()->sleepFor(kPauseBeforeTaskMs);
            if (entry.id == kAudioId && miracastTask != nullptr) {
                log(LogLevel::Debug,
                    "Audio update is about to start, make sure Device mode is in usb mode.");
                miracastTask->prepare();
            }
            if (!task.start()) {
                log(LogLevel::Error, "Task '" + name + "' failed to start.");
                failed = true;
                break;
            }
            bool ok = true;
            task.waitForResult(&ok);
            if (ok) {
                log(LogLevel::Info, "Successfully completed task '" + name + "'.");
                continue;
            }
            log(LogLevel::Error, "Task '" + name + "' failed.");
            failed = true;
            if (entry.id == kMiracastId) {
                if (task.errorCode() == kMiracastRetryableFailure && !retryMiracast(task, failed)) {
                    break;
                }
                continue;
            }
            if (entry.id == kAudioId || entry.id == kCodecId) {
                retryAudioOrCodec(task, name, failed);
                continue;
            }
            break;
        }
    } catch (const std::exception& e) {
        // Tasks report failures through their results; anything thrown still ends the run as
        // a failure instead of leaving it running forever.
        log(LogLevel::Error, std::string("Update run aborted: ") + e.what());
        failed = true;
    }
    currentTask = nullptr;
    state = failed ? kFailed : kSucceeded;
}

bool UpdateController::Private::retryMiracast(IUpdateTask& task, bool& failed) {
    log(LogLevel::Debug, "Retrying miracast update.");
    task.reset();
    if (!task.start()) {
        log(LogLevel::Warning, "Failed to restart miracast update.");
        return false;
    }
    bool ok = true;
    task.waitForResult(&ok);
    if (ok) {
        log(LogLevel::Info, "Miracast firmware updated successfully after retry.");
        failed = false;
    }
    return true;
}

void UpdateController::Private::retryAudioOrCodec(IUpdateTask& task, const std::string& name,
                                                  bool& failed) {
    for (int attempt = 1; attempt <= kAudioCodecRetries; ++attempt) {
        failed = true;
        log(LogLevel::Warning,
            "Will retry task '" + name + "' update.  Try times: " + std::to_string(attempt));
        task.reset();
        if (!task.start()) {
            log(LogLevel::Error, "Task '" + name + "' failed to start.");
            return;
        }
        bool ok = true;
        task.waitForResult(&ok);
        if (ok) {
            log(LogLevel::Info, "Successfully completed task '" + name + "'.");
            failed = false;
            return;
        }
        log(LogLevel::Error, "Task '" + name + "' failed.");
    }
}

bool UpdateController::checkReady() {
    if (d->state == kRunning) {
        return true;
    }
    // A failed power query counts as mains power.
    if (const auto power = d->powerStatus ? d->powerStatus->query() : std::nullopt) {
        if (!power->acLineOnline && (power->batteryLifePercent <= kLowBatteryPercent ||
                                     power->batteryFlag == kNoBatteryInformation)) {
            d->errorCode = kBatteryTooLow;
            return false;
        }
    }
    for (const auto& entry : d->tasks) {
        if (entry.enabled && !entry.task->isReady()) {
            d->errorCode = entry.task->errorCode();
            return false;
        }
    }
    return true;
}

int UpdateController::errorCode() const {
    if (d->errorCode != kNoError) {
        return d->errorCode;
    }
    for (const auto& entry : d->tasks) {
        if (!entry.enabled) {
            continue;
        }
        const int code = entry.task->errorCode();
        if (code != kNoError) {
            return code;
        }
    }
    return kNoError;
}

void UpdateController::reset() {
    if (d->state == kRunning) {
        return;
    }
    for (const auto& entry : d->tasks) {
        entry.task->reset();
    }
    d->state = kIdle;
    d->errorCode = kNoError;
}

int UpdateController::currentProgress() const {
    const IUpdateTask* task = d->currentTask;
    return task == nullptr ? -1 : task->progress();
}

int UpdateController::overallProgress() const {
    const int state = d->state;
    if (state == kSucceeded || state == kFailed) {
        return 100;
    }
    if (state == kIdle) {
        return -1;
    }
    int sum = 0;
    int count = 0;
    for (const auto& entry : d->tasks) {
        if (entry.enabled) {
            sum += entry.task->progress();
            ++count;
        }
    }
    return count == 0 ? -1 : sum / count;
}

bool UpdateController::result(bool* succeeded) const {
    if (succeeded == nullptr) {
        return false;
    }
    switch (d->state) {
    case kSucceeded:
        *succeeded = true;
        return true;
    case kFailed:
        *succeeded = false;
        return true;
    default:
        return false;
    }
}

bool UpdateController::isIdle() const {
    return d->state != kRunning;
}

bool UpdateController::isSupportedDevice(const std::string& devicePath) const {
    static const std::regex pattern("VID_([[:xdigit:]]{4})&PID_([[:xdigit:]]{4})",
                                    std::regex::ECMAScript | std::regex::icase);
    std::smatch match;
    if (!std::regex_search(devicePath, match, pattern)) {
        return false;
    }
    const auto vendorId = static_cast<std::uint16_t>(std::stoul(match[1].str(), nullptr, 16));
    const auto productId = static_cast<std::uint16_t>(std::stoul(match[2].str(), nullptr, 16));
    if (vendorId == 0 || productId == 0) {
        return false;
    }
    for (const auto& entry : d->tasks) {
        if (entry.task->supportsDevice(vendorId, productId)) {
            return true;
        }
    }
    return false;
}

void UpdateController::prepareTasks() {
    if (d->state == kRunning) {
        return;
    }
    for (const auto& entry : d->tasks) {
        entry.task->prepare();
    }
}

} // namespace quendral::fwupdate::controller
