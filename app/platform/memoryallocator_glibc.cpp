#include "memoryallocator.h"

#include <malloc.h>

namespace platform {

void limitAllocatorPools() {
    // At most two pools, shared by every thread.
    mallopt(M_ARENA_MAX, 2);
}

} // namespace platform
