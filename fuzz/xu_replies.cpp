// What the camera chip answers on its extension unit, as the firmware transfer and the version
// query read it: every reply the device gives comes from the input.
#include "backend/videodeviceupdatetask.h"
#include "common/bufferimageprovider.h"
#include "support/fakeaitdevice.h"

#include <fuzzer/FuzzedDataProvider.h>

using namespace quendral;

namespace {

class FlashingTask final : public fwupdate::backend::VideoDeviceUpdateTask {
public:
    using VideoDeviceUpdateTask::runUpdate;
};

test::Bytes reply(FuzzedDataProvider& input) {
    return input.ConsumeBytes<std::uint8_t>(input.ConsumeIntegralInRange<std::size_t>(0, 12));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    test::FakeEnvironment environment;
    test::FakeAitDevice& device = *environment.device;
    device.versionReply = reply(input);
    device.usb3 = input.ConsumeBool();
    device.initiationStatus = input.ConsumeIntegral<std::uint8_t>();
    device.busyPolls = input.ConsumeIntegralInRange(0, 80);
    device.finalStatus = input.ConsumeBool() ? 0x00 : input.ConsumeIntegral<std::uint8_t>();
    while (input.remaining_bytes() > 0 && device.readOverride.size() < 3) {
        const std::uint8_t selector = input.ConsumeIntegralInRange<std::uint8_t>(1, 6);
        device.readOverride[selector] = reply(input);
    }

    FlashingTask task;
    (void)task.deviceInfo(true);
    const std::vector<char> image = test::validImage(96);
    task.setImageProvider(std::make_unique<fwupdate::BufferImageProvider>(
        image.data(), static_cast<int>(image.size())));
    if (task.start()) {
        bool succeeded = false;
        task.waitForResult(&succeeded);
    }
    return 0;
}
