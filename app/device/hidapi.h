#pragma once

#include <hidapi/hidapi.h>

#include <cstddef>

// The hidapi calls the HID status device makes, as one table, so that the emulated device can
// answer them in place of the system's HID devices.
struct HidApi {
    int (*init)();
    hid_device_info* (*enumerate)(unsigned short vendorId, unsigned short productId);
    void (*freeEnumeration)(hid_device_info* devices);
    hid_device* (*openPath)(const char* path);
    int (*getProductString)(hid_device* device, wchar_t* string, size_t maxLength);
    int (*getInputReport)(hid_device* device, unsigned char* data, size_t length);
    const wchar_t* (*error)(hid_device* device);
    void (*close)(hid_device* device);

    // hidapi itself, or the emulated device when KESTAL_EMULATOR names one; decided once.
    static const HidApi& current();
    // Replaces the table for the rest of the process (null: back to the default); for tests.
    static void setCurrent(const HidApi* api);

    static const HidApi& system();
    static const HidApi& emulated();
};
