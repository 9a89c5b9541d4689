#include "emulatorclient.h"

#include "socketio.h"
#include "wireprotocol.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>

namespace quendral::emulator {

namespace {

using wire::MessageReader;
using wire::MessageWriter;
using wire::Op;

/// A daemon that does not answer within this time is taken as gone, so a GUI thread never
/// hangs on it.
constexpr int kRequestTimeoutMs = 2000;

bool hello(int fd, std::string* error) {
    auto fail = [&](const std::string& what) {
        if (error != nullptr) {
            *error = what;
        }
        return false;
    };
    if (!socketio::sendAll(fd, MessageWriter(Op::Hello).u16(wire::kProtocolVersion).frame())) {
        return fail("cannot talk to the emulator");
    }
    std::vector<std::uint8_t> payload;
    if (!socketio::receiveFrame(fd, payload)) {
        return fail("the emulator does not answer");
    }
    MessageReader reader(payload.data(), payload.size());
    const auto op = static_cast<Op>(reader.u8());
    if (op == Op::Error) {
        return fail("the emulator refused the connection: " + reader.text(wire::kMaxTextBytes));
    }
    const auto version = reader.u16();
    if (op != Op::HelloReply || !reader.complete() || version != wire::kProtocolVersion) {
        return fail("the socket does not speak the emulator's protocol");
    }
    return true;
}

UniqueFd openSession(const std::string& path, std::string* error) {
    auto fd = socketio::connectTo(path, error);
    if (!fd.valid() || !socketio::setTimeouts(fd.get(), kRequestTimeoutMs) ||
        !hello(fd.get(), error)) {
        return UniqueFd{};
    }
    return fd;
}

TransferResult notConnected() {
    return TransferResult{false, ENOTCONN, {}};
}

} // namespace

// ---------------------------------------------------------------------------------------------
// EventSubscription

EventSubscription::EventSubscription(int fd)
    : fd_(fd) {}

EventSubscription::~EventSubscription() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

bool EventSubscription::readEvents(std::vector<Event>& out) {
    if (lost_) {
        return false;
    }
    std::uint8_t chunk[4096];
    bool connectionEnded = false;
    for (;;) {
        const auto n = ::recv(fd_, chunk, sizeof(chunk), 0);
        if (n > 0) {
            buffer_.insert(buffer_.end(), chunk, chunk + n);
            continue;
        }
        if (n < 0 && errno == EINTR) {
            continue;
        }
        connectionEnded = !(n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK));
        break;
    }
    std::size_t payloadSize = 0;
    for (;;) {
        const auto status = wire::peekFrame(buffer_, payloadSize);
        if (status == wire::FrameStatus::Incomplete) {
            break;
        }
        if (status == wire::FrameStatus::Invalid) {
            connectionEnded = true;
            break;
        }
        MessageReader reader(buffer_.data() + wire::kFrameHeaderBytes, payloadSize);
        if (static_cast<Op>(reader.u8()) == Op::Event) {
            Event event;
            const auto kind = reader.u8();
            event.state = wire::readState(reader);
            if (reader.complete() && kind >= static_cast<std::uint8_t>(EventKind::Arrived) &&
                kind <= static_cast<std::uint8_t>(EventKind::StateChanged)) {
                event.kind = static_cast<EventKind>(kind);
                out.push_back(std::move(event));
            }
        }
        buffer_.erase(buffer_.begin(),
                      buffer_.begin() +
                          static_cast<std::ptrdiff_t>(wire::kFrameHeaderBytes + payloadSize));
    }
    if (connectionEnded) {
        lost_ = true;
        out.push_back(Event{EventKind::DaemonLost, {}});
        return false;
    }
    return true;
}

// ---------------------------------------------------------------------------------------------
// EventThread

EventThread::EventThread(std::unique_ptr<EventSubscription> subscription,
                         std::function<void(const Event&)> callback)
    : subscription_(std::move(subscription))
    , callback_(std::move(callback)) {
    if (::pipe2(wakeFds_, O_CLOEXEC) != 0) {
        wakeFds_[0] = wakeFds_[1] = -1;
    }
    thread_ = std::thread([this] { run(); });
}

