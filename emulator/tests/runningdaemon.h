#pragma once

#include "emulateddevice.h"
#include "emulatorclient.h"
#include "emulatorserver.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace quendral::emulator::testing {

/// A daemon serving on a socket in a fresh temporary directory, on a thread of the test.
class RunningDaemon {
public:
    explicit RunningDaemon(const DeviceConfig& config = instantConfig());
    ~RunningDaemon();
    RunningDaemon(const RunningDaemon&) = delete;
    RunningDaemon& operator=(const RunningDaemon&) = delete;

    /// Attached, no HDMI, version 1.0.0, USB 3, delays instant.
    static DeviceConfig instantConfig();

    const std::string& directory() const { return directory_; }
    const std::string& socketPath() const { return socketPath_; }
    std::unique_ptr<EmulatorClient> connect() const;
    /// Runs a control command and expects it to succeed.
    void control(const std::vector<std::string>& words) const;

private:
    std::string directory_;
    std::string socketPath_;
    std::unique_ptr<EmulatorServer> server_;
    std::thread thread_;
};

/// Collects a subscription's events on an EventThread and waits for particular ones.
class EventWaiter {
public:
    explicit EventWaiter(std::unique_ptr<EventSubscription> subscription);

    /// Consumes events up to and including the first for which `match` is true; false when
    /// none comes within `timeout`.
    bool waitFor(const std::function<bool(const Event&)>& match,
                 std::chrono::milliseconds timeout = std::chrono::milliseconds(2000));

private:
    std::mutex mutex_;
    std::condition_variable arrived_;
    std::vector<Event> events_;
    std::size_t consumed_ = 0;
    EventThread thread_; // last: stopped before the rest goes
};

/// The device's identifier text, e.g. idText("vid_", "pid_") = "vid_xxxx&pid_086c".
std::string idText(const char* vendorPrefix, const char* productPrefix);

/// A daemon of its own for each test, its socket in the variable the backends read.
class EmulatorTest : public ::testing::Test {
protected:
    explicit EmulatorTest(const DeviceConfig& config = RunningDaemon::instantConfig())
        : daemon_(config) {
        ::setenv(kSocketEnvVar, daemon_.socketPath().c_str(), 1);
    }
    ~EmulatorTest() override { ::unsetenv(kSocketEnvVar); }

    RunningDaemon daemon_;
};

} // namespace quendral::emulator::testing
