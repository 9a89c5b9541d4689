#pragma once

#include <cstdint>
#include <string>

namespace quendral::util {

// Windows speaks UTF-16; the library's paths and names are UTF-8 everywhere else.
std::string toUtf8(const std::wstring& text);
std::wstring toWide(const std::string& text);

// True when the path carries these USB identifiers ("vid_3b7a&pid_086c"), in either case, as
// the paths of USB device interfaces do.
bool pathHasUsbIds(const std::string& path, std::uint16_t vendorId, std::uint16_t productId);

} // namespace quendral::util
