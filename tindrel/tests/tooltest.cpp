// tindrel-tool end to end: the program and the shipped library against an emulator daemon, each
// run in a process of its own and bounded in time, so a hang fails instead of stalling. What
// the library does on each fault is the library's suites'; here it is what the program prints
// and how it exits, and what the library reads from and sends to a device, end to end.
//
// The library's own pauses are real here (4.75 s before the transfer, 2 s between
// finalization polls), so each flash costs several seconds. The success case runs the device at
// time scale 0.6: its 3 s of finalization are still busy at the first poll and done at the
// second, which spares the 8 s that follow a finalization done at the first poll.

#include "firmwareimage.h"
#include "runningdaemon.h"
#include "support/childprocess.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <future>
#include <thread>

namespace quendral::test {
namespace {

using namespace std::chrono_literals;
using emulator::DeviceState;
using emulator::testing::RunningDaemon;
using Words = std::vector<std::string>;

constexpr auto kCommandTimeout = 10s;
constexpr auto kFlashTimeout = 40s;

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

class ToolTest : public ::testing::Test {
protected:
    // Runs tindrel-tool with KESTAL_EMULATOR at the daemon's socket, or at `socket` if given.
    ChildResult tool(const Words& args, bool terminal = false,
                     std::chrono::milliseconds timeout = kCommandTimeout,
                     const std::string& socket = {}) const {
        Words argv{TINDREL_TOOL_BINARY};
        argv.insert(argv.end(), args.begin(), args.end());
        const std::string emulator = socket.empty() ? m_daemon->socketPath() : socket;
        return runChild(argv, {{{"KESTAL_EMULATOR", emulator}}, timeout, terminal});
    }

    void expectRefused(const Words& args, int exitCode, const std::string& reason,
                       const std::string& socket = {}) const {
        const auto result = tool(args, false, kCommandTimeout, socket);
        EXPECT_EQ(result.exitCode, exitCode) << (args.empty() ? "" : args[0]) << ": " << result.out;
        EXPECT_TRUE(contains(result.err, reason)) << result.err;
    }

    std::string makeImage(std::uint8_t major) const {
        const auto image = emulator::FirmwareImage::build({major, 5, 7}, 2000);
        const std::string file = m_daemon->directory() + "/image.bin";
        std::ofstream(file, std::ios::binary) << std::string(image.begin(), image.end());
        return file;
    }

    // The device's state once `done` holds for it, e.g. after a restart.
    bool waitFor(const std::function<bool(const DeviceState&)>& done) const {
        const auto deadline = std::chrono::steady_clock::now() + kCommandTimeout;
        while (std::chrono::steady_clock::now() < deadline) {
            if (const auto state = m_daemon->connect()->state(); state && done(*state)) {
                return true;
            }
            std::this_thread::sleep_for(50ms);
        }
        return false;
    }

