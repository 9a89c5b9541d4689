#pragma once

#include <QAbstractVideoBuffer>

#include <memory>
#include <vector>

namespace quendral::emulator {

/// Frame memory that the test pattern reuses once no QVideoFrame refers to it any more. Read-only
/// for consumers: the pattern only repaints what changes, so the rest must stay as it painted it.
class SharedFrameBuffer : public QAbstractVideoBuffer {
public:
    SharedFrameBuffer(std::shared_ptr<std::vector<uchar>> bytes, int bytesPerLine);

    MapMode mapMode() const override { return mapMode_; }
    uchar* map(MapMode mode, int* numBytes, int* bytesPerLine) override;
    void unmap() override { mapMode_ = NotMapped; }

private:
    std::shared_ptr<std::vector<uchar>> bytes_;
    int bytesPerLine_ = 0;
    MapMode mapMode_ = NotMapped;
};

} // namespace quendral::emulator
