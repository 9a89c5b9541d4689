// tindrel-tool end to end: the program and the shipped library against the emulator daemon,
// each run in a process of its own and bounded in time, so a hang fails instead of stalling.
//
// The library's own pauses are real here (4.75 s before the transfer, 2 s between
// finalization polls), so each flash costs several seconds. The success case runs the device at
// time scale 0.6: its 3 s of finalization are still busy at the first poll and done at the
// second, which spares the 8 s that follow a finalization done at the first poll.

#include "support/childprocess.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <future>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace quendral::test {
namespace {

using namespace std::chrono_literals;

constexpr auto kCommandTimeout = 10s;
constexpr auto kFlashTimeout = 40s;

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// A kestal-emulator daemon on a socket of its own, stopped again in any case.
class EmulatorDaemon {
public:
    explicit EmulatorDaemon(const std::vector<std::string>& startOptions) {
        char pattern[] = "/tmp/tindrel-tool-test-XXXXXX";
        if (::mkdtemp(pattern) == nullptr) {
            ADD_FAILURE() << "cannot create a directory for the emulator";
            return;
        }
        m_directory = pattern;
        m_socket = m_directory + "/e.sock";
        std::vector<std::string> args{"start", "--background", "--quiet"};
        args.insert(args.end(), startOptions.begin(), startOptions.end());
        const auto started = emulator(args);
        m_running = started.exitCode == 0;
        EXPECT_TRUE(m_running) << started.err;
    }
    ~EmulatorDaemon() {
        if (m_running) {
            const auto stopped = emulator({"stop"});
            EXPECT_EQ(stopped.exitCode, 0) << stopped.err;
        }
        if (!m_directory.empty()) {
            ::unlink(m_socket.c_str());
            ::unlink((m_directory + "/image.bin").c_str());
            ::rmdir(m_directory.c_str());
        }
    }
    EmulatorDaemon(const EmulatorDaemon&) = delete;
    EmulatorDaemon& operator=(const EmulatorDaemon&) = delete;

    bool running() const { return m_running; }
    const std::string& directory() const { return m_directory; }

    void stop() {
        control({"stop"});
        m_running = false;
    }

    ChildResult emulator(const std::vector<std::string>& args) const {
        std::vector<std::string> argv{KESTAL_EMULATOR_BINARY, "--socket", m_socket};
        argv.insert(argv.end(), args.begin(), args.end());
        ChildOptions options;
        options.timeout = kCommandTimeout;
        return runChild(argv, options);
    }

    // Runs the emulator command and expects it to succeed.
    void control(const std::vector<std::string>& args) const {
        const auto result = emulator(args);
        EXPECT_EQ(result.exitCode, 0) << result.err;
    }

    // Waits until the device's status shows `line`, e.g. "version: 2.5.7".
    bool waitForStatus(const std::string& line) const {
        const auto deadline = std::chrono::steady_clock::now() + kCommandTimeout;
        while (std::chrono::steady_clock::now() < deadline) {
            if (contains(emulator({"status"}).out, line + "\n")) {
                return true;
            }
            std::this_thread::sleep_for(50ms);
        }
        return false;
    }

    std::string makeImage(const std::string& version) const {
        const std::string file = m_directory + "/image.bin";
        control({"make-image", version, file, "--size", "2000"});
        return file;
    }

