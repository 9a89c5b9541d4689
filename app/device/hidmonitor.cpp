#include "hidmonitor.h"

#include "emulatorhidmonitor.h"
#include "udevhidmonitor.h"

std::unique_ptr<HidMonitor> HidMonitor::create() {
    if (!qEnvironmentVariableIsEmpty("KESTAL_EMULATOR"))
        return std::make_unique<EmulatorHidMonitor>();
    return std::make_unique<UdevHidMonitor>();
}
