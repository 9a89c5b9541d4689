#pragma once

#include "tindrelapi.h"

#include <atomic>

// Plays the firmware library and its device for the application's tests: a device whose
// presence and version the test sets, a flash that finishes after a few polls, and a USB mode.
// The firmware thread calls it while the test thread sets it: every field is atomic.
struct FakeLibrary {
    std::atomic<bool> present{true};
    std::atomic<int> version{0x00220201}; // 1.2.34, as the library's four bytes
    std::atomic<bool> wantsModeSwitch{false};
    std::atomic<bool> flashSucceeds{true};
    std::atomic<int> pollsUntilDone{2};
    std::atomic<int> flashesStarted{0};
    std::atomic<int> usbModeCorrections{0};

    static FakeLibrary& instance();
    // Puts the fake in the library's place, reset to the defaults above.
    static void install();
};
