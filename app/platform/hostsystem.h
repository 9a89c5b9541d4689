#pragma once

namespace platform {

// True only on Windows 7, whose drivers want the device in USB 2 mode.
bool hostIsWindows7();

} // namespace platform
