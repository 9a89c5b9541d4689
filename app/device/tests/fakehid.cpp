#include "fakehid.h"

#include <QtGlobal>

#include <cstdlib>
#include <cstring>
#include <cwchar>

FakeHid& FakeHid::instance() {
    static FakeHid fake;
    return fake;
}

FakeInterface* FakeHid::find(const std::string& path) {
    for (FakeInterface& candidate : interfaces)
        if (candidate.path == path)
            return &candidate;
    return nullptr;
}

namespace {

hid_device_info* fakeEnumerate(unsigned short, unsigned short) {
    FakeHid& fake = FakeHid::instance();
    if (++fake.enumerations == fake.readyAtEnumeration)
        for (FakeInterface& candidate : fake.interfaces)
            candidate.openable = true;
    hid_device_info* head = nullptr;
    hid_device_info** tail = &head;
    for (const FakeInterface& candidate : fake.interfaces) {
        auto* info = new hid_device_info{};
        info->path = strdup(candidate.path.c_str());
        *tail = info;
        tail = &info->next;
    }
    return head;
}

void fakeFreeEnumeration(hid_device_info* devices) {
    while (devices) {
        hid_device_info* next = devices->next;
        std::free(devices->path);
        delete devices;
        devices = next;
    }
}

hid_device* fakeOpenPath(const char* path) {
    FakeHid& fake = FakeHid::instance();
    FakeInterface* candidate = fake.find(path);
    if (!candidate || !candidate->openable)
        return nullptr;
    auto* handle = reinterpret_cast<hid_device*>(static_cast<quintptr>(fake.nextHandle++));
    fake.open[handle] = path;
    return handle;
}

int fakeGetInputReport(hid_device* handle, unsigned char* data, size_t length) {
    FakeHid& fake = FakeHid::instance();
    ++fake.reads;
    const auto opened = fake.open.find(handle);
    FakeInterface* candidate = opened == fake.open.end() ? nullptr : fake.find(opened->second);
    if (!candidate || candidate->readFails || length < 2)
        return -1;
    data[0] = candidate->reportId;
    data[1] = candidate->status;
    return candidate->reportLength;
}

} // namespace

const HidApi& fakeHidApi() {
    static const HidApi api{[] { return 0; },
                            fakeEnumerate,
                            fakeFreeEnumeration,
                            fakeOpenPath,
                            [](hid_device*, wchar_t* string, size_t maxLength) {
                                std::wcsncpy(string, L"Fake Kestal", maxLength);
                                return 0;
                            },
                            fakeGetInputReport,
                            [](hid_device*) { return L"device gone"; },
                            [](hid_device* handle) {
                                FakeHid::instance().open.erase(handle);
                            }};
    return api;
}
