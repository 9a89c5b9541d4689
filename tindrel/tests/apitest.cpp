#include "tindrel/tindrel.h"

#include "api/controllerfactory.h"
#include "controller/updatecontroller.h"
#include "support/fakeaitdevice.h"

#include <gtest/gtest.h>

#include <future>
#include <stdexcept>
#include <thread>
#include <tuple>

using namespace quendral;
using test::command;

namespace {

const std::string kNotInitialized = "ERROR: library not initialized";
const std::string kAlreadyUpdating = "ERROR: cannot start device update - device already updating";
const std::string kSpecialNotInitialized = "ERROR: special functions not initialized";
const std::string kSpecialWhileUpdating =
    "ERROR: cannot perform special function - device updating";

class ApiTest : public ::testing::Test {
protected:
    test::FakeEnvironment environment;
    test::FakeAitDevice& device = *environment.device;

    ~ApiTest() override {
        deInitialize();
        fwupdate::setUpdateControllerFactory({});
    }

    void initializeOk() {
        initialize();
        ASSERT_TRUE(isInitialized()) << lastError();
        ASSERT_STREQ(lastError(), "");
    }

    bool start(const std::vector<char>& image) {
        return startFWUpdate(image.data(), static_cast<int>(image.size()));
    }

    // Polls as the application does and answers the outcome.
    bool awaitResult() {
        bool succeeded = false;
        while (!getUpdateResult(&succeeded)) {
            std::this_thread::yield();
        }
        return succeeded;
    }

    /// Starts a run that stops in finalization until `release` is set; returns once it is there.
    void startHeldInFinalization(std::promise<void>& release) {
        std::promise<void> arrived;
        device.onCall = [&arrived, released = release.get_future().share()](const test::XuCall& c) {
            if (c.write && c.selector == 4 && c.data[1] == 0x01) {
                arrived.set_value();
                released.wait();
            }
        };
        ASSERT_TRUE(start(test::validImage(64)));
        arrived.get_future().wait();
    }

    std::vector<test::Bytes> commandsSent() const {
        std::vector<test::Bytes> commands;
        for (const auto& call : device.callsTo(true, 1)) {
            commands.push_back(call.data);
        }
        return commands;
    }
};

// A controller that refuses in the ways a fresh UpdateController never does. initialize gives
// up on it before it is used for anything else.
class CrippledController final : public fwupdate::IUpdateController {
public:
    bool withLogger = true;

    bool registerTask(std::shared_ptr<fwupdate::IUpdateTask>) override { return false; }
    std::vector<fwupdate::IUpdateTask*> tasks() const override { return {}; }
    std::vector<fwupdate::IUpdateTask*> allTasks() const override { return {}; }
    util::ILogger* logger() const override { return withLogger ? m_real.logger() : nullptr; }
    util::IPnpProvider* pnpProvider() const override { return m_real.pnpProvider(); }
    bool setImageProvider(const std::string&, std::unique_ptr<fwupdate::IImageProvider>) override {
        return false;
    }
    bool setTaskProperty(const std::string&, int, const fwupdate::PropertyValue&) override {
        return false;
    }
    bool isTaskEnabled(const std::string&) const override { return false; }
    bool setTaskEnabled(const std::string&, bool) override { return false; }
    bool start() override { return false; }
    bool checkReady() override { return false; }
    int errorCode() const override { return -1; }
    void reset() override {}
    int currentProgress() const override { return -1; }
    int overallProgress() const override { return -1; }
    bool result(bool*) const override { return false; }
    bool isIdle() const override { return true; }
    bool isSupportedDevice(const std::string&) const override { return false; }
    void prepareTasks() override {}

private:
    fwupdate::controller::UpdateController m_real;
};

} // namespace