EventThread::~EventThread() {
    if (wakeFds_[1] >= 0) {
        const char byte = 1;
        [[maybe_unused]] const auto written = ::write(wakeFds_[1], &byte, 1);
    }
    if (thread_.joinable()) {
        thread_.join();
    }
    for (const int fd : wakeFds_) {
        if (fd >= 0) {
            ::close(fd);
        }
    }
}

void EventThread::run() {
    if (!subscription_ || wakeFds_[0] < 0) {
        if (callback_) {
            callback_(Event{EventKind::DaemonLost, {}});
        }
        return;
    }
    std::vector<Event> events;
    for (;;) {
        pollfd fds[2] = {{wakeFds_[0], POLLIN, 0}, {subscription_->fd(), POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0) {
            if (errno == EINTR) {
                continue;
            }
            return;
        }
        if ((fds[0].revents & POLLIN) != 0) {
            return;
        }
        if (fds[1].revents == 0) {
            continue;
        }
        events.clear();
        const bool alive = subscription_->readEvents(events);
        for (const auto& event : events) {
            if (callback_) {
                callback_(event);
            }
        }
        if (!alive) {
            return;
        }
    }
}

// ---------------------------------------------------------------------------------------------
// EmulatorClient

std::optional<std::string> EmulatorClient::socketPathFromEnvironment() {
    const char* value = std::getenv(kSocketEnvVar);
    if (value == nullptr || *value == '\0') {
        return std::nullopt;
    }
    return std::string(value);
}

std::unique_ptr<EmulatorClient> EmulatorClient::connectFromEnvironment(std::string* error) {
    const auto path = socketPathFromEnvironment();
    if (!path) {
        if (error != nullptr) {
            error->clear();
        }
        return nullptr;
    }
    return connect(*path, error);
}

std::unique_ptr<EmulatorClient> EmulatorClient::connect(const std::string& socketPath,
                                                        std::string* error) {
    std::unique_ptr<EmulatorClient> client(new EmulatorClient(socketPath));
    // Not shared with anybody yet, so no lock.
    if (!client->ensureConnected(error)) {
        return nullptr;
    }
    return client;
}

EmulatorClient::EmulatorClient(std::string socketPath)
    : socketPath_(std::move(socketPath)) {}

EmulatorClient::~EmulatorClient() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

bool EmulatorClient::ensureConnected(std::string* error) {
    if (fd_ >= 0) {
        return true;
    }
    fd_ = openSession(socketPath_, error).release();
    return fd_ >= 0;
}

std::optional<std::vector<std::uint8_t>>
EmulatorClient::roundTrip(const std::vector<std::uint8_t>& request) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!ensureConnected(nullptr)) {
        return std::nullopt;
    }
    if (!socketio::sendAll(fd_, request)) {
        // Nothing was delivered, so the request can go out again on a fresh connection: the
        // daemon may have been restarted since the last call.
        ::close(fd_);
        fd_ = -1;
        if (!ensureConnected(nullptr)) {
            return std::nullopt;
        }
        if (!socketio::sendAll(fd_, request)) {
            ::close(fd_);
            fd_ = -1;
            return std::nullopt;
        }
    }
    std::vector<std::uint8_t> payload;
    if (!socketio::receiveFrame(fd_, payload)) {
        // A late reply would answer the next request; start over on a fresh connection.
        ::close(fd_);
        fd_ = -1;
        return std::nullopt;
    }
    return payload;
}

std::optional<DeviceState> EmulatorClient::state() {
    const auto payload = roundTrip(MessageWriter(Op::GetState).frame());
    if (!payload) {
        return std::nullopt;
    }
    MessageReader reader(payload->data(), payload->size());
    if (static_cast<Op>(reader.u8()) != Op::StateReply) {
        return std::nullopt;
    }
    auto state = wire::readState(reader);
    if (!reader.complete()) {
        return std::nullopt;
    }
    return state;
}

