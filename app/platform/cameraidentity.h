#pragma once

#include <QString>

namespace platform {

// A camera's name as the system knows it, extended by its USB identifiers in the form
// "VID_xxxx&PID_xxxx" where the platform can tell them, so that the device's camera is
// recognised the same way on every platform. Names that already carry them, or that the
// platform cannot trace to a USB device, come back unchanged.
// Linux: V4L2 nodes (/dev/videoN) are traced through sysfs below `sysfsRoot`.
QString cameraSystemName(const QString& deviceName,
                         const QString& sysfsRoot = QStringLiteral("/sys"));

} // namespace platform
