#pragma once

#include "uvc/win32devicedirectory.h"

#include <windows.h>

#include <setupapi.h>

namespace quendral::uvc {

// The SetupAPI calls through which the system directory lists device interfaces, so that tests
// can play the system's part with devices of their own.
struct SetupApiCalls {
    decltype(&SetupDiGetClassDevsW) getClassDevs = &SetupDiGetClassDevsW;
    decltype(&SetupDiEnumDeviceInterfaces) enumDeviceInterfaces = &SetupDiEnumDeviceInterfaces;
    decltype(&SetupDiGetDeviceInterfaceDetailW) getDeviceInterfaceDetail =
        &SetupDiGetDeviceInterfaceDetailW;
    decltype(&SetupDiGetDeviceInstanceIdW) getDeviceInstanceId = &SetupDiGetDeviceInstanceIdW;
    decltype(&SetupDiOpenDeviceInterfaceRegKey) openDeviceInterfaceRegKey =
        &SetupDiOpenDeviceInterfaceRegKey;
    decltype(&SetupDiGetDeviceRegistryPropertyW) getDeviceRegistryProperty =
        &SetupDiGetDeviceRegistryPropertyW;
    decltype(&SetupDiDestroyDeviceInfoList) destroyDeviceInfoList = &SetupDiDestroyDeviceInfoList;
};

// SetupAPI's device interfaces through these calls, and DirectShow's video inputs.
std::shared_ptr<IDeviceDirectory> systemDeviceDirectory(const SetupApiCalls& calls);

} // namespace quendral::uvc
