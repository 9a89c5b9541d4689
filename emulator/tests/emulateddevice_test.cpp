// The device model against the host's byte sequences: firmware transfer, version and USB-mode
// commands, faults, and re-enumeration, all on virtual time.

#include "controlcommand.h"
#include "emulateddevice.h"
#include "firmwareimage.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <sstream>

namespace quendral::emulator {
namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

const Bytes kVersionRequest = {0x0B, 0, 0, 0, 0, 0, 0, 0};
const Bytes kUsb2On = {0xFF, 0x0D, 0x01, 0, 0, 0, 0, 0};
const Bytes kUsb2Off = {0xFF, 0x0D, 0x00, 0, 0, 0, 0, 0};
const Bytes kStart = {0x01, 0x00, 0x03, 0, 0, 0, 0, 0};
const Bytes kFinalize = {0x01, 0x01, 0x03, 0, 0, 0, 0, 0};
const Bytes kClose = {0x7F, 0x0B, 0, 0, 0, 0, 0, 0};

enum Selector : std::uint8_t { kCommand = 1, kResponse, kData, kControl, kStatus };

class DeviceTest : public ::testing::Test {
protected:
    DeviceTest()
        : device_(DeviceConfig()) {
        device_.setVersion(FirmwareVersion{1, 2, 3});
    }

    std::uint32_t enumeration() const { return device_.state().enumeration; }

    DeviceReply set(std::uint8_t selector, const Bytes& data) {
        return device_.xuSet(enumeration(), selector, data, now_);
    }
    DeviceReply get(std::uint8_t selector) { return device_.xuGet(enumeration(), selector, now_); }
    std::uint8_t status() {
        const auto reply = get(kStatus);
        EXPECT_EQ(reply.errorCode, 0);
        return reply.data.empty() ? 0xEE : reply.data[0];
    }

    /// Applies `fail <fault>` control commands, each fault given as its space-separated words.
    void fail(std::initializer_list<const char*> faults) {
        for (const char* fault : faults) {
            std::vector<std::string> words{"fail"};
            std::istringstream in(fault);
            for (std::string word; in >> word;) {
                words.push_back(word);
            }
            std::string error;
            const auto command = ControlCommand::parse(words, &error);
            ASSERT_TRUE(command) << error;
            command->applyTo(device_, now_);
        }
    }

    /// Initiation and the data blocks as the host sends them (the last block zero-padded).
    /// Returns the error of the first failing write, 0 when all went through.
    int sendImage(const Bytes& image, bool initiate = true) {
        if (initiate) {
            EXPECT_EQ(set(kControl, kStart).errorCode, 0);
            EXPECT_EQ(status(), 0x00);
        }
        Bytes padded = image;
        padded.resize((image.size() + 31) / 32 * 32, 0);
        int error = 0;
        for (auto block = padded.begin(); block != padded.end() && error == 0; block += 32) {
            error = set(kData, Bytes(block, block + 32)).errorCode;
        }
        return error;
    }

    void advance(std::chrono::milliseconds step) { device_.advance(now_ += step); }
    void replug() { device_.unplug(), device_.plug(); }
    /// Sends `image` and finalizes it; returns the status once the device is no longer busy.
    std::uint8_t flash(const Bytes& image) {
        EXPECT_EQ(sendImage(image), 0);
        set(kControl, kFinalize);
        advance(EmulatedDevice::kFinalizeBusy);
        return status();
    }

    std::vector<EventKind> eventKinds() {
        std::vector<EventKind> kinds;
        for (const auto& event : device_.takeEvents()) {
            kinds.push_back(event.kind);
        }
        return kinds;
    }

