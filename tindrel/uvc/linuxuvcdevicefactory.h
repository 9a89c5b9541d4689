#pragma once

#include "uvc/iuvcnode.h"
#include "uvc/uvcdevicefactory.h"

#include <memory>

namespace quendral::uvc {

// Finds cameras through udev and sysfs and reaches them through the uvcvideo driver.
class LinuxUvcDeviceFactory final : public IUvcDeviceFactory {
public:
    explicit LinuxUvcDeviceFactory(std::shared_ptr<IUvcNodeOpener> opener = systemUvcNodeOpener());
    ~LinuxUvcDeviceFactory() override;

    LinuxUvcDeviceFactory(const LinuxUvcDeviceFactory&) = delete;
    LinuxUvcDeviceFactory& operator=(const LinuxUvcDeviceFactory&) = delete;

    // Walks the device's video nodes in node order and keeps the first that opens and answers
    // control 2 of the AIT unit; a node that does not (a metadata node, a node of another
    // video function) is skipped.
    std::unique_ptr<IUvcDevice> open(std::uint16_t vendorId, std::uint16_t productId,
                                     bool* heldElsewhere) override;
    // Video inputs are video functions (VideoControl interfaces with a node), not nodes: one
    // camera has a capture and a metadata node.
    bool countVideoInputDevices(std::uint16_t vendorId, std::uint16_t productId,
                                int threshold) override;
    // Video inputs plus ALSA capture streams.
    bool countCaptureInterfaces(std::uint16_t vendorId, std::uint16_t productId,
                                int threshold) override;

private:
    struct Private;
    std::unique_ptr<Private> d;
};

} // namespace quendral::uvc
