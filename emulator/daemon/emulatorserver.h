#pragma once

#include "emulateddevice.h"
#include "uniquefd.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace quendral::emulator {

/// The emulator daemon: owns the emulated device and serves it on a Unix stream socket to any
/// number of clients, in one thread, with poll(). Malformed input costs the sender its
/// connection at worst, never the daemon.
class EmulatorServer {
public:
    static constexpr std::size_t kMaxClients = 64;
    /// A client that lets this much unread output pile up (a subscriber that stopped reading)
    /// is dropped.
    static constexpr std::size_t kMaxPendingOutputBytes = 256 * 1024;

    using LogSink = std::function<void(const std::string& line)>;

    EmulatorServer(std::string socketPath, const DeviceConfig& config, LogSink log = {});
    ~EmulatorServer();
    EmulatorServer(const EmulatorServer&) = delete;
    EmulatorServer& operator=(const EmulatorServer&) = delete;

    /// Binds and listens. Refuses when another daemon answers on the path or the path is taken
    /// by something that is not a socket; a stale socket file is replaced.
    bool listen(std::string* error);

    /// Serves until the stop command arrives or requestStop() is called.
    void run();

    /// Ends run() soon. Safe from any thread and from a signal handler.
    void requestStop();

    const std::string& socketPath() const { return socketPath_; }

private:
    struct Client;

    void acceptClients();
    void readFrom(Client& client);
    void handleFrame(Client& client, const std::uint8_t* payload, std::size_t size);
    void queue(Client& client, const std::vector<std::uint8_t>& frame);
    void flush(Client& client);
    void broadcastEvents();
    void log(const std::string& line) const;

    std::string socketPath_;
    EmulatedDevice device_;
    LogSink log_;
    UniqueFd listenFd_;
    UniqueFd wakeRead_;
    UniqueFd wakeWrite_;
    bool stopping_ = false;
    std::uint64_t nextClientId_ = 1;
    std::vector<std::unique_ptr<Client>> clients_;
};

} // namespace quendral::emulator