TransferResult EmulatorClient::transfer(const std::vector<std::uint8_t>& request) {
    const auto payload = roundTrip(request);
    if (!payload) {
        return notConnected();
    }
    MessageReader reader(payload->data(), payload->size());
    if (static_cast<Op>(reader.u8()) != Op::TransferReply) {
        return TransferResult{false, EPROTO, {}};
    }
    TransferResult result;
    result.errorCode = reader.i32();
    result.data = reader.bytes(wire::kMaxXuDataBytes);
    if (!reader.complete()) {
        return TransferResult{false, EPROTO, {}};
    }
    result.ok = result.errorCode == 0;
    return result;
}

TransferResult EmulatorClient::readHidReport(std::uint32_t enumeration) {
    return transfer(MessageWriter(Op::HidRead).u32(enumeration).frame());
}

TransferResult EmulatorClient::xuLength(std::uint32_t enumeration, std::uint8_t selector) {
    return transfer(MessageWriter(Op::XuLength).u32(enumeration).u8(selector).frame());
}

TransferResult EmulatorClient::xuGet(std::uint32_t enumeration, std::uint8_t selector) {
    return transfer(MessageWriter(Op::XuGet).u32(enumeration).u8(selector).frame());
}

TransferResult EmulatorClient::xuSet(std::uint32_t enumeration, std::uint8_t selector,
                                     const std::vector<std::uint8_t>& data) {
    if (data.size() > wire::kMaxXuDataBytes) {
        return TransferResult{false, EINVAL, {}};
    }
    return transfer(MessageWriter(Op::XuSet).u32(enumeration).u8(selector).bytes(data).frame());
}

bool EmulatorClient::setStreaming(bool on) {
    const auto payload = roundTrip(MessageWriter(Op::SetStreaming).u8(on ? 1 : 0).frame());
    if (!payload) {
        return false;
    }
    MessageReader reader(payload->data(), payload->size());
    return static_cast<Op>(reader.u8()) == Op::Ack && reader.complete();
}

ControlResult EmulatorClient::control(const std::vector<std::string>& words) {
    if (words.size() > wire::kMaxControlWords) {
        return ControlResult{false, "too many words in the command"};
    }
    MessageWriter writer(Op::Control);
    writer.u8(static_cast<std::uint8_t>(words.size()));
    for (const auto& word : words) {
        if (word.size() > wire::kMaxControlWordBytes) {
            return ControlResult{false, "a word of the command is too long"};
        }
        writer.text(word);
    }
    const auto payload = roundTrip(writer.frame());
    if (!payload) {
        return ControlResult{false, "no emulator answers on " + socketPath_};
    }
    MessageReader reader(payload->data(), payload->size());
    const auto op = static_cast<Op>(reader.u8());
    if (op == Op::Error) {
        return ControlResult{false, reader.text(wire::kMaxTextBytes)};
    }
    const auto ok = reader.u8();
    auto text = reader.text(wire::kMaxTextBytes);
    if (op != Op::ControlReply || !reader.complete()) {
        return ControlResult{false, "unexpected reply from the emulator"};
    }
    return ControlResult{ok == 1, std::move(text)};
}

std::unique_ptr<EventSubscription> EmulatorClient::subscribe(std::string* error) {
    auto fd = openSession(socketPath_, error);
    if (!fd.valid()) {
        return nullptr;
    }
    std::vector<std::uint8_t> payload;
    if (!socketio::sendAll(fd.get(), MessageWriter(Op::Subscribe).frame()) ||
        !socketio::receiveFrame(fd.get(), payload) || payload.size() != 1 ||
        static_cast<Op>(payload[0]) != Op::Ack || !socketio::setNonBlocking(fd.get())) {
        if (error != nullptr) {
            *error = "the emulator refused the subscription";
        }
        return nullptr;
    }
    return std::unique_ptr<EventSubscription>(new EventSubscription(fd.release()));
}

} // namespace quendral::emulator
