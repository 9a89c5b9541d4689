#include "uvc/win32setupapi.h"

#include "common/win32text.h"
#include "common/winexception.h"

#include <ks.h>
#include <ksmedia.h>

#include <algorithm>
#include <cstddef>
#include <cwchar>

namespace quendral::uvc {

namespace {

// SetupAPI refuses records whose cbSize is not the size of its own build; the detail record is
// byte-packed on 32-bit Windows.
constexpr bool kIs64Bit = sizeof(void*) == 8;
static_assert(sizeof(SP_DEVICE_INTERFACE_DATA) == (kIs64Bit ? 32 : 28), "interface record");
static_assert(sizeof(SP_DEVINFO_DATA) == (kIs64Bit ? 32 : 28), "device record");
static_assert(sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W) == (kIs64Bit ? 8 : 6), "detail record");
static_assert(offsetof(SP_DEVICE_INTERFACE_DETAIL_DATA_W, DevicePath) == 4, "detail path");

const GUID kVideoCategory = {STATIC_KSCATEGORY_VIDEO};
const GUID kCaptureCategory = {STATIC_KSCATEGORY_CAPTURE};

// Instance ids are at most 200 characters; names are cut at this length.
constexpr DWORD kTextCapacity = 256;

std::wstring registryString(HKEY key, const wchar_t* name) {
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExW(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        type != REG_SZ) {
        return {};
    }
    std::wstring value(size / sizeof(wchar_t) + 1, L'\0');
    if (RegQueryValueExW(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(value.data()),
                         &size) != ERROR_SUCCESS) {
        return {};
    }
    // The stored string may or may not end in its terminator.
    value.resize(wcsnlen(value.c_str(), size / sizeof(wchar_t)));
    return value;
}

class SetupApiDirectory final : public IDeviceDirectory {
public:
    explicit SetupApiDirectory(const SetupApiCalls& calls)
        : m_calls(calls) {}

    std::vector<DeviceInterface> videoCaptureInterfaces() override {
        return presentInterfaces(kVideoCategory);
    }
    std::vector<std::string> captureInterfacePaths() override {
        std::vector<std::string> paths;
        for (auto& entry : presentInterfaces(kCaptureCategory)) {
            paths.push_back(std::move(entry.path));
        }
        return paths;
    }
    std::vector<std::string> videoInputDevicePaths() override {
        return directShowVideoInputPaths();
    }

private:
    std::vector<DeviceInterface> presentInterfaces(const GUID& category) const;
    std::string friendlyName(HDEVINFO set, SP_DEVICE_INTERFACE_DATA& entry,
                             SP_DEVINFO_DATA& device) const;
    std::wstring deviceProperty(HDEVINFO set, SP_DEVINFO_DATA& device, DWORD property) const;

    SetupApiCalls m_calls;
};

std::wstring SetupApiDirectory::deviceProperty(HDEVINFO set, SP_DEVINFO_DATA& device,
                                               DWORD property) const {
    wchar_t buffer[kTextCapacity] = {};
    if (!m_calls.getDeviceRegistryProperty(set, &device, property, nullptr,
                                           reinterpret_cast<BYTE*>(buffer),
                                           sizeof buffer - sizeof(wchar_t), nullptr)) {
        return {};
    }
    return buffer;
}

// The name capture programs show: the interface's own, else its device's.
std::string SetupApiDirectory::friendlyName(HDEVINFO set, SP_DEVICE_INTERFACE_DATA& entry,
                                            SP_DEVINFO_DATA& device) const {
    std::wstring name;
    const HKEY key = m_calls.openDeviceInterfaceRegKey(set, &entry, 0, KEY_READ);
    if (key != INVALID_HANDLE_VALUE) {
        name = registryString(key, L"FriendlyName");
        RegCloseKey(key);
    }
    for (const DWORD property : {SPDRP_FRIENDLYNAME, SPDRP_DEVICEDESC}) {
        if (name.empty()) {
            name = deviceProperty(set, device, property);
        }
    }
    return util::toUtf8(name);
}

std::vector<DeviceInterface> SetupApiDirectory::presentInterfaces(const GUID& category) const {
    const HDEVINFO set =
        m_calls.getClassDevs(&category, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
    if (set == INVALID_HANDLE_VALUE) {
        throw util::WinException(GetLastError(), "Failed to list the capture devices");
    }
    const std::unique_ptr<void, decltype(m_calls.destroyDeviceInfoList)> list(
        set, m_calls.destroyDeviceInfoList);
    std::vector<DeviceInterface> found;
    for (DWORD index = 0;; ++index) {
        SP_DEVICE_INTERFACE_DATA entry{};
        entry.cbSize = sizeof entry;
        if (!m_calls.enumDeviceInterfaces(set, nullptr, &category, index, &entry)) {
            const DWORD error = GetLastError();
            if (error == ERROR_NO_MORE_ITEMS) {
                break;
            }
            throw util::WinException(error, "Failed to list the capture devices");
        }
        DWORD needed = 0;
        m_calls.getDeviceInterfaceDetail(set, &entry, nullptr, 0, &needed, nullptr);
        // DWORDs, so that the detail record that begins the buffer is aligned.
        std::vector<DWORD> buffer(
            std::max<std::size_t>(needed, sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W)) /
                sizeof(DWORD) +
            1);
        auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(buffer.data());
        detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W);
        SP_DEVINFO_DATA device{};
        device.cbSize = sizeof device;
        wchar_t instanceId[kTextCapacity] = {};
        if (!m_calls.getDeviceInterfaceDetail(set, &entry, detail,
                                              static_cast<DWORD>(buffer.size() * sizeof(DWORD)),
                                              nullptr, &device) ||
            !m_calls.getDeviceInstanceId(set, &device, instanceId, kTextCapacity, nullptr)) {
            // Gone since it was listed.
            continue;
        }
        found.push_back({util::toUtf8(detail->DevicePath), friendlyName(set, entry, device),
                         util::toUtf8(instanceId)});
    }
    return found;
}

} // namespace

std::shared_ptr<IDeviceDirectory> systemDeviceDirectory(const SetupApiCalls& calls) {
    return std::make_shared<SetupApiDirectory>(calls);
}

std::shared_ptr<IDeviceDirectory> systemDeviceDirectory() {
    static const auto directory = systemDeviceDirectory(SetupApiCalls{});
    return directory;
}

} // namespace quendral::uvc
