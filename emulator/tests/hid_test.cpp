// The HID seam as the status device uses it: enumerate, open, read the report, lose the device.
// What the report's bits mean is the device model's, tested with it.

#include "deviceids.h"
#include "kestalemuhid.h"
#include "runningdaemon.h"

#include <gtest/gtest.h>

#include <string>

namespace quendral::emulator {
namespace {

using HidTest = testing::EmulatorTest;

/// Byte 1 of a freshly read report, or -1 when the read fails.
int statusByte(hid_device* dev) {
    unsigned char report[2] = {0, 0};
    return kestal_emu_hid_get_input_report(dev, report, sizeof(report)) == 2 ? report[1] : -1;
}

TEST_F(HidTest, ReportReachesTheHandleUntilTheDeviceLeaves) {
    ASSERT_EQ(kestal_emu_hid_init(), 0);
    auto* list = kestal_emu_hid_enumerate(deviceVendorId, deviceProductId);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->next, nullptr);
    EXPECT_EQ(list->product_id, 0x086C);
    const std::string path = list->path;
    kestal_emu_hid_free_enumeration(list);
    hid_device* dev = kestal_emu_hid_open_path(path.c_str());
    ASSERT_NE(dev, nullptr);

    wchar_t product[255];
    ASSERT_EQ(kestal_emu_hid_get_product_string(dev, product, 255), 0);
    EXPECT_EQ(std::wstring(product), L"Quendral Kestal (emulated)");
    wchar_t tiny[4];
    ASSERT_EQ(kestal_emu_hid_get_product_string(dev, tiny, 4), 0);
    EXPECT_EQ(std::wstring(tiny), L"Que");

    EXPECT_EQ(statusByte(dev), 0x00);
    daemon_.control({"hdmi", "on"});
    EXPECT_EQ(statusByte(dev), 0x02);
    unsigned char report[2] = {5, 0};
    EXPECT_EQ(kestal_emu_hid_get_input_report(dev, report, 2), -1) << "only report 0 exists";
    EXPECT_EQ(kestal_emu_hid_get_input_report(dev, nullptr, 2), -1);
    unsigned char one[1] = {0};
    EXPECT_EQ(kestal_emu_hid_get_input_report(dev, one, 1), 1) << "never writes past the buffer";
    daemon_.control({"fail", "hid", "short"});
    report[0] = 0;
    EXPECT_EQ(kestal_emu_hid_get_input_report(dev, report, 2), 1);
    daemon_.control({"fail", "clear"});

    daemon_.control({"unplug"});
    EXPECT_EQ(statusByte(dev), -1);
    EXPECT_NE(std::wstring(kestal_emu_hid_error(dev)), L"Success");
    EXPECT_EQ(kestal_emu_hid_enumerate(0, 0), nullptr);
    EXPECT_EQ(kestal_emu_hid_open_path(path.c_str()), nullptr) << "the reopen finds nothing";

    // Back on the bus the old handle stays stale; a new open works.
    daemon_.control({"plug"});
    EXPECT_EQ(statusByte(dev), -1);
    hid_device* again = kestal_emu_hid_open_path(path.c_str());
    ASSERT_NE(again, nullptr);
    EXPECT_GE(statusByte(again), 0);
    kestal_emu_hid_close(again);
    kestal_emu_hid_close(dev);

    // Boundary arguments and a missing variable are refused.
    EXPECT_EQ(kestal_emu_hid_enumerate(0x1234, deviceProductId), nullptr);
    EXPECT_EQ(kestal_emu_hid_open_path(nullptr), nullptr);
    EXPECT_NE(kestal_emu_hid_error(nullptr), nullptr);
    EXPECT_EQ(kestal_emu_hid_open_path("somewhere/else"), nullptr);
    EXPECT_EQ(kestal_emu_hid_get_input_report(nullptr, nullptr, 0), -1);
    EXPECT_EQ(kestal_emu_hid_get_product_string(nullptr, nullptr, 0), -1);
    kestal_emu_hid_close(nullptr);
    kestal_emu_hid_free_enumeration(nullptr);

    ::unsetenv(kSocketEnvVar);
    EXPECT_EQ(kestal_emu_hid_init(), -1);
    EXPECT_EQ(kestal_emu_hid_enumerate(0, 0), nullptr);
    EXPECT_NE(std::wstring(kestal_emu_hid_error(nullptr)).find(L"KESTAL_EMULATOR"),
              std::wstring::npos);
}

} // namespace
} // namespace quendral::emulator
