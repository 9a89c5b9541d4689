#include "common/win32text.h"
#include "uvc/iksfilter.h"

namespace quendral::uvc {

namespace {

class SystemKsFilter final : public IKsFilter {
public:
    explicit SystemKsFilter(HANDLE handle)
        : m_handle(handle) {}
    ~SystemKsFilter() override { CloseHandle(m_handle); }
    SystemKsFilter(const SystemKsFilter&) = delete;
    SystemKsFilter& operator=(const SystemKsFilter&) = delete;

    DWORD ioControl(DWORD code, void* in, DWORD inSize, void* out, DWORD outSize,
                    DWORD* returned) override {
        *returned = 0;
        if (DeviceIoControl(m_handle, code, in, inSize, out, outSize, returned, nullptr)) {
            return ERROR_SUCCESS;
        }
        return GetLastError();
    }

private:
    HANDLE m_handle;
};

class SystemKsFilterOpener final : public IKsFilterOpener {
public:
    std::unique_ptr<IKsFilter> open(const std::string& path) override {
        // Shared: the program's own camera opens this filter while the library has it. Who
        // may flash the device is settled by its claim (win32deviceclaim.h) instead.
        const HANDLE handle = CreateFileW(util::toWide(path).c_str(), GENERIC_READ | GENERIC_WRITE,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle == INVALID_HANDLE_VALUE) {
            return nullptr;
        }
        return std::make_unique<SystemKsFilter>(handle);
    }
};

} // namespace

std::shared_ptr<IKsFilterOpener> systemKsFilterOpener() {
    static const auto opener = std::make_shared<SystemKsFilterOpener>();
    return opener;
}

} // namespace quendral::uvc
