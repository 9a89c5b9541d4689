// The daemon through its socket: client requests, events, streams owned by connections, and
// malformed and oversized messages. Random input is fuzz/emulator_protocol.cpp's.

#include "runningdaemon.h"
#include "socketio.h"
#include "wireprotocol.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <fstream>
#include <poll.h>
#include <thread>
#include <tuple>

namespace quendral::emulator {
namespace {

using testing::RunningDaemon;
using Words = std::vector<std::string>;
using Bytes = std::vector<std::uint8_t>;

TEST(DaemonTest, ClientReadsStateFollowsEventsAndOwnsItsStream) {
    RunningDaemon daemon;
    const auto client = daemon.connect();
    const auto events = client->subscribe();
    ASSERT_TRUE(events);

    const auto state = client->state();
    ASSERT_TRUE(state);
    EXPECT_TRUE(state->attached);
    // A stream ends with the connection that started it, and subscribers hear of both.
    {
        const auto camera = daemon.connect();
        ASSERT_TRUE(camera->setStreaming(true));
        EXPECT_TRUE(client->state()->ourStreaming);
    }
    std::vector<Event> seen;
    for (int polls = 0; polls < 20 && seen.size() < 2; ++polls) {
        pollfd fd{events->fd(), POLLIN, 0};
        ::poll(&fd, 1, 100);
        events->readEvents(seen);
    }
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1].kind, EventKind::StateChanged);
    EXPECT_FALSE(seen[1].state.ourStreaming);
    // Presence events through the daemon: TindrelBackendTest's PnP provider and HidTest.
}

// A client reconnects by itself to the next daemon on its path; a subscriber learns, once, that
// its daemon went away. A path taken by a daemon that serves:
// CommandLineTest.BadArgumentsExitWith2AndGoodCommandsWork.
TEST(DaemonTest, ClientReconnectsAfterDaemonRestartAndSubscriberLearnsOfTheEnd) {
    RunningDaemon holder; // lends its temporary directory
    const std::string plainFile = holder.directory() + "/not-a-socket";
    std::ofstream(plainFile) << "keep me";
    EXPECT_FALSE(EmulatorServer(plainFile, DeviceConfig{}).listen(nullptr));
    EXPECT_TRUE(std::ifstream(plainFile).good()) << "never deletes what is not a socket";

    const std::string path = holder.directory() + "/restart.sock";
    std::unique_ptr<EmulatorClient> client;
    std::unique_ptr<EventSubscription> events;
    for (int pass = 0; pass < 2; ++pass) {
        EmulatorServer server(path, RunningDaemon::instantConfig());
        ASSERT_TRUE(server.listen(nullptr));
        std::thread thread([&server] { server.run(); });
        if (!client) {
            client = EmulatorClient::connect(path);
            events = client ? client->subscribe() : nullptr;
        }
        EXPECT_TRUE(client && client->state()) << "pass " << pass;
        server.requestStop();
        thread.join();
    }
    ASSERT_TRUE(client && events);
    EXPECT_FALSE(client->state()) << "nobody answers";
    EXPECT_EQ(client->readHidReport(1).errorCode, ENOTCONN);

    std::vector<Event> seen;
    pollfd fd{events->fd(), POLLIN, 0};
    ASSERT_EQ(::poll(&fd, 1, 2000), 1);
    EXPECT_FALSE(events->readEvents(seen));
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].kind, EventKind::DaemonLost);
    seen.clear();
    EXPECT_FALSE(events->readEvents(seen));
    EXPECT_TRUE(seen.empty()) << "DaemonLost comes once";
}

