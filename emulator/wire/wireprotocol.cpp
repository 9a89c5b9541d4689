#include "wireprotocol.h"

namespace quendral::emulator::wire {

std::string videoNodeLockPath(const std::string& socketPath, std::uint32_t enumeration) {
    return socketPath + ".video" + std::to_string(enumeration) + ".lock";
}

namespace {
constexpr std::uint8_t kAttachedFlag = 0x01;
constexpr std::uint8_t kHdmiFlag = 0x02;
constexpr std::uint8_t kOtherStreamFlag = 0x04;
constexpr std::uint8_t kOurStreamFlag = 0x08;
} // namespace

std::optional<std::size_t> announcedPayloadSize(const std::uint8_t* header) {
    std::size_t size = 0;
    for (std::size_t i = kFrameHeaderBytes; i-- > 0;) {
        size = (size << 8) | header[i];
    }
    if (size == 0 || size > kMaxPayloadBytes) {
        return std::nullopt;
    }
    return size;
}

FrameStatus peekFrame(const std::vector<std::uint8_t>& buffer, std::size_t& payloadSize) {
    if (buffer.size() < kFrameHeaderBytes) {
        return FrameStatus::Incomplete;
    }
    const auto size = announcedPayloadSize(buffer.data());
    if (!size) {
        return FrameStatus::Invalid;
    }
    if (buffer.size() - kFrameHeaderBytes < *size) {
        return FrameStatus::Incomplete;
    }
    payloadSize = *size;
    return FrameStatus::Complete;
}

void writeState(MessageWriter& writer, const DeviceState& state) {
    std::uint8_t flags = 0;
    flags |= state.attached ? kAttachedFlag : 0;
    flags |= state.hdmiConnected ? kHdmiFlag : 0;
    flags |= state.otherStreaming ? kOtherStreamFlag : 0;
    flags |= state.ourStreaming ? kOurStreamFlag : 0;
    writer.u8(flags)
        .u8(static_cast<std::uint8_t>(state.usbMode))
        .u8(state.versionMajor)
        .u8(state.versionMinor)
        .u16(state.versionBuild)
        .u32(state.enumeration)
        .text(state.hidPath)
        .text(state.videoPath)
        .text(state.cameraName);
}

DeviceState readState(MessageReader& reader) {
    DeviceState state;
    const auto flags = reader.u8();
    state.attached = (flags & kAttachedFlag) != 0;
    state.hdmiConnected = (flags & kHdmiFlag) != 0;
    state.otherStreaming = (flags & kOtherStreamFlag) != 0;
    state.ourStreaming = (flags & kOurStreamFlag) != 0;
    state.usbMode = reader.u8();
    state.versionMajor = reader.u8();
    state.versionMinor = reader.u8();
    state.versionBuild = reader.u16();
    state.enumeration = reader.u32();
    state.hidPath = reader.text(kMaxTextBytes);
    state.videoPath = reader.text(kMaxTextBytes);
    state.cameraName = reader.text(kMaxTextBytes);
    return state;
}

} // namespace quendral::emulator::wire
