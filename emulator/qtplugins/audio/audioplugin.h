#pragma once

#include "defaultdeviceextension.h"
#include "emulatorprobe.h"
#include "systemaudio.h"

#include <QAudioSystemPlugin>

namespace quendral::emulator {

/// The audio plugin: the emulated device's capture interface, listed while the device is
/// attached, and an emulated sound card output, listed whenever KESTAL_EMULATOR is set.
///
/// It is registered as Qt's "default" audio plugin, because QAudioDeviceInfo's default devices
/// come from that plugin alone whenever it lists any device, and PulseAudio's plugin always
/// lists one, if only an empty placeholder when no sound server runs. Everything that is not
/// emulated goes on to the plugin it displaces (SystemAudio), so that without KESTAL_EMULATOR
/// it changes nothing, and with it the system's default devices keep precedence: the emulated
/// ones are the defaults only where the system has none.
class AudioPlugin : public QAudioSystemPlugin, public DefaultDeviceExtension {
    Q_OBJECT
    Q_INTERFACES(quendral::emulator::DefaultDeviceExtension)
    Q_PLUGIN_METADATA(IID "org.qt-project.qt.audiosystemfactory/5.0" FILE "audio.json")

public:
    AudioPlugin();

    QList<QByteArray> availableDevices(QAudio::Mode mode) const override;
    QAbstractAudioInput* createInput(const QByteArray& device) override;
    QAbstractAudioOutput* createOutput(const QByteArray& device) override;
    QAbstractAudioDeviceInfo* createDeviceInfo(const QByteArray& device,
                                               QAudio::Mode mode) override;

    QByteArray defaultDevice(QAudio::Mode mode) const override;

private:
    QList<QByteArray> emulatedDevices(QAudio::Mode mode) const;
    static bool isEmulated(const QByteArray& device);

    // Device lists are asked for through const functions, yet need a daemon round trip and a
    // search for the system's plugin.
    mutable EmulatorProbe probe_;
    mutable SystemAudio system_;
};

} // namespace quendral::emulator
