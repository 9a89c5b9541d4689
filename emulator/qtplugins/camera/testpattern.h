#pragma once

#include <QList>
#include <QSize>
#include <QVideoFrame>

#include <cstdint>
#include <memory>
#include <vector>

namespace quendral::emulator {

/// The emulated camera's picture: colour bars with a white bar moving across them and, in the
/// top-left corner, the frame stamp described in emulatedmedia.h. The still part is painted once;
/// a frame only repaints the moving bar and the stamp in a buffer nobody else holds any more.
class TestPattern {
public:
    /// The pixel formats the pattern can be painted in, preferred first.
    static QList<QVideoFrame::PixelFormat> pixelFormats();

    /// `size` must be at least as wide as the stamp (kStampBits blocks) and have an even width.
    TestPattern(QSize size, QVideoFrame::PixelFormat format);

    QSize size() const { return size_; }
    QVideoFrame::PixelFormat pixelFormat() const { return format_; }

    /// The frame with stamp `counter` and `captureTimeUs`. Invalid when every buffer is still
    /// held downstream: the frame is dropped, as a camera drops frames nobody fetches.
    QVideoFrame frame(std::uint32_t counter, std::int64_t captureTimeUs);

private:
    struct Buffer {
        std::shared_ptr<std::vector<uchar>> bytes;
        int barX = -1; ///< column of the bar painted into it; -1: none
    };

    Buffer* freeBuffer();
    int barColumn(std::uint32_t counter) const;
    void copyBarRows(std::vector<uchar>& bytes, int column, const uchar* source,
                     int sourceStride) const;
    void paintStamp(std::vector<uchar>& bytes, std::uint32_t counter,
                    std::int64_t captureTimeUs) const;

    QSize size_;
    QVideoFrame::PixelFormat format_;
    int bytesPerPixel_ = 0;
    int bytesPerLine_ = 0;
    std::vector<uchar> still_;     ///< the whole picture without bar and stamp
    std::vector<uchar> barRow_;    ///< one row of the moving bar
    std::vector<uchar> oneBlock_;  ///< one row of a stamp block for bit 1
    std::vector<uchar> zeroBlock_; ///< one row of a stamp block for bit 0
    std::vector<Buffer> buffers_;
};

} // namespace quendral::emulator
