#pragma once

#include <QString>
#include <QStringList>
#include <QSysInfo>

// Tells whether a capture device is the device's audio input. The product names are looked for
// inside the system's device name; sound servers spell them with '_' or '-' for the blanks
// ("alsa_input.usb-Quendral_Castwell-00.analog-stereo"), so both sides are compared with those
// read as blanks and without regard to case.
class AudioInputMatcher {
public:
    // The shortened product names are accepted only where the operating system's version begins
    // with '7': the drivers of that generation name the input with them.
    explicit AudioInputMatcher(const QString& osProductVersion = QSysInfo::productVersion());

    bool matches(const QString& deviceName) const;

private:
    QStringList candidates_; // already normalised
};
