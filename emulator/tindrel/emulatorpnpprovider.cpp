#include "emulatorpnpprovider.h"

#include "emulatorclient.h"

#include <algorithm>
#include <stdexcept>

namespace quendral::emulator {

EmulatorPnpProvider::EmulatorPnpProvider(const std::string& socketPath) {
    const auto client = EmulatorClient::connect(socketPath);
    auto subscription = client ? client->subscribe() : nullptr;
    const auto state = client ? client->state() : std::nullopt;
    if (!subscription || !state) {
        throw std::runtime_error("Failed to create message window");
    }
    // Only changes from now on are announced, as with a platform watcher.
    attached_ = state->attached;
    devicePath_ = state->videoPath;
    thread_ = std::make_unique<EventThread>(std::move(subscription),
                                            [this](const Event& event) { deliver(event); });
}

EmulatorPnpProvider::~EmulatorPnpProvider() {
    thread_.reset();
}

bool EmulatorPnpProvider::addListener(util::IPnpListener* listener) {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    listeners_.push_back(listener);
    return true;
}

bool EmulatorPnpProvider::removeListener(util::IPnpListener* listener) {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    const auto it = std::find(listeners_.begin(), listeners_.end(), listener);
    if (it == listeners_.end()) {
        return false;
    }
    listeners_.erase(it);
    return true;
}

void EmulatorPnpProvider::deliver(const Event& event) {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    bool arrived = false;
    switch (event.kind) {
    case EventKind::Arrived:
        arrived = true;
        devicePath_ = event.state.videoPath;
        break;
    case EventKind::Removed:
    case EventKind::DaemonLost:
        // Without its daemon the device is gone as far as anybody can tell.
        if (!attached_) {
            return;
        }
        break;
    case EventKind::StateChanged:
        return;
    }
    attached_ = arrived;
    // A listener may change the list while it is called.
    const auto listeners = listeners_;
    for (auto* listener : listeners) {
        if (std::find(listeners_.begin(), listeners_.end(), listener) == listeners_.end()) {
            continue;
        }
        if (arrived) {
            listener->deviceArrived(devicePath_);
        } else {
            listener->deviceRemoved(devicePath_);
        }
    }
}

} // namespace quendral::emulator
