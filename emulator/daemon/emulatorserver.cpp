#include "emulatorserver.h"

#include "controlcommand.h"
#include "socketio.h"
#include "wireprotocol.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>

namespace quendral::emulator {

namespace {

using wire::MessageReader;
using wire::MessageWriter;
using wire::Op;

constexpr std::size_t kReadChunkBytes = 4096;
constexpr int kListenBacklog = 16;

std::vector<std::uint8_t> errorFrame(const std::string& text) {
    return MessageWriter(Op::Error).text(text).frame();
}

std::vector<std::uint8_t> transferFrame(const DeviceReply& reply) {
    return MessageWriter(Op::TransferReply).i32(reply.errorCode).bytes(reply.data).frame();
}

} // namespace

struct EmulatorServer::Client {
    std::uint64_t id = 0;
    UniqueFd fd;
    std::vector<std::uint8_t> input;
    std::vector<std::uint8_t> output;
    bool subscribed = false;
    bool closeAfterFlush = false;
    bool closed = false;
};

EmulatorServer::EmulatorServer(std::string socketPath, const DeviceConfig& config, LogSink log)
    : socketPath_(std::move(socketPath))
    , device_(config)
    , log_(std::move(log)) {
    int fds[2] = {-1, -1};
    if (::pipe2(fds, O_CLOEXEC | O_NONBLOCK) == 0) {
        wakeRead_.reset(fds[0]);
        wakeWrite_.reset(fds[1]);
    }
}

EmulatorServer::~EmulatorServer() {
    if (listenFd_.valid()) {
        listenFd_.reset();
        ::unlink(socketPath_.c_str());
        for (std::uint32_t enumeration = 0; enumeration <= device_.state().enumeration;
             ++enumeration) {
            ::unlink(wire::videoNodeLockPath(socketPath_, enumeration).c_str());
        }
    }
}

bool EmulatorServer::listen(std::string* error) {
    auto fail = [&](const std::string& what) {
        if (error != nullptr) {
            *error = what;
        }
        return false;
    };
    if (!wakeRead_.valid()) {
        return fail("cannot create the wake-up pipe");
    }
    if (!socketio::fitsSocketAddress(socketPath_)) {
        return fail("socket path is empty or too long: " + socketPath_);
    }
    struct stat info {};
    if (::lstat(socketPath_.c_str(), &info) == 0) {
        if (!S_ISSOCK(info.st_mode)) {
            return fail(socketPath_ + " exists and is not a socket");
        }
        if (socketio::connectTo(socketPath_, nullptr).valid()) {
            return fail("an emulator is already listening on " + socketPath_);
        }
        ::unlink(socketPath_.c_str());
    }
    UniqueFd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    if (!fd.valid()) {
        return fail(std::string("cannot create socket: ") + std::strerror(errno));
    }
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, socketPath_.c_str(), socketPath_.size() + 1);
    // Only this user may drive the device.
    const mode_t oldMask = ::umask(0077);
    const int rc = ::bind(fd.get(), reinterpret_cast<const sockaddr*>(&address), sizeof(address));
    ::umask(oldMask);
    if (rc != 0) {
        return fail("cannot bind " + socketPath_ + ": " + std::strerror(errno));
    }
    if (::listen(fd.get(), kListenBacklog) != 0) {
        ::unlink(socketPath_.c_str());
        return fail("cannot listen on " + socketPath_ + ": " + std::strerror(errno));
    }
    listenFd_ = std::move(fd);
    log("listening on " + socketPath_);
    return true;
}

void EmulatorServer::requestStop() {
    const char byte = 1;
    // A full pipe already holds a wake-up, so the result does not matter.
    [[maybe_unused]] const auto written = ::write(wakeWrite_.get(), &byte, 1);
}

