#include "platform/hostsystem.h"

namespace platform {

bool hostIsWindows7() {
    return false;
}

} // namespace platform
