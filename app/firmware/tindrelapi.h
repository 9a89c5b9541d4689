#pragma once

#include <tindrel/tindrel.h>

// The firmware library's twelve exports as one table, so that tests can stand in for the
// library (and its device) without a device or a flash that takes minutes.
struct TindrelApi {
    void (*initialize)();
    void (*deInitialize)();
    bool (*isInitialized)();
    const char* (*lastError)();
    const DeviceInfoRecord* (*getDeviceInfo)();
    bool (*startFWUpdate)(const char* image, int size);
    int (*getUpdateProgress)();
    bool (*getUpdateResult)(bool* succeeded);
    void (*resetState)();
    void (*execSpecialFunction)(int id);
    bool (*isUsb3)();
    bool (*ensureCorrectUsbMode)(bool hostIsWindows7);

    // The library itself unless a test replaced it.
    static const TindrelApi& current();
    // Replaces the table (null: back to the library); call before the firmware thread starts.
    static void setCurrent(const TindrelApi* api);
};
