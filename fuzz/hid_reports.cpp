// What the HID status interface hands the program: its product name and its input reports,
// of any length and content, and failures, all from the input.
#include "hidapi.h"
#include "kestalhiddevice.h"

#include <QCoreApplication>

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstring>
#include <cwchar>

namespace {

FuzzedDataProvider* input = nullptr;
hid_device_info deviceEntry{};
char devicePath[] = "/dev/hidraw-fuzz";

hid_device* handle() {
    return reinterpret_cast<hid_device*>(&deviceEntry);
}

const HidApi fuzzedHid = {
    [] { return 0; },
    [](unsigned short, unsigned short) -> hid_device_info* {
        return input->ConsumeBool() ? &deviceEntry : nullptr;
    },
    [](hid_device_info*) {},
    [](const char*) -> hid_device* { return input->ConsumeBool() ? handle() : nullptr; },
    [](hid_device*, wchar_t* text, size_t maxLength) {
        // A backend may fill the whole buffer without a terminator.
        const std::string name = input->ConsumeBool() ? std::string(maxLength, 'n')
                                                      : input->ConsumeRandomLengthString(maxLength);
        for (size_t i = 0; i < name.size(); ++i)
            text[i] = static_cast<wchar_t>(static_cast<unsigned char>(name[i]));
        return input->ConsumeBool() ? 0 : -1;
    },
    [](hid_device*, unsigned char* data, size_t length) {
        const std::vector<unsigned char> report =
            input->ConsumeBytes<unsigned char>(input->ConsumeIntegralInRange<size_t>(0, length));
        std::copy(report.begin(), report.end(), data);
        return input->ConsumeBool() ? static_cast<int>(report.size()) : -1;
    },
    [](hid_device*) -> const wchar_t* {
        return input->ConsumeBool() ? L"fuzzed failure" : nullptr;
    },
    [](hid_device*) {},
};

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    static QCoreApplication application(*argc, *argv);
    deviceEntry.path = devicePath;
    HidApi::setCurrent(&fuzzedHid);
    KestalHIDDevice::setPollInterval(std::chrono::milliseconds(0));
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider provider(data, size);
    input = &provider;
    {
        const QSharedPointer<KestalHIDDevice> device =
            KestalHIDDevice::acquire(QString::fromLatin1(devicePath));
        if (device) {
            device->startTimerIfStopped();
            // A device that is lost stops polling: the rest of the input may stay unread.
            for (int poll = 0; poll < 64 && provider.remaining_bytes() > 0; ++poll)
                QCoreApplication::processEvents();
        }
        KestalHIDDevice::forget(QString::fromLatin1(devicePath));
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    input = nullptr;
    return 0;
}
