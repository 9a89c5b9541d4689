#pragma once

#include "common/guid.h"

namespace quendral::uvc {

// The camera chip's vendor extension unit (23e49ed0-1178-4f31-ae52-d2fb8a8d3b48), through which
// firmware and USB-mode commands travel.
const util::Guid& aitExtensionUnit();

} // namespace quendral::uvc
