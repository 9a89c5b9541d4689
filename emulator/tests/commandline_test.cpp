// Argument handling of the control commands and the kestal-emulator program, in-process and
// as the real binary in the background.

#include "commandline.h"
#include "controlcommand.h"
#include "runningdaemon.h"
#include "support/childprocess.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <poll.h>
#include <sstream>
#include <unistd.h>

namespace quendral::emulator {
namespace {

using testing::RunningDaemon;
using Words = std::vector<std::string>;

int run(const Words& args, std::string* out = nullptr, std::string* err = nullptr) {
    std::ostringstream o;
    std::ostringstream e;
    const int code = runCommandLine(args, o, e);
    if (out != nullptr) {
        *out = o.str();
    }
    if (err != nullptr) {
        *err = e.str();
    }
    return code;
}

// The forms the other suites use (plug, hdmi, set-version, every fault, status, stop) parse
// there; here are the rest and what must be refused.
TEST(ControlCommandTest, ParsesTheRemainingFormsAndRejectsMalformedOnesWithAReason) {
    const std::vector<std::pair<Words, bool>> cases = {
        {{}, false},
        {{"bogus"}, false},
        {{"plug", "now"}, false},
        {{"hdmi"}, false},
        {{"hdmi", "yes"}, false},
        {{"other-stream", "off"}, true},
        {{"other-stream", "on", "off"}, false},
        {{"set-version", "1.2"}, false},
        {{"set-version", "1.2.300"}, false},
        {{"usb", "2"}, true},
        {{"usb", "1"}, false},
        {{"time-scale", "0.05"}, true},
        {{"time-scale", "-1"}, false},
        {{"time-scale", "101"}, false},
        {{"time-scale", "1e3"}, false},
        {{"fail", "init", "now"}, false},
        {{"fail"}, false},
        {{"fail", "write"}, false},
        {{"fail", "write", "0"}, false},
        {{"fail", "write", "x"}, false},
        {{"fail", "write", "99999999999"}, false},
        {{"fail", "vanish"}, false},
        {{"fail", "vanish", "later"}, false},
        {{"fail", "vanish", "write"}, false},
        {{"fail", "read", "slow"}, false},
        {{"fail", "read", "short", "3"}, false},
        {{"fail", "hid", "short", "1"}, false},
    };
    for (const auto& [words, valid] : cases) {
        std::string error;
        EXPECT_EQ(static_cast<bool>(ControlCommand::parse(words, &error)), valid)
            << ::testing::PrintToString(words) << ": " << error;
        EXPECT_TRUE(valid || !error.empty()) << "no reason given";
    }
}

TEST(CommandLineTest, BadArgumentsExitWith2) {
    const std::vector<Words> bad = {
        {},
        {"hdmi", "maybe"},
        {"--socket"},
        {"--socket", std::string(200, 'x'), "status"},
        {"start", "--usb", "5"},
        {"start", "--time-scale"},
        {"start", "--hdmi", "blue"},
        {"start", "--version", "1.2.3.4"},
        {"start", "--frobnicate"},
        {"make-image", "1.2.3"},
        {"make-image", "1.2.3", "f.bin", "--size", "3"},
    };
    for (const auto& args : bad) {
        std::string err;
        EXPECT_EQ(run(args, nullptr, &err), kExitUsage) << ::testing::PrintToString(args);
        EXPECT_NE(err.find("kestal-emulator: "), std::string::npos);
    }
    std::string out;
    EXPECT_EQ(run({"help"}, &out), kExitOk);
    EXPECT_NE(out.find("set-version X.Y.Z"), std::string::npos);
}

TEST(CommandLineTest, ControlsARunningDaemonAndMakesImages) {
    RunningDaemon daemon;
    std::string out;
    std::string err;
    EXPECT_EQ(run({"--socket", daemon.directory() + "/none.sock", "status"}, nullptr, &err),
              kExitFailed);
    EXPECT_NE(err.find("no emulator running"), std::string::npos);
    ASSERT_EQ(run({"--socket", daemon.socketPath(), "hdmi", "on"}, &out), kExitOk);
    EXPECT_EQ(out, "HDMI source connected\n");
    ASSERT_EQ(run({"--socket", daemon.socketPath(), "status"}, &out), kExitOk);
    EXPECT_NE(out.find("hdmi: on\n"), std::string::npos);
    EXPECT_NE(out.find("version: 1.0.0\n"), std::string::npos);

    const std::string image = daemon.directory() + "/fw.bin";
    ASSERT_EQ(run({"make-image", "3.4.5", image, "--size", "100"}, &out), kExitOk);
    EXPECT_EQ(std::filesystem::file_size(image), 100u);
}

TEST(CommandLineTest, BackgroundDaemonServesUntilStopped) {
    char pattern[] = "/tmp/kestal-emu-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    const std::string socket = std::string(pattern) + "/bg.sock";
    const auto emulator = [&](Words args) {
        args.insert(args.begin(), {KESTAL_EMULATOR_BINARY, "--socket", socket});
        return test::runChild(args);
    };
    // Never leave a daemon behind, whatever fails below.
    struct StopAtEnd {
        std::function<void()> stop;
        ~StopAtEnd() { stop(); }
    } stopAtEnd{[&] {
        emulator({"stop"});
    }};

    // An inheritable descriptor, as a build lock or a test's output pipe would be.
    int inherited[2] = {-1, -1};
    ASSERT_EQ(::pipe(inherited), 0);
    const auto started = emulator({"start", "--background", "--hdmi", "on", "--version", "7.8.9"});
    ::close(inherited[1]);
    ASSERT_EQ(started.exitCode, kExitOk) << started.err;
    pollfd hangup{inherited[0], POLLIN, 0};
    char byte = 0;
    const bool released = ::poll(&hangup, 1, 2000) == 1 && ::read(inherited[0], &byte, 1) == 0;
    EXPECT_TRUE(released) << "the daemon kept a descriptor of its starter";
    ::close(inherited[0]);
    EXPECT_EQ(started.out, socket + "\n");
    // start returns once the socket listens: no waiting needed.
    const auto status = emulator({"status"});
    EXPECT_EQ(status.exitCode, kExitOk);
    EXPECT_NE(status.out.find("version: 7.8.9\n"), std::string::npos);
    EXPECT_NE(status.out.find("hdmi: on\n"), std::string::npos);

    EXPECT_EQ(emulator({"start", "--background"}).exitCode, kExitFailed) << "one per socket";
    const auto stopped = emulator({"stop"});
    EXPECT_EQ(stopped.out, "stopping\n");
    EXPECT_EQ(stopped.exitCode, kExitOk);
    EXPECT_EQ(emulator({"status"}).exitCode, kExitFailed);
    std::filesystem::remove_all(pattern);
}

} // namespace
} // namespace quendral::emulator
