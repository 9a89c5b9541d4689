#include "settingsformat.h"

namespace platform {

QSettings::Format userSettingsFormat() {
    return QSettings::NativeFormat;
}

} // namespace platform