void EmulatorServer::run() {
    using Clock = std::chrono::steady_clock;
    std::vector<pollfd> fds;
    while (!stopping_) {
        fds.clear();
        fds.push_back(pollfd{wakeRead_.get(), POLLIN, 0});
        fds.push_back(pollfd{listenFd_.get(), POLLIN, 0});
        for (const auto& client : clients_) {
            const short events =
                static_cast<short>(POLLIN | (client->output.empty() ? 0 : POLLOUT));
            fds.push_back(pollfd{client->fd.get(), events, 0});
        }
        int timeoutMs = -1;
        if (const auto deadline = device_.nextDeadline()) {
            const auto wait =
                std::chrono::ceil<std::chrono::milliseconds>(*deadline - Clock::now());
            timeoutMs = static_cast<int>(std::max<std::chrono::milliseconds::rep>(0, wait.count()));
        }
        const int ready = ::poll(fds.data(), fds.size(), timeoutMs);
        if (ready < 0 && errno != EINTR) {
            log(std::string("poll failed: ") + std::strerror(errno));
            break;
        }
        if (ready > 0) {
            if ((fds[0].revents & POLLIN) != 0) {
                char drain[64];
                while (::read(wakeRead_.get(), drain, sizeof(drain)) > 0) {
                }
                stopping_ = true;
            }
            // Clients accepted below are not in `fds` yet; they are polled next round.
            const std::size_t polledClients = fds.size() - 2;
            for (std::size_t i = 0; i < polledClients; ++i) {
                auto& client = *clients_[i];
                const auto revents = fds[i + 2].revents;
                if ((revents & (POLLIN | POLLHUP | POLLERR)) != 0) {
                    readFrom(client);
                }
                if ((revents & POLLOUT) != 0 && !client.closed) {
                    flush(client);
                }
            }
            if ((fds[1].revents & POLLIN) != 0) {
                acceptClients();
            }
        }
        device_.advance(Clock::now());
        broadcastEvents();
        clients_.erase(std::remove_if(clients_.begin(), clients_.end(),
                                      [this](const std::unique_ptr<Client>& client) {
                                          if (client->closed) {
                                              device_.releaseOwner(client->id);
                                          }
                                          return client->closed;
                                      }),
                       clients_.end());
        // Releasing a departed client's stream changes the state others see.
        broadcastEvents();
    }
    for (auto& client : clients_) {
        flush(*client);
    }
    clients_.clear();
    log("stopped");
}

void EmulatorServer::acceptClients() {
    for (;;) {
        UniqueFd fd(::accept4(listenFd_.get(), nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK));
        if (!fd.valid()) {
            return;
        }
        if (clients_.size() >= kMaxClients) {
            log("too many clients; connection refused");
            continue;
        }
        auto client = std::make_unique<Client>();
        client->id = nextClientId_++;
        client->fd = std::move(fd);
        clients_.push_back(std::move(client));
    }
}

void EmulatorServer::readFrom(Client& client) {
    std::uint8_t chunk[kReadChunkBytes];
    while (!client.closed) {
        const auto n = ::recv(client.fd.get(), chunk, sizeof(chunk), 0);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            return;
        }
        if (n <= 0) {
            client.closed = true;
            return;
        }
        if (client.closeAfterFlush) {
            continue;
        }
        client.input.insert(client.input.end(), chunk, chunk + n);
        std::size_t payloadSize = 0;
        for (;;) {
            const auto status = wire::peekFrame(client.input, payloadSize);
            if (status == wire::FrameStatus::Incomplete) {
                break;
            }
            if (status == wire::FrameStatus::Invalid) {
                // Without a believable length there is no next frame to find.
                client.input.clear();
                client.closeAfterFlush = true;
                queue(client, errorFrame("invalid frame length"));
                break;
            }
            handleFrame(client, client.input.data() + wire::kFrameHeaderBytes, payloadSize);
            client.input.erase(client.input.begin(),
                               client.input.begin() + static_cast<std::ptrdiff_t>(
                                                          wire::kFrameHeaderBytes + payloadSize));
            if (client.closed || client.closeAfterFlush) {
                break;
            }
        }
    }
}

