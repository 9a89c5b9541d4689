#include "messagewriter.h"

#include "wireprotocol.h"

#include <algorithm>
#include <limits>

namespace quendral::emulator::wire {

MessageWriter::MessageWriter(Op op) {
    payload_.push_back(static_cast<std::uint8_t>(op));
}

MessageWriter& MessageWriter::u8(std::uint8_t value) {
    payload_.push_back(value);
    return *this;
}

MessageWriter& MessageWriter::u16(std::uint16_t value) {
    payload_.push_back(static_cast<std::uint8_t>(value & 0xFF));
    payload_.push_back(static_cast<std::uint8_t>(value >> 8));
    return *this;
}

MessageWriter& MessageWriter::u32(std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
        payload_.push_back(static_cast<std::uint8_t>((value >> shift) & 0xFF));
    }
    return *this;
}

MessageWriter& MessageWriter::i32(std::int32_t value) {
    return u32(static_cast<std::uint32_t>(value));
}

MessageWriter& MessageWriter::bytes(const std::vector<std::uint8_t>& data) {
    const auto size = std::min<std::size_t>(data.size(), std::numeric_limits<std::uint16_t>::max());
    u16(static_cast<std::uint16_t>(size));
    payload_.insert(payload_.end(), data.begin(), data.begin() + static_cast<std::ptrdiff_t>(size));
    return *this;
}

MessageWriter& MessageWriter::text(const std::string& value) {
    return bytes(std::vector<std::uint8_t>(value.begin(), value.end()));
}

std::vector<std::uint8_t> MessageWriter::frame() const {
    std::vector<std::uint8_t> out;
    out.reserve(kFrameHeaderBytes + payload_.size());
    const auto size = static_cast<std::uint32_t>(payload_.size());
    for (int shift = 0; shift < 32; shift += 8) {
        out.push_back(static_cast<std::uint8_t>((size >> shift) & 0xFF));
    }
    out.insert(out.end(), payload_.begin(), payload_.end());
    return out;
}

} // namespace quendral::emulator::wire
