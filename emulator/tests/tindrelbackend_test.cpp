// tindrel's device access and device presence on the emulated device.

#include "deviceids.h"
#include "emulatorbackends.h"
#include "emulatorpnpprovider.h"
#include "emulatoruvcdevicefactory.h"
#include "firmwareimage.h"
#include "runningdaemon.h"
#include "util/pnpproviderfactory.h"
#include "uvc/aitextensionunit.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <condition_variable>
#include <mutex>
#include <stdexcept>

namespace quendral::emulator {
namespace {

using testing::RunningDaemon;
using testing::ScopedEnv;
using Bytes = std::vector<std::uint8_t>;

const Bytes kVersionRequest = {0x0B, 0, 0, 0, 0, 0, 0, 0};

class TindrelBackendTest : public ::testing::Test {
protected:
    std::unique_ptr<uvc::IUvcDevice> open() {
        return factory_.open(deviceVendorId, deviceProductId, &heldElsewhere_);
    }

    Bytes readVersion(uvc::IUvcDevice& device) {
        EXPECT_TRUE(device.writeXu(uvc::aitExtensionUnit(), 1, kVersionRequest).ok);
        Bytes reply;
        EXPECT_TRUE(device.readXu(uvc::aitExtensionUnit(), 2, reply).ok);
        return reply;
    }

    RunningDaemon daemon_;
    EmulatorUvcDeviceFactory factory_{daemon_.socketPath()};
    bool heldElsewhere_ = false;
};

TEST_F(TindrelBackendTest, FactoryFindsTheAttachedDeviceOnly) {
    auto device = open();
    ASSERT_TRUE(device);
    EXPECT_EQ(device->usbIds(), std::make_pair(deviceVendorId, deviceProductId));
    EXPECT_NE(device->devicePath().find(testing::idText("vid_", "pid_")), std::string::npos);
    EXPECT_FALSE(device->friendlyName().empty());
    EXPECT_FALSE(factory_.open(0x1234, deviceProductId, &heldElsewhere_));

    // One device: one video input, a video and an audio capture interface.
    EXPECT_TRUE(factory_.countVideoInputDevices(deviceVendorId, deviceProductId, 0));
    EXPECT_FALSE(factory_.countVideoInputDevices(deviceVendorId, deviceProductId, 1));
    EXPECT_TRUE(factory_.countCaptureInterfaces(deviceVendorId, deviceProductId, 1));
    EXPECT_FALSE(factory_.countCaptureInterfaces(deviceVendorId, deviceProductId, 2));

    daemon_.control({"unplug"});
    EXPECT_FALSE(open());
    EXPECT_FALSE(factory_.countVideoInputDevices(deviceVendorId, deviceProductId, 0));
    Bytes data;
    const auto stale = device->readXu(uvc::aitExtensionUnit(), 2, data);
    EXPECT_FALSE(stale.ok);
    EXPECT_EQ(stale.errorCode, static_cast<std::uint32_t>(ENODEV));
}

TEST_F(TindrelBackendTest, WithoutDaemonNothingOpensAndCountingThrows) {
    EmulatorUvcDeviceFactory nowhere(daemon_.directory() + "/nobody.sock");
    EXPECT_FALSE(nowhere.open(deviceVendorId, deviceProductId, &heldElsewhere_));
    EXPECT_THROW(nowhere.countCaptureInterfaces(deviceVendorId, deviceProductId, 2),
                 std::runtime_error);
    EXPECT_THROW(EmulatorPnpProvider(daemon_.directory() + "/nobody.sock"), std::runtime_error);
}

TEST_F(TindrelBackendTest, OtherUnitsDoNotExist) {
    auto device = open();
    ASSERT_TRUE(device);
    const auto other = util::parseGuid("00000000-1111-2222-3333-444444444444");
    Bytes data = {9};
    const auto read = device->readXu(other, 2, data);
    EXPECT_FALSE(read.ok);
    EXPECT_EQ(read.errorCode, 0u);
    EXPECT_EQ(data, Bytes{9});
    EXPECT_FALSE(device->writeXu(other, 1, kVersionRequest).ok);
}

TEST_F(TindrelBackendTest, FlashThroughTheUnitChangesTheVersionAfterReenumeration) {
    auto device = open();
    ASSERT_TRUE(device);
    EXPECT_EQ(readVersion(*device), (Bytes{0, 0, 0, 1, 0, 0, 0, 0}));

    const auto& unit = uvc::aitExtensionUnit();
    const auto image = FirmwareImage::build(FirmwareVersion{2, 4, 6}, 100);
    ASSERT_TRUE(device->writeXu(unit, 4, {0x01, 0x00, 0x03, 0, 0, 0, 0, 0}).ok);
    Bytes status;
    ASSERT_TRUE(device->readXu(unit, 5, status).ok);
    ASSERT_EQ(status.at(0), 0x00);
    for (std::size_t offset = 0; offset < image.size(); offset += 32) {
        Bytes block(32, 0);
        std::copy(image.begin() + static_cast<std::ptrdiff_t>(offset),
                  image.begin() + static_cast<std::ptrdiff_t>(std::min(offset + 32, image.size())),
                  block.begin());
        ASSERT_TRUE(device->writeXu(unit, 3, block).ok);
    }
    ASSERT_TRUE(device->writeXu(unit, 4, {0x01, 0x01, 0x03, 0, 0, 0, 0, 0}).ok);
    ASSERT_TRUE(device->readXu(unit, 5, status).ok);
    EXPECT_EQ(status.at(0), 0x00) << "instant with time scale 0";
    EXPECT_TRUE(device->writeXu(unit, 1, {0x7F, 0x0B, 0, 0, 0, 0, 0, 0}).ok);

    Bytes data;
    EXPECT_FALSE(device->readXu(unit, 2, data).ok) << "the old handle went stale";
    auto again = open();
    ASSERT_TRUE(again);
    EXPECT_EQ(readVersion(*again), (Bytes{0, 0, 0, 2, 0, 4, 0, 6}));
}

class RecordingListener : public util::IPnpListener {
public:
    void deviceArrived(const std::string& path) override { record("+" + path); }
    void deviceRemoved(const std::string& path) override { record("-" + path); }

