#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace quendral::emulator::wire {

/// Reads the fields of one payload. Failure is sticky: once a field runs past the end or
/// breaks a limit, every later read yields zero or empty and ok() stays false, so a message is
/// decoded in one go and judged once, with complete() at the end.
class MessageReader {
public:
    MessageReader(const std::uint8_t* data, std::size_t size);

    std::uint8_t u8();
    std::uint16_t u16();
    std::uint32_t u32();
    std::int32_t i32();
    /// A byte string of at most maxBytes.
    std::vector<std::uint8_t> bytes(std::size_t maxBytes);
    /// A text of at most maxBytes.
    std::string text(std::size_t maxBytes);

    bool ok() const { return ok_; }
    /// Every field read and nothing left over.
    bool complete() const { return ok_ && offset_ == size_; }

private:
    bool take(std::size_t count);

    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t offset_ = 0;
    bool ok_ = true;
};

} // namespace quendral::emulator::wire
