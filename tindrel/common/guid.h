#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace quendral::util {

// Binary layout of a Windows GUID, so that unit identifiers compare and order the same way on
// every platform: 16 bytes in memory order.
struct Guid {
    std::uint32_t data1 = 0;
    std::uint16_t data2 = 0;
    std::uint16_t data3 = 0;
    std::array<std::uint8_t, 8> data4{};
};
static_assert(sizeof(Guid) == 16, "Guid must be 16 bytes without padding");

bool operator==(const Guid& a, const Guid& b);
bool operator!=(const Guid& a, const Guid& b);
// Orders by the 16 bytes in memory order.
bool operator<(const Guid& a, const Guid& b);

// Parses "xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx" (no braces). Throws std::invalid_argument.
Guid parseGuid(const std::string& text);

} // namespace quendral::util
