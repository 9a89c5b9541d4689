#pragma once

#include <cstdint>
#include <string>

namespace quendral::util {

struct ErrorInfo {
    std::uint32_t code = 0;
    std::string context;
};

// "<context>: <system text> (Error: 0x<CODE>)", the context part only when there is one.
std::string formatError(const ErrorInfo& error);

} // namespace quendral::util
