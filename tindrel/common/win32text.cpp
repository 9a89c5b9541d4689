#include "common/win32text.h"

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace quendral::util {

std::string toUtf8(const std::wstring& text) {
    if (text.empty()) {
        return {};
    }
    const int wideLength = static_cast<int>(text.size());
    const int length =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), wideLength, nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<std::size_t>(std::max(length, 0)), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), wideLength, result.data(), length, nullptr,
                        nullptr);
    return result;
}

std::wstring toWide(const std::string& text) {
    if (text.empty()) {
        return {};
    }
    const int narrowLength = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), narrowLength, nullptr, 0);
    std::wstring result(static_cast<std::size_t>(std::max(length, 0)), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), narrowLength, result.data(), length);
    return result;
}

bool pathHasUsbIds(const std::string& path, std::uint16_t vendorId, std::uint16_t productId) {
    char ids[24];
    std::snprintf(ids, sizeof ids, "vid_%04x&pid_%04x", static_cast<unsigned>(vendorId),
                  static_cast<unsigned>(productId));
    std::string lower = path;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower.find(ids) != std::string::npos;
}

} // namespace quendral::util
