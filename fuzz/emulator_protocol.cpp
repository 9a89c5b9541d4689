// Whatever a client writes to the emulated device's socket: a running daemon reads the input
// as one connection's bytes and must answer or drop it, and keep serving others.
#include "emulatorserver.h"
#include "messagewriter.h"
#include "socketio.h"
#include "wireprotocol.h"

#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>

using namespace quendral::emulator;

namespace {

std::string socketPath;
std::unique_ptr<EmulatorServer> server;
std::thread serving;
std::atomic<bool> stopped{false};

void startServer() {
    DeviceConfig config;
    config.timeScale = 0.0;
    server = std::make_unique<EmulatorServer>(socketPath, config);
    std::string error;
    if (!server->listen(&error)) {
        std::abort();
    }
    stopped = false;
    serving = std::thread([] {
        server->run();
        stopped = true;
    });
}

void stopServer() {
    server->requestStop();
    serving.join();
    server.reset();
}

// One connection: the input, then reading until the daemon closes or goes quiet.
void exchange(const std::uint8_t* data, std::size_t size) {
    std::string error;
    UniqueFd connection = socketio::connectTo(socketPath, &error);
    if (!connection.valid() || !socketio::setTimeouts(connection.get(), 2000)) {
        return;
    }
    socketio::sendAll(connection.get(), std::vector<std::uint8_t>(data, data + size));
    ::shutdown(connection.get(), SHUT_WR);
    std::uint8_t buffer[4096];
    while (::recv(connection.get(), buffer, sizeof(buffer), 0) > 0) {
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    char folder[] = "/tmp/kestal-fuzz-XXXXXX";
    if (!::mkdtemp(folder)) {
        std::abort();
    }
    socketPath = std::string(folder) + "/emulator.sock";
    startServer();
    std::atexit([] { stopServer(); });
    return 0;
}

// A well-formed request of another client is answered.
bool answersOthers() {
    std::string error;
    UniqueFd connection = socketio::connectTo(socketPath, &error);
    std::vector<std::uint8_t> reply;
    return connection.valid() && socketio::setTimeouts(connection.get(), 5000) &&
           socketio::sendAll(connection.get(), wire::MessageWriter(wire::Op::GetState).frame()) &&
           socketio::receiveFrame(connection.get(), reply) && !reply.empty() &&
           reply[0] == static_cast<std::uint8_t>(wire::Op::StateReply);
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    exchange(data, size);
    if (stopped) {
        // A "stop" command among the input ends the daemon, as it should; start another.
        stopServer();
        startServer();
        return 0;
    }
    if (!answersOthers()) {
        __builtin_trap();
    }
    return 0;
}
