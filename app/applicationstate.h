#pragma once

#include <QMetaType>
#include <QtGlobal>

// The one application state. Parts of the program compare the numbers (below 3, above 4, at
// least 6), so the numbering is fixed.
enum ApplicationState : qint32 {
    Initial = 0,
    NoDevice = 1,
    NoHdmiSource = 2,
    DeviceInUse = 3,
    Paused = 4,
    Pausing = 5,
    Starting = 6,
    Sharing = 7,
};
Q_DECLARE_METATYPE(ApplicationState)
