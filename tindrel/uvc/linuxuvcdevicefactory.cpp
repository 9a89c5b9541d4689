#include "uvc/linuxuvcdevicefactory.h"

#include "util/udevsupport.h"
#include "uvc/aitextensionunit.h"
#include "uvc/linuxuvcdevice.h"
#include "uvc/usbvideonodes.h"

#include <set>

namespace quendral::uvc {

namespace {

// The response register: every device of this kind answers it.
constexpr std::uint8_t kProbeSelector = 2;

int countVideoFunctions(const std::vector<UsbVideoNode>& nodes) {
    std::set<std::string> interfaces;
    for (const auto& node : nodes) {
        interfaces.insert(node.controlInterface);
    }
    return static_cast<int>(interfaces.size());
}

} // namespace

struct LinuxUvcDeviceFactory::Private {
    std::shared_ptr<IUvcNodeOpener> opener;

    std::unique_ptr<IUvcDevice> probe(const UsbVideoNode& node, std::uint16_t vendorId,
                                      std::uint16_t productId, bool* heldElsewhere) const;
};

std::unique_ptr<IUvcDevice> LinuxUvcDeviceFactory::Private::probe(const UsbVideoNode& node,
                                                                  std::uint16_t vendorId,
                                                                  std::uint16_t productId,
                                                                  bool* heldElsewhere) const {
    auto handle = opener->open(node.devnode, heldElsewhere);
    if (!handle) {
        return nullptr;
    }
    LinuxUvcDevice::Identity identity{vendorId, productId,
                                      util::usbDevicePath(node.devnode, {vendorId, productId}),
                                      node.friendlyName};
    auto device = std::make_unique<LinuxUvcDevice>(
        std::move(handle), std::move(identity),
        findExtensionUnits(readUsbDescriptors(node.usbDevice), node.where));
    std::vector<std::uint8_t> reply;
    if (!device->readXu(aitExtensionUnit(), kProbeSelector, reply).ok) {
        return nullptr;
    }
    return device;
}

LinuxUvcDeviceFactory::LinuxUvcDeviceFactory(std::shared_ptr<IUvcNodeOpener> opener)
    : d(std::make_unique<Private>()) {
    d->opener = std::move(opener);
}

LinuxUvcDeviceFactory::~LinuxUvcDeviceFactory() = default;

std::unique_ptr<IUvcDevice>
LinuxUvcDeviceFactory::open(std::uint16_t vendorId, std::uint16_t productId, bool* heldElsewhere) {
    try {
        for (const auto& node : findUsbVideoNodes(vendorId, productId)) {
            if (auto device = d->probe(node, vendorId, productId, heldElsewhere)) {
                *heldElsewhere = false;
                return device;
            }
        }
    } catch (const std::exception&) {
        // Whatever cannot be asked holds no device for us.
    }
    return nullptr;
}

bool LinuxUvcDeviceFactory::countVideoInputDevices(std::uint16_t vendorId, std::uint16_t productId,
                                                   int threshold) {
    return countVideoFunctions(findUsbVideoNodes(vendorId, productId)) > threshold;
}

bool LinuxUvcDeviceFactory::countCaptureInterfaces(std::uint16_t vendorId, std::uint16_t productId,
                                                   int threshold) {
    const int captures = countVideoFunctions(findUsbVideoNodes(vendorId, productId)) +
                         countUsbAudioCaptureNodes(vendorId, productId);
    return captures > threshold;
}

} // namespace quendral::uvc
