#pragma once

#include <windows.h>

#include <chrono>
#include <memory>
#include <string>

namespace quendral::uvc {

// An open kernel-streaming filter of a capture interface, reached only through device I/O
// controls. Everything the library sends to a camera on Windows passes this one call, so that
// tests can stand in for the driver.
class IKsFilter {
public:
    virtual ~IKsFilter() = default;

    // One DeviceIoControl. Returns ERROR_SUCCESS when the driver carried it out, else the error
    // it refused it with (ERROR_TIMEOUT for a request it did not finish in time); *returned is
    // the byte count the driver reported either way (for a buffer too short for a property: the
    // size it needs).
    virtual DWORD ioControl(DWORD code, void* in, DWORD inSize, void* out, DWORD outSize,
                            DWORD* returned) = 0;
};

class IKsFilterOpener {
public:
    virtual ~IKsFilterOpener() = default;

    // Opens a device interface (UTF-8 path) for reading and writing, shared with whoever else
    // opens it; null when it cannot be opened.
    virtual std::unique_ptr<IKsFilter> open(const std::string& path) = 0;
};

// Opens the system's device interfaces and sends the real I/O controls.
std::shared_ptr<IKsFilterOpener> systemKsFilterOpener();

// The system's requests on a handle opened for overlapped I/O, which the filter then owns.
// A request that has not completed after `timeout` is cancelled and fails with ERROR_TIMEOUT,
// and every later request fails the same way at once: a device that let one request hang is
// not asked again until it is opened anew.
std::unique_ptr<IKsFilter> overlappedKsFilter(HANDLE handle, std::chrono::milliseconds timeout);

} // namespace quendral::uvc
