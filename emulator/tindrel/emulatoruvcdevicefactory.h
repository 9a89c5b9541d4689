#pragma once

#include "uvc/uvcdevicefactory.h"

#include <memory>
#include <mutex>
#include <optional>
#include <string>

namespace quendral::emulator {

class EmulatorClient;
struct DeviceState;

/// Finds the emulated device for the library: one device with a video and an audio capture
/// interface while it is attached, none otherwise.
class EmulatorUvcDeviceFactory : public uvc::IUvcDeviceFactory {
public:
    explicit EmulatorUvcDeviceFactory(std::string socketPath);

    /// The device is this process's alone while it is open, as a video node locked by the
    /// platform backend: a lock file beside the emulator's socket stands for the node.
    std::unique_ptr<uvc::IUvcDevice> open(std::uint16_t vendorId, std::uint16_t productId,
                                          bool* heldElsewhere) override;
    /// Throws std::runtime_error when the emulator does not answer.
    bool countVideoInputDevices(std::uint16_t vendorId, std::uint16_t productId,
                                int threshold) override;
    /// Throws std::runtime_error when the emulator does not answer.
    bool countCaptureInterfaces(std::uint16_t vendorId, std::uint16_t productId,
                                int threshold) override;

private:
    std::shared_ptr<EmulatorClient> client();
    /// The device's state when it is attached and carries these identifiers.
    std::optional<DeviceState> matchingDevice(std::uint16_t vendorId, std::uint16_t productId,
                                              bool throwWhenUnreachable);

    std::string socketPath_;
    std::mutex mutex_;
    std::shared_ptr<EmulatorClient> client_;
};

} // namespace quendral::emulator
