#pragma once

#include "util/ipnpprovider.h"

#include <functional>
#include <memory>

namespace quendral::util {

// Creates the platform's PnP provider. Throws std::runtime_error (for a provider that cannot
// create its watcher: "Failed to create message window") when none can be made.
using PnpProviderFactory = std::function<std::unique_ptr<IPnpProvider>()>;

// Installs the process-wide factory; an empty one restores the built-in one
// (makeBuiltInPnpProvider). Install before `initialize`.
void setPnpProviderFactory(PnpProviderFactory factory);
std::unique_ptr<IPnpProvider> createPnpProvider();

// The built-in provider: the emulated device's while KESTAL_EMULATOR names an emulator, the
// system's otherwise. Throws as a PnpProviderFactory does.
std::unique_ptr<IPnpProvider> makeBuiltInPnpProvider();

} // namespace quendral::util