TEST_F(ApiTest, BeforeInitializeAndInitializeRefusals) {
    // Each call must set its own text, so another text is put in place before it.
    const auto setsText = [](const std::string& text, auto call) {
        execSpecialFunction(0);
        EXPECT_EQ(lastError(), kSpecialNotInitialized);
        call();
        EXPECT_EQ(lastError(), text);
    };
    bool succeeded = true;
    setsText(kNotInitialized, [] { EXPECT_EQ(getDeviceInfo(), nullptr); });
    setsText(kNotInitialized, [] { EXPECT_EQ(getUpdateProgress(), -1); });
    setsText(kNotInitialized, [] { EXPECT_TRUE(ensureCorrectUsbMode(false)); });
    setsText(kNotInitialized, [] { EXPECT_FALSE(startFWUpdate(nullptr, 0)); });
    setsText(kNotInitialized, [&] { EXPECT_FALSE(getUpdateResult(&succeeded)); });
    setsText(kNotInitialized, [] { resetState(); });
    setsText(kNotInitialized, [] { deInitialize(); });
    setsText(kSpecialNotInitialized, [] { EXPECT_FALSE(isUsb3()); });
    EXPECT_TRUE(succeeded);
    EXPECT_TRUE(device.calls().empty());

    const auto refusedWith = [&](const std::string& text) {
        initialize();
        EXPECT_FALSE(isInitialized());
        EXPECT_EQ(lastError(), text);
        EXPECT_FALSE(isUsb3());
        EXPECT_EQ(lastError(), kSpecialNotInitialized) << "no special functions without controller";
    };
    // Without device presence monitoring: ToolTest.RefusalsExitWithTheirCodeAndReason.
    fwupdate::setUpdateControllerFactory([] { return nullptr; });
    refusedWith("ERROR: Unable to create update controller.");
    fwupdate::setUpdateControllerFactory(
        []() -> std::unique_ptr<fwupdate::IUpdateController> { throw std::bad_alloc(); });
    refusedWith("ERROR: Unable to create update controller.");
    for (const bool withLogger : {false, true}) {
        fwupdate::setUpdateControllerFactory([withLogger] {
            auto controller = std::make_unique<CrippledController>();
            controller->withLogger = withLogger;
            return controller;
        });
        refusedWith(withLogger ? "ERROR: Unable to register backend."
                               : "ERROR: Unable to obtain logger.");
    }

    fwupdate::setUpdateControllerFactory({});
    initializeOk();
    initializeOk();
    deInitialize();
    EXPECT_STREQ(lastError(), "");
}

TEST_F(ApiTest, DeviceInfoAndErrorTextRules) {
    initializeOk();
    device.attached = false;
    EXPECT_TRUE(ensureCorrectUsbMode(false));
    EXPECT_EQ(lastError(), std::string("ERROR: device not present"));
    EXPECT_EQ(getUpdateProgress(), -1);
    resetState();
    EXPECT_EQ(lastError(), std::string("ERROR: device not present")) << "neither resets the text";
    const DeviceInfoRecord* absent = getDeviceInfo();
    ASSERT_NE(absent, nullptr);
    EXPECT_STREQ(absent->name, "");
    EXPECT_EQ(std::tie(absent->present, absent->singleDevice), std::make_tuple(0, 1));

    // What a present device's record holds is ToolTest's, through the shipped library.
    device.attached = true;
    EXPECT_EQ(getDeviceInfo(), absent) << "one record, reused";
    device.videoInputs = 2;
    EXPECT_EQ(getDeviceInfo()->singleDevice, 0);
    device.countThrows = true;
    EXPECT_EQ(getDeviceInfo()->singleDevice, 1) << "a failed count is no second device";
    EXPECT_STREQ(lastError(), "");
}

TEST_F(ApiTest, FlashResetFlashAgainAndStartRefusals) {
    initializeOk();
    const std::vector<char> image = test::validImage(4096);
    ASSERT_TRUE(start(image)) << lastError();
    EXPECT_TRUE(awaitResult());
    EXPECT_EQ(getUpdateProgress(), -1) << "the run has ended";

    EXPECT_FALSE(getUpdateResult(nullptr));
    bool succeeded = false;
    EXPECT_TRUE(getUpdateResult(&succeeded)) << "a null query leaves the result alone";
    EXPECT_TRUE(succeeded);
    EXPECT_FALSE(start(image)) << "a finished update must be reset first";
    EXPECT_STREQ(lastError(), "");
    resetState();
    EXPECT_FALSE(getUpdateResult(&succeeded));

    const auto dataWrites = device.callsTo(true, 3).size();
    const auto refused = [&](const char* data, int size, const std::string& text) {
        EXPECT_FALSE(startFWUpdate(data, size));
        EXPECT_EQ(lastError(), text);
        EXPECT_EQ(device.callsTo(true, 3).size(), dataWrites);
    };
    refused("NOTAIT842", 9, kAlreadyUpdating);
    refused(nullptr, 64, kAlreadyUpdating);
    refused(image.data(), -64, kAlreadyUpdating);
    refused(nullptr, 0, kAlreadyUpdating);
    device.videoInputs = 2;
    getDeviceInfo();
    refused(image.data(), 64, "");
    device.videoInputs = 1;
    device.attached = false;
    getDeviceInfo();
    refused(image.data(), 64, kAlreadyUpdating);
}

