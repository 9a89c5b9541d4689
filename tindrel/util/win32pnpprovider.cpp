#include "util/win32pnpprovider.h"

#include "common/win32text.h"
#include "util/pnplistenerlist.h"

#include <dbt.h>
#include <ks.h>

#include <cstddef>
#include <future>
#include <stdexcept>
#include <thread>

namespace quendral::util {

namespace {

const char* const kSetupFailure = "Failed to create message window";
const GUID kCaptureCategory = {STATIC_KSCATEGORY_CAPTURE};

// The filter the system reads at registration and the records it sends back, and the class
// record; the same layout on 32 and 64 bits apart from the class record's pointers.
static_assert(sizeof(DEV_BROADCAST_HDR) == 12, "notification header");
static_assert(sizeof(DEV_BROADCAST_DEVICEINTERFACE_W) == 32 &&
                  offsetof(DEV_BROADCAST_DEVICEINTERFACE_W, dbcc_classguid) == 12 &&
                  offsetof(DEV_BROADCAST_DEVICEINTERFACE_W, dbcc_name) == 28,
              "device interface notification");
static_assert(sizeof(WNDCLASSEXW) == (sizeof(void*) == 8 ? 80 : 48), "window class record");

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
    DeviceNotificationCalls calls;
    PnpListenerList listeners;
    // Ends the thread. An event rather than a message: setting it cannot fail the way posting
    // to a full message queue can, which would leave the destructor waiting for good.
    HANDLE stop = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HWND window = nullptr;
    HDEVNOTIFY notification = nullptr;
    std::thread thread;

    ~Private() {
        if (stop != nullptr) {
            CloseHandle(stop);
        }
    }

    void run(std::promise<bool>& started);
    bool setUp(HINSTANCE module);
    void runMessages();
    void tearDown();
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
    if (message == WM_CLOSE) {
        // The window lives exactly as long as its provider, whoever asks it to close.
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

bool Win32PnpProvider::Private::setUp(HINSTANCE module) {
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
    notification = calls.registerFor(window, &filter, DEVICE_NOTIFY_WINDOW_HANDLE);
    return notification != nullptr;
}

// Sleeps until a message comes or the provider stops; sent messages, device notifications
// among them, are handled while the thread looks for posted ones.
void Win32PnpProvider::Private::runMessages() {
    while (MsgWaitForMultipleObjectsEx(1, &stop, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE) ==
           WAIT_OBJECT_0 + 1) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageW(&message);
        }
    }
}

// The notification goes while its window still exists, then the window.
void Win32PnpProvider::Private::tearDown() {
    if (notification != nullptr) {
        calls.unregister(notification);
    }
    if (window != nullptr) {
        DestroyWindow(window);
    }
}

void Win32PnpProvider::Private::run(std::promise<bool>& started) {
    const HINSTANCE module = thisModule();
    const bool ready = setUp(module);
    started.set_value(ready);
    if (ready) {
        runMessages();
    }
    tearDown();
    // Fails harmlessly while another provider's window still uses the class.
    UnregisterClassW(Win32PnpProvider::windowClass(), module);
}

Win32PnpProvider::Win32PnpProvider(DeviceNotificationCalls calls)
    : d(std::make_unique<Private>()) {
    d->calls = calls;
    if (d->stop == nullptr) {
        throw std::runtime_error(kSetupFailure);
    }
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
    SetEvent(d->stop);
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
