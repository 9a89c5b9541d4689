#pragma once

namespace platform {

// Keeps the C allocator from growing with every plug of the device. Frames are made and freed
// on the camera's, the audio's and the GUI's threads; with a pool each, the freed space of one
// thread is not reused by the others, so all threads share two pools. And frame-sized blocks
// (textures, framebuffers, converted pictures) always come from and go back to the system: by
// default the allocator raises its threshold for that after the first such block is freed, and
// later ones then fragment the pools. Call first thing in main().
void configureAllocator();

} // namespace platform
