// Prints the audio devices and defaults Qt reports in this environment, one per line, so that a
// test can compare what an application sees with and without the emulator's plugins.

#include <QAudioDeviceInfo>
#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    for (const auto mode : {QAudio::AudioInput, QAudio::AudioOutput}) {
        const auto modeName =
            mode == QAudio::AudioInput ? QStringLiteral("input") : QStringLiteral("output");
        for (const auto& device : QAudioDeviceInfo::availableDevices(mode)) {
            out << modeName << " device '" << device.deviceName() << "'\n";
        }
        const auto fallback = mode == QAudio::AudioInput ? QAudioDeviceInfo::defaultInputDevice()
                                                         : QAudioDeviceInfo::defaultOutputDevice();
        out << modeName << " default '" << fallback.deviceName() << "'\n";
    }
    return 0;
}
