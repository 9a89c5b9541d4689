#pragma once

#include "util/ipnplistener.h"

namespace quendral::util {

// Watches the system for device-interface changes and passes them to listeners, which it does
// not own. Construction starts the watching; destruction stops it synchronously.
class IPnpProvider {
public:
    virtual ~IPnpProvider() = default;

    // Appends the listener (duplicates allowed); true.
    virtual bool addListener(IPnpListener* listener) = 0;
    // Removes its first registration; false when it is not registered.
    virtual bool removeListener(IPnpListener* listener) = 0;
};

} // namespace quendral::util
