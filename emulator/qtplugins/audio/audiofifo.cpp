#include "audiofifo.h"

#include <algorithm>
#include <cstring>

namespace quendral::emulator {

AudioFifo::AudioFifo(QObject* parent)
    : QIODevice(parent) {}

void AudioFifo::reopen(OpenMode applicationSide, int capacityBytes) {
    close();
    bytes_.clear();
    capacity_ = capacityBytes;
    // Unbuffered: QIODevice's own buffer would hide how much the fifo really holds.
    open(applicationSide | QIODevice::Unbuffered);
}

qint64 AudioFifo::append(const char* data, qint64 length) {
    const auto kept = std::min(length, freeBytes());
    if (kept > 0) {
        bytes_.append(data, static_cast<int>(kept));
        emit readyRead();
    }
    return kept;
}

QByteArray AudioFifo::take(qint64 maxBytes) {
    const auto count = static_cast<int>(std::min(maxBytes, size()));
    QByteArray taken = bytes_.left(count);
    bytes_.remove(0, count);
    return taken;
}

qint64 AudioFifo::bytesAvailable() const {
    return size() + QIODevice::bytesAvailable();
}

qint64 AudioFifo::readData(char* data, qint64 maxLength) {
    const auto count = static_cast<int>(std::min(maxLength, size()));
    std::memcpy(data, bytes_.constData(), static_cast<std::size_t>(count));
    bytes_.remove(0, count);
    return count;
}

qint64 AudioFifo::writeData(const char* data, qint64 length) {
    const auto kept = std::min(length, freeBytes());
    bytes_.append(data, static_cast<int>(kept));
    return kept;
}

} // namespace quendral::emulator
