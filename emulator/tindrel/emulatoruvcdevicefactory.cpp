#include "emulatoruvcdevicefactory.h"

#include "deviceids.h"
#include "emulatorclient.h"
#include "emulatoruvcdevice.h"
#include "wireprotocol.h"

#include <cerrno>
#include <fcntl.h>
#include <stdexcept>
#include <sys/file.h>
#include <unistd.h>

namespace quendral::emulator {

namespace {
constexpr int kVideoInterfacesPerDevice = 1;
constexpr int kCaptureInterfacesPerDevice = 2; // video and audio
} // namespace

EmulatorUvcDeviceFactory::EmulatorUvcDeviceFactory(std::string socketPath)
    : socketPath_(std::move(socketPath)) {}

std::shared_ptr<EmulatorClient> EmulatorUvcDeviceFactory::client() {
    std::lock_guard<std::mutex> lock(mutex_);
    // Once connected, the client reconnects by itself after a daemon restart.
    if (!client_) {
        client_ = EmulatorClient::connect(socketPath_);
    }
    return client_;
}

std::optional<DeviceState> EmulatorUvcDeviceFactory::matchingDevice(std::uint16_t vendorId,
                                                                    std::uint16_t productId,
                                                                    bool throwWhenUnreachable) {
    const auto emulator = client();
    const auto state = emulator ? emulator->state() : std::nullopt;
    if (!state) {
        if (throwWhenUnreachable) {
            throw std::runtime_error("no emulator answers on " + socketPath_);
        }
        return std::nullopt;
    }
    if (!state->attached || vendorId != deviceVendorId || productId != deviceProductId) {
        return std::nullopt;
    }
    return state;
}

std::unique_ptr<uvc::IUvcDevice> EmulatorUvcDeviceFactory::open(std::uint16_t vendorId,
                                                                std::uint16_t productId,
                                                                bool* heldElsewhere) {
    const auto state = matchingDevice(vendorId, productId, false);
    if (!state) {
        return nullptr;
    }
    const int lockFd = ::open(wire::videoNodeLockPath(socketPath_, state->enumeration).c_str(),
                              O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (lockFd < 0) {
        return nullptr;
    }
    if (::flock(lockFd, LOCK_EX | LOCK_NB) != 0) {
        *heldElsewhere = errno == EWOULDBLOCK;
        ::close(lockFd);
        return nullptr;
    }
    auto emulator = client();
    // The unit must answer, as a platform backend probes it; asking for a length does so
    // without touching the registers.
    if (!emulator || !emulator->xuLength(state->enumeration, 2).ok) {
        ::close(lockFd);
        return nullptr;
    }
    return std::make_unique<EmulatorUvcDevice>(std::move(emulator), *state, vendorId, productId,
                                               lockFd);
}

bool EmulatorUvcDeviceFactory::countVideoInputDevices(std::uint16_t vendorId,
                                                      std::uint16_t productId, int threshold) {
    const int count = matchingDevice(vendorId, productId, true) ? kVideoInterfacesPerDevice : 0;
    return count > threshold;
}

bool EmulatorUvcDeviceFactory::countCaptureInterfaces(std::uint16_t vendorId,
                                                      std::uint16_t productId, int threshold) {
    const int count = matchingDevice(vendorId, productId, true) ? kCaptureInterfacesPerDevice : 0;
    return count > threshold;
}

} // namespace quendral::emulator
