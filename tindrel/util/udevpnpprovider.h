#pragma once

#include "util/ipnpprovider.h"

#include <memory>

namespace quendral::util {

// Follows udev's device events on a thread of its own ("tindrel-pnp") and passes the arrival
// ("add") and removal ("remove") of every device node to the listeners, on that thread, in the
// order udev sent them. The path handed over is the node with its USB identifiers when it has them
// (usbDevicePath); a removal carries the path its arrival had.
//
// Listeners may be added and removed from any thread, also from inside a call: once
// removeListener returns on another thread, that listener is not called again.
class UdevPnpProvider final : public IPnpProvider {
public:
    // Starts watching. Throws std::runtime_error("Failed to create message window") when udev
    // cannot be watched.
    UdevPnpProvider();
    // Returns once the thread has ended.
    ~UdevPnpProvider() override;

    UdevPnpProvider(const UdevPnpProvider&) = delete;
    UdevPnpProvider& operator=(const UdevPnpProvider&) = delete;

    bool addListener(IPnpListener* listener) override;
    bool removeListener(IPnpListener* listener) override;

private:
    struct Private;
    std::unique_ptr<Private> d;
};

} // namespace quendral::util
