#pragma once

#include <windows.h>

#include <memory>
#include <string>

namespace quendral::uvc {

// The right to talk to one device's camera chip, which one program at a time has on the whole
// machine: two programs' transfers interleaved can leave the device without working firmware.
// The kernel-streaming filter cannot carry it, as it is opened with sharing for the sake of the
// program's own camera. A named kernel object per device does: it exists exactly as long as a
// holder keeps its handle, so a program that ends in whatever way gives the device back.
class DeviceClaim {
public:
    // Claims the device with this instance id (SetupAPI's, in any case); null when it cannot be
    // claimed, with *heldElsewhere set when another holder has it.
    static std::unique_ptr<DeviceClaim> take(const std::string& instanceId, bool* heldElsewhere);
    ~DeviceClaim();

    DeviceClaim(const DeviceClaim&) = delete;
    DeviceClaim& operator=(const DeviceClaim&) = delete;

private:
    explicit DeviceClaim(HANDLE object)
        : m_object(object) {}

    HANDLE m_object;
};

} // namespace quendral::uvc
