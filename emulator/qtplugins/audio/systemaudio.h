#pragma once

#include "defaultdeviceextension.h"

#include <QAudioSystemPlugin>

#include <mutex>

namespace quendral::emulator {

/// The audio plugin that would be Qt's "default" if the emulator's did not take that key
/// (PulseAudio on Linux). Qt asks only the first plugin of a key, so the emulator's plugin passes
/// everything that is not emulated on to this one, and the machine's sound devices stay as they
/// were. Safe from any thread.
class SystemAudio {
public:
    /// `self`: the emulator's plugin, which is never taken for the system's.
    explicit SystemAudio(const QObject* self);

    /// Null when no other plugin is registered as "default".
    QAudioSystemFactoryInterface* factory();

    /// The system's default device: asked through Qt's extension when the plugin has it, else
    /// its first device. Empty when it has none: PulseAudio without a server lists one device
    /// with an empty name.
    QByteArray defaultDevice(QAudio::Mode mode);

private:
    void find();

    const QObject* self_;
    std::once_flag searched_;
    QAudioSystemFactoryInterface* factory_ = nullptr;
    DefaultDeviceExtension* extension_ = nullptr;
};

} // namespace quendral::emulator
