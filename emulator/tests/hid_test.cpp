// The HID seam as the status device uses it: enumerate, open, poll the report while HDMI and
// streams change, lose the device.

#include "deviceids.h"
#include "kestalemuhid.h"
#include "runningdaemon.h"

#include <gtest/gtest.h>

#include <string>

namespace quendral::emulator {
namespace {

using testing::RunningDaemon;
using testing::ScopedEnv;

class HidTest : public ::testing::Test {
protected:
    HidTest()
        : env_(kSocketEnvVar, daemon_.socketPath()) {}

    /// Byte 1 of a freshly read report, or -1 when the read fails.
    static int statusByte(hid_device* dev) {
        unsigned char report[2] = {0, 0};
        const int n = kestal_emu_hid_get_input_report(dev, report, sizeof(report));
        return n == 2 ? report[1] : -1;
    }

    RunningDaemon daemon_;
    ScopedEnv env_;
};

TEST_F(HidTest, ReportFollowsHdmiAndStreamState) {
    ASSERT_EQ(kestal_emu_hid_init(), 0);
    auto* list = kestal_emu_hid_enumerate(deviceVendorId, deviceProductId);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->next, nullptr);
    EXPECT_EQ(list->product_id, 0x086C);
    hid_device* dev = kestal_emu_hid_open_path(list->path);
    kestal_emu_hid_free_enumeration(list);
    ASSERT_NE(dev, nullptr);

    wchar_t product[255];
    ASSERT_EQ(kestal_emu_hid_get_product_string(dev, product, 255), 0);
    EXPECT_EQ(std::wstring(product), L"Quendral Kestal (emulated)");

    EXPECT_EQ(statusByte(dev), 0x00);
    daemon_.control({"hdmi", "on"});
    EXPECT_EQ(statusByte(dev), 0x02);
    daemon_.control({"other-stream", "on"});
    EXPECT_EQ(statusByte(dev), 0x03);
    daemon_.control({"other-stream", "off"});
    const auto camera = daemon_.connect();
    ASSERT_TRUE(camera->setStreaming(true));
    EXPECT_EQ(statusByte(dev), 0x03) << "our own camera stream sets the bit too";
    ASSERT_TRUE(camera->setStreaming(false));
    EXPECT_EQ(statusByte(dev), 0x02);
    daemon_.control({"hdmi", "off"});
    EXPECT_EQ(statusByte(dev), 0x00);
    kestal_emu_hid_close(dev);
}

TEST_F(HidTest, ReadsFailAfterUnplugAndTheInterfaceIsGone) {
    auto* list = kestal_emu_hid_enumerate(0, 0);
    ASSERT_NE(list, nullptr);
    const std::string path = list->path;
    kestal_emu_hid_free_enumeration(list);
    hid_device* dev = kestal_emu_hid_open_path(path.c_str());
    ASSERT_NE(dev, nullptr);

    daemon_.control({"unplug"});
    EXPECT_EQ(statusByte(dev), -1);
    EXPECT_NE(std::wstring(kestal_emu_hid_error(dev)), L"Success");
    EXPECT_EQ(kestal_emu_hid_enumerate(deviceVendorId, deviceProductId), nullptr);
    EXPECT_EQ(kestal_emu_hid_open_path(path.c_str()), nullptr) << "the reopen finds nothing";

    // Back on the bus the old handle stays stale; a new open works.
    daemon_.control({"plug"});
    EXPECT_EQ(statusByte(dev), -1);
    hid_device* again = kestal_emu_hid_open_path(path.c_str());
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(statusByte(again), 0x00);
    kestal_emu_hid_close(again);
    kestal_emu_hid_close(dev);
}

TEST_F(HidTest, BoundaryArgumentsAreRefused) {
    EXPECT_EQ(kestal_emu_hid_enumerate(0x1234, deviceProductId), nullptr);
    EXPECT_EQ(kestal_emu_hid_open_path(nullptr), nullptr);
    EXPECT_NE(kestal_emu_hid_error(nullptr), nullptr);
    EXPECT_EQ(kestal_emu_hid_open_path("somewhere/else"), nullptr);
    EXPECT_EQ(kestal_emu_hid_get_input_report(nullptr, nullptr, 0), -1);
    EXPECT_EQ(kestal_emu_hid_get_product_string(nullptr, nullptr, 0), -1);
    kestal_emu_hid_close(nullptr);
    kestal_emu_hid_free_enumeration(nullptr);

    auto* list = kestal_emu_hid_enumerate(0, 0);
    ASSERT_NE(list, nullptr);
    hid_device* dev = kestal_emu_hid_open_path(list->path);
    kestal_emu_hid_free_enumeration(list);
    ASSERT_NE(dev, nullptr);
    unsigned char report[2] = {5, 0};
    EXPECT_EQ(kestal_emu_hid_get_input_report(dev, report, 2), -1) << "only report 0 exists";
    EXPECT_EQ(kestal_emu_hid_get_input_report(dev, nullptr, 2), -1);
    unsigned char one[1] = {0};
    EXPECT_EQ(kestal_emu_hid_get_input_report(dev, one, 1), 1) << "never writes past the buffer";
    wchar_t tiny[4];
    ASSERT_EQ(kestal_emu_hid_get_product_string(dev, tiny, 4), 0);
    EXPECT_EQ(std::wstring(tiny), L"Que");

    daemon_.control({"fail", "hid", "short"});
    report[0] = 0;
    EXPECT_EQ(kestal_emu_hid_get_input_report(dev, report, 2), 1);
    kestal_emu_hid_close(dev);
}

TEST(HidWithoutEmulatorTest, NothingWithoutTheVariable) {
    ::unsetenv(kSocketEnvVar);
    EXPECT_EQ(kestal_emu_hid_init(), -1);
    EXPECT_EQ(kestal_emu_hid_enumerate(0, 0), nullptr);
    const std::wstring error = kestal_emu_hid_error(nullptr);
    EXPECT_NE(error.find(L"KESTAL_EMULATOR"), std::wstring::npos);
}

} // namespace
} // namespace quendral::emulator
