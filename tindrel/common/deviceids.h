#pragma once

#include <cstdint>

// USB identity of the capture device, shared by the library, the application and the emulator.
namespace quendral {
constexpr std::uint16_t deviceVendorId = 0x3b7a;
constexpr std::uint16_t deviceProductId = 0x086c;
} // namespace quendral
