#include "common/systemerrortext.h"

#include <climits>
#include <cstring>

namespace quendral::util {

std::optional<std::string> systemErrorText(std::uint32_t code) {
    if (code > static_cast<std::uint32_t>(INT_MAX)) {
        return std::nullopt;
    }
    // strerrordesc_np is thread-safe and, unlike strerror, reports unknown codes as null.
    const char* text = ::strerrordesc_np(static_cast<int>(code));
    if (text == nullptr) {
        return std::nullopt;
    }
    return std::string(text);
}

} // namespace quendral::util
