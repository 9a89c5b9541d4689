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
    UsbDescriptorBuilder& interface(std::uint8_t number, std::uint8_t cls, std::uint8_t subclass) {
        return descriptor({9, 0x04, number, 0, 1, cls, subclass, 0x00, 0x00});
    }
    UsbDescriptorBuilder& videoControlHeader(std::uint8_t streamingInterface) {
        return descriptor({13, 0x24, 0x01, 0x00, 0x01, 0x50, 0x00, 0x80, 0x8d, 0x5b, 0x00, 1,
                           streamingInterface});
    }
    UsbDescriptorBuilder& cameraTerminal(std::uint8_t id) {
        return descriptor({18, 0x24, 0x02, id, 0x01, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
                           0x00, 0x03, 0x0e, 0x00, 0x00});
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
    // Any descriptor, appended as given (lengths included).
    UsbDescriptorBuilder& descriptor(const Bytes& bytes) {
        append(bytes);
        patchTotal();
        return *this;
    }

    // The typical camera: video function on interfaces 0 and 1 with the AIT unit at `aitUnit`,
    // audio function on interfaces 2 and 3. The MJPEG format and the audio feature unit share
    // the extension unit's subtype 6 outside a VideoControl interface; the feature unit, for
    // eight channels with zero per-channel controls, even reads as a well-formed extension unit
    // if the interface class is not looked at.
    static Bytes typicalDevice(std::uint8_t aitUnit = 6) {
        Bytes featureUnit{25, 0x24, 0x06, aitUnit, 1, 0x02, 0x03, 0x00};
        featureUnit.resize(25);
        UsbDescriptorBuilder b;
        b.device(0x3b7a, 0x086c)
            .configuration(1, 4)
            .descriptor({8, 0x0b, 0, 2, 0x0e, 0x03, 0x00, 0x02}) // interface association
            .interface(0, 0x0e, 0x01)
            .videoControlHeader(1)
            .cameraTerminal(1)
            .descriptor({11, 0x24, 0x05, 2, 1, 0x00, 0x00, 0x02, 0x7f, 0x15, 0x00}) // processing
            .extensionUnit(aitUnit, aitGuidBytes(), {2})
            .outputTerminal(3, aitUnit)
            .descriptor({7, 0x05, 0x83, 0x03, 0x10, 0x00, 0x06}) // interrupt endpoint
            .descriptor({5, 0x25, 0x03, 0x10, 0x00})
            .interface(1, 0x0e, 0x02)
            .descriptor({11, 0x24, 0x06, 0x01, 0x01, 0x01, 0x01, 0x00, 0x00, 0x00, 0x00}) // MJPEG
            .interface(2, 0x01, 0x01)
            .descriptor(featureUnit)
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
