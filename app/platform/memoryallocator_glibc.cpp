#include "memoryallocator.h"

#include <malloc.h>

namespace platform {

namespace {

constexpr int kAllocatorPools = 2;
// Smaller than a 720p frame; a fixed value also stops the allocator from moving it.
constexpr int kSystemBlockBytes = 1 << 20;

} // namespace

void configureAllocator() {
    mallopt(M_ARENA_MAX, kAllocatorPools);
    mallopt(M_MMAP_THRESHOLD, kSystemBlockBytes);
}

} // namespace platform
