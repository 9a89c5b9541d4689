// Raw USB descriptor sets as sysfs hands them over, read for the extension unit's id.
#include "uvc/usbdescriptors.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    const quendral::uvc::VideoControlInterface where{data[0] % 4, data[1] % 4};
    const std::vector<std::uint8_t> descriptors(data + 2, data + size);
    for (const auto& [guid, unit] : quendral::uvc::findExtensionUnits(descriptors, where)) {
        (void)guid;
        (void)unit;
    }
    return 0;
}
