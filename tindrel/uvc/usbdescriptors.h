#pragma once

#include "common/guid.h"

#include <cstdint>
#include <map>
#include <vector>

namespace quendral::uvc {

// Which video function of a device a node belongs to: its VideoControl interface in one
// configuration. Unit ids are only meaningful there.
struct VideoControlInterface {
    int configurationValue = 0;
    int interfaceNumber = 0;
};

// The extension units of one VideoControl interface, GUID -> unit id, read from a device's raw
// descriptors as sysfs gives them (the device descriptor, then every configuration in full).
// A GUID that several units carry maps to the lowest unit id. Descriptors that do not fit
// their stated lengths are skipped; a walk that can no longer find the next descriptor ends
// there. Nothing is ever read outside `descriptors`.
std::map<util::Guid, std::uint8_t> findExtensionUnits(const std::vector<std::uint8_t>& descriptors,
                                                      const VideoControlInterface& where);

} // namespace quendral::uvc
