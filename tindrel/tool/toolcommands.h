#pragma once

#include <string>

namespace tindreltool {

// Exit codes of the tool.
constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;   // the library or the device refused, or the update failed
constexpr int kExitUsage = 2;    // bad arguments, or an image file that cannot be read
constexpr int kExitNoDevice = 3; // no device attached

int showInfo();
int flashImage(const std::string& file);
int showUsbMode();
// `usb3` false: USB 2 mode.
int switchUsbMode(bool usb3);

} // namespace tindreltool
