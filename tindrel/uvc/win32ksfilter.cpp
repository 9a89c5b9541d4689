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
    std::unique_ptr<IKsFilter> open(const std::string& path, bool* heldElsewhere) override {
        // Two programs talking to the camera chip at once interleave their transfers, which can
        // leave the device without working firmware: no sharing, so whoever opened it first
        // has it for as long as it keeps it open.
        const HANDLE handle =
            CreateFileW(util::toWide(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle == INVALID_HANDLE_VALUE) {
            *heldElsewhere = GetLastError() == ERROR_SHARING_VIOLATION;
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
