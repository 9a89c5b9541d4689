#pragma once

#include "util/ipnpprovider.h"
#include "uvc/uvcdevicefactory.h"

#include <memory>

namespace quendral::emulator {

/// The library's UVC device factory on the emulator named by KESTAL_EMULATOR; null when the
/// variable is unset. Never throws.
std::shared_ptr<uvc::IUvcDeviceFactory> makeEmulatorUvcDeviceFactory();

/// A PnP provider following the emulator named by KESTAL_EMULATOR; null when the variable is
/// unset. Throws std::runtime_error("Failed to create message window") when the emulator does
/// not answer.
std::unique_ptr<util::IPnpProvider> makeEmulatorPnpProvider();

} // namespace quendral::emulator
