#pragma once

namespace platform {

// Keeps the C allocator from growing a pool per thread. Frames are made and freed on the
// camera's, the audio's and the GUI's threads; with a pool each, the freed space of one
// thread is not reused by the others and the program grows with every plug of the device.
// Call first thing in main().
void limitAllocatorPools();

} // namespace platform
