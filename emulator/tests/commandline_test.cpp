// Argument handling of the control commands and the kestal-emulator program, in-process and
// as the real binary in the background.

#include "commandline.h"
#include "controlcommand.h"
#include "runningdaemon.h"
#include "support/childprocess.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <poll.h>
#include <sstream>
#include <unistd.h>

namespace quendral::emulator {
namespace {

using testing::RunningDaemon;
using Words = std::vector<std::string>;

struct Run {
    int code;
    std::string out, err;
};

Run run(const Words& args) {
    std::ostringstream out, err;
    const int code = runCommandLine(args, out, err);
    return {code, out.str(), err.str()};
}

// Commands separated by ';', each split into its words: "a b; ; c" is {a, b}, {}, {c}.
std::vector<Words> commands(const std::string& text) {
    std::vector<Words> result;
    std::istringstream in(text);
    for (std::string command; std::getline(in, command, ';');) {
        std::istringstream words(command);
        result.emplace_back(std::istream_iterator<std::string>(words),
                            std::istream_iterator<std::string>());
    }
    return result;
}

// The forms the other suites use (plug, hdmi, set-version, every fault, status, stop) parse
// there; here are the rest and what must be refused.
TEST(ControlCommandTest, ParsesTheRemainingFormsAndRejectsMalformedOnesWithAReason) {
    for (const bool valid : {true, false}) {
        const auto list = valid ? commands("other-stream off; usb 2; time-scale 0.05")
                                : commands("; bogus; plug now; hdmi; hdmi yes; other-stream on off;"
                                           "set-version 1.2; set-version 1.2.300; usb 1;"
                                           "time-scale -1; time-scale 101; time-scale 1e3;"
                                           "fail init now; fail; fail write; fail write 0;"
                                           "fail write x; fail write 99999999999; fail vanish;"
                                           "fail vanish later; fail vanish write; fail read slow;"
                                           "fail read short 3; fail hid short 1");
        for (const auto& words : list) {
            std::string error;
            EXPECT_EQ(static_cast<bool>(ControlCommand::parse(words, &error)), valid)
                << ::testing::PrintToString(words) << ": " << error;
            EXPECT_TRUE(valid || !error.empty()) << "no reason given";
        }
    }
}

// Bad arguments exit with 2 and say so; help, a control command and make-image do their work;
// the real binary's daemon serves in the background until stopped.
TEST(CommandLineTest, BadArgumentsExitWith2AndGoodCommandsWork) {
    const auto bad = commands("; hdmi maybe; --socket; --socket " + std::string(200, 'x') +
                              " status; start --usb 5; start --time-scale; start --hdmi blue;"
                              "start --version 1.2.3.4; start --frobnicate; make-image 1.2.3;"
                              "make-image 1.2.3 f.bin --size 3");
    for (const auto& args : bad) {
        const auto result = run(args);
        EXPECT_EQ(result.code, kExitUsage) << ::testing::PrintToString(args);
        EXPECT_NE(result.err.find("kestal-emulator: "), std::string::npos);
    }
    const auto help = run({"help"});
    EXPECT_EQ(help.code, kExitOk);
    EXPECT_NE(help.out.find("set-version X.Y.Z"), std::string::npos);

    RunningDaemon daemon;
    // status, and status with no daemon: below, on the real binary.
    const auto hdmi = run({"--socket", daemon.socketPath(), "hdmi", "on"});
    ASSERT_EQ(hdmi.code, kExitOk);
    EXPECT_EQ(hdmi.out, "HDMI source connected\n");

    const std::string image = daemon.directory() + "/fw.bin";
    ASSERT_EQ(run({"make-image", "3.4.5", image, "--size", "100"}).code, kExitOk);
    EXPECT_EQ(std::filesystem::file_size(image), 100u);

    const std::string socket = daemon.directory() + "/bg.sock";
    const auto emulator = [&](Words args) {
        args.insert(args.begin(), {KESTAL_EMULATOR_BINARY, "--socket", socket});
        return test::runChild(args);
    };
    // Never leave a daemon behind, whatever fails below.
    const std::shared_ptr<void> stopAtEnd(nullptr, [&](void*) { emulator({"stop"}); });

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
    const auto gone = emulator({"status"});
    EXPECT_EQ(gone.exitCode, kExitFailed);
    EXPECT_NE(gone.err.find("no emulator running"), std::string::npos) << gone.err;
}

} // namespace
} // namespace quendral::emulator
