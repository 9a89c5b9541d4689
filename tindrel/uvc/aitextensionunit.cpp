#include "uvc/aitextensionunit.h"

namespace quendral::uvc {

const util::Guid& aitExtensionUnit() {
    static const util::Guid unit = util::parseGuid("23e49ed0-1178-4f31-ae52-d2fb8a8d3b48");
    return unit;
}

} // namespace quendral::uvc
