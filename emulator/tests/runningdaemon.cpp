#include "runningdaemon.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace quendral::emulator::testing {

RunningDaemon::RunningDaemon(const DeviceConfig& config) {
    char pattern[] = "/tmp/kestal-emu-XXXXXX";
    const char* dir = ::mkdtemp(pattern);
    if (dir == nullptr) {
        throw std::runtime_error("mkdtemp failed");
    }
    directory_ = dir;
    socketPath_ = directory_ + "/emulator.sock";
    server_ = std::make_unique<EmulatorServer>(socketPath_, config);
    std::string error;
    if (!server_->listen(&error)) {
        throw std::runtime_error(error);
    }
    thread_ = std::thread([this] { server_->run(); });
}

RunningDaemon::~RunningDaemon() {
    server_->requestStop();
    thread_.join();
    server_.reset();
    std::error_code ignored;
    std::filesystem::remove_all(directory_, ignored);
}

DeviceConfig RunningDaemon::instantConfig() {
    DeviceConfig config;
    config.timeScale = 0.0;
    return config;
}

std::unique_ptr<EmulatorClient> RunningDaemon::connect() const {
    std::string error;
    auto client = EmulatorClient::connect(socketPath_, &error);
    if (!client) {
        throw std::runtime_error(error);
    }
    return client;
}

void RunningDaemon::control(const std::vector<std::string>& words) const {
    const auto result = connect()->control(words);
    ASSERT_TRUE(result.ok) << result.text;
}

} // namespace quendral::emulator::testing
