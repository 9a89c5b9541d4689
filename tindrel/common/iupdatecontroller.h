#pragma once

#include "common/iupdatetask.h"

#include <memory>
#include <string>
#include <vector>

namespace quendral::util {
class ILogger;
class IPnpProvider;
} // namespace quendral::util

namespace quendral::fwupdate {

// Owns the named update tasks and runs the enabled ones, in registration order, on a
// background thread.
class IUpdateController {
public:
    virtual ~IUpdateController() = default;

    virtual bool registerTask(std::shared_ptr<IUpdateTask> task) = 0;
    virtual std::vector<IUpdateTask*> tasks() const = 0;
    virtual std::vector<IUpdateTask*> allTasks() const = 0;
    virtual util::ILogger* logger() const = 0;
    virtual util::IPnpProvider* pnpProvider() const = 0;
    virtual bool setImageProvider(const std::string& taskId,
                                  std::unique_ptr<IImageProvider> provider) = 0;
    virtual bool setTaskProperty(const std::string& taskId, int propertyId,
                                 const PropertyValue& value) = 0;
    virtual bool isTaskEnabled(const std::string& taskId) const = 0;
    virtual bool setTaskEnabled(const std::string& taskId, bool enabled) = 0;
    // Launches the run and returns at once; false when it may not start.
    virtual bool start() = 0;
    virtual bool checkReady() = 0;
    virtual int errorCode() const = 0;
    virtual void reset() = 0;
    virtual int currentProgress() const = 0;
    virtual int overallProgress() const = 0;
    // True once a run has finished; then *succeeded tells its outcome.
    virtual bool result(bool* succeeded) const = 0;
    // False exactly while a run is in progress.
    virtual bool isIdle() const = 0;
    virtual bool isSupportedDevice(const std::string& devicePath) const = 0;
    virtual void prepareTasks() = 0;
};

} // namespace quendral::fwupdate
