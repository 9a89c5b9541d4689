// Argument handling of the control commands and the kestal-emulator program, in-process and
// as the real binary in the background.

#include "commandline.h"
#include "controlcommand.h"
#include "runningdaemon.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <poll.h>
#include <sstream>
#include <sys/wait.h>
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

TEST(ControlCommandTest, RejectsMalformedCommandsWithAReason) {
    const std::vector<Words> bad = {
        {},
        {"bogus"},
        {"plug", "now"},
        {"hdmi"},
        {"hdmi", "yes"},
        {"other-stream", "on", "off"},
        {"set-version", "1.2"},
        {"set-version", "1.2.300"},
        {"usb", "1"},
        {"usb"},
        {"time-scale", "-1"},
        {"time-scale", "101"},
        {"time-scale", "1e3"},
        {"fail"},
        {"fail", "write"},
        {"fail", "write", "0"},
        {"fail", "write", "x"},
        {"fail", "write", "99999999999"},
        {"fail", "vanish"},
        {"fail", "vanish", "later"},
        {"fail", "vanish", "write"},
        {"fail", "read", "slow"},
        {"fail", "read", "short", "3"},
        {"fail", "hid", "short", "1"},
        {"fail", "init", "now"},
    };
    for (const auto& words : bad) {
        std::string error;
        EXPECT_FALSE(ControlCommand::parse(words, &error)) << (words.empty() ? "(none)" : words[0]);
        EXPECT_FALSE(error.empty());
    }
}

TEST(ControlCommandTest, ParsesEveryForm) {
    const std::vector<Words> good = {
        {"plug"},
        {"unplug"},
        {"hdmi", "on"},
        {"other-stream", "off"},
        {"set-version", "2.10.99"},
        {"usb", "2"},
        {"time-scale", "0.05"},
        {"fail", "init"},
        {"fail", "write", "7"},
        {"fail", "finalize"},
        {"fail", "busy"},
        {"fail", "vanish", "write", "3"},
        {"fail", "vanish", "close"},
        {"fail", "read", "error", "2"},
        {"fail", "read", "short"},
        {"fail", "hid", "error"},
        {"fail", "clear"},
        {"status"},
        {"stop"},
    };
    for (const auto& words : good) {
        std::string error;
        EXPECT_TRUE(ControlCommand::parse(words, &error)) << words[0] << ": " << error;
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
        EXPECT_EQ(run(args, nullptr, &err), kExitUsage) << (args.empty() ? "(none)" : args[0]);
        EXPECT_NE(err.find("kestal-emulator: "), std::string::npos);
    }
    std::string out;
    EXPECT_EQ(run({"help"}, &out), kExitOk);
    EXPECT_NE(out.find("set-version X.Y.Z"), std::string::npos);
}

TEST(CommandLineTest, NoDaemonExitsWith1) {
    char pattern[] = "/tmp/kestal-emu-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    std::string err;
    EXPECT_EQ(run({"--socket", std::string(pattern) + "/none.sock", "status"}, nullptr, &err),
              kExitFailed);
    EXPECT_NE(err.find("no emulator running"), std::string::npos);
    ::rmdir(pattern);
}

TEST(CommandLineTest, ControlsARunningDaemon) {
    RunningDaemon daemon;
    std::string out;
    ASSERT_EQ(run({"--socket", daemon.socketPath(), "hdmi", "on"}, &out), kExitOk);
    EXPECT_EQ(out, "HDMI source connected\n");
    ASSERT_EQ(run({"--socket", daemon.socketPath(), "status"}, &out), kExitOk);
    EXPECT_NE(out.find("hdmi: on\n"), std::string::npos);
    EXPECT_NE(out.find("version: 1.0.0\n"), std::string::npos);

    const std::string image = daemon.directory() + "/fw.bin";
    ASSERT_EQ(run({"make-image", "3.4.5", image, "--size", "100"}, &out), kExitOk);
    std::FILE* file = std::fopen(image.c_str(), "rb");
    ASSERT_NE(file, nullptr);
    std::fseek(file, 0, SEEK_END);
    EXPECT_EQ(std::ftell(file), 100);
    std::fclose(file);
}

std::string shell(const std::string& command, int* code) {
    std::string output;
    std::FILE* pipe = ::popen(command.c_str(), "r");
    char buffer[256];
    while (pipe != nullptr && std::fgets(buffer, sizeof(buffer), pipe) != nullptr) {
        output += buffer;
    }
    const int status = pipe != nullptr ? ::pclose(pipe) : -1;
    *code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return output;
}

TEST(CommandLineTest, BackgroundDaemonServesUntilStopped) {
    char pattern[] = "/tmp/kestal-emu-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    const std::string socket = std::string(pattern) + "/bg.sock";
    const std::string program = std::string(KESTAL_EMULATOR_BINARY) + " --socket " + socket;
    int code = -1;

    // An inheritable descriptor, as a build lock or a test's output pipe would be.
    int inherited[2] = {-1, -1};
    ASSERT_EQ(::pipe(inherited), 0);
    const auto printed = shell(program + " start --background --hdmi on --version 7.8.9", &code);
    ::close(inherited[1]);
    ASSERT_EQ(code, kExitOk);
    // Never leave a daemon behind, whatever fails below.
    struct StopAtEnd {
        std::string command;
        ~StopAtEnd() {
            int ignored = 0;
            shell(command, &ignored);
        }
    } stopAtEnd{program + " stop >/dev/null 2>&1"};
    pollfd hangup{inherited[0], POLLIN, 0};
    char byte = 0;
    const bool released = ::poll(&hangup, 1, 2000) == 1 && ::read(inherited[0], &byte, 1) == 0;
    EXPECT_TRUE(released) << "the daemon kept a descriptor of its starter";
    ::close(inherited[0]);
    EXPECT_EQ(printed, socket + "\n");
    // start returns once the socket listens: no waiting needed.
    const auto status = shell(program + " status", &code);
    EXPECT_EQ(code, kExitOk);
    EXPECT_NE(status.find("version: 7.8.9\n"), std::string::npos);
    EXPECT_NE(status.find("hdmi: on\n"), std::string::npos);

    shell(program + " start --background 2>/dev/null", &code);
    EXPECT_EQ(code, kExitFailed) << "one daemon per socket";

    EXPECT_EQ(shell(program + " stop", &code), "stopping\n");
    EXPECT_EQ(code, kExitOk);
    shell(program + " status 2>/dev/null", &code);
    EXPECT_EQ(code, kExitFailed);
    ::rmdir(pattern);
}

} // namespace
} // namespace quendral::emulator
