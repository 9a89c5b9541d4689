#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <vector>

namespace quendral::test {

using Bytes = std::vector<std::uint8_t>;

// The AIT unit's GUID 23e49ed0-1178-4f31-ae52-d2fb8a8d3b48 as a unit descriptor carries it:
// the first three fields little-endian, the rest in order.
inline const Bytes& aitGuidBytes() {
    static const Bytes bytes{0xd0, 0x9e, 0xe4, 0x23, 0x78, 0x11, 0x31, 0x4f,
                             0xae, 0x52, 0xd2, 0xfb, 0x8a, 0x8d, 0x3b, 0x48};
    return bytes;
}

// Another vendor's unit (a different GUID).
inline const Bytes& otherGuidBytes() {
    static const Bytes bytes{0x41, 0x76, 0x9e, 0xa2, 0x04, 0xde, 0xe3, 0x47,
                             0x8b, 0x2b, 0xf4, 0x34, 0x1a, 0xff, 0x00, 0x3b};
    return bytes;
}

// Builds a device's raw descriptors as sysfs holds them, shaped like a real UVC + UAC device:
// device descriptor, then configurations whose wTotalLength is filled in at the end.
class UsbDescriptorBuilder {
public:
    UsbDescriptorBuilder& device(std::uint16_t vendorId, std::uint16_t productId,
                                 std::uint8_t configurations = 1) {
        append({18, 0x01, 0x00, 0x02, 0xef, 0x02, 0x01, 0x40, lo(vendorId), hi(vendorId),
                lo(productId), hi(productId), 0x00, 0x01, 0x01, 0x02, 0x03, configurations});
        return *this;
    }
    UsbDescriptorBuilder& configuration(std::uint8_t value, std::uint8_t interfaces) {
        m_configStart = m_bytes.size();
        append({9, 0x02, 0, 0, interfaces, value, 0x00, 0x80, 0xfa});
        patchTotal();
        return *this;
    }
    UsbDescriptorBuilder& association(std::uint8_t first, std::uint8_t count, std::uint8_t cls) {
        return descriptor({8, 0x0b, first, count, cls, 0x03, 0x00, 0x02});
    }
    UsbDescriptorBuilder& interface(std::uint8_t number, std::uint8_t cls, std::uint8_t subclass,
                                    std::uint8_t alternate = 0) {
        return descriptor({9, 0x04, number, alternate, 1, cls, subclass, 0x00, 0x00});
    }
    UsbDescriptorBuilder& videoControlHeader(std::uint8_t streamingInterface) {
        return descriptor({13, 0x24, 0x01, 0x00, 0x01, 0x50, 0x00, 0x80, 0x8d, 0x5b, 0x00, 1,
                           streamingInterface});
    }
    UsbDescriptorBuilder& cameraTerminal(std::uint8_t id) {
        return descriptor({18, 0x24, 0x02, id, 0x01, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
                           0x00, 0x03, 0x0e, 0x00, 0x00});
    }
    UsbDescriptorBuilder& processingUnit(std::uint8_t id, std::uint8_t source) {
        return descriptor({11, 0x24, 0x05, id, source, 0x00, 0x00, 0x02, 0x7f, 0x15, 0x00});
    }
    // bLength = 24 + number of sources + control size.
    UsbDescriptorBuilder& extensionUnit(std::uint8_t id, const Bytes& guid,
                                        std::initializer_list<std::uint8_t> sources,
                                        std::uint8_t controlSize = 2) {
        Bytes unit{static_cast<std::uint8_t>(24 + sources.size() + controlSize), 0x24, 0x06, id};
        unit.insert(unit.end(), guid.begin(), guid.end());
        unit.push_back(8); // bNumControls
        unit.push_back(static_cast<std::uint8_t>(sources.size()));
        unit.insert(unit.end(), sources.begin(), sources.end());
        unit.push_back(controlSize);
        unit.insert(unit.end(), controlSize, 0xff);
        unit.push_back(0x00); // iExtension
        return descriptor(unit);
    }
    UsbDescriptorBuilder& outputTerminal(std::uint8_t id, std::uint8_t source) {
        return descriptor({9, 0x24, 0x03, id, 0x01, 0x01, 0x00, source, 0x00});
    }
    UsbDescriptorBuilder& interruptEndpoint() {
        descriptor({7, 0x05, 0x83, 0x03, 0x10, 0x00, 0x06});
        return descriptor({5, 0x25, 0x03, 0x10, 0x00});
    }
    // A VideoStreaming MJPEG format: subtype 6, the number an extension unit has in a
    // VideoControl interface.
    UsbDescriptorBuilder& mjpegFormat() {
        return descriptor({11, 0x24, 0x06, 0x01, 0x01, 0x01, 0x01, 0x00, 0x00, 0x00, 0x00});
    }
    // An audio feature unit for eight channels with mute and volume on the master channel only:
    // subtype 6 again, and with its zero per-channel controls it reads as a well-formed
    // extension unit if the interface class is not looked at.
    UsbDescriptorBuilder& audioFeatureUnit(std::uint8_t id, std::uint8_t source) {
        Bytes unit{25, 0x24, 0x06, id, source, 0x02, 0x03, 0x00};
        unit.insert(unit.end(), 16, 0x00);
        unit.push_back(0x00);
        return descriptor(unit);
    }
    // Any descriptor, appended as given (lengths included).
    UsbDescriptorBuilder& descriptor(const Bytes& bytes) {
        append(bytes);
        patchTotal();
        return *this;
    }

    // The typical camera: video function on interfaces 0 and 1 with the AIT unit at `aitUnit`,
    // audio function on interfaces 2 and 3.
    static Bytes typicalDevice(std::uint8_t aitUnit = 6) {
        UsbDescriptorBuilder b;
        b.device(0x3b7a, 0x086c)
            .configuration(1, 4)
            .association(0, 2, 0x0e)
            .interface(0, 0x0e, 0x01)
            .videoControlHeader(1)
            .cameraTerminal(1)
            .processingUnit(2, 1)
            .extensionUnit(aitUnit, aitGuidBytes(), {2})
            .outputTerminal(3, aitUnit)
            .interruptEndpoint()
            .interface(1, 0x0e, 0x02)
            .mjpegFormat()
            .interface(2, 0x01, 0x01)
            .audioFeatureUnit(aitUnit, 1)
            .interface(3, 0x01, 0x02);
        return b.bytes();
    }

    const Bytes& bytes() const { return m_bytes; }

private:
    static std::uint8_t lo(std::uint16_t v) { return static_cast<std::uint8_t>(v & 0xff); }
    static std::uint8_t hi(std::uint16_t v) { return static_cast<std::uint8_t>(v >> 8); }

    void append(const Bytes& bytes) { m_bytes.insert(m_bytes.end(), bytes.begin(), bytes.end()); }
    void patchTotal() {
        if (!m_configStart) {
            return;
        }
        const auto total = static_cast<std::uint16_t>(m_bytes.size() - *m_configStart);
        m_bytes[*m_configStart + 2] = lo(total);
        m_bytes[*m_configStart + 3] = hi(total);
    }

    Bytes m_bytes;
    std::optional<std::size_t> m_configStart;
};

} // namespace quendral::test
