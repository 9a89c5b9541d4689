#pragma once

#include "emulateddevice.h"
#include "emulatorclient.h"
#include "emulatorserver.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
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

/// A daemon of its own for each test, its socket in the variable the backends read.
class EmulatorTest : public ::testing::Test {
protected:
    EmulatorTest() { ::setenv(kSocketEnvVar, daemon_.socketPath().c_str(), 1); }
    ~EmulatorTest() override { ::unsetenv(kSocketEnvVar); }

    RunningDaemon daemon_;
};

} // namespace quendral::emulator::testing
