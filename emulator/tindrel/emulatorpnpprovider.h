#pragma once

#include "util/ipnpprovider.h"

#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace quendral::emulator {

class EventThread;
struct Event;

/// Device presence for the library while it runs against the emulator: the emulated capture
/// interface's arrivals and removals, with its path, on the provider's own thread.
class EmulatorPnpProvider : public util::IPnpProvider {
public:
    /// Throws std::runtime_error("Failed to create message window") when the emulator cannot
    /// be watched, as a platform provider does when it cannot set up its watcher.
    explicit EmulatorPnpProvider(const std::string& socketPath);
    /// Returns once the provider's thread has ended; no listener is called afterwards.
    ~EmulatorPnpProvider() override;

    bool addListener(util::IPnpListener* listener) override;
    bool removeListener(util::IPnpListener* listener) override;

private:
    void deliver(const Event& event);

    // Listeners are called with this held, so a listener removed from another thread is never
    // called after removeListener returns; recursive, so a listener may (un)register itself.
    std::recursive_mutex mutex_;
    std::vector<util::IPnpListener*> listeners_;
    bool attached_ = false;
    std::string devicePath_;
    std::unique_ptr<EventThread> thread_;
};

} // namespace quendral::emulator
