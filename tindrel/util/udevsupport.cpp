#include "util/udevsupport.h"

#include <cctype>
#include <cstdio>
#include <cstring>

namespace quendral::util {

namespace {

constexpr std::size_t kUsbIdDigits = 4;

std::optional<std::uint16_t> parseHexDigits(const char* begin, std::size_t count) {
    if (count == 0 || count > kUsbIdDigits) {
        return std::nullopt;
    }
    unsigned value = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const auto c = static_cast<unsigned char>(begin[i]);
        if (!std::isxdigit(c)) {
            return std::nullopt;
        }
        value = value * 16 +
                static_cast<unsigned>(std::isdigit(c) ? c - '0' : std::tolower(c) - 'a' + 10);
    }
    return static_cast<std::uint16_t>(value);
}

} // namespace

std::optional<std::uint16_t> parseUsbId(const char* text) {
    if (text == nullptr) {
        return std::nullopt;
    }
    std::size_t length = std::strlen(text);
    if (length > 0 && text[length - 1] == '\n') {
        --length;
    }
    if (length != kUsbIdDigits) {
        return std::nullopt;
    }
    return parseHexDigits(text, length);
}

std::optional<UsbIds> usbIdsFromSysfs(udev_device* device) {
    // Borrowed from `device`, which keeps its parents alive.
    udev_device* usbDevice =
        udev_device_get_parent_with_subsystem_devtype(device, "usb", "usb_device");
    if (usbDevice == nullptr) {
        return std::nullopt;
    }
    const auto vendor = parseUsbId(udev_device_get_sysattr_value(usbDevice, "idVendor"));
    const auto product = parseUsbId(udev_device_get_sysattr_value(usbDevice, "idProduct"));
    if (!vendor || !product) {
        return std::nullopt;
    }
    return UsbIds{*vendor, *product};
}

std::optional<UsbIds> usbIdsFromProperties(udev_device* device) {
    const auto vendor = parseUsbId(udev_device_get_property_value(device, "ID_VENDOR_ID"));
    const auto product = parseUsbId(udev_device_get_property_value(device, "ID_MODEL_ID"));
    if (vendor && product) {
        return UsbIds{*vendor, *product};
    }
    // "3b7a/86c/100": vendor, product and release, hexadecimal without leading zeros.
    const char* text = udev_device_get_property_value(device, "PRODUCT");
    if (text == nullptr) {
        return std::nullopt;
    }
    const char* firstSlash = std::strchr(text, '/');
    const char* secondSlash = firstSlash ? std::strchr(firstSlash + 1, '/') : nullptr;
    if (secondSlash == nullptr) {
        return std::nullopt;
    }
    const auto parsedVendor = parseHexDigits(text, static_cast<std::size_t>(firstSlash - text));
    const auto parsedProduct =
        parseHexDigits(firstSlash + 1, static_cast<std::size_t>(secondSlash - firstSlash - 1));
    if (!parsedVendor || !parsedProduct) {
        return std::nullopt;
    }
    return UsbIds{*parsedVendor, *parsedProduct};
}

std::string usbDevicePath(const std::string& node, const UsbIds& ids) {
    char text[32];
    std::snprintf(text, sizeof text, "#vid_%04x&pid_%04x", static_cast<unsigned>(ids.vendorId),
                  static_cast<unsigned>(ids.productId));
    return node + text;
}

} // namespace quendral::util
