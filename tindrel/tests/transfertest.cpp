#include "backend/videodeviceupdatetask.h"
#include "common/bufferimageprovider.h"
#include "controller/logger.h"
#include "support/fakeaitdevice.h"
#include "support/recordingsink.h"

#include <gtest/gtest.h>

using namespace quendral;
using test::Bytes;
using test::command;

namespace {

const Bytes kStart{0x01, 0x00, 0x03, 0, 0, 0, 0, 0};
const Bytes kFinalize{0x01, 0x01, 0x03, 0, 0, 0, 0, 0};

// Opens up the update itself, which UpdateTask::start never enters without device and image.
class ProbedVideoTask final : public fwupdate::backend::VideoDeviceUpdateTask {
public:
    using VideoDeviceUpdateTask::runUpdate;
};

class TransferTest : public ::testing::Test {
protected:
    test::FakeEnvironment environment;
    test::FakeAitDevice& device = *environment.device;
    fwupdate::controller::Logger logger;
    std::shared_ptr<test::RecordingSink> sink = std::make_shared<test::RecordingSink>();
    ProbedVideoTask task;

    TransferTest() {
        logger.addSink(sink);
        task.setLogger(&logger);
    }

    void give(const std::vector<char>& image) {
        task.setImageProvider(std::make_unique<fwupdate::BufferImageProvider>(
            image.data(), static_cast<int>(image.size())));
    }

    // Flashes `image` from a clean slate and answers the outcome.
    bool flash(const std::vector<char>& image) {
        task.reset();
        give(image);
        device.clearCalls();
        EXPECT_TRUE(task.start());
        bool succeeded = false;
        EXPECT_TRUE(task.waitForResult(&succeeded));
        return succeeded;
    }

    long long msFromFinalizeToClose() const {
        return device.callsTo(true, 1).back().atMs - device.callsTo(true, 4).back().atMs;
    }
};

} // namespace

TEST_F(TransferTest, SendsTheProtocolByteForByte) {
    const std::vector<char> image = test::validImage(70);
    ASSERT_TRUE(flash(image));
    std::vector<std::pair<std::uint8_t, Bytes>> writes;
    for (const auto& call : device.calls()) {
        if (call.write) {
            writes.emplace_back(call.selector, call.data);
        }
    }
    Bytes last(32, 0);
    std::copy(image.begin() + 64, image.end(), last.begin());
    EXPECT_EQ(writes, (std::vector<std::pair<std::uint8_t, Bytes>>{
                          {4, kStart},
                          {3, Bytes(image.begin(), image.begin() + 32)},
                          {3, Bytes(image.begin() + 32, image.begin() + 64)},
                          {3, last},
                          {4, kFinalize},
                          {1, command(0x7F, 0x0B)}}));
    EXPECT_EQ(device.callsTo(false, 5).size(), 2u) << "initiation status and one poll";
    EXPECT_TRUE(sink->contains(4, "Video device firmware image is 70 bytes."));
    EXPECT_TRUE(sink->contains(3, "Firmware update finalized."));

    // Progress follows the steps of a run.
    device.busyPolls = 6;
    std::vector<int> seen;
    device.onCall = [&](const test::XuCall&) {
        seen.push_back(task.progress());
    };
    ASSERT_TRUE(flash(test::validImage(64)));
    // Initiation (write, read), two blocks, finalize, seven polls, closing command.
    EXPECT_EQ(seen, (std::vector<int>{1, 1, 2, 29, 57, 61, 66, 71, 75, 80, 85, 85, 92}));
    EXPECT_EQ(task.progress(), 100);
}

TEST_F(TransferTest, DeviceInfoVersionSecondDeviceAndUsb3Query) {
    // A good reply, two decimal digits a part, read end to end: ToolTest's info.
    task.deviceInfo(true);
    device.versionReply = {0x00, 0x00, 0x01, 0x02};
    device.videoInputs = 2;
    EXPECT_FALSE(task.deviceInfo(false).multipleDevices) << "the cache answers";
    const auto info = task.deviceInfo(true);
    EXPECT_TRUE(info.multipleDevices);
    EXPECT_EQ(info.firmwareVersion.major, 0);
    EXPECT_TRUE(sink->contains(1, "Invalid data while reading XU control 'IXU_FIRMWARE_VERSION'."));
    device.videoInputs = 1;
    device.captureInterfaces = 3;
    device.failReads[2] = 1;
    EXPECT_TRUE(task.deviceInfo(true).multipleDevices);
    EXPECT_TRUE(sink->contains(1, "Unable to read XU control 'IXU_FIRMWARE_VERSION': "));
    // A failed count and an absent device: ApiTest.DeviceInfoAndErrorTextRules.

    // The USB 3 query answers false only for a clear USB 2 reply.
    const std::tuple<Bytes, int, bool> cases[] = {
        {command(0x00, 0x01), 0, false}, {command(0x00, 0x00), 0, true},
        {command(0x01, 0x01), 0, true},  {Bytes{0x00, 0x01, 0x00, 0x00}, 0, true},
        {command(0x00, 0x01), 1, true},
    };
    for (const auto& [reply, failedReads, usb3] : cases) {
        device.readOverride[2] = reply;
        device.failReads[2] = failedReads;
        EXPECT_EQ(task.isUsb3(), usb3);
        EXPECT_EQ(device.callsTo(true, 1).back().data, command(0x7F, 0x0C));
    }
    device.readOverride.clear();
    device.attached = false;
    device.clearCalls();
    EXPECT_FALSE(task.isUsb3());
    task.switchToUsb2();
    EXPECT_TRUE(device.calls().empty());
    // The switches' commands: ApiTest's ensureCorrectUsbMode table.
}

