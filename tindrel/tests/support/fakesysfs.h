#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

typedef struct _UMockdevTestbed UMockdevTestbed;

namespace quendral::test {

// A sysfs tree and udev event source faked by umockdev, for the udev clients in this process.
// Works only in a process started by umockdev-wrapper (which preloads the redirection); the
// constructor fails the test otherwise, rather than letting it look at the real system.
class FakeSysfs {
public:
    using Pairs = std::vector<std::pair<std::string, std::string>>;

    FakeSysfs();
    ~FakeSysfs();
    FakeSysfs(const FakeSysfs&) = delete;
    FakeSysfs& operator=(const FakeSysfs&) = delete;

    bool active() const { return m_active; }

    // A USB device ("1-2") with its identifiers, its raw descriptors and configuration 1.
    std::string addUsbDevice(const std::string& name, std::uint16_t vendorId,
                             std::uint16_t productId, const std::vector<std::uint8_t>& descriptors);
    // Interface `number` of a USB device ("1-2:1.<number>").
    std::string addInterface(const std::string& usbDevice, int number);
    // /dev/<sysname> of subsystem video4linux or sound, below `parent`.
    std::string addNode(const std::string& subsystem, const std::string& parent,
                        const std::string& sysname, const Pairs& attributes = {},
                        const Pairs& properties = {});
    // Any device, without a node.
    std::string addDevice(const std::string& subsystem, const std::string& name,
                          const std::string& parent, const Pairs& attributes,
                          const Pairs& properties);
    void removeDevice(const std::string& syspath);

    // Sends the device's event as udevd would, with its current properties.
    void uevent(const std::string& syspath, const char* action);

private:
    UMockdevTestbed* m_testbed = nullptr;
    bool m_active = false;
};

} // namespace quendral::test
