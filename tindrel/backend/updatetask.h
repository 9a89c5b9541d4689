#pragma once

#include "common/iupdatetask.h"

#include <memory>
#include <string>

namespace quendral::fwupdate::backend {

// Base of every update task: locking, caches, state and result. A concrete task fills in the
// hooks. Device work is serialised by the task mutex, image work by the transfer mutex; both
// are held for a whole transfer, which runs synchronously inside start().
class UpdateTask : public IUpdateTask {
public:
    UpdateTask(std::string displayName, std::string id);
    ~UpdateTask() override;

    UpdateTask(const UpdateTask&) = delete;
    UpdateTask& operator=(const UpdateTask&) = delete;

    std::string id() const override;
    std::string displayName() const override;
    void setLogger(util::ILogger* logger) override;
    void setImageProvider(std::unique_ptr<IImageProvider> provider) override;
    bool setProperty(int propertyId, const PropertyValue& value) override;
    ImageInfo imageInfo() override;
    TaskDeviceInfo deviceInfo(bool refresh) override;
    VersionComparator versionComparator() const override;
    int errorCode() const override;
    bool start() override;
    bool isReady() override;
    int progress() const override;
    int reservedInt() const override;
    bool waitForResult(bool* succeeded) override;
    void reset() override;
    bool supportsDevice(std::uint16_t vendorId, std::uint16_t productId) override;
    void prepare() override;
    bool reservedFlag() override;

    // Device special functions. Each waits for other device work, does nothing while an update
    // runs, and opens the device first; the device stays open afterwards.
    void switchToUsb2();
    void switchToUsb3();
    // False while an update runs or when the device does not open.
    bool isUsb3();

protected:
    virtual bool setCustomProperty(int propertyId, const PropertyValue& value);
    virtual bool verifyImage() = 0;
    virtual ImageInfo readImageInfo() = 0;
    virtual bool openDevice() = 0;
    virtual TaskDeviceInfo readDeviceInfo() = 0;
    virtual void closeDevice() = 0;
    // After a failed openDevice(): whether another process has the device.
    virtual bool deviceHeldElsewhere() const;
    // May throw when the system cannot be asked.
    virtual bool multipleDevicesPresent() = 0;
    virtual void runUpdate() = 0;
    virtual int runningProgress() const = 0;
    virtual int lastErrorCode() const = 0;
    virtual bool takeResult(bool* succeeded) = 0;
    virtual bool supportsDeviceHook(std::uint16_t vendorId, std::uint16_t productId) = 0;
    virtual bool readyHook();
    virtual void prepareHook();
    virtual bool flagHook();
    virtual void enterUsb2Mode();
    virtual void enterUsb3Mode();
    virtual bool queryUsb3();

    void log(int level, const std::string& message) const;
    // The image to flash; null when none was given. Stable while a hook runs under the task's
    // locks.
    const IImageProvider* imageProvider() const;
    bool simulate() const;

private:
    struct Private;
    std::unique_ptr<Private> d;
};

} // namespace quendral::fwupdate::backend