    ChildResult tool(const std::vector<std::string>& args, bool terminal = false,
                     std::chrono::milliseconds timeout = kCommandTimeout) const {
        std::vector<std::string> argv{TINDREL_TOOL_BINARY};
        argv.insert(argv.end(), args.begin(), args.end());
        ChildOptions options;
        options.environment = {{"KESTAL_EMULATOR", m_socket}};
        options.timeout = timeout;
        options.terminal = terminal;
        return runChild(argv, options);
    }

private:
    std::string m_directory;
    std::string m_socket;
    bool m_running = false;
};

TEST(ToolTest, InfoPrintsTheDevicesNameAndVersion) {
    EmulatorDaemon daemon({"--version", "1.2.3"});
    ASSERT_TRUE(daemon.running());
    const auto info = daemon.tool({"info"});
    EXPECT_EQ(info.exitCode, 0) << info.err;
    EXPECT_EQ(info.out, "name: Quendral Kestal (emulated)\n"
                        "version: 1.2.3\n"
                        "present: yes\n"
                        "single device: yes\n");
}

TEST(ToolTest, FlashInstallsTheImageAndTheDeviceComesBackWithItsVersion) {
    EmulatorDaemon daemon({"--time-scale", "0.6"});
    ASSERT_TRUE(daemon.running());
    const std::string image = daemon.makeImage("2.5.7");

    const auto flash = daemon.tool({"flash", image}, false, kFlashTimeout);
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

    ASSERT_TRUE(daemon.waitForStatus("version: 2.5.7"));
    ASSERT_TRUE(daemon.waitForStatus("attached: yes"));
    EXPECT_TRUE(contains(daemon.tool({"info"}).out, "version: 2.5.7\n"));
}

// While one program flashes, no other may touch the camera chip: neither flash, nor ask, nor
// switch its USB mode.
TEST(ToolTest, OneFlasherAtATime) {
    EmulatorDaemon daemon({"--time-scale", "0.6"});
    ASSERT_TRUE(daemon.running());
    const std::string image = daemon.makeImage("2.5.7");
    auto first = std::async(std::launch::async, [&] {
        return daemon.tool({"flash", image}, false, kFlashTimeout);
    });
    // The flasher holds the device from its first look until the end, 5 s of it before the
    // transfer; give it time to take it.
    std::this_thread::sleep_for(1s);
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"info"}, {"usb-mode"}, {"usb2"}, {"flash", image}}) {
        const auto refused = daemon.tool(args);
        EXPECT_EQ(refused.exitCode, 1) << args[0] << ": " << refused.out;
        EXPECT_TRUE(contains(refused.err, "ERROR: device busy - used by another program"))
            << args[0] << ": " << refused.err;
    }
    const auto flash = first.get();
    EXPECT_EQ(flash.exitCode, 0) << flash.err;
    EXPECT_TRUE(daemon.waitForStatus("version: 2.5.7"));
    EXPECT_TRUE(daemon.waitForStatus("usb: 3")) << "the refused switch never reached the device";
}

struct FaultCase {
    const char* name;
    std::vector<std::string> fault;
    const char* message;
    bool terminal;     // standard output on a terminal
    bool leavesTheBus; // the device stays away until plugged again
};

void PrintTo(const FaultCase& fault, std::ostream* out) {
    *out << fault.name;
}

class ToolFaultTest : public ::testing::TestWithParam<FaultCase> {};

TEST_P(ToolFaultTest, EndsWithAnErrorAndKeepsTheVersion) {
    const FaultCase& fault = GetParam();
    EmulatorDaemon daemon({"--time-scale", "0"});
    ASSERT_TRUE(daemon.running());
    const std::string image = daemon.makeImage("3.0.0");
    daemon.control(fault.fault);

    const auto flash = daemon.tool({"flash", image}, fault.terminal, kFlashTimeout);
    ASSERT_FALSE(flash.timedOut) << "the flash did not end";
    EXPECT_EQ(flash.exitCode, 1);
    EXPECT_TRUE(contains(flash.err, fault.message)) << flash.err;
    if (fault.terminal) {
        EXPECT_TRUE(contains(flash.out, "\r[")) << "a bar on a terminal: " << flash.out;
        EXPECT_FALSE(contains(flash.out, "progress:"));
    }
    daemon.control({"fail", "clear"});
    if (fault.leavesTheBus) {
        daemon.control({"plug"});
    }
    EXPECT_TRUE(daemon.waitForStatus("version: 1.0.0"));
}

INSTANTIATE_TEST_SUITE_P(
    Faults, ToolFaultTest,
    ::testing::Values(
        FaultCase{"RefusedInitiation", {"fail", "init"}, "firmware update failed", false, false},
        FaultCase{
            "FailedDataWrite", {"fail", "write", "3"}, "firmware update failed", false, false},
        // Data goes out before finalization fails, so the bar has something to show.
        FaultCase{
            "FailedFinalization", {"fail", "finalize"}, "firmware update failed", true, false},
        FaultCase{"DeviceLeavesDuringTransfer",
                  {"fail", "vanish", "write", "2"},
                  "firmware update failed; the device is no longer attached",
                  false,
                  true}),
    [](const ::testing::TestParamInfo<FaultCase>& param) { return std::string(param.param.name); });

