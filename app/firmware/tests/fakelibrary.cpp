#include "fakelibrary.h"

#include <cstring>
#include <new>

namespace {

std::atomic<bool> initialized{false};
DeviceInfoRecord record{};

FakeLibrary& fake = FakeLibrary::instance();

const TindrelApi api{
    [] { initialized = true; },
    [] { initialized = false; },
    [] { return initialized.load(); },
    [] { return ""; },
    [] {
        const int version = fake.version;
        record.name = "Kestal";
        record.present = fake.present ? 1 : 0;
        std::memcpy(&record.version, &version, sizeof record.version);
        return static_cast<const DeviceInfoRecord*>(&record);
    },
    [](const char*, int size) {
        if (!fake.present || size <= 0 || fake.pollsLeft >= 0)
            return false;
        ++fake.flashesStarted;
        fake.pollsLeft = fake.pollsPerFlash.load();
        return true;
    },
    [] { return fake.pollsLeft > 0 ? 50 : -1; },
    [](bool* succeeded) {
        // Running until the polls are used up; idle at -1.
        if (fake.pollsLeft != 0) {
            if (fake.pollsLeft > 0)
                --fake.pollsLeft;
            return false;
        }
        *succeeded = true;
        return true;
    },
    [] { fake.pollsLeft = -1; },
    [](int) {},
    [] { return !fake.wantsModeSwitch; },
    [](bool) {
        ++fake.usbModeCorrections;
        return !fake.wantsModeSwitch;
    },
};

} // namespace

FakeLibrary& FakeLibrary::instance() {
    static FakeLibrary library;
    return library;
}

void FakeLibrary::install() {
    // Atomics are neither copied nor moved: a fresh one is built where the old one was.
    new (&instance()) FakeLibrary;
    TindrelApi::setCurrent(&api);
}
