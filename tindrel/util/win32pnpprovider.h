#pragma once

#include "util/ipnpprovider.h"

#include <windows.h>

#include <memory>

namespace quendral::util {

// The two calls that start and end the system's device notifications to a window, so that
// tests can watch the registration and play the system's part.
struct DeviceNotificationCalls {
    decltype(&RegisterDeviceNotificationW) registerFor = &RegisterDeviceNotificationW;
    decltype(&UnregisterDeviceNotification) unregister = &UnregisterDeviceNotification;
};

// Follows the arrival and removal of capture device interfaces (video and audio) through device
// notifications to a hidden message-only window, on a thread of its own that runs the window's
// messages, and passes the interface paths to the listeners on that thread, in the order
// Windows sent them. The paths carry the USB identifiers, as Windows names USB interfaces.
//
// Listeners may be added and removed from any thread, also from inside a call: once
// removeListener returns on another thread, that listener is not called again.
class Win32PnpProvider final : public IPnpProvider {
public:
    // Starts watching. Throws std::runtime_error("Failed to create message window") when the
    // window or its device notification cannot be set up.
    explicit Win32PnpProvider(DeviceNotificationCalls calls = {});
    // Returns once the thread has ended, its notification and window gone.
    ~Win32PnpProvider() override;

    Win32PnpProvider(const Win32PnpProvider&) = delete;
    Win32PnpProvider& operator=(const Win32PnpProvider&) = delete;

    bool addListener(IPnpListener* listener) override;
    bool removeListener(IPnpListener* listener) override;

    // The class of the hidden window, by which debuggers and tests find it.
    static const wchar_t* windowClass();

private:
    struct Private;
    std::unique_ptr<Private> d;
};

} // namespace quendral::util
