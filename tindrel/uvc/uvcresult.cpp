#include "common/formaterror.h"
#include "uvc/iuvcdevice.h"

namespace quendral::uvc {

std::string UvcResult::errorText() const {
    return util::formatError({errorCode, {}});
}

} // namespace quendral::uvc
