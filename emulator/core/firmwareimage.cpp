#include "firmwareimage.h"

#include <algorithm>
#include <cstring>

namespace quendral::emulator {

namespace {
constexpr char kPrefix[] = "AIT842VER";
constexpr std::size_t kPrefixBytes = sizeof(kPrefix) - 1;
static_assert(kPrefixBytes == FirmwareImage::kVersionOffset);
} // namespace

std::vector<std::uint8_t> FirmwareImage::build(const FirmwareVersion& version,
                                               std::size_t totalBytes) {
    std::vector<std::uint8_t> image(std::max(totalBytes, kHeaderBytes));
    std::memcpy(image.data(), kPrefix, kPrefixBytes);
    image[kVersionOffset] = version.major;
    image[kVersionOffset + 1] = version.minor;
    image[kVersionOffset + 2] = static_cast<std::uint8_t>(version.build);
    for (std::size_t i = kHeaderBytes; i < image.size(); ++i) {
        image[i] = static_cast<std::uint8_t>((i * 31 + 7) & 0xFF);
    }
    return image;
}

std::optional<FirmwareVersion>
FirmwareImage::carriedVersion(const std::vector<std::uint8_t>& image) {
    if (image.size() < kHeaderBytes || std::memcmp(image.data(), kPrefix, kPrefixBytes) != 0) {
        return std::nullopt;
    }
    const auto major = image[kVersionOffset];
    const auto minor = image[kVersionOffset + 1];
    const auto build = image[kVersionOffset + 2];
    if (major > FirmwareVersion::kMaxPart || minor > FirmwareVersion::kMaxPart ||
        build > FirmwareVersion::kMaxPart) {
        return std::nullopt;
    }
    return FirmwareVersion{major, minor, build};
}

} // namespace quendral::emulator
