#include "fakelibrary.h"

#include <cstring>

namespace {

std::atomic<bool> initialized{false};
std::atomic<int> pollsLeft{-1};
DeviceInfoRecord record{};

FakeLibrary& fake() {
    return FakeLibrary::instance();
}

const DeviceInfoRecord* deviceInfo() {
    const int version = fake().version;
    record.name = "Kestal";
    record.present = fake().present ? 1 : 0;
    record.singleDevice = 1;
    std::memcpy(&record.version, &version, sizeof record.version);
    return &record;
}

bool startUpdate(const char*, int size) {
    if (!fake().present || size <= 0 || pollsLeft >= 0)
        return false;
    ++fake().flashesStarted;
    pollsLeft = fake().pollsUntilDone.load();
    return true;
}

bool updateResult(bool* succeeded) {
    if (pollsLeft != 0) {
        if (pollsLeft > 0)
            --pollsLeft;
        return false;
    }
    *succeeded = fake().flashSucceeds;
    return true;
}

const TindrelApi api{
    [] { initialized = true; },
    [] { initialized = false; },
    [] { return initialized.load(); },
    [] { return ""; },
    deviceInfo,
    startUpdate,
    [] { return pollsLeft > 0 ? 50 : -1; },
    updateResult,
    [] { pollsLeft = -1; },
    [](int) {},
    [] { return !fake().wantsModeSwitch; },
    [](bool) {
        ++fake().usbModeCorrections;
        return !fake().wantsModeSwitch;
    },
};

} // namespace

FakeLibrary& FakeLibrary::instance() {
    static FakeLibrary library;
    return library;
}

void FakeLibrary::install() {
    FakeLibrary& f = instance();
    f.present = true;
    f.version = 0x00220201;
    f.wantsModeSwitch = false;
    f.flashSucceeds = true;
    f.pollsUntilDone = 2;
    f.flashesStarted = 0;
    f.usbModeCorrections = 0;
    pollsLeft = -1;
    TindrelApi::setCurrent(&api);
}
