#include "audiodeviceinfo.h"

#include "emulatedmedia.h"

namespace quendral::emulator {

AudioDeviceInfo::AudioDeviceInfo(QByteArray handle)
    : handle_(std::move(handle)) {}

QAudioFormat AudioDeviceInfo::deviceFormat() {
    QAudioFormat format;
    format.setSampleRate(media::kSampleRateHz);
    format.setChannelCount(media::kChannelCount);
    format.setSampleSize(media::kSampleBytes * 8);
    format.setSampleType(QAudioFormat::Float);
    format.setByteOrder(QAudioFormat::LittleEndian);
    format.setCodec(QStringLiteral("audio/pcm"));
    return format;
}

QStringList AudioDeviceInfo::supportedCodecs() {
    return {deviceFormat().codec()};
}

QList<int> AudioDeviceInfo::supportedSampleRates() {
    return {deviceFormat().sampleRate()};
}

QList<int> AudioDeviceInfo::supportedChannelCounts() {
    return {deviceFormat().channelCount()};
}

QList<int> AudioDeviceInfo::supportedSampleSizes() {
    return {deviceFormat().sampleSize()};
}

QList<QAudioFormat::Endian> AudioDeviceInfo::supportedByteOrders() {
    return {deviceFormat().byteOrder()};
}

QList<QAudioFormat::SampleType> AudioDeviceInfo::supportedSampleTypes() {
    return {deviceFormat().sampleType()};
}

} // namespace quendral::emulator
