#pragma once

#include "uvc/usbdescriptors.h"

#include <cstdint>
#include <string>
#include <vector>

namespace quendral::uvc {

// A video4linux node of a USB video function, as udev describes it.
struct UsbVideoNode {
    std::string devnode;
    // The name the driver gives the node (for uvcvideo the product string), else the USB
    // device's product string.
    std::string friendlyName;
    // sysfs paths of the function's VideoControl interface and of the USB device.
    std::string controlInterface;
    std::string usbDevice;
    VideoControlInterface where;
};

// The video nodes of USB devices with these identifiers, in node-number order (video2 before
// video10). Throws std::runtime_error when udev cannot be asked.
std::vector<UsbVideoNode> findUsbVideoNodes(std::uint16_t vendorId, std::uint16_t productId);

// The ALSA capture streams (pcmC*D*c) of USB devices with these identifiers. Throws
// std::runtime_error when udev cannot be asked.
int countUsbAudioCaptureNodes(std::uint16_t vendorId, std::uint16_t productId);

// The raw descriptors that sysfs keeps of a USB device; empty when they cannot be read.
std::vector<std::uint8_t> readUsbDescriptors(const std::string& usbDevice);

} // namespace quendral::uvc
