#pragma once

#include "util/ipnplistener.h"

#include <mutex>
#include <string>
#include <vector>

namespace quendral::util {

// The listeners of a PnP provider and their calls, the same on every platform. Listeners may be
// added and removed from any thread, also from inside a call: once remove returns on another
// thread, that listener is not called again.
class PnpListenerList {
public:
    enum class Change { Arrived, Removed };

    // Appends the listener (duplicates allowed).
    void add(IPnpListener* listener);
    // Removes its first registration; false when it is not registered.
    bool remove(IPnpListener* listener);
    // Calls every listener registered when the call begins and still registered when its turn
    // comes, in registration order.
    void deliver(Change change, const std::string& path);

private:
    // Held while listeners are called, so that a removal from another thread waits for a call
    // in progress; recursive, so that a listener may change the list from inside its call.
    std::recursive_mutex m_mutex;
    std::vector<IPnpListener*> m_listeners;
};

} // namespace quendral::util