void EmulatorServer::handleFrame(Client& client, const std::uint8_t* payload, std::size_t size) {
    using Clock = std::chrono::steady_clock;
    MessageReader reader(payload, size);
    const auto op = static_cast<Op>(reader.u8());
    std::vector<std::uint8_t> reply;
    switch (op) {
    case Op::Hello: {
        const auto version = reader.u16();
        if (!reader.complete()) {
            break;
        }
        if (version != wire::kProtocolVersion) {
            client.closeAfterFlush = true;
            queue(client,
                  errorFrame("protocol version " + std::to_string(version) + " is not supported"));
            return;
        }
        reply = MessageWriter(Op::HelloReply).u16(wire::kProtocolVersion).frame();
        break;
    }
    case Op::GetState:
        if (reader.complete()) {
            MessageWriter writer(Op::StateReply);
            wire::writeState(writer, device_.state());
            reply = writer.frame();
        }
        break;
    case Op::HidRead: {
        const auto enumeration = reader.u32();
        if (reader.complete()) {
            reply = transferFrame(device_.readHidReport(enumeration));
        }
        break;
    }
    case Op::XuLength:
    case Op::XuGet: {
        const auto enumeration = reader.u32();
        const auto selector = reader.u8();
        if (reader.complete()) {
            reply = transferFrame(op == Op::XuLength
                                      ? device_.xuLength(enumeration, selector)
                                      : device_.xuGet(enumeration, selector, Clock::now()));
        }
        break;
    }
    case Op::XuSet: {
        const auto enumeration = reader.u32();
        const auto selector = reader.u8();
        const auto data = reader.bytes(wire::kMaxXuDataBytes);
        if (reader.complete()) {
            reply = transferFrame(device_.xuSet(enumeration, selector, data, Clock::now()));
        }
        break;
    }
    case Op::SetStreaming: {
        const auto on = reader.u8();
        if (reader.complete() && on <= 1) {
            reply = device_.setStreaming(client.id, on == 1)
                        ? MessageWriter(Op::Ack).frame()
                        : errorFrame("the device is not attached");
        }
        break;
    }
    case Op::Subscribe:
        if (reader.complete()) {
            client.subscribed = true;
            reply = MessageWriter(Op::Ack).frame();
        }
        break;
    case Op::Control: {
        const auto count = reader.u8();
        std::vector<std::string> words;
        for (std::size_t i = 0; i < count && i < wire::kMaxControlWords && reader.ok(); ++i) {
            words.push_back(reader.text(wire::kMaxControlWordBytes));
        }
        if (!reader.complete() || count > wire::kMaxControlWords) {
            break;
        }
        std::string error;
        const auto command = ControlCommand::parse(words, &error);
        if (!command) {
            reply = MessageWriter(Op::ControlReply).u8(0).text(error).frame();
            break;
        }
        const auto text = command->applyTo(device_, Clock::now());
        std::string line = "control:";
        for (const auto& word : words) {
            line += " " + word;
        }
        log(line);
        reply = MessageWriter(Op::ControlReply).u8(1).text(text).frame();
        if (command->kind == ControlCommand::Kind::Stop) {
            stopping_ = true;
        }
        break;
    }
    default:
        reply = errorFrame("unknown request");
        break;
    }
    if (reply.empty()) {
        reply = errorFrame("malformed request");
    }
    queue(client, reply);
    // What is due now (an instant re-enumeration) happens before the next request is read.
    device_.advance(Clock::now());
    broadcastEvents();
}

void EmulatorServer::queue(Client& client, const std::vector<std::uint8_t>& frame) {
    if (client.closed) {
        return;
    }
    client.output.insert(client.output.end(), frame.begin(), frame.end());
    flush(client);
    if (client.output.size() > kMaxPendingOutputBytes) {
        log("client does not read its messages; dropped");
        client.closed = true;
    }
}

void EmulatorServer::flush(Client& client) {
    while (!client.output.empty() && !client.closed) {
        const auto n =
            ::send(client.fd.get(), client.output.data(), client.output.size(), MSG_NOSIGNAL);
        if (n > 0) {
            client.output.erase(client.output.begin(), client.output.begin() + n);
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            return;
        } else {
            client.closed = true;
        }
    }
    if (client.output.empty() && client.closeAfterFlush) {
        client.closed = true;
    }
}

void EmulatorServer::broadcastEvents() {
    for (const auto& event : device_.takeEvents()) {
        MessageWriter writer(Op::Event);
        writer.u8(static_cast<std::uint8_t>(event.kind));
        wire::writeState(writer, event.state);
        const auto frame = writer.frame();
        for (auto& client : clients_) {
            if (client->subscribed) {
                queue(*client, frame);
            }
        }
        switch (event.kind) {
        case EventKind::Arrived:
            log("device arrived (enumeration " + std::to_string(event.state.enumeration) + ")");
            break;
        case EventKind::Removed:
            log("device removed");
            break;
        default:
            break;
        }
    }
}

void EmulatorServer::log(const std::string& line) const {
    if (log_) {
        log_(line);
    }
}

} // namespace quendral::emulator
