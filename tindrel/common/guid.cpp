#include "common/guid.h"

#include <cstdio>
#include <cstring>
#include <stdexcept>

namespace quendral::util {

namespace {
constexpr std::size_t kGuidTextLength = 36;
constexpr int kGuidFieldCount = 11;
} // namespace

bool operator==(const Guid& a, const Guid& b) {
    return std::memcmp(&a, &b, sizeof(Guid)) == 0;
}

bool operator!=(const Guid& a, const Guid& b) {
    return !(a == b);
}

bool operator<(const Guid& a, const Guid& b) {
    return std::memcmp(&a, &b, sizeof(Guid)) < 0;
}

Guid parseGuid(const std::string& text) {
    if (text.size() != kGuidTextLength) {
        throw std::invalid_argument("Invalid GUID format (unexpected length)");
    }
    unsigned long data1 = 0;
    unsigned int data2 = 0;
    unsigned int data3 = 0;
    unsigned int b[8] = {};
    const int fields =
        std::sscanf(text.c_str(), "%08lx-%04x-%04x-%02x%02x-%02x%02x%02x%02x%02x%02x", &data1,
                    &data2, &data3, &b[0], &b[1], &b[2], &b[3], &b[4], &b[5], &b[6], &b[7]);
    if (fields < kGuidFieldCount) {
        throw std::invalid_argument("Invalid GUID format (unable to parse)");
    }
    Guid guid;
    guid.data1 = static_cast<std::uint32_t>(data1);
    guid.data2 = static_cast<std::uint16_t>(data2);
    guid.data3 = static_cast<std::uint16_t>(data3);
    for (std::size_t i = 0; i < guid.data4.size(); ++i) {
        guid.data4[i] = static_cast<std::uint8_t>(b[i]);
    }
    return guid;
}

} // namespace quendral::util