    std::unique_ptr<RunningDaemon> m_daemon = std::make_unique<RunningDaemon>();
};

// While one program flashes, no other may touch the camera chip: neither flash, nor ask, nor
// switch its USB mode.
TEST_F(ToolTest, FlashShowsRisingProgressInstallsTheImageAndKeepsOthersOut) {
    emulator::DeviceConfig config;
    config.timeScale = 0.6;
    m_daemon = std::make_unique<RunningDaemon>(config);
    const std::string image = makeImage(2);
    auto running = std::async(std::launch::async, [&] {
        return tool({"flash", image}, false, kFlashTimeout);
    });
    // The flasher holds the device from its first look until the end, 5 s of it before the
    // transfer; give it time to take it.
    std::this_thread::sleep_for(1s);
    for (const Words& args : {Words{"info"}, {"usb-mode"}, {"usb2"}, {"flash", image}}) {
        expectRefused(args, 1, "ERROR: device busy - used by another program");
    }
    const auto flash = running.get();
    ASSERT_FALSE(flash.timedOut);
    EXPECT_EQ(flash.exitCode, 0) << flash.err;
    // One plain line per percentage, rising, ending at 100.
    std::vector<int> percentages;
    std::size_t at = 0;
    while ((at = flash.out.find("progress: ", at)) != std::string::npos) {
        at += 10;
        percentages.push_back(std::atoi(flash.out.c_str() + at));
    }
    ASSERT_FALSE(percentages.empty()) << flash.out;
    EXPECT_TRUE(std::is_sorted(percentages.begin(), percentages.end())) << flash.out;
    EXPECT_EQ(std::adjacent_find(percentages.begin(), percentages.end()), percentages.end());
    EXPECT_EQ(percentages.back(), 100);

    ASSERT_TRUE(waitFor([](const DeviceState& s) { return s.attached && s.versionMajor == 2; }));
    EXPECT_TRUE(contains(tool({"info"}).out, "version: 2.5.7\n"));
    EXPECT_EQ(m_daemon->connect()->state()->usbMode, 3) << "the refused switch reached the device";
}

TEST_F(ToolTest, AFailedFlashEndsWithAnErrorAndKeepsTheVersion) {
    const std::string image = makeImage(3);
    // Data goes out before finalization fails, so the bar on a terminal has something to show.
    const std::vector<std::tuple<Words, const char*, bool>> faults{
        {{"fail", "finalize"}, "firmware update failed", true},
        {{"fail", "vanish", "write", "2"},
         "firmware update failed; the device is no longer attached",
         false}};
    for (const auto& [fault, message, terminal] : faults) {
        SCOPED_TRACE(fault[1]);
        m_daemon->control(fault);
        const auto flash = tool({"flash", image}, terminal, kFlashTimeout);
        ASSERT_FALSE(flash.timedOut) << "the flash did not end";
        EXPECT_EQ(flash.exitCode, 1);
        EXPECT_TRUE(contains(flash.err, message)) << flash.err;
        if (terminal) {
            EXPECT_TRUE(contains(flash.out, "\r[")) << "a bar on a terminal: " << flash.out;
            EXPECT_FALSE(contains(flash.out, "progress:"));
        }
        m_daemon->control({"fail", "clear"});
        if (!m_daemon->connect()->state()->attached) {
            m_daemon->control({"plug"});
        }
        EXPECT_EQ(m_daemon->connect()->state()->versionText(), "1.0.0");
    }
}

// Info and the USB mode are reported and the mode switched; then each refusal exits with its code
// and says why, and a refused image reaches no device.
TEST_F(ToolTest, RefusalsExitWithTheirCodeAndReason) {
    m_daemon->control({"set-version", "12.34.56"});
    const auto info = tool({"info"});
    EXPECT_EQ(info.exitCode, 0) << info.err;
    EXPECT_EQ(info.out, "name: Quendral Kestal (emulated)\n"
                        "version: 12.34.56\n"
                        "present: yes\n"
                        "single device: yes\n");
    EXPECT_EQ(tool({"usb-mode"}).out, "USB 3\n");
    EXPECT_EQ(tool({"usb2"}).exitCode, 0);
    ASSERT_TRUE(waitFor([](const DeviceState& s) { return s.usbMode == 2 && s.attached; }));
    EXPECT_EQ(tool({"usb-mode"}).out, "USB 2\n");
    EXPECT_EQ(tool({"usb3"}).exitCode, 0);
    EXPECT_TRUE(waitFor([](const DeviceState& s) { return s.usbMode == 3; }));

    const std::string dir = m_daemon->directory();
    for (const Words& args :
         {Words{}, {"frobnicate"}, {"flash"}, {"info", "extra"}, {"flash", "a", "b"}}) {
        expectRefused(args, 2, "usage: tindrel-tool COMMAND");
    }
    expectRefused({"flash", dir + "/none"}, 2,
                  "cannot read " + dir + "/none: No such file or directory");
    expectRefused({"flash", dir}, 2, "Is a directory");
    std::ofstream(dir + "/bogus.bin", std::ios::binary) << "AIT84 is not quite the signature";
    expectRefused({"flash", dir + "/bogus.bin"}, 1, "verification failed");

    m_daemon->control({"unplug"});
    for (const Words& args : {Words{"info"}, {"flash", makeImage(2)}, {"usb-mode"}, {"usb2"}}) {
        expectRefused(args, 3, "no device found");
    }
    const auto help = tool({"help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(contains(help.out, "flash FILE"));
    expectRefused({"info"}, 1, "ERROR: Update controller was unable to provide PnP monitoring.",
                  dir + "/nobody.sock");
}

} // namespace
} // namespace quendral::test
