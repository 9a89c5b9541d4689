#pragma once

#include <QAbstractAudioDeviceInfo>
#include <QByteArray>

namespace quendral::emulator {

/// Either emulated audio device. Both take exactly one format, the device's own: the capture
/// device delivers it unconverted, and the output records what it is given byte for byte.
class AudioDeviceInfo : public QAbstractAudioDeviceInfo {
    Q_OBJECT

public:
    explicit AudioDeviceInfo(QByteArray handle);

    static QAudioFormat deviceFormat();

    QAudioFormat preferredFormat() const override { return deviceFormat(); }
    bool isFormatSupported(const QAudioFormat& format) const override {
        return format == deviceFormat();
    }
    QString deviceName() const override { return QString::fromUtf8(handle_); }
    QStringList supportedCodecs() override;
    QList<int> supportedSampleRates() override;
    QList<int> supportedChannelCounts() override;
    QList<int> supportedSampleSizes() override;
    QList<QAudioFormat::Endian> supportedByteOrders() override;
    QList<QAudioFormat::SampleType> supportedSampleTypes() override;

private:
    QByteArray handle_;
};

} // namespace quendral::emulator