TEST_F(ApiTest, WhileUpdating) {
    initializeOk();
    std::promise<void> release;
    startHeldInFinalization(release);

    // A second initialize keeps the running engine: the refusals below still protect the run.
    initialize();
    EXPECT_EQ(lastError(), std::string("ERROR: cannot initialize - device updating"));
    EXPECT_TRUE(isInitialized());
    const DeviceInfoRecord* info = getDeviceInfo();
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(lastError(), std::string("ERROR: cannot get device info - device updating"));
    EXPECT_STREQ(info->name, "");
    EXPECT_EQ(std::tie(info->present, info->singleDevice), std::make_tuple(0, 0));
    EXPECT_FALSE(start(test::validImage(64)));
    EXPECT_EQ(lastError(), kAlreadyUpdating);
    execSpecialFunction(0);
    EXPECT_EQ(lastError(), kSpecialWhileUpdating);
    EXPECT_FALSE(isUsb3());
    EXPECT_EQ(lastError(), kSpecialWhileUpdating);
    EXPECT_TRUE(ensureCorrectUsbMode(true));
    EXPECT_EQ(lastError(), std::string("ERROR: device not present"));
    bool succeeded = true;
    EXPECT_FALSE(getUpdateResult(&succeeded));
    EXPECT_EQ(getUpdateProgress(), 57);
    resetState();

    // deInitialize waits for the run, which resetState left alone.
    auto done = std::async(std::launch::async, [] { deInitialize(); });
    while (environment.clock->countSleeps(1000) < 300) {
        std::this_thread::yield();
    }
    EXPECT_EQ(done.wait_for(std::chrono::milliseconds(50)), std::future_status::timeout);
    EXPECT_EQ(environment.clock->countSleeps(1000), 300) << "at most 300 polls";
    release.set_value();
    done.get();
    EXPECT_FALSE(isInitialized());
    EXPECT_EQ(commandsSent(), (std::vector<test::Bytes>{command(0x0B), command(0x7F, 0x0B)}))
        << "the version query before the start and the closing command; nothing else";
}

TEST_F(ApiTest, SpecialFunctionsAndEnsureCorrectUsbModeForEachHostAndDeviceMode) {
    initializeOk();
    execSpecialFunction(2);
    EXPECT_EQ(lastError(), std::string("ERROR: no such special function"));
    EXPECT_TRUE(device.calls().empty());
    EXPECT_TRUE(isUsb3());
    EXPECT_STREQ(lastError(), "") << "no stale text from the call before";
    // Both switches end to end: ToolTest.

    // Device in USB 3 mode, host is Windows 7, nothing switched, last command sent.
    const std::tuple<bool, bool, bool, test::Bytes> cases[] = {
        {true, true, false, command(0xFF, 0x0D, 0x01)},
        {true, false, true, command(0x7F, 0x0C)},
        {false, true, true, command(0x7F, 0x0C)},
        {false, false, false, command(0xFF, 0x0D, 0x00)},
    };
    for (const auto& [deviceUsb3, hostIsWindows7, nothingSwitched, lastCommand] : cases) {
        device.usb3 = deviceUsb3;
        EXPECT_EQ(ensureCorrectUsbMode(hostIsWindows7), nothingSwitched);
        EXPECT_STREQ(lastError(), "");
        EXPECT_EQ(commandsSent().back(), lastCommand);
    }
}
