#pragma once

#include <QMetaType>
#include <QString>

// The application's copy of what the firmware library knows about the device. A default
// value (not present, version 0.0.0) stands for "no device known".
struct DeviceInfo {
    struct Version {
        quint8 major = 0;
        quint8 minor = 0;
        quint16 build = 0;
    };

    bool present = false;
    bool singleDevice = false;
    QString name;
    Version version;

    // "major.minor.build" in plain decimal, e.g. 1.2.34.
    QString versionText() const {
        return QStringLiteral("%1.%2.%3").arg(version.major).arg(version.minor).arg(version.build);
    }
};

Q_DECLARE_METATYPE(DeviceInfo)
