#pragma once

#include <libudev.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace quendral::util {

// libudev objects released with their own unref calls.
struct UdevUnref {
    void operator()(udev* handle) const { udev_unref(handle); }
    void operator()(udev_device* handle) const { udev_device_unref(handle); }
    void operator()(udev_enumerate* handle) const { udev_enumerate_unref(handle); }
    void operator()(udev_monitor* handle) const { udev_monitor_unref(handle); }
};
using UdevPtr = std::unique_ptr<udev, UdevUnref>;
using UdevDevicePtr = std::unique_ptr<udev_device, UdevUnref>;
using UdevEnumeratePtr = std::unique_ptr<udev_enumerate, UdevUnref>;
using UdevMonitorPtr = std::unique_ptr<udev_monitor, UdevUnref>;

struct UsbIds {
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;

    bool operator==(const UsbIds& other) const {
        return vendorId == other.vendorId && productId == other.productId;
    }
};

// A USB identifier as sysfs and udev write it: four hexadecimal digits (a trailing line end
// allowed). Anything else is no identifier.
std::optional<std::uint16_t> parseUsbId(const char* text);

// The identifiers of the USB device that `device` belongs to (itself or an ancestor), read
// from sysfs; nothing when it is not on USB or sysfs no longer has it.
std::optional<UsbIds> usbIdsFromSysfs(udev_device* device);

// The identifiers that udev recorded with an event: ID_VENDOR_ID/ID_MODEL_ID, or the kernel's
// PRODUCT of a USB device or interface. Unlike sysfs, these survive the device's removal.
std::optional<UsbIds> usbIdsFromProperties(udev_device* device);

// The path under which the library names a device node: the node followed by the identifier
// text that the update controller's device filter reads ("/dev/video0#vid_3b7a&pid_086c").
std::string usbDevicePath(const std::string& node, const UsbIds& ids);

} // namespace quendral::util
