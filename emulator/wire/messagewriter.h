#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quendral::emulator::wire {

enum class Op : std::uint8_t;

/// Builds one framed message. Texts and byte strings longer than a 2-byte length are cut; the
/// callers keep within the protocol's limits, and the reader enforces them.
class MessageWriter {
public:
    explicit MessageWriter(Op op);

    MessageWriter& u8(std::uint8_t value);
    MessageWriter& u16(std::uint16_t value);
    MessageWriter& u32(std::uint32_t value);
    MessageWriter& i32(std::int32_t value);
    MessageWriter& bytes(const std::vector<std::uint8_t>& data);
    MessageWriter& text(const std::string& value);

    /// The length prefix followed by the payload.
    std::vector<std::uint8_t> frame() const;

private:
    std::vector<std::uint8_t> payload_;
};

} // namespace quendral::emulator::wire
