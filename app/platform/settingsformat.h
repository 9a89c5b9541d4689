#pragma once

#include <QSettings>

namespace platform {

// The storage the user's settings live in: the registry's 32-bit view on Windows,
// Qt's native configuration file elsewhere.
QSettings::Format userSettingsFormat();

} // namespace platform
