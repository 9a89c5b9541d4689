#pragma once

#include "tindrelapi.h"

#include <atomic>

// Plays the firmware library and its device for the application's tests: a device whose
// presence, version and USB mode the test sets, and a flash that ends after a few polls. The
// firmware thread calls it while the test thread sets it, hence atomics.
struct FakeLibrary {
    std::atomic<bool> present{true};
    std::atomic<int> version{0x00220201}; // 1.2.34 in the library's four bytes
    std::atomic<bool> wantsModeSwitch{false};
    std::atomic<int> flashesStarted{0};
    std::atomic<int> pollsLeft{-1};
    // How long a flash runs, in polls; the test may end one early by setting pollsLeft to 0.
    std::atomic<int> pollsPerFlash{2};
    std::atomic<int> usbModeCorrections{0};

    static FakeLibrary& instance();
    // Puts a fresh fake in the library's place.
    static void install();
};
