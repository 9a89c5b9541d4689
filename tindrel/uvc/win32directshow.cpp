#include "common/win32text.h"
#include "common/winexception.h"
#include "uvc/win32devicedirectory.h"

#include <dshow.h>

namespace quendral::uvc {

namespace {

template <typename Interface> class ComRef {
public:
    ComRef() = default;
    ~ComRef() {
        if (m_pointer != nullptr) {
            m_pointer->Release();
        }
    }
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;

    Interface* operator->() const { return m_pointer; }
    Interface** out() { return &m_pointer; }
    void** outVoid() { return reinterpret_cast<void**>(&m_pointer); }

private:
    Interface* m_pointer = nullptr;
};

// The library runs on its callers' threads: it uses the COM apartment a thread already has, and
// leaves only one that it entered itself.
class ComApartment {
public:
    ComApartment() {
        const HRESULT result = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        if (FAILED(result) && result != RPC_E_CHANGED_MODE) {
            throw util::WinException(static_cast<std::uint32_t>(result),
                                     "Failed to initialize COM");
        }
        m_entered = SUCCEEDED(result);
    }
    ~ComApartment() {
        if (m_entered) {
            CoUninitialize();
        }
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    bool m_entered = false;
};

void check(HRESULT result, const char* context) {
    if (FAILED(result)) {
        throw util::WinException(static_cast<std::uint32_t>(result), context);
    }
}

} // namespace

std::vector<std::string> directShowVideoInputPaths() {
    ComApartment apartment;
    ComRef<ICreateDevEnum> devices;
    check(CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_INPROC_SERVER,
                           IID_ICreateDevEnum, devices.outVoid()),
          "Failed to create the system device enumerator");
    ComRef<IEnumMoniker> monikers;
    const HRESULT listed =
        devices->CreateClassEnumerator(CLSID_VideoInputDeviceCategory, monikers.out(), 0);
    check(listed, "Failed to list the video input devices");
    std::vector<std::string> paths;
    if (listed == S_FALSE) {
        // The category is empty, and no enumerator was made.
        return paths;
    }
    for (;;) {
        ComRef<IMoniker> moniker;
        if (monikers->Next(1, moniker.out(), nullptr) != S_OK) {
            break;
        }
        ComRef<IPropertyBag> properties;
        if (FAILED(
                moniker->BindToStorage(nullptr, nullptr, IID_IPropertyBag, properties.outVoid()))) {
            continue;
        }
        // Software sources have no device path; they are no device of ours either.
        VARIANT value;
        VariantInit(&value);
        if (SUCCEEDED(properties->Read(L"DevicePath", &value, nullptr)) && value.vt == VT_BSTR) {
            paths.push_back(util::toUtf8(value.bstrVal));
        }
        VariantClear(&value);
    }
    return paths;
}

} // namespace quendral::uvc
