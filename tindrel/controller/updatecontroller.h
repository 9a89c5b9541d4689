#pragma once

#include "common/iupdatecontroller.h"
#include "controller/ipowerstatussource.h"

#include <memory>

namespace quendral::fwupdate::controller {

class UpdateController final : public IUpdateController {
public:
    UpdateController();
    explicit UpdateController(std::unique_ptr<IPowerStatusSource> powerStatus);
    // Waits for a run still in progress, without a time limit.
    ~UpdateController() override;

    UpdateController(const UpdateController&) = delete;
    UpdateController& operator=(const UpdateController&) = delete;

    bool registerTask(std::shared_ptr<IUpdateTask> task) override;
    std::vector<IUpdateTask*> tasks() const override;
    std::vector<IUpdateTask*> allTasks() const override;
    util::ILogger* logger() const override;
    util::IPnpProvider* pnpProvider() const override;
    bool setImageProvider(const std::string& taskId,
                          std::unique_ptr<IImageProvider> provider) override;
    bool setTaskProperty(const std::string& taskId, int propertyId,
                         const PropertyValue& value) override;
    bool isTaskEnabled(const std::string& taskId) const override;
    bool setTaskEnabled(const std::string& taskId, bool enabled) override;
    bool start() override;
    bool checkReady() override;
    int errorCode() const override;
    void reset() override;
    int currentProgress() const override;
    int overallProgress() const override;
    bool result(bool* succeeded) const override;
    bool isIdle() const override;
    bool isSupportedDevice(const std::string& devicePath) const override;
    void prepareTasks() override;

private:
    struct Private;
    std::unique_ptr<Private> d;
};

} // namespace quendral::fwupdate::controller
