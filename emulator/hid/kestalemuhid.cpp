#include "kestalemuhid.h"

#include "deviceids.h"
#include "emulatorclient.h"
#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>

namespace {

using quendral::emulator::EmulatorClient;

constexpr unsigned char kReportId = 0;
constexpr unsigned short kHidUsagePage = 0xFF00;
constexpr unsigned short kHidUsage = 0x0001;

// The one connection of the process: hidapi's calls carry no context to keep it in.
std::mutex gClientMutex;
std::shared_ptr<EmulatorClient> gClient;

thread_local std::wstring tGlobalError = L"Success";

struct EmulatedHidDevice {
    std::shared_ptr<EmulatorClient> client;
    std::uint32_t enumeration = 0;
    std::string path;
    std::wstring error = L"Success";
};

std::wstring widen(const std::string& text) {
    return std::wstring(text.begin(), text.end());
}

std::wstring errnoText(int code) {
    return widen(std::strerror(code));
}

// Follows KESTAL_EMULATOR as it is now, so a program (or a test) pointed at another emulator
// talks to that one from the next call on.
std::shared_ptr<EmulatorClient> client() {
    const auto path = EmulatorClient::socketPathFromEnvironment();
    std::lock_guard<std::mutex> lock(gClientMutex);
    if (!path) {
        gClient.reset();
        tGlobalError = widen(std::string(quendral::emulator::kSocketEnvVar) + " is not set");
        return nullptr;
    }
    if (!gClient || gClient->socketPath() != *path) {
        std::string error;
        gClient = EmulatorClient::connect(*path, &error);
        if (!gClient) {
            tGlobalError = widen(error);
        }
    }
    return gClient;
}

EmulatedHidDevice* unwrap(hid_device* dev) {
    return reinterpret_cast<EmulatedHidDevice*>(dev);
}

wchar_t* duplicate(const std::wstring& text) {
    auto* out = static_cast<wchar_t*>(std::calloc(text.size() + 1, sizeof(wchar_t)));
    if (out != nullptr) {
        std::wmemcpy(out, text.c_str(), text.size());
    }
    return out;
}

} // namespace

extern "C" {

int kestal_emu_hid_init(void) {
    return client() ? 0 : -1;
}

struct hid_device_info* kestal_emu_hid_enumerate(unsigned short vendor_id,
                                                 unsigned short product_id) {
    const auto emulator = client();
    if (!emulator) {
        return nullptr;
    }
    const auto state = emulator->state();
    if (!state) {
        tGlobalError = L"the emulator does not answer";
        return nullptr;
    }
    if (!state->attached || (vendor_id != 0 && vendor_id != quendral::deviceVendorId) ||
        (product_id != 0 && product_id != quendral::deviceProductId)) {
        return nullptr;
    }
    auto* info = static_cast<hid_device_info*>(std::calloc(1, sizeof(hid_device_info)));
    if (info == nullptr) {
        return nullptr;
    }
    info->path = strdup(state->hidPath.c_str());
    info->vendor_id = quendral::deviceVendorId;
    info->product_id = quendral::deviceProductId;
    info->serial_number = duplicate(L"EMU" + std::to_wstring(state->enumeration));
    info->release_number =
        static_cast<unsigned short>((state->versionMajor << 8) | state->versionMinor);
    info->manufacturer_string = duplicate(L"Quendral");
    info->product_string = duplicate(widen(quendral::emulator::kHidProductName));
    info->usage_page = kHidUsagePage;
    info->usage = kHidUsage;
    info->interface_number = 2;
    info->next = nullptr;
    info->bus_type = HID_API_BUS_USB;
    return info;
}

void kestal_emu_hid_free_enumeration(struct hid_device_info* devs) {
    while (devs != nullptr) {
        auto* next = devs->next;
        std::free(devs->path);
        std::free(devs->serial_number);
        std::free(devs->manufacturer_string);
        std::free(devs->product_string);
        std::free(devs);
        devs = next;
    }
}

hid_device* kestal_emu_hid_open_path(const char* path) {
    if (path == nullptr) {
        tGlobalError = L"no path given";
        return nullptr;
    }
    const auto emulator = client();
    if (!emulator) {
        return nullptr;
    }
    const auto state = emulator->state();
    if (!state || !state->attached || state->hidPath != path) {
        tGlobalError = errnoText(ENODEV);
        return nullptr;
    }
    auto* device = new EmulatedHidDevice{emulator, state->enumeration, state->hidPath, L"Success"};
    return reinterpret_cast<hid_device*>(device);
}

int kestal_emu_hid_get_product_string(hid_device* dev, wchar_t* string, size_t maxlen) {
    if (dev == nullptr || string == nullptr || maxlen == 0) {
        return -1;
    }
    const auto product = widen(quendral::emulator::kHidProductName);
    const auto count = std::min(product.size(), maxlen - 1);
    std::wmemcpy(string, product.c_str(), count);
    string[count] = L'\0';
    return 0;
}

int kestal_emu_hid_get_input_report(hid_device* dev, unsigned char* data, size_t length) {
    if (dev == nullptr) {
        return -1;
    }
    auto* device = unwrap(dev);
    if (data == nullptr || length == 0) {
        device->error = L"no buffer given";
        return -1;
    }
    if (data[0] != kReportId) {
        device->error = L"no such report";
        return -1;
    }
    const auto result = device->client->readHidReport(device->enumeration);
    if (!result.ok) {
        device->error = errnoText(result.errorCode);
        return -1;
    }
    const auto count = std::min(result.data.size(), length);
    std::memcpy(data, result.data.data(), count);
    return static_cast<int>(count);
}

const wchar_t* kestal_emu_hid_error(hid_device* dev) {
    return dev == nullptr ? tGlobalError.c_str() : unwrap(dev)->error.c_str();
}

void kestal_emu_hid_close(hid_device* dev) {
    delete unwrap(dev);
}

} // extern "C"
