// tindrel's device access and device presence on the emulated device. Flashing through them is
// ToolTest's, with the shipped library.

#include "deviceids.h"
#include "emulatorbackends.h"
#include "emulatorpnpprovider.h"
#include "emulatoruvcdevicefactory.h"
#include "runningdaemon.h"
#include "support/recordinglistener.h"
#include "uvc/aitextensionunit.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <stdexcept>

namespace quendral::emulator {
namespace {

using Bytes = std::vector<std::uint8_t>;
constexpr auto vid = deviceVendorId;
constexpr auto pid = deviceProductId;

class TindrelBackendTest : public testing::EmulatorTest {
protected:
    EmulatorUvcDeviceFactory factory_{daemon_.socketPath()};
    bool heldElsewhere_ = false;
};

// The PnP provider with and without the variable: ToolTest and AbiTest.
TEST_F(TindrelBackendTest, FactoryFindsTheAttachedDeviceAndItsOneUnitOnlyAndNothingElsewhere) {
    ::unsetenv(kSocketEnvVar);
    EXPECT_FALSE(makeEmulatorUvcDeviceFactory());
    ::setenv(kSocketEnvVar, daemon_.socketPath().c_str(), 1);
    const auto fromVariable = makeEmulatorUvcDeviceFactory();
    ASSERT_TRUE(fromVariable);
    ::unsetenv(kSocketEnvVar);
    EXPECT_TRUE(fromVariable->open(vid, pid, &heldElsewhere_))
        << "the socket is kept from creation";

    auto device = factory_.open(vid, pid, &heldElsewhere_);
    ASSERT_TRUE(device);
    EXPECT_EQ(device->usbIds(), std::make_pair(vid, pid));
    EXPECT_NE(device->devicePath().find("vid_3b7a&pid_086c"), std::string::npos);
    EXPECT_FALSE(factory_.open(0x1234, pid, &heldElsewhere_));

    // One device: one video input, a video and an audio capture interface.
    EXPECT_TRUE(factory_.countVideoInputDevices(vid, pid, 0));
    EXPECT_FALSE(factory_.countVideoInputDevices(vid, pid, 1));
    EXPECT_TRUE(factory_.countCaptureInterfaces(vid, pid, 1));
    EXPECT_FALSE(factory_.countCaptureInterfaces(vid, pid, 2));

    const auto other = util::parseGuid("00000000-1111-2222-3333-444444444444");
    Bytes data = {9};
    const auto read = device->readXu(other, 2, data);
    EXPECT_FALSE(read.ok);
    EXPECT_EQ(read.errorCode, 0u);
    EXPECT_EQ(data, Bytes{9});
    EXPECT_FALSE(device->writeXu(other, 1, Bytes(8)).ok);

    daemon_.control({"unplug"});
    EXPECT_FALSE(factory_.open(vid, pid, &heldElsewhere_));
    EXPECT_FALSE(factory_.countVideoInputDevices(vid, pid, 0));
    const auto stale = device->readXu(uvc::aitExtensionUnit(), 2, data);
    EXPECT_FALSE(stale.ok);
    EXPECT_EQ(stale.errorCode, static_cast<std::uint32_t>(ENODEV));
    EXPECT_EQ(device->writeXu(uvc::aitExtensionUnit(), 3, Bytes(32)).errorCode,
              static_cast<std::uint32_t>(ENODEV));

    EmulatorUvcDeviceFactory nowhere(daemon_.directory() + "/nobody.sock");
    EXPECT_FALSE(nowhere.open(vid, pid, &heldElsewhere_));
    EXPECT_THROW(nowhere.countCaptureInterfaces(vid, pid, 2), std::runtime_error);
    // The PnP provider's refusal: ToolTest.RefusalsExitWithTheirCodeAndReason.
}

TEST_F(TindrelBackendTest, PnpProviderDeliversArrivalsAndRemovalsWithThePath) {
    test::RecordingListener listener;
    test::RecordingListener removed;
    {
        EmulatorPnpProvider provider(daemon_.socketPath());
        EXPECT_TRUE(provider.addListener(&listener));
        EXPECT_TRUE(provider.addListener(&removed));
        EXPECT_TRUE(provider.removeListener(&removed));
        EXPECT_FALSE(provider.removeListener(&removed));

        daemon_.control({"unplug"});
        daemon_.control({"hdmi", "on"}); // not a presence change
        daemon_.control({"plug"});
        ASSERT_TRUE(listener.waitForCount(2));
    }
    const std::string path = daemon_.connect()->state()->videoPath;
    EXPECT_EQ(listener.events(), (std::vector<std::string>{"-" + path, "+" + path}));
    EXPECT_TRUE(removed.events().empty());
}

} // namespace
} // namespace quendral::emulator
