#include "common/ilogger.h"
#include "controller/updatecontroller.h"
#include "deviceids.h"
#include "support/fakeaitdevice.h"
#include "support/recordingsink.h"

#include <gtest/gtest.h>

#include <deque>
#include <future>
#include <stdexcept>

using namespace quendral;
using fwupdate::controller::PowerStatus;
using fwupdate::controller::UpdateController;
using Events = std::vector<std::string>;

namespace {

// A task whose starts and outcomes the test scripts; it notes its calls in a shared journal.
class FakeTask final : public fwupdate::IUpdateTask {
public:
    FakeTask(std::string id, Events& journal)
        : m_id(std::move(id))
        , m_journal(journal) {}

    std::deque<bool> startResults; // then true
    std::deque<bool> outcomes;     // then true
    int code = -1;
    int progressValue = -1;
    bool multipleDevices = false;
    bool ready = true;
    bool throwOnStart = false;

    std::string id() const override { return m_id; }
    std::string displayName() const override { return "Update " + m_id; }
    void setLogger(util::ILogger*) override {}
    void setImageProvider(std::unique_ptr<fwupdate::IImageProvider>) override {}
    bool setProperty(int, const fwupdate::PropertyValue&) override { return true; }
    fwupdate::ImageInfo imageInfo() override { return {}; }
    fwupdate::TaskDeviceInfo deviceInfo(bool) override {
        fwupdate::TaskDeviceInfo info;
        info.multipleDevices = multipleDevices;
        return info;
    }
    fwupdate::VersionComparator versionComparator() const override { return {}; }
    int errorCode() const override { return code; }
    bool start() override {
        m_journal.push_back("start " + m_id);
        if (throwOnStart) {
            throw std::runtime_error("device vanished");
        }
        return next(startResults);
    }
    bool isReady() override { return ready; }
    int progress() const override { return progressValue; }
    int reservedInt() const override { return -1; }
    bool waitForResult(bool* succeeded) override {
        *succeeded = next(outcomes);
        return true;
    }
    void reset() override { m_journal.push_back("reset " + m_id); }
    bool supportsDevice(std::uint16_t vendorId, std::uint16_t productId) override {
        return vendorId == deviceVendorId && productId == deviceProductId;
    }
    void prepare() override { m_journal.push_back("prepare " + m_id); }
    bool reservedFlag() override { return true; }

private:
    static bool next(std::deque<bool>& queue) {
        const bool value = queue.empty() || queue.front();
        if (!queue.empty()) {
            queue.pop_front();
        }
        return value;
    }

    std::string m_id;
    Events& m_journal;
};

class FakePower final : public fwupdate::controller::IPowerStatusSource {
public:
    explicit FakePower(std::optional<PowerStatus> status)
        : m_status(status) {}
    std::optional<PowerStatus> query() const override { return m_status; }

private:
    std::optional<PowerStatus> m_status;
};

// Holds every pause until released.
class GateClock final : public util::IClock {
public:
    std::promise<void> release;
    std::shared_future<void> gate = release.get_future().share();
    TimePoint now() const override { return {}; }
    void sleepFor(std::chrono::milliseconds) override { gate.wait(); }
};

class ControllerTest : public ::testing::Test {
protected:
    test::FakeEnvironment environment;
    Events journal; // written by the run; read once it has ended
    UpdateController controller{std::make_unique<FakePower>(std::nullopt)};
    std::shared_ptr<test::RecordingSink> sink = std::make_shared<test::RecordingSink>();

    ControllerTest() { controller.logger()->addSink(sink); }

    FakeTask& add(const std::string& id) {
        auto task = std::make_shared<FakeTask>(id, journal);
        EXPECT_TRUE(controller.registerTask(task));
        return *task;
    }

    // Runs to the end and answers the outcome.
    bool run() {
        journal.clear();
        EXPECT_TRUE(controller.start());
        while (!controller.isIdle()) {
            std::this_thread::yield();
        }
        bool succeeded = false;
        EXPECT_TRUE(controller.result(&succeeded));
        controller.reset();
        return succeeded;
    }
};

} // namespace

