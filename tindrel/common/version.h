#pragma once

#include <cstdint>

namespace quendral::fwupdate {

// Firmware version; all fields zero means "no version known".
struct Version {
    std::uint8_t major = 0;
    std::uint8_t minor = 0;
    std::uint16_t build = 0;
};
static_assert(sizeof(Version) == 4, "Version is 4 bytes");

// How a first version A relates to a second version B.
enum class VersionRelation { NotComparable = 0, Older = 1, Same = 2, Newer = 3 };

struct DefaultVersionComparator {
    VersionRelation operator()(const Version& a, const Version& b) const;
};

} // namespace quendral::fwupdate
