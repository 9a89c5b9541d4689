#include "emulatorprobe.h"

#include "emulatorclient.h"

namespace quendral::emulator {

EmulatorProbe::EmulatorProbe() = default;
EmulatorProbe::~EmulatorProbe() = default;

bool EmulatorProbe::configured() {
    return EmulatorClient::socketPathFromEnvironment().has_value();
}

std::optional<DeviceState> EmulatorProbe::attachedDevice() {
    const auto path = EmulatorClient::socketPathFromEnvironment();
    std::lock_guard<std::mutex> lock(mutex_);
    if (!path) {
        client_.reset();
        return std::nullopt;
    }
    if (!client_ || client_->socketPath() != *path) {
        client_ = EmulatorClient::connect(*path);
        if (!client_) {
            return std::nullopt;
        }
    }
    auto state = client_->state();
    if (!state || !state->attached) {
        return std::nullopt;
    }
    return state;
}

} // namespace quendral::emulator