TEST_F(ControllerTest, RunsEnabledTasksInOrderEachAfterThePause) {
    add("video");
    add("codec");
    add("audio");
    ASSERT_TRUE(controller.setTaskEnabled("codec", false));
    EXPECT_TRUE(run());
    EXPECT_EQ(journal,
              (Events{"start video", "start audio", "reset video", "reset codec", "reset audio"}));
    EXPECT_EQ(environment.clock->sleeps(), (std::vector<long long>{4750, 4750}));
    EXPECT_TRUE(sink->contains(4, "Skipping disabled task 'Update codec'."));
    EXPECT_TRUE(sink->contains(3, "Starting task 'Update audio' ..."));
    EXPECT_TRUE(sink->contains(3, "Successfully completed task 'Update audio'."));
}

TEST_F(ControllerTest, FailedOrUnstartableVideoTaskEndsTheRun) {
    FakeTask& video = add("video");
    add("audio");
    video.outcomes = {false};
    EXPECT_FALSE(run());
    EXPECT_EQ(journal.front(), "start video");
    EXPECT_EQ(journal.at(1), "reset video") << "audio was never started";
    EXPECT_TRUE(sink->contains(1, "Task 'Update video' failed."));
    video.startResults = {false};
    EXPECT_FALSE(run());
    EXPECT_TRUE(sink->contains(1, "Task 'Update video' failed to start."));
    video.throwOnStart = true;
    EXPECT_FALSE(run()) << "an exception ends the run as a failure, not as a hang";
    EXPECT_TRUE(sink->contains(1, "Update run aborted: device vanished"));
}

TEST_F(ControllerTest, AudioIsStartedFourTimesThenTheRunGoesOn) {
    add("audio").outcomes = {false, false, false, false};
    add("video");
    EXPECT_FALSE(run());
    EXPECT_EQ(journal,
              (Events{"start audio", "reset audio", "start audio", "reset audio", "start audio",
                      "reset audio", "start audio", "start video", "reset audio", "reset video"}));
    for (const char* attempt : {"1", "2", "3"}) {
        EXPECT_TRUE(sink->contains(
            2, std::string("Will retry task 'Update audio' update.  Try times: ") + attempt));
    }
    EXPECT_EQ(sink->count(1, "Task 'Update audio' failed."), 4);
    EXPECT_EQ(environment.clock->countSleeps(4750), 2) << "no pause before a retry";
}

TEST_F(ControllerTest, SuccessfulRetryClearsEarlierFailuresAndOnlyTheExactCodecIsRetried) {
    add("amiracast").outcomes = {false};
    add("codec").outcomes = {false, true};
    FakeTask& codec2 = add("codec2");
    add("audio");
    EXPECT_TRUE(run()) << "the codec retry clears the miracast failure too";
    EXPECT_EQ(journal, (Events{"start amiracast", "start codec", "reset codec", "start codec",
                               "start codec2", "prepare amiracast", "start audio",
                               "reset amiracast", "reset codec", "reset codec2", "reset audio"}));
    EXPECT_TRUE(
        sink->contains(4, "Audio update is about to start, make sure Device mode is in usb mode."));
    codec2.outcomes = {false};
    EXPECT_FALSE(run());
    EXPECT_EQ(journal.at(2), "start codec2");
    EXPECT_EQ(journal.at(3), "reset amiracast");
}

TEST_F(ControllerTest, MiracastIsRetriedOnceOnCode226Only) {
    FakeTask& miracast = add("amiracast");
    miracast.code = 226;
    miracast.outcomes = {false, true};
    EXPECT_TRUE(run());
    EXPECT_EQ(journal,
              (Events{"start amiracast", "reset amiracast", "start amiracast", "reset amiracast"}));
    EXPECT_TRUE(sink->contains(4, "Retrying miracast update."));
    EXPECT_TRUE(sink->contains(3, "Miracast firmware updated successfully after retry."));
    miracast.outcomes = {false};
    miracast.startResults = {true, false};
    EXPECT_FALSE(run());
    EXPECT_TRUE(sink->contains(2, "Failed to restart miracast update."));
    miracast.code = 225;
    miracast.outcomes = {false};
    add("video");
    EXPECT_FALSE(run());
    EXPECT_EQ(journal.at(1), "start video") << "no retry, but the run goes on";
}

