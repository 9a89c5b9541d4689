#pragma once

#include <QAudio>
#include <QByteArray>
#include <QtPlugin>

namespace quendral::emulator {

/// How QAudioDeviceInfo::defaultInputDevice()/defaultOutputDevice() ask an audio plugin for its
/// default device. Qt declares this interface only in a private header
/// (QAudioSystemPluginExtension, qaudiosystempluginext_p.h) that is not installed; it finds the
/// interface by its id and calls it through the vtable, so this declaration keeps Qt's id and
/// Qt's virtual functions in Qt's order.
struct DefaultDeviceExtension {
    /// The plugin's default device for `mode`; empty for none.
    virtual QByteArray defaultDevice(QAudio::Mode mode) const = 0;
    virtual ~DefaultDeviceExtension() = default;
};

} // namespace quendral::emulator

Q_DECLARE_INTERFACE(quendral::emulator::DefaultDeviceExtension,
                    "org.qt-project.qt.audiosystempluginextension")
