#include "uvc/usbvideonodes.h"

#include "util/udevsupport.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <stdexcept>

namespace quendral::uvc {

namespace {

constexpr int kHexBase = 16;
constexpr int kDecimalBase = 10;

util::UdevPtr newUdev() {
    util::UdevPtr context(udev_new());
    if (!context) {
        throw std::runtime_error("udev is not available");
    }
    return context;
}

// Calls `visit` for every device of `subsystem` (with sysname matching `sysname`, a glob, when
// given) that belongs to a USB device with these identifiers.
void forEachUsbDevice(udev* context, const char* subsystem, const char* sysname,
                      const util::UsbIds& ids, const std::function<void(udev_device*)>& visit) {
    util::UdevEnumeratePtr enumerate(udev_enumerate_new(context));
    if (!enumerate || udev_enumerate_add_match_subsystem(enumerate.get(), subsystem) < 0 ||
        (sysname != nullptr && udev_enumerate_add_match_sysname(enumerate.get(), sysname) < 0) ||
        udev_enumerate_scan_devices(enumerate.get()) < 0) {
        throw std::runtime_error(std::string("udev cannot list ") + subsystem + " devices");
    }
    udev_list_entry* entry = nullptr;
    udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(enumerate.get())) {
        util::UdevDevicePtr device(
            udev_device_new_from_syspath(context, udev_list_entry_get_name(entry)));
        // A device that left while the list was read is simply not there.
        if (device && util::usbIdsFromSysfs(device.get()) == ids) {
            visit(device.get());
        }
    }
}

bool parseNumber(const char* text, int base, int& value) {
    if (text == nullptr || *text == '\0') {
        return false;
    }
    char* end = nullptr;
    const long parsed = std::strtol(text, &end, base);
    if (*end != '\0' && *end != '\n') {
        return false;
    }
    if (parsed < 0 || parsed > 255) {
        return false;
    }
    value = static_cast<int>(parsed);
    return true;
}

// Sorting by number keeps video2 ahead of video10, which a sort by name would not.
long nodeNumber(const char* sysnum) {
    return sysnum != nullptr ? std::strtol(sysnum, nullptr, kDecimalBase) : -1;
}

} // namespace

std::vector<UsbVideoNode> findUsbVideoNodes(std::uint16_t vendorId, std::uint16_t productId) {
    const util::UdevPtr context = newUdev();
    std::vector<std::pair<long, UsbVideoNode>> found;
    forEachUsbDevice(
        context.get(), "video4linux", nullptr, {vendorId, productId},
        [&found](udev_device* device) {
            const char* devnode = udev_device_get_devnode(device);
            udev_device* usbInterface =
                udev_device_get_parent_with_subsystem_devtype(device, "usb", "usb_interface");
            udev_device* usbDevice =
                udev_device_get_parent_with_subsystem_devtype(device, "usb", "usb_device");
            if (devnode == nullptr || usbInterface == nullptr || usbDevice == nullptr) {
                return;
            }
            UsbVideoNode node;
            if (!parseNumber(udev_device_get_sysattr_value(usbDevice, "bConfigurationValue"),
                             kDecimalBase, node.where.configurationValue) ||
                !parseNumber(udev_device_get_sysattr_value(usbInterface, "bInterfaceNumber"),
                             kHexBase, node.where.interfaceNumber)) {
                return;
            }
            node.devnode = devnode;
            const char* name = udev_device_get_sysattr_value(device, "name");
            if (name == nullptr || *name == '\0') {
                name = udev_device_get_sysattr_value(usbDevice, "product");
            }
            node.friendlyName = name != nullptr ? name : "";
            node.controlInterface = udev_device_get_syspath(usbInterface);
            node.usbDevice = udev_device_get_syspath(usbDevice);
            found.emplace_back(nodeNumber(udev_device_get_sysnum(device)), std::move(node));
        });
    std::stable_sort(found.begin(), found.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<UsbVideoNode> nodes;
    nodes.reserve(found.size());
    for (auto& entry : found) {
        nodes.push_back(std::move(entry.second));
    }
    return nodes;
}

int countUsbAudioCaptureNodes(std::uint16_t vendorId, std::uint16_t productId) {
    const util::UdevPtr context = newUdev();
    int count = 0;
    forEachUsbDevice(context.get(), "sound", "pcmC*D*c", {vendorId, productId},
                     [&count](udev_device*) { ++count; });
    return count;
}

std::vector<std::uint8_t> readUsbDescriptors(const std::string& usbDevice) {
    std::ifstream file(usbDevice + "/descriptors", std::ios::binary);
    if (!file) {
        return {};
    }
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(file),
                                     std::istreambuf_iterator<char>());
}

} // namespace quendral::uvc
