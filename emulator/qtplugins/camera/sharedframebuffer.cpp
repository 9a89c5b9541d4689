#include "sharedframebuffer.h"

namespace quendral::emulator {

SharedFrameBuffer::SharedFrameBuffer(std::shared_ptr<std::vector<uchar>> bytes, int bytesPerLine)
    : QAbstractVideoBuffer(NoHandle)
    , bytes_(std::move(bytes))
    , bytesPerLine_(bytesPerLine) {}

uchar* SharedFrameBuffer::map(MapMode mode, int* numBytes, int* bytesPerLine) {
    if (mode != ReadOnly || mapMode_ != NotMapped) {
        return nullptr;
    }
    mapMode_ = mode;
    if (numBytes != nullptr) {
        *numBytes = static_cast<int>(bytes_->size());
    }
    if (bytesPerLine != nullptr) {
        *bytesPerLine = bytesPerLine_;
    }
    return bytes_->data();
}

} // namespace quendral::emulator
