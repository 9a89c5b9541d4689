#pragma once

#include <string>

namespace quendral::util {

// Receives device-interface arrivals and removals, on the provider's own thread.
class IPnpListener {
public:
    virtual ~IPnpListener() = default;

    virtual void deviceArrived(const std::string& devicePath) = 0;
    virtual void deviceRemoved(const std::string& devicePath) = 0;
};

} // namespace quendral::util
