#include "uvc/usbdescriptors.h"

#include <linux/usb/ch9.h>
#include <linux/usb/video.h>

#include <algorithm>

namespace quendral::uvc {

namespace {

using Units = std::map<util::Guid, std::uint8_t>;

// Offsets of the fields read here (USB 2.0 chapter 9, UVC 1.5 section 3.7.2.7).
constexpr std::size_t kConfigTotalLength = 2;
constexpr std::size_t kConfigValue = 5;
constexpr std::size_t kInterfaceNumber = 2;
constexpr std::size_t kInterfaceClass = 5;
constexpr std::size_t kInterfaceSubClass = 6;
constexpr std::size_t kSubtype = 2;
constexpr std::size_t kUnitId = 3;
constexpr std::size_t kUnitGuid = 4;
constexpr std::size_t kUnitInputPins = 21;
constexpr std::size_t kUnitSourceIds = 22;
// bLength .. bNrInPins, bControlSize and iExtension, without the variable parts.
constexpr std::size_t kUnitFixedBytes = 24;
constexpr std::size_t kGuidBytes = 16;

// One descriptor in a range [begin, end) of the blob, or nothing when the next one cannot be
// trusted: a length below the header's own two bytes, or one that runs past the range.
struct Descriptor {
    const std::uint8_t* bytes = nullptr;
    std::size_t length = 0;

    std::uint8_t type() const { return bytes[1]; }
};

bool nextDescriptor(const std::vector<std::uint8_t>& blob, std::size_t offset, std::size_t end,
                    Descriptor& out) {
    if (offset + 2 > end) {
        return false;
    }
    const std::size_t length = blob[offset];
    if (length < 2 || length > end - offset) {
        return false;
    }
    out = Descriptor{blob.data() + offset, length};
    return true;
}

// Unit descriptors carry the GUID in the little-endian field layout of a Windows GUID.
util::Guid guidAt(const std::uint8_t* bytes) {
    util::Guid guid;
    guid.data1 = static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
                 static_cast<std::uint32_t>(bytes[2]) << 16 |
                 static_cast<std::uint32_t>(bytes[3]) << 24;
    guid.data2 = static_cast<std::uint16_t>(bytes[4] | bytes[5] << 8);
    guid.data3 = static_cast<std::uint16_t>(bytes[6] | bytes[7] << 8);
    std::copy(bytes + 8, bytes + kGuidBytes, guid.data4.begin());
    return guid;
}

void addExtensionUnit(const Descriptor& unit, Units& units) {
    if (unit.length < kUnitFixedBytes) {
        return;
    }
    const std::size_t inputPins = unit.bytes[kUnitInputPins];
    const std::size_t controlSizeAt = kUnitSourceIds + inputPins;
    // The variable parts must fit the stated length before bControlSize may be read.
    if (controlSizeAt >= unit.length) {
        return;
    }
    const std::size_t controlSize = unit.bytes[controlSizeAt];
    if (kUnitFixedBytes + inputPins + controlSize > unit.length) {
        return;
    }
    const std::uint8_t unitId = unit.bytes[kUnitId];
    if (unitId == 0) {
        // Zero is reserved: no request can address such a unit.
        return;
    }
    const auto [existing, inserted] = units.emplace(guidAt(unit.bytes + kUnitGuid), unitId);
    if (!inserted && unitId < existing->second) {
        existing->second = unitId;
    }
}

// The descriptors of one configuration after its own header, up to `end`.
void walkConfiguration(const std::vector<std::uint8_t>& blob, std::size_t offset, std::size_t end,
                       int interfaceNumber, Units& units) {
    bool inVideoControl = false;
    Descriptor descriptor;
    while (nextDescriptor(blob, offset, end, descriptor)) {
        if (descriptor.type() == USB_DT_INTERFACE) {
            inVideoControl = descriptor.length >= USB_DT_INTERFACE_SIZE &&
                             descriptor.bytes[kInterfaceNumber] == interfaceNumber &&
                             descriptor.bytes[kInterfaceClass] == USB_CLASS_VIDEO &&
                             descriptor.bytes[kInterfaceSubClass] == UVC_SC_VIDEOCONTROL;
        } else if (inVideoControl && descriptor.type() == USB_DT_CS_INTERFACE &&
                   descriptor.length > kSubtype &&
                   descriptor.bytes[kSubtype] == UVC_VC_EXTENSION_UNIT) {
            // Only inside a VideoControl interface does this subtype mean an extension unit;
            // audio interfaces use the same number for their feature units.
            addExtensionUnit(descriptor, units);
        }
        offset += descriptor.length;
    }
}

} // namespace

Units findExtensionUnits(const std::vector<std::uint8_t>& descriptors,
                         const VideoControlInterface& where) {
    Units units;
    const std::size_t size = descriptors.size();
    std::size_t offset = 0;
    Descriptor descriptor;
    if (nextDescriptor(descriptors, offset, size, descriptor) &&
        descriptor.type() == USB_DT_DEVICE) {
        offset += descriptor.length;
    }
    while (nextDescriptor(descriptors, offset, size, descriptor)) {
        if (descriptor.type() != USB_DT_CONFIG || descriptor.length < USB_DT_CONFIG_SIZE) {
            break;
        }
        const std::size_t totalLength = static_cast<std::size_t>(
            descriptor.bytes[kConfigTotalLength] | descriptor.bytes[kConfigTotalLength + 1] << 8);
        if (totalLength < descriptor.length) {
            break;
        }
        // A configuration cut short by the blob is walked as far as it goes.
        const std::size_t end = std::min(size, offset + totalLength);
        if (descriptor.bytes[kConfigValue] == where.configurationValue) {
            walkConfiguration(descriptors, offset + descriptor.length, end, where.interfaceNumber,
                              units);
        }
        offset += totalLength;
    }
    return units;
}

} // namespace quendral::uvc