    bool waitFor(std::size_t count) {
        std::unique_lock<std::mutex> lock(mutex_);
        return changed_.wait_for(lock, std::chrono::seconds(2),
                                 [&] { return events_.size() >= count; });
    }
    std::vector<std::string> events() {
        std::lock_guard<std::mutex> lock(mutex_);
        return events_;
    }

private:
    void record(const std::string& text) {
        std::lock_guard<std::mutex> lock(mutex_);
        events_.push_back(text);
        changed_.notify_all();
    }

    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::string> events_;
};

TEST_F(TindrelBackendTest, PnpProviderDeliversArrivalsAndRemovalsWithThePath) {
    RecordingListener listener;
    RecordingListener removed;
    {
        EmulatorPnpProvider provider(daemon_.socketPath());
        EXPECT_TRUE(provider.addListener(&listener));
        EXPECT_TRUE(provider.addListener(&removed));
        EXPECT_TRUE(provider.removeListener(&removed));
        EXPECT_FALSE(provider.removeListener(&removed));

        daemon_.control({"unplug"});
        daemon_.control({"hdmi", "on"}); // not a presence change
        daemon_.control({"plug"});
        ASSERT_TRUE(listener.waitFor(2));
    }
    const std::string path = daemon_.connect()->state()->videoPath;
    EXPECT_EQ(listener.events(), (std::vector<std::string>{"-" + path, "+" + path}));
    EXPECT_TRUE(removed.events().empty());
}

TEST_F(TindrelBackendTest, BackendsAreInstalledOnlyWhenTheVariableIsSet) {
    ::unsetenv(kSocketEnvVar);
    EXPECT_FALSE(makeEmulatorUvcDeviceFactory());
    EXPECT_FALSE(makeEmulatorPnpProvider());
    EXPECT_FALSE(installEmulatorBackends());
    EXPECT_FALSE(uvc::uvcDeviceFactory()->open(deviceVendorId, deviceProductId, &heldElsewhere_))
        << "the built-in factory finds nothing here";

    {
        ScopedEnv env(kSocketEnvVar, daemon_.socketPath());
        EXPECT_TRUE(makeEmulatorUvcDeviceFactory());
        EXPECT_TRUE(makeEmulatorPnpProvider());
        ASSERT_TRUE(installEmulatorBackends());
    }
    EXPECT_TRUE(uvc::uvcDeviceFactory()->open(deviceVendorId, deviceProductId, &heldElsewhere_));
    EXPECT_TRUE(util::createPnpProvider());
    uvc::setUvcDeviceFactory(nullptr);
    util::setPnpProviderFactory({});
}

} // namespace
} // namespace quendral::emulator
