#include "common/win32text.h"
#include "common/winexception.h"
#include "uvc/win32devicedirectory.h"

#include <windows.h>

#include <ks.h>
#include <ksmedia.h>
#include <setupapi.h>

#include <algorithm>
#include <cwchar>

namespace quendral::uvc {

namespace {

const GUID kVideoCategory = {STATIC_KSCATEGORY_VIDEO};
const GUID kCaptureCategory = {STATIC_KSCATEGORY_CAPTURE};

class DeviceInfoList {
public:
    explicit DeviceInfoList(const GUID& category)
        : m_set(SetupDiGetClassDevsW(&category, nullptr, nullptr,
                                     DIGCF_PRESENT | DIGCF_DEVICEINTERFACE)) {
        if (m_set == INVALID_HANDLE_VALUE) {
            throw util::WinException(GetLastError(), "Failed to list the capture devices");
        }
    }
    ~DeviceInfoList() { SetupDiDestroyDeviceInfoList(m_set); }
    DeviceInfoList(const DeviceInfoList&) = delete;
    DeviceInfoList& operator=(const DeviceInfoList&) = delete;

    HDEVINFO get() const { return m_set; }

private:
    HDEVINFO m_set;
};

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

std::wstring deviceProperty(HDEVINFO set, SP_DEVINFO_DATA& device, DWORD property) {
    wchar_t buffer[256] = {};
    if (!SetupDiGetDeviceRegistryPropertyW(set, &device, property, nullptr,
                                           reinterpret_cast<BYTE*>(buffer),
                                           sizeof buffer - sizeof(wchar_t), nullptr)) {
        return {};
    }
    return buffer;
}

// The name capture programs show: the interface's own, else its device's.
std::string friendlyName(HDEVINFO set, SP_DEVICE_INTERFACE_DATA& entry, SP_DEVINFO_DATA& device) {
    std::wstring name;
    const HKEY key = SetupDiOpenDeviceInterfaceRegKey(set, &entry, 0, KEY_READ);
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

std::vector<DeviceInterface> presentInterfaces(const GUID& category) {
    const DeviceInfoList list(category);
    std::vector<DeviceInterface> found;
    for (DWORD index = 0;; ++index) {
        SP_DEVICE_INTERFACE_DATA entry{};
        entry.cbSize = sizeof entry;
        if (!SetupDiEnumDeviceInterfaces(list.get(), nullptr, &category, index, &entry)) {
            const DWORD error = GetLastError();
            if (error == ERROR_NO_MORE_ITEMS) {
                break;
            }
            throw util::WinException(error, "Failed to list the capture devices");
        }
        DWORD needed = 0;
        SetupDiGetDeviceInterfaceDetailW(list.get(), &entry, nullptr, 0, &needed, nullptr);
        // DWORDs, so that the detail record that begins the buffer is aligned.
        std::vector<DWORD> buffer(
            std::max<std::size_t>(needed, sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W)) /
                sizeof(DWORD) +
            1);
        auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(buffer.data());
        detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W);
        SP_DEVINFO_DATA device{};
        device.cbSize = sizeof device;
        if (!SetupDiGetDeviceInterfaceDetailW(list.get(), &entry, detail,
                                              static_cast<DWORD>(buffer.size() * sizeof(DWORD)),
                                              nullptr, &device)) {
            // Gone since it was listed.
            continue;
        }
        found.push_back(
            {util::toUtf8(detail->DevicePath), friendlyName(list.get(), entry, device)});
    }
    return found;
}

class SystemDeviceDirectory final : public IDeviceDirectory {
public:
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
};

} // namespace

std::shared_ptr<IDeviceDirectory> systemDeviceDirectory() {
    static const auto directory = std::make_shared<SystemDeviceDirectory>();
    return directory;
}

} // namespace quendral::uvc
