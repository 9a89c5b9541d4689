#include "common/win32text.h"
#include "uvc/iksfilter.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace quendral::uvc {

namespace {

// Longer than a camera takes for any control transfer, firmware writes included (Linux's
// driver allows each of them 5 s as well); a request still open after it is a wedged device.
constexpr std::chrono::milliseconds kRequestTimeoutMs{5000};

// The kernel writes a request's outcome into its OVERLAPPED at these places.
static_assert(sizeof(OVERLAPPED) == (sizeof(void*) == 8 ? 32 : 20), "OVERLAPPED size");
static_assert(offsetof(OVERLAPPED, InternalHigh) == sizeof(ULONG_PTR), "OVERLAPPED byte count");
static_assert(offsetof(OVERLAPPED, hEvent) == (sizeof(void*) == 8 ? 24 : 16), "OVERLAPPED event");

// What the driver works on while a request runs. The driver may write into it until the
// request completes, also after the caller gave up on it, so it never lives on the caller's
// stack; one whose cancellation does not complete either is left to the driver for good.
struct Request {
    OVERLAPPED overlapped{};
    HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::vector<std::uint8_t> in;
    std::vector<std::uint8_t> out;
};

class OverlappedKsFilter final : public IKsFilter {
public:
    OverlappedKsFilter(HANDLE handle, std::chrono::milliseconds timeout)
        : m_handle(handle)
        , m_timeoutMs(static_cast<DWORD>(timeout.count())) {
        if (m_request->done == nullptr) {
            m_failure = GetLastError();
        }
    }
    ~OverlappedKsFilter() override {
        CloseHandle(m_handle);
        if (m_request && m_request->done != nullptr) {
            CloseHandle(m_request->done);
        }
    }
    OverlappedKsFilter(const OverlappedKsFilter&) = delete;
    OverlappedKsFilter& operator=(const OverlappedKsFilter&) = delete;

    DWORD ioControl(DWORD code, void* in, DWORD inSize, void* out, DWORD outSize,
                    DWORD* returned) override {
        *returned = 0;
        if (m_failure != ERROR_SUCCESS) {
            return m_failure;
        }
        Request& request = *m_request;
        const auto* inBytes = static_cast<const std::uint8_t*>(in);
        request.in.assign(inBytes, inBytes + inSize);
        // A set's value travels in the output buffer, so the copy goes both ways.
        const auto* outBytes = static_cast<const std::uint8_t*>(out);
        request.out.assign(outBytes, outBytes + outSize);
        request.overlapped = OVERLAPPED{};
        request.overlapped.hEvent = request.done;
        DWORD error = ERROR_SUCCESS;
        if (!DeviceIoControl(m_handle, code, request.in.data(), inSize, request.out.data(), outSize,
                             nullptr, &request.overlapped)) {
            error = GetLastError();
        }
        if (error == ERROR_IO_PENDING) {
            error = awaitCompletion(returned);
        } else {
            // Done at once. The kernel counts the bytes of a result or of a size answer; a
            // refusal before the driver took the request leaves the count 0.
            *returned = static_cast<DWORD>(request.overlapped.InternalHigh);
        }
        if (m_failure == ERROR_SUCCESS && outSize > 0) {
            std::memcpy(out, request.out.data(), outSize);
        }
        return error;
    }

private:
    DWORD awaitCompletion(DWORD* returned) {
        Request& request = *m_request;
        if (WaitForSingleObject(request.done, m_timeoutMs) == WAIT_OBJECT_0) {
            return GetOverlappedResult(m_handle, &request.overlapped, returned, FALSE)
                       ? ERROR_SUCCESS
                       : GetLastError();
        }
        CancelIoEx(m_handle, &request.overlapped);
        if (WaitForSingleObject(request.done, m_timeoutMs) != WAIT_OBJECT_0) {
            static_cast<void>(m_request.release());
        }
        m_failure = ERROR_TIMEOUT;
        return ERROR_TIMEOUT;
    }

    HANDLE m_handle;
    DWORD m_timeoutMs;
    std::unique_ptr<Request> m_request = std::make_unique<Request>();
    // Set once no request can be sent any more: every later one fails with it.
    DWORD m_failure = ERROR_SUCCESS;
};

class SystemKsFilterOpener final : public IKsFilterOpener {
public:
    std::unique_ptr<IKsFilter> open(const std::string& path) override {
        // Shared: the program's own camera opens this filter while the library has it. Who
        // may flash the device is settled by its claim (win32deviceclaim.h) instead.
        const HANDLE handle = CreateFileW(util::toWide(path).c_str(), GENERIC_READ | GENERIC_WRITE,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                          OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
        if (handle == INVALID_HANDLE_VALUE) {
            return nullptr;
        }
        return overlappedKsFilter(handle, kRequestTimeoutMs);
    }
};

} // namespace

std::shared_ptr<IKsFilterOpener> systemKsFilterOpener() {
    static const auto opener = std::make_shared<SystemKsFilterOpener>();
    return opener;
}

std::unique_ptr<IKsFilter> overlappedKsFilter(HANDLE handle, std::chrono::milliseconds timeout) {
    return std::make_unique<OverlappedKsFilter>(handle, timeout);
}

} // namespace quendral::uvc
