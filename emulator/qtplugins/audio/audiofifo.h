#pragma once

#include <QByteArray>
#include <QIODevice>

namespace quendral::emulator {

/// The QIODevice an emulated audio stream hands out from start(): the application reads
/// captured audio from it, or writes audio to play into it. Bounded like a sound card's buffer.
class AudioFifo : public QIODevice {
    Q_OBJECT

public:
    explicit AudioFifo(QObject* parent = nullptr);

    /// Empties it and opens the application's side (ReadOnly or WriteOnly) with room for
    /// `capacityBytes`.
    void reopen(OpenMode applicationSide, int capacityBytes);

    qint64 size() const { return bytes_.size(); }
    qint64 freeBytes() const { return capacity_ - bytes_.size(); }
    void clear() { bytes_.clear(); }

    /// Capture side: appends what fits and announces it with readyRead(); the rest is lost,
    /// as audio is when nobody reads the sound card in time. Returns the bytes kept.
    qint64 append(const char* data, qint64 length);
    /// Playback side: removes and returns up to `maxBytes`.
    QByteArray take(qint64 maxBytes);

    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override;

protected:
    qint64 readData(char* data, qint64 maxLength) override;
    qint64 writeData(const char* data, qint64 length) override;

private:
    QByteArray bytes_;
    qint64 capacity_ = 0;
};

} // namespace quendral::emulator