TEST_F(ControllerTest, RefusesToStartWithoutEnabledTaskOrWithTwoDevices) {
    add("video");
    controller.setTaskEnabled("video", false);
    EXPECT_FALSE(controller.start());
    EXPECT_TRUE(sink->contains(2, "No enabled tasks. Nothing to do."));
    EXPECT_EQ(controller.errorCode(), 100);
    controller.setTaskEnabled("video", true);
    add("audio").multipleDevices = true;
    controller.setTaskEnabled("audio", false);
    EXPECT_FALSE(controller.start()) << "disabled tasks are asked about devices too";
    EXPECT_TRUE(sink->contains(2, "Multiple devices detected"));
    EXPECT_EQ(controller.errorCode(), 131);
    EXPECT_TRUE(journal.empty());
}

TEST_F(ControllerTest, WhileRunningResetAndSettingsAreRefused) {
    add("video").progressValue = 100;
    add("audio").progressValue = 0;
    auto clock = std::make_shared<GateClock>();
    util::setClock(clock);
    ASSERT_TRUE(controller.start());
    EXPECT_FALSE(controller.start());
    EXPECT_FALSE(controller.setTaskEnabled("audio", false));
    EXPECT_FALSE(controller.setTaskProperty("audio", 1, {}));
    EXPECT_EQ(controller.overallProgress(), 50);
    bool succeeded = false;
    EXPECT_FALSE(controller.result(&succeeded));
    controller.reset();
    clock->release.set_value();
    while (!controller.isIdle()) {
        std::this_thread::yield();
    }
    EXPECT_EQ(journal, (Events{"start video", "start audio"})) << "the reset did nothing";
    EXPECT_EQ(controller.overallProgress(), 100);
    controller.reset();
    EXPECT_EQ(controller.errorCode(), -1);
    EXPECT_EQ(controller.overallProgress(), -1);
}

TEST_F(ControllerTest, IsSupportedDeviceMatchesTheIdentifiersInAnyCase) {
    add("video");
    EXPECT_TRUE(controller.isSupportedDevice("\\\\?\\usb#vid_3b7a&pid_086c#6&1#{a5dcbf10}"));
    EXPECT_TRUE(controller.isSupportedDevice("\\\\?\\USB#VID_3B7A&PID_086C#6&1#{A5DCBF10}"));
    // udev's paths: the node, then the identifiers (see UdevPnpProviderTest).
    EXPECT_TRUE(controller.isSupportedDevice("/dev/snd/pcmC1D0c#vid_3b7a&pid_086c"));
    EXPECT_FALSE(controller.isSupportedDevice("\\\\?\\USB#VID_1234&PID_086C#6"));
}

TEST_F(ControllerTest, LowOrUnknownBatteryBlocksOnlyOffMainsAndATaskCanBlock) {
    const std::pair<std::optional<PowerStatus>, bool> cases[] = {
        {std::nullopt, true},
        {PowerStatus{true, 5, 0}, true},
        {PowerStatus{false, 11, 0}, true},
        {PowerStatus{false, 10, 0}, false},
        {PowerStatus{false, 80, 255}, false},
    };
    for (const auto& [status, ready] : cases) {
        UpdateController powered(std::make_unique<FakePower>(status));
        EXPECT_EQ(powered.checkReady(), ready);
        EXPECT_EQ(powered.errorCode(), ready ? -1 : 223);
    }
    FakeTask& video = add("video");
    video.ready = false;
    video.code = 124;
    EXPECT_FALSE(controller.checkReady());
    EXPECT_EQ(controller.errorCode(), 124);
}
