#pragma once

#include "common/iimageprovider.h"
#include "common/version.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace quendral::util {
class ILogger;
}

namespace quendral::fwupdate {

struct ImageInfo {
    bool valid = false;
    std::string source;
    Version version;
    std::string reserved1;
    std::string reserved2;
};

struct TaskDeviceInfo {
    bool present = false;
    bool multipleDevices = false;
    // Not present to us because another process has the device open.
    bool heldElsewhere = false;
    std::string name;
    Version firmwareVersion;
    std::uint32_t reserved = 0;
    std::string reserved1;
    std::string reserved2;
};

struct PropertyValue {
    bool boolValue = false;
    std::string stringValue;
};

using VersionComparator = std::function<VersionRelation(const Version&, const Version&)>;

// One updatable component of the device.
class IUpdateTask {
public:
    virtual ~IUpdateTask() = default;

    virtual std::string id() const = 0;
    virtual std::string displayName() const = 0;
    virtual void setLogger(util::ILogger* logger) = 0;
    virtual void setImageProvider(std::unique_ptr<IImageProvider> provider) = 0;
    virtual bool setProperty(int propertyId, const PropertyValue& value) = 0;
    virtual ImageInfo imageInfo() = 0;
    virtual TaskDeviceInfo deviceInfo(bool refresh) = 0;
    virtual VersionComparator versionComparator() const = 0;
    virtual int errorCode() const = 0;
    // Runs the whole update on the calling thread; false when it could not begin.
    virtual bool start() = 0;
    virtual bool isReady() = 0;
    // -1 before a run, the percentage while running, 100 once finished.
    virtual int progress() const = 0;
    virtual int reservedInt() const = 0;
    virtual bool waitForResult(bool* succeeded) = 0;
    virtual void reset() = 0;
    virtual bool supportsDevice(std::uint16_t vendorId, std::uint16_t productId) = 0;
    virtual void prepare() = 0;
    virtual bool reservedFlag() = 0;
};

} // namespace quendral::fwupdate