    TimePoint now_ = TimePoint{} + 1h;
    EmulatedDevice device_;
};

TEST_F(DeviceTest, ModeSwitchReenumeratesIntoTheNewMode) {
    // What the mode query answers in each mode is ToolTest's usb-mode.
    const auto before = enumeration();
    device_.takeEvents();
    ASSERT_EQ(set(kCommand, kUsb2On).errorCode, 0);
    EXPECT_FALSE(device_.state().attached) << "gone at once";
    advance(EmulatedDevice::kReenumerationGap - 1ms);
    EXPECT_FALSE(device_.state().attached);
    advance(1ms);

    const auto state = device_.state();
    EXPECT_EQ(std::tie(state.attached, state.usbMode, state.enumeration),
              std::make_tuple(true, 2, before + 1));
    EXPECT_EQ(eventKinds(), (std::vector<EventKind>{EventKind::Removed, EventKind::Arrived}));
    EXPECT_EQ(device_.xuGet(before, kResponse, now_).errorCode, ENODEV) << "a stale enumeration";

    // Asking for the mode it runs in changes nothing; the way back re-enumerates again.
    set(kCommand, kUsb2On);
    EXPECT_TRUE(device_.state().attached);
    EXPECT_TRUE(eventKinds().empty());
    set(kCommand, kUsb2Off);
    advance(EmulatedDevice::kReenumerationGap);
    EXPECT_EQ(device_.state().usbMode, 3);
    EXPECT_EQ(device_.state().enumeration, before + 2);

    // An unplug during re-enumeration keeps the device away; changes are announced once.
    set(kCommand, kUsb2On);
    EXPECT_TRUE(device_.unplug()) << "cancels the return";
    advance(1h);
    EXPECT_FALSE(device_.state().attached);
    EXPECT_FALSE(device_.unplug());
    EXPECT_TRUE(device_.plug());
    EXPECT_EQ(device_.state().usbMode, 2) << "the switch still took effect";

    device_.takeEvents();
    device_.setVersion(FirmwareVersion{1, 2, 3});
    device_.setHdmiConnected(true);
    device_.setHdmiConnected(true);
    EXPECT_EQ(eventKinds(), std::vector<EventKind>{EventKind::StateChanged});
    EXPECT_FALSE(device_.plug());
    EXPECT_TRUE(eventKinds().empty());
}

// Finalization is busy for its time and installs nothing yet; with a time scale it and the
// restart take that much of their time. The restart into the new image after the closing
// command, and how the version then reads: ToolTest's flash and info.
TEST_F(DeviceTest, FinalizationAndRestartTakeTheirTimeTimesTheScale) {
    const auto image = FirmwareImage::build(FirmwareVersion{12, 34, 17}, 70);
    ASSERT_EQ(sendImage(image), 0);
    ASSERT_EQ(set(kControl, kFinalize).errorCode, 0);

    EXPECT_EQ(status(), ExtensionUnit::kStatusBusy);
    advance(EmulatedDevice::kFinalizeBusy - 1ms);
    EXPECT_EQ(status(), ExtensionUnit::kStatusBusy);
    advance(1ms);
    EXPECT_EQ(status(), 0x00);
    EXPECT_EQ(status(), 0x00) << "the final status stays readable";
    // 70 bytes went out as three blocks.
    EXPECT_EQ(device_.state().versionText(), "1.2.3") << "still running the old firmware";

    ASSERT_TRUE(device_.setTimeScale(0.01));
    ASSERT_EQ(sendImage(FirmwareImage::build(FirmwareVersion{2, 0, 0}, 64)), 0);
    set(kControl, kFinalize);
    advance(49ms);
    EXPECT_EQ(status(), ExtensionUnit::kStatusBusy);
    advance(1ms);
    EXPECT_EQ(status(), 0x00);
    set(kCommand, kClose);
    advance(15ms);
    EXPECT_TRUE(device_.state().attached);
    EXPECT_FALSE(device_.setTimeScale(-1.0));
    EXPECT_FALSE(device_.setTimeScale(1000.0));

    // A replug installs a finalized image only if it carries a version.
    ASSERT_EQ(flash(FirmwareImage::build(FirmwareVersion{3, 0, 0}, 40)), 0x00);
    replug();
    EXPECT_EQ(device_.state().versionText(), "3.0.0");

    Bytes noVersion = {'A', 'I', 'T', '8', '4', '2'};
    noVersion.resize(64, 0xAB);
    EXPECT_EQ(flash(noVersion), ExtensionUnit::kStatusFailed);
    set(kCommand, kClose);
    EXPECT_TRUE(device_.state().attached) << "nothing to restart into";
}

TEST_F(DeviceTest, OutOfOrderRequestsAndRequestsOutsideTheRegisterMapFail) {
    EXPECT_EQ(set(kData, Bytes(32, 0)).errorCode, EPROTO) << "data before initiation";
    set(kControl, kFinalize);
    EXPECT_EQ(status(), ExtensionUnit::kStatusFailed) << "finalization without data";

    // A new initiation while the last image is still being written is refused (busy).
    ASSERT_EQ(sendImage(FirmwareImage::build(FirmwareVersion{2, 0, 0}, 32)), 0);
    set(kControl, kFinalize);
    set(kControl, kStart);
    EXPECT_NE(status(), 0x00);

    EXPECT_EQ(set(kCommand, Bytes(4, 0)).errorCode, EINVAL);
    EXPECT_EQ(set(kData, Bytes(31, 0)).errorCode, EINVAL);
    EXPECT_EQ(set(kResponse, Bytes(8, 0)).errorCode, EINVAL);
    EXPECT_EQ(set(6, Bytes(8, 0)).errorCode, EINVAL);
    EXPECT_EQ(set(kControl, Bytes{0x02, 0, 0, 0, 0, 0, 0, 0}).errorCode, EINVAL);
    EXPECT_EQ(get(kCommand).errorCode, EINVAL);
    EXPECT_EQ(get(kData).errorCode, EINVAL);
    EXPECT_EQ(get(0).errorCode, EINVAL);
    EXPECT_EQ(device_.xuLength(enumeration(), kData).data, (Bytes{32, 0}));
    EXPECT_EQ(device_.xuLength(enumeration(), kStatus).data, (Bytes{8, 0}));
    EXPECT_EQ(device_.xuLength(enumeration(), 9).errorCode, EINVAL);
}

// Each fault fails its step, for every transfer until cleared; a failed image is never installed.
TEST_F(DeviceTest, FaultsFailTheirStepOrReadUntilCleared) {
    const auto image = FirmwareImage::build(FirmwareVersion{2, 0, 0}, 96);
    fail({"init"});
    set(kControl, kStart);
    EXPECT_NE(status(), 0x00) << "refused, so no data is taken either";
    fail({"clear", "write 2"});
    EXPECT_EQ(sendImage(image), EIO);
    EXPECT_EQ(sendImage(image), EIO) << "counted again from a new initiation";
    fail({"clear", "finalize"});
    ASSERT_EQ(sendImage(image), 0);
    set(kControl, kFinalize);
    EXPECT_EQ(status(), ExtensionUnit::kStatusBusy);
    advance(EmulatedDevice::kFinalizeBusy);
    EXPECT_EQ(status(), 0x82);
    set(kCommand, kClose);
    replug();
    EXPECT_EQ(device_.state().versionText(), "1.2.3");
    fail({"clear", "busy"});
    ASSERT_EQ(sendImage(image), 0);
    set(kControl, kFinalize);
    advance(10min);
    EXPECT_EQ(status(), ExtensionUnit::kStatusBusy);
    fail({"clear"});
    // The host gave up meanwhile and starts over: the new transfer is taken.
    EXPECT_EQ(sendImage(image), 0);

    set(kCommand, kVersionRequest);
    fail({"read short"});
    EXPECT_EQ(get(kResponse).data.size(), 4u);
    EXPECT_EQ(get(kStatus).data.size(), 4u);
    fail({"read error 5"});
    EXPECT_EQ(get(kStatus).errorCode, EIO);
    EXPECT_EQ(get(kResponse).data.size(), 8u) << "only selector 5 is affected";
    fail({"clear"});
    EXPECT_EQ(get(kStatus).errorCode, 0);
}

TEST_F(DeviceTest, VanishesOnceAtTheChosenStep) {
    // Indexed by the step that fails: initiation, data write 2, finalization, closing command.
    const char* const vanishAt[] = {"vanish init", "vanish write 2", "vanish finalize",
                                    "vanish close"};
    const auto image = FirmwareImage::build(FirmwareVersion{4, 0, 0}, 96);
    for (int failingStep = 0; failingStep < 4; ++failingStep) {
        SCOPED_TRACE(vanishAt[failingStep]);
        replug();
        fail({vanishAt[failingStep]});
        device_.takeEvents();
        int step = 0;
        int error = set(kControl, kStart).errorCode;
        if (error == 0 && ++step && (error = sendImage(image, false)) == 0 && ++step &&
            (error = set(kControl, kFinalize).errorCode) == 0 && ++step) {
            advance(EmulatedDevice::kFinalizeBusy);
            EXPECT_EQ(status(), 0x00);
            error = set(kCommand, kClose).errorCode;
        }
        EXPECT_EQ(step, failingStep);
        EXPECT_EQ(error, ENODEV);
        EXPECT_EQ(eventKinds(), std::vector<EventKind>{EventKind::Removed});
        advance(1h);
        EXPECT_FALSE(device_.state().attached) << "a vanished device stays away";
        EXPECT_EQ(device_.faults().vanishStep, VanishStep::None) << "vanish happens once";
        EXPECT_EQ(device_.state().versionText(), "1.2.3");
    }
}

TEST_F(DeviceTest, HidReportFollowsHdmiAndStreams) {
    auto report = [&] {
        return device_.readHidReport(enumeration());
    };
    device_.setHdmiConnected(true); // 0x02 alone: HidTest
    device_.setOtherStreaming(true);
    EXPECT_EQ(report().data, (Bytes{0x00, 0x03}));
    device_.setOtherStreaming(false);
    ASSERT_TRUE(device_.setStreaming(7, true));
    EXPECT_EQ(report().data, (Bytes{0x00, 0x03}));
    device_.releaseOwner(7);
    EXPECT_EQ(report().data, (Bytes{0x00, 0x02}));

    // A short report and a stale handle: HidTest.
    fail({"hid error"});
    EXPECT_EQ(report().errorCode, EIO);
    fail({"clear"});
    EXPECT_EQ(report().errorCode, 0);

    // Our stream ends when the device leaves and cannot start while it is away.
    ASSERT_TRUE(device_.setStreaming(1, true));
    device_.unplug();
    EXPECT_FALSE(device_.state().ourStreaming);
    EXPECT_FALSE(device_.setStreaming(1, true)) << "a detached camera cannot stream";
    device_.plug();
    EXPECT_FALSE(device_.state().ourStreaming);
}

TEST(FirmwareImageTest, VersionRecordFollowsThePrefixAndVersionsHaveTwoDigitParts) {
    // A built image's size and version: CommandLineTest's make-image and ToolTest's flash.
    auto image = FirmwareImage::build(FirmwareVersion{9, 8, 7}, 12);
    image[10] = 100;
    EXPECT_FALSE(FirmwareImage::carriedVersion(image)) << "parts are two decimal digits";
    image[10] = 8;
    image[0] = 'B';
    EXPECT_FALSE(FirmwareImage::carriedVersion(image));
    EXPECT_FALSE(FirmwareImage::carriedVersion(Bytes(image.begin(), image.begin() + 11)));

    EXPECT_EQ(FirmwareVersion::parse("0.0.0"), (FirmwareVersion{0, 0, 0}));
    EXPECT_EQ(FirmwareVersion::parse("99.10.5"), (FirmwareVersion{99, 10, 5}));
    for (const char* bad : {"", "1.2", "1.2.3.4", "100.0.0", "1..2", "a.b.c", "1.2.", "-1.2.3"}) {
        EXPECT_FALSE(FirmwareVersion::parse(bad)) << bad;
    }
}

} // namespace
} // namespace quendral::emulator
