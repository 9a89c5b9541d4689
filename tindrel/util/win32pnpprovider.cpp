#include "util/win32pnpprovider.h"

#include "common/win32text.h"
#include "util/pnplistenerlist.h"

#include <windows.h>

#include <dbt.h>
#include <ks.h>

#include <future>
#include <stdexcept>
#include <thread>

namespace quendral::util {

namespace {

const char* const kSetupFailure = "Failed to create message window";
const GUID kCaptureCategory = {STATIC_KSCATEGORY_CAPTURE};

// The window class belongs to the module that registers it: this library's, not the program's.
HINSTANCE thisModule() {
    static const char anchor = 0;
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                           GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&anchor), &module);
    return module;
}

} // namespace

struct Win32PnpProvider::Private {
    PnpListenerList listeners;
    HWND window = nullptr;
    std::thread thread;

    void run(std::promise<bool>& started);
    bool setUp(HINSTANCE module, HDEVNOTIFY* notification);
    void handle(WPARAM event, const DEV_BROADCAST_HDR* header);
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
};

LRESULT CALLBACK Win32PnpProvider::Private::windowProc(HWND window, UINT message, WPARAM wParam,
                                                       LPARAM lParam) {
    auto* self = reinterpret_cast<Private*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_DEVICECHANGE && self != nullptr) {
        self->handle(wParam, reinterpret_cast<const DEV_BROADCAST_HDR*>(lParam));
        return TRUE;
    }
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void Win32PnpProvider::Private::handle(WPARAM event, const DEV_BROADCAST_HDR* header) {
    const bool arrived = event == DBT_DEVICEARRIVAL;
    if ((!arrived && event != DBT_DEVICEREMOVECOMPLETE) || header == nullptr ||
        header->dbch_devicetype != DBT_DEVTYP_DEVICEINTERFACE) {
        return;
    }
    const auto* entry = reinterpret_cast<const DEV_BROADCAST_DEVICEINTERFACE_W*>(header);
    try {
        listeners.deliver(arrived ? PnpListenerList::Change::Arrived
                                  : PnpListenerList::Change::Removed,
                          toUtf8(entry->dbcc_name));
    } catch (const std::exception&) {
        // A listener's failure, or no memory for a path, costs this one event only: this
        // thread is the library's boundary.
    }
}

bool Win32PnpProvider::Private::setUp(HINSTANCE module, HDEVNOTIFY* notification) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = &Private::windowProc;
    windowClass.hInstance = module;
    windowClass.lpszClassName = Win32PnpProvider::windowClass();
    if (RegisterClassExW(&windowClass) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        return false;
    }
    window = CreateWindowExW(0, windowClass.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                             nullptr, module, nullptr);
    if (window == nullptr) {
        return false;
    }
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    DEV_BROADCAST_DEVICEINTERFACE_W filter{};
    filter.dbcc_size = sizeof filter;
    filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    filter.dbcc_classguid = kCaptureCategory;
    *notification = RegisterDeviceNotificationW(window, &filter, DEVICE_NOTIFY_WINDOW_HANDLE);
    if (*notification == nullptr) {
        DestroyWindow(window);
        return false;
    }
    return true;
}

void Win32PnpProvider::Private::run(std::promise<bool>& started) {
    const HINSTANCE module = thisModule();
    HDEVNOTIFY notification = nullptr;
    const bool ready = setUp(module, &notification);
    started.set_value(ready);
    if (ready) {
        MSG message;
        while (GetMessageW(&message, nullptr, 0, 0) > 0) {
            DispatchMessageW(&message);
        }
        UnregisterDeviceNotification(notification);
    }
    // Fails harmlessly while another provider's window still uses the class.
    UnregisterClassW(Win32PnpProvider::windowClass(), module);
}

Win32PnpProvider::Win32PnpProvider()
    : d(std::make_unique<Private>()) {
    std::promise<bool> started;
    auto ready = started.get_future();
    try {
        d->thread = std::thread([this, &started] { d->run(started); });
    } catch (const std::system_error&) {
        throw std::runtime_error(kSetupFailure);
    }
    if (!ready.get()) {
        d->thread.join();
        throw std::runtime_error(kSetupFailure);
    }
}

Win32PnpProvider::~Win32PnpProvider() {
    // Closing destroys the window on its own thread, which ends the message loop.
    PostMessageW(d->window, WM_CLOSE, 0, 0);
    d->thread.join();
}

bool Win32PnpProvider::addListener(IPnpListener* listener) {
    d->listeners.add(listener);
    return true;
}

bool Win32PnpProvider::removeListener(IPnpListener* listener) {
    return d->listeners.remove(listener);
}

const wchar_t* Win32PnpProvider::windowClass() {
    return L"TindrelPnpWindow";
}

} // namespace quendral::util
