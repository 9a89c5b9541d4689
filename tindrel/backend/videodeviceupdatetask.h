#pragma once

#include "backend/updatetask.h"

#include <atomic>
#include <memory>

namespace quendral::fwupdate::backend {

class VideoDeviceWorker;

// Updates the firmware of the device's camera function ("video").
class VideoDeviceUpdateTask : public UpdateTask {
public:
    VideoDeviceUpdateTask();
    ~VideoDeviceUpdateTask() override;

protected:
    bool verifyImage() override;
    ImageInfo readImageInfo() override;
    bool openDevice() override;
    TaskDeviceInfo readDeviceInfo() override;
    void closeDevice() override;
    bool deviceHeldElsewhere() const override;
    bool multipleDevicesPresent() override;
    void runUpdate() override;
    int runningProgress() const override;
    int lastErrorCode() const override;
    bool takeResult(bool* succeeded) override;
    bool supportsDeviceHook(std::uint16_t vendorId, std::uint16_t productId) override;
    void enterUsb2Mode() override;
    void enterUsb3Mode() override;
    bool queryUsb3() override;

private:
    bool runUpdateSteps();
    // Checks that the image bytes can be had, logging why not.
    bool readImageBytes(std::vector<std::uint8_t>& bytes);

    std::unique_ptr<VideoDeviceWorker> m_worker;
    // Code of the last failed update; success leaves it alone.
    std::atomic<int> m_errorCode{0};
};

} // namespace quendral::fwupdate::backend