TEST_F(TransferTest, FinalizationTimingAndTimeout) {
    ASSERT_TRUE(flash(test::validImage(32)));
    EXPECT_EQ(msFromFinalizeToClose(), 10000) << "done at the first poll: 8000 ms more";
    device.busyPolls = 2;
    ASSERT_TRUE(flash(test::validImage(32)));
    EXPECT_EQ(msFromFinalizeToClose(), 6000);
    device.busyPolls = 0;
    device.onCall = [&](const test::XuCall& call) {
        if (call.write && call.data == kFinalize) {
            device.failReads[5] = 2;
        }
    };
    EXPECT_TRUE(flash(test::validImage(32))) << "two failed reads are retried";
    EXPECT_EQ(msFromFinalizeToClose(), 14000);

    device.onCall = nullptr;
    device.finalStatus = 0x01; // never ready: given up after 61 polls
    EXPECT_FALSE(flash(test::validImage(32)));
    const auto polls = device.callsTo(false, 5);
    EXPECT_EQ(polls.size(), 1u + 61u);
    EXPECT_EQ(polls.back().atMs - device.callsTo(true, 4).back().atMs, 122000);
    EXPECT_TRUE(sink->contains(1, "Timeout waiting for device to finalize firmware update."));
    EXPECT_EQ(task.errorCode(), 127);
    EXPECT_TRUE(device.callsTo(true, 1).empty()) << "no closing command after a failure";
}

TEST_F(TransferTest, EachFailingStepHasItsCode) {
    const auto failsWith = [&](int code, const std::string& message) {
        EXPECT_FALSE(flash(test::validImage(128)));
        EXPECT_EQ(task.errorCode(), code);
        EXPECT_TRUE(sink->contains(1, message)) << message;
        device.failWriteAt.clear();
        device.failReads.clear();
        device.initiationStatus = 0x00;
        device.finalStatus = 0x00;
    };
    device.initiationStatus = 0x05;
    failsWith(125, "Device rejected firmware update initialization.");
    device.failWriteAt[4] = 1;
    failsWith(125, "Unable to set XU control 'AITXU_SET_MMP': ");
    device.failReads[5] = 1;
    failsWith(125, "Unable to get XU control 'AITXU_GET_MMP_RESULT': ");
    EXPECT_TRUE(sink->contains(1, "Unable to update video device: Initiation failed."));

    device.failWriteAt[3] = 2;
    failsWith(126, "Unable to set XU control 'AITXU_SET_FW_DATA': ");
    EXPECT_EQ(device.callsTo(true, 3).size(), 2u);
    EXPECT_EQ(device.callsTo(true, 4).size(), 1u) << "no finalization after a stall";
    EXPECT_TRUE(sink->contains(1, "Unable to update video device: Failed to send image data."));
    EXPECT_EQ(task.progress(), 100);

    device.failWriteAt[4] = 2;
    failsWith(127, "Unable to set XU control 'AITXU_SET_MMP': ");
    device.finalStatus = 0x82;
    failsWith(127, "Device returned firmware update failure during finalization.");
    EXPECT_TRUE(sink->contains(1, "Unable to update video device: Finalization failed."));
}

TEST_F(TransferTest, MissingDeviceOrImageFailsAndASimulatedUpdatePassesWithoutTraffic) {
    const auto runFailsWith = [&](int code, const std::string& message) {
        task.runUpdate();
        EXPECT_EQ(task.errorCode(), code);
        EXPECT_TRUE(sink->contains(1, message)) << message;
    };
    runFailsWith(124, "Unable to update video device: Device is unavailable.");
    ASSERT_TRUE(task.deviceInfo(true).present);
    device.clearCalls();
    runFailsWith(122, "Unable to obtain firmware image.");
    give({});
    runFailsWith(123, "Unable to read firmware image data.");
    task.setImageProvider(std::make_unique<fwupdate::BufferImageProvider>(nullptr, 5));
    runFailsWith(123, "Unable to copy firmware image data.");
    EXPECT_TRUE(device.calls().empty());

    ASSERT_TRUE(task.setProperty(1, {true, ""})); // a simulated update
    EXPECT_TRUE(flash(test::validImage(64)));
    EXPECT_TRUE(device.calls().empty());
    EXPECT_EQ(environment.clock->countSleeps(1000), 10);
}

TEST_F(TransferTest, ImageVerification) {
    give({'A', 'I', 'T', '8', '4'});
    EXPECT_FALSE(task.imageInfo().valid);
    EXPECT_TRUE(sink->contains(1, "Video device image verification failed: Image too short."));
    give({' ', 'A', 'I', 'T', '8', '4', '2'});
    EXPECT_FALSE(task.imageInfo().valid);
    EXPECT_TRUE(sink->contains(1, "Video device image verification failed: Signature invalid."));
    give({'A', 'I', 'T', '8', '4', '2'});
    EXPECT_TRUE(task.imageInfo().valid);
    EXPECT_EQ(task.imageInfo().source, "in-memory buffer");
    EXPECT_TRUE(sink->contains(4, "Video device image verification succeeded."));
}
