#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace quendral::util {

// The platform's message text for an error code, as the system gives it (line ends included),
// or nothing when the system has no text for it.
std::optional<std::string> systemErrorText(std::uint32_t code);

} // namespace quendral::util