// Each size limit of the protocol: a message at the limit is taken, one byte past it refused. A
// frame of an impossible length cannot be skipped: it is answered, then the connection ends.
// Other malformed requests are answered and the connection goes on.
TEST(DaemonTest, MessagesAtEachSizeLimitAreTakenAndOnePastItRefused) {
    using wire::MessageWriter;
    using wire::Op;
    const auto header = [](std::uint32_t size) {
        return Bytes{static_cast<std::uint8_t>(size), static_cast<std::uint8_t>(size >> 8), 0, 0};
    };
    const auto control = [](std::size_t words, std::size_t wordBytes) {
        MessageWriter writer(Op::Control);
        writer.u8(static_cast<std::uint8_t>(words));
        for (std::size_t i = 0; i < words; ++i) {
            writer.text(std::string(wordBytes, 'x'));
        }
        return writer.frame();
    };
    const auto xuSet = [](std::size_t bytes) {
        return MessageWriter(Op::XuSet).u32(1).u8(3).bytes(Bytes(bytes)).frame();
    };
    const auto padded = [&](std::size_t payloadBytes) { // a request with trailing bytes
        auto frame = header(static_cast<std::uint32_t>(payloadBytes));
        frame.push_back(static_cast<std::uint8_t>(Op::GetState));
        frame.resize(wire::kFrameHeaderBytes + payloadBytes);
        return frame;
    };
    const std::vector<std::tuple<const char*, Bytes, Op, bool>> cases{
        {"data at the limit", xuSet(wire::kMaxXuDataBytes), Op::TransferReply, true},
        {"data past it", xuSet(wire::kMaxXuDataBytes + 1), Op::Error, true},
        {"words at the limit", control(wire::kMaxControlWords, 1), Op::ControlReply, true},
        {"words past it", control(wire::kMaxControlWords + 1, 1), Op::Error, true},
        {"word at the limit", control(1, wire::kMaxControlWordBytes), Op::ControlReply, true},
        {"word past it", control(1, wire::kMaxControlWordBytes + 1), Op::Error, true},
        // Answered for its trailing bytes, but read: the connection goes on.
        {"frame at the limit", padded(wire::kMaxPayloadBytes), Op::Error, true},
        {"frame past it", padded(wire::kMaxPayloadBytes + 1), Op::Error, false},
        {"empty frame", header(0), Op::Error, false},
        {"unknown op", MessageWriter(static_cast<Op>(0x42)).frame(), Op::Error, true},
        {"truncated", MessageWriter(Op::HidRead).u8(1).frame(), Op::Error, true},
        {"trailing bytes", MessageWriter(Op::GetState).u32(5).frame(), Op::Error, true},
        {"short data", MessageWriter(Op::XuSet).u32(1).u8(1).u16(500).frame(), Op::Error, true},
        {"no such command", MessageWriter(Op::Control).u8(200).frame(), Op::Error, true},
        {"not a flag", MessageWriter(Op::SetStreaming).u8(2).frame(), Op::Error, true},
    };
    RunningDaemon daemon;
    for (const auto& [name, frame, answer, goesOn] : cases) {
        SCOPED_TRACE(name);
        auto fd = socketio::connectTo(daemon.socketPath(), nullptr);
        ASSERT_TRUE(socketio::setTimeouts(fd.get(), 2000));
        Bytes payload;
        ASSERT_TRUE(socketio::sendAll(fd.get(), frame));
        ASSERT_TRUE(socketio::receiveFrame(fd.get(), payload));
        EXPECT_EQ(static_cast<Op>(payload[0]), answer);
        socketio::sendAll(fd.get(), MessageWriter(Op::GetState).frame());
        EXPECT_EQ(socketio::receiveFrame(fd.get(), payload), goesOn);
        EXPECT_TRUE(!goesOn || static_cast<Op>(payload[0]) == Op::StateReply);
    }

    // The client refuses what the daemon would.
    const auto client = daemon.connect();
    const auto stale = client->state()->enumeration + 1;
    const auto xuSetError = [&](std::size_t bytes) {
        return client->xuSet(stale, 3, Bytes(bytes)).errorCode;
    };
    const auto said = [&](const Words& words) {
        return client->control(words).text;
    };
    EXPECT_EQ(xuSetError(wire::kMaxXuDataBytes), ENODEV) << "sent, and refused by the device";
    EXPECT_EQ(xuSetError(wire::kMaxXuDataBytes + 1), EINVAL);
    EXPECT_EQ(said(Words(wire::kMaxControlWords, "x")).find("too many"), std::string::npos);
    EXPECT_EQ(said(Words(wire::kMaxControlWords + 1, "x")), "too many words in the command");
    const std::string longest(wire::kMaxControlWordBytes, 'x');
    EXPECT_EQ(said({longest}).find("too long"), std::string::npos);
    EXPECT_EQ(said({longest + "x"}), "a word of the command is too long");
}

} // namespace
} // namespace quendral::emulator
