// Extension-unit GUIDs written as text.
#include "common/guid.h"

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    try {
        const quendral::util::Guid guid = quendral::util::parseGuid(text);
        // Whatever parses is exactly 36 characters of the canonical form.
        if (text.size() != 36) {
            __builtin_trap();
        }
        (void)guid;
    } catch (const std::invalid_argument&) {
    }
    return 0;
}
