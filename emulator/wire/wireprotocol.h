#pragma once

// Messages between the emulator daemon and its clients over a Unix stream socket.
//
// Every message is a frame: a 4-byte little-endian payload length, then the payload. The
// payload starts with one opcode byte; integers are little-endian, texts and byte strings carry
// a 2-byte length. Each request is answered by exactly one reply, in order; a subscribed
// connection additionally receives Event frames.

#include "devicestate.h"
#include "messagereader.h"
#include "messagewriter.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quendral::emulator::wire {

inline constexpr std::uint16_t kProtocolVersion = 1;
inline constexpr std::size_t kFrameHeaderBytes = 4;
inline constexpr std::size_t kMaxPayloadBytes = 4096;
inline constexpr std::size_t kMaxTextBytes = 1024;
inline constexpr std::size_t kMaxControlWords = 16;
inline constexpr std::size_t kMaxControlWordBytes = 256;
inline constexpr std::size_t kMaxXuDataBytes = 64;

enum class Op : std::uint8_t {
    // requests
    Hello = 0x01,        ///< u16 protocol version
    GetState = 0x02,     ///< -
    HidRead = 0x03,      ///< u32 enumeration
    XuLength = 0x04,     ///< u32 enumeration, u8 selector
    XuGet = 0x05,        ///< u32 enumeration, u8 selector
    XuSet = 0x06,        ///< u32 enumeration, u8 selector, bytes data
    SetStreaming = 0x07, ///< u8 on
    Subscribe = 0x08,    ///< -
    Control = 0x09,      ///< u8 count, count x text
    // replies and events
    HelloReply = 0x81,    ///< u16 protocol version
    StateReply = 0x82,    ///< state
    TransferReply = 0x83, ///< i32 error code (0 = ok), bytes data
    Ack = 0x84,           ///< -
    ControlReply = 0x85,  ///< u8 ok, text
    Event = 0x90,         ///< u8 kind, state
    Error = 0xFF,         ///< text
};

/// The payload length announced by a frame header of kFrameHeaderBytes; nothing when it is 0
/// or above kMaxPayloadBytes, which no sender of ours produces.
std::optional<std::size_t> announcedPayloadSize(const std::uint8_t* header);

/// Where a buffer of received bytes stands.
enum class FrameStatus { Incomplete, Complete, Invalid };

/// Looks for the first frame at the start of `buffer`. Complete: the payload is
/// [kFrameHeaderBytes, kFrameHeaderBytes + payloadSize). Invalid: the announced length is 0 or
/// above kMaxPayloadBytes, so the stream cannot be resynchronised.
FrameStatus peekFrame(const std::vector<std::uint8_t>& buffer, std::size_t& payloadSize);

void writeState(MessageWriter& writer, const DeviceState& state);
DeviceState readState(MessageReader& reader);

/// The file whose lock stands for the emulated device's video node as enumerated in
/// `enumeration`: the host backend holds it while it has the device open, as a platform backend
/// holds the node itself; a re-enumerated device is a new node, free again.
std::string videoNodeLockPath(const std::string& socketPath, std::uint32_t enumeration);

} // namespace quendral::emulator::wire
