#pragma once

#include "common/guid.h"
#include "common/winexception.h"
#include "uvc/iuvcdevice.h"

namespace quendral::uvc {

// Runs one control request on the unit's id from `units`, the way every device backend
// answers: a unit the device does not have fails with code 0, a request that throws fails
// with the thrown code.
template <typename Units, typename Request>
UvcResult requestOnUnit(const Units& units, const util::Guid& unit, Request&& request) {
    const auto found = units.find(unit);
    if (found == units.end()) {
        return UvcResult{false, 0};
    }
    try {
        request(found->second);
        return UvcResult{true, 0};
    } catch (const util::WinException& e) {
        return UvcResult{false, e.code()};
    }
}

} // namespace quendral::uvc
