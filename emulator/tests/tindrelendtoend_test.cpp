// tindrel's exports driving the emulated device: the engine's byte sequences meet the device's
// register machine, with the engine's pauses on a clock that does not wait.

#include "emulatorbackends.h"
#include "firmwareimage.h"
#include "runningdaemon.h"
#include "support/fakeclock.h"
#include "tindrel/tindrel.h"
#include "util/pnpproviderfactory.h"
#include "uvc/uvcdevicefactory.h"

#include <gtest/gtest.h>

#include <thread>
#include <tuple>

namespace quendral::emulator {
namespace {

using namespace std::chrono_literals;

class TindrelEndToEndTest : public testing::EmulatorTest {
protected:
    TindrelEndToEndTest() {
        installEmulatorBackends();
        util::setClock(std::make_shared<test::FakeClock>());
        initialize();
    }

    ~TindrelEndToEndTest() override {
        deInitialize();
        util::setClock(nullptr);
        uvc::setUvcDeviceFactory(nullptr);
        util::setPnpProviderFactory({});
    }

    /// Flashes `image` and returns the outcome, or nothing when the run does not end in time.
    std::optional<bool> flash(const std::vector<std::uint8_t>& image) {
        if (!startFWUpdate(reinterpret_cast<const char*>(image.data()),
                           static_cast<int>(image.size()))) {
            ADD_FAILURE() << "startFWUpdate: " << lastError();
            return std::nullopt;
        }
        const auto deadline = std::chrono::steady_clock::now() + 10s;
        bool succeeded = false;
        while (!getUpdateResult(&succeeded)) {
            if (std::chrono::steady_clock::now() > deadline) {
                return std::nullopt;
            }
            std::this_thread::sleep_for(1ms);
        }
        resetState();
        return succeeded;
    }
};

TEST_F(TindrelEndToEndTest, FlashInstallsTheImageVersion) {
    ASSERT_TRUE(isInitialized()) << lastError();
    const auto* info = getDeviceInfo();
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(std::tie(info->present, info->singleDevice, info->version.major, info->version.minor),
              std::make_tuple(1, 1, 1, 0));

    // 1000 bytes: 32 blocks, the last one padded.
    EXPECT_EQ(flash(FirmwareImage::build(FirmwareVersion{2, 13, 45}, 1000)), true);
    EXPECT_EQ(daemon_.connect()->state()->enumeration, 2u) << "re-enumerated once after closing";

    info = getDeviceInfo();
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(
        std::tie(info->present, info->version.major, info->version.minor, info->version.build),
        std::make_tuple(1, 2, 13, 45));
}

TEST_F(TindrelEndToEndTest, DeviceFaultsFailTheUpdateAndKeepTheVersion) {
    ASSERT_TRUE(isInitialized()) << lastError();
    const auto image = FirmwareImage::build(FirmwareVersion{3, 0, 0}, 200);
    for (const std::vector<std::string>& fault : {std::vector<std::string>{"fail", "init"},
                                                  {"fail", "write", "3"},
                                                  {"fail", "finalize"},
                                                  {"fail", "read", "error", "5"}}) {
        SCOPED_TRACE(fault[1]);
        daemon_.control(fault);
        EXPECT_EQ(flash(image), false);
        daemon_.control({"fail", "clear"});
    }
    const auto state = daemon_.connect()->state();
    EXPECT_EQ(state->versionText(), "1.0.0");
    EXPECT_EQ(state->enumeration, 1u) << "no failed update restarts the device";
}

} // namespace
} // namespace quendral::emulator