TEST(ToolTest, WithoutADeviceEveryCommandSaysSo) {
    EmulatorDaemon daemon({"--detached"});
    ASSERT_TRUE(daemon.running());
    const std::string image = daemon.makeImage("2.0.0");
    for (const std::vector<std::string>& command :
         {std::vector<std::string>{"info"}, {"flash", image}, {"usb-mode"}, {"usb2"}}) {
        SCOPED_TRACE(command[0]);
        const auto result = daemon.tool(command);
        EXPECT_EQ(result.exitCode, 3);
        EXPECT_TRUE(contains(result.err, "no device found")) << result.err;
    }
}

TEST(ToolTest, ImagesThatCannotBeReadOrVerifiedAreRefusedUnsent) {
    EmulatorDaemon daemon({});
    ASSERT_TRUE(daemon.running());
    const std::string missing = daemon.directory() + "/missing.bin";
    const auto notThere = daemon.tool({"flash", missing});
    EXPECT_EQ(notThere.exitCode, 2);
    EXPECT_TRUE(contains(notThere.err, "cannot read " + missing + ": No such file or directory"))
        << notThere.err;

    const auto directory = daemon.tool({"flash", daemon.directory()});
    EXPECT_EQ(directory.exitCode, 2);
    EXPECT_TRUE(contains(directory.err, "Is a directory")) << directory.err;

    const std::string bogus = daemon.directory() + "/image.bin";
    std::ofstream(bogus, std::ios::binary) << "AIT84 is not quite the signature";
    const auto unverified = daemon.tool({"flash", bogus});
    EXPECT_EQ(unverified.exitCode, 1);
    EXPECT_TRUE(contains(unverified.err, "verification failed")) << unverified.err;
    EXPECT_TRUE(daemon.waitForStatus("enumeration: 1")) << "the device was never restarted";
}

TEST(ToolTest, UsbModeIsReportedAndSwitched) {
    EmulatorDaemon daemon({"--time-scale", "0"});
    ASSERT_TRUE(daemon.running());
    EXPECT_EQ(daemon.tool({"usb-mode"}).out, "USB 3\n");
    const auto toUsb2 = daemon.tool({"usb2"});
    EXPECT_EQ(toUsb2.exitCode, 0) << toUsb2.err;
    ASSERT_TRUE(daemon.waitForStatus("usb: 2"));
    ASSERT_TRUE(daemon.waitForStatus("attached: yes"));
    EXPECT_EQ(daemon.tool({"usb-mode"}).out, "USB 2\n");
    EXPECT_EQ(daemon.tool({"usb3"}).exitCode, 0);
    EXPECT_TRUE(daemon.waitForStatus("usb: 3"));
}

TEST(ToolTest, AnEmulatorThatDoesNotAnswerLeavesTheLibraryUninitialized) {
    EmulatorDaemon daemon({});
    ASSERT_TRUE(daemon.running());
    daemon.stop();
    const auto info = daemon.tool({"info"});
    EXPECT_EQ(info.exitCode, 1);
    EXPECT_TRUE(
        contains(info.err, "ERROR: Update controller was unable to provide PnP monitoring."))
        << info.err;
}

TEST(ToolTest, BadArgumentsShowTheUsage) {
    const std::vector<std::vector<std::string>> wrong{
        {}, {"frobnicate"}, {"flash"}, {"info", "extra"}, {"flash", "a", "b"}};
    for (const auto& args : wrong) {
        std::vector<std::string> argv{TINDREL_TOOL_BINARY};
        argv.insert(argv.end(), args.begin(), args.end());
        const auto result = runChild(argv);
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_TRUE(contains(result.err, "usage: tindrel-tool COMMAND")) << result.err;
    }
    const auto help = runChild({TINDREL_TOOL_BINARY, "help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(contains(help.out, "flash FILE"));
}

} // namespace
} // namespace quendral::test
