#include "messagereader.h"

namespace quendral::emulator::wire {

MessageReader::MessageReader(const std::uint8_t* data, std::size_t size)
    : data_(data)
    , size_(data == nullptr ? 0 : size) {}

bool MessageReader::take(std::size_t count) {
    if (!ok_ || size_ - offset_ < count) {
        ok_ = false;
        return false;
    }
    return true;
}

std::uint8_t MessageReader::u8() {
    if (!take(1)) {
        return 0;
    }
    return data_[offset_++];
}

std::uint16_t MessageReader::u16() {
    if (!take(2)) {
        return 0;
    }
    const auto value = static_cast<std::uint16_t>(data_[offset_] | (data_[offset_ + 1] << 8));
    offset_ += 2;
    return value;
}

std::uint32_t MessageReader::u32() {
    if (!take(4)) {
        return 0;
    }
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) {
        value = (value << 8) | data_[offset_ + static_cast<std::size_t>(i)];
    }
    offset_ += 4;
    return value;
}

std::int32_t MessageReader::i32() {
    return static_cast<std::int32_t>(u32());
}

std::vector<std::uint8_t> MessageReader::bytes(std::size_t maxBytes) {
    const std::size_t size = u16();
    if (size > maxBytes) {
        ok_ = false;
    }
    if (!take(size)) {
        return {};
    }
    std::vector<std::uint8_t> out(data_ + offset_, data_ + offset_ + size);
    offset_ += size;
    return out;
}

std::string MessageReader::text(std::size_t maxBytes) {
    const auto raw = bytes(maxBytes);
    return std::string(raw.begin(), raw.end());
}

} // namespace quendral::emulator::wire
