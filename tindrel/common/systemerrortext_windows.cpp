#include "common/systemerrortext.h"

#include <windows.h>

namespace quendral::util {

std::optional<std::string> systemErrorText(std::uint32_t code) {
    char* buffer = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<LPSTR>(&buffer), 0, nullptr);
    if (length == 0 || buffer == nullptr) {
        return std::nullopt;
    }
    std::string text(buffer, length);
    LocalFree(buffer);
    return text;
}

} // namespace quendral::util
