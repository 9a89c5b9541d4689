#pragma once

#include "devicestate.h"

#include <memory>
#include <mutex>
#include <optional>

namespace quendral::emulator {

class EmulatorClient;

/// Answers the plugins' question "is there an emulated device to list right now?". Device lists
/// are asked for at any time and from any thread, so every call reads KESTAL_EMULATOR afresh and
/// asks the daemon; the connection is kept between calls.
class EmulatorProbe {
public:
    EmulatorProbe();
    ~EmulatorProbe();
    EmulatorProbe(const EmulatorProbe&) = delete;
    EmulatorProbe& operator=(const EmulatorProbe&) = delete;

    /// True when KESTAL_EMULATOR names a socket; the plugins offer nothing otherwise.
    static bool configured();

    /// The device state when an emulator answers and its device is attached.
    std::optional<DeviceState> attachedDevice();

private:
    std::mutex mutex_;
    std::unique_ptr<EmulatorClient> client_;
};

} // namespace quendral::emulator
