#include "audioplugin.h"

#include "audiodeviceinfo.h"
#include "emulatedaudioinput.h"
#include "emulatedaudiooutput.h"
#include "emulatedmedia.h"
#include "emulatorclient.h"

namespace quendral::emulator {

AudioPlugin::AudioPlugin()
    : system_(this) {}

QList<QByteArray> AudioPlugin::availableDevices(QAudio::Mode mode) const {
    auto* system = system_.factory();
    auto devices = system != nullptr ? system->availableDevices(mode) : QList<QByteArray>();
    const auto emulated = emulatedDevices(mode);
    if (!emulated.isEmpty()) {
        // An empty name is the system's placeholder for "no device"; a real one is here now.
        devices.removeAll(QByteArray());
        devices += emulated;
    }
    return devices;
}

// A stale emulated name (the device left since it was listed) yields a stream that fails to
// start with OpenError, as a vanished sound card does.
QAbstractAudioInput* AudioPlugin::createInput(const QByteArray& device) {
    auto* system = system_.factory();
    if (system == nullptr || isEmulated(device)) {
        return new EmulatedAudioInput(device);
    }
    return system->createInput(device);
}

QAbstractAudioOutput* AudioPlugin::createOutput(const QByteArray& device) {
    auto* system = system_.factory();
    if (system == nullptr || isEmulated(device)) {
        return new EmulatedAudioOutput(device);
    }
    return system->createOutput(device);
}

QAbstractAudioDeviceInfo* AudioPlugin::createDeviceInfo(const QByteArray& device,
                                                        QAudio::Mode mode) {
    auto* system = system_.factory();
    if (system == nullptr || isEmulated(device)) {
        return new AudioDeviceInfo(device);
    }
    return system->createDeviceInfo(device, mode);
}

QByteArray AudioPlugin::defaultDevice(QAudio::Mode mode) const {
    const auto systemDefault = system_.defaultDevice(mode);
    if (!systemDefault.isEmpty()) {
        return systemDefault;
    }
    const auto emulated = emulatedDevices(mode);
    return emulated.isEmpty() ? QByteArray() : emulated.first();
}

QList<QByteArray> AudioPlugin::emulatedDevices(QAudio::Mode mode) const {
    if (mode == QAudio::AudioInput) {
        if (probe_.attachedDevice()) {
            return {QByteArray(kAudioInputName)};
        }
        return {};
    }
    if (EmulatorProbe::configured()) {
        return {QByteArray(media::kAudioOutputName)};
    }
    return {};
}

bool AudioPlugin::isEmulated(const QByteArray& device) {
    return device == kAudioInputName || device == media::kAudioOutputName;
}

} // namespace quendral::emulator
