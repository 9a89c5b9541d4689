#include "rasterframerenderer.h"

#include <QVideoSurfaceFormat>

#include <cstdint>
#include <cstring>

// The YUYV conversion is the hot loop of this path: written for the compiler to vectorize, and
// built for AVX2 beside the baseline where the platform can pick one at load time.
#if defined(CASTWELL_VECTOR_CLONES_AT_LOAD) && defined(__x86_64__) && defined(__GNUC__) &&         \
    defined(__ELF__)
#define CASTWELL_VECTOR_CLONES __attribute__((target_clones("avx2", "default")))
#else
#define CASTWELL_VECTOR_CLONES
#endif

namespace {

constexpr int kYuyvBytesPerPixel = 2;
constexpr int kRgbBytesPerPixel = 4;

inline std::uint32_t clampChannel(int value) {
    return static_cast<std::uint32_t>(value < 0 ? 0 : (value > 255 ? 255 : value));
}

// One row of YUYV macropixels (Y0 U Y1 V) into RGB32 words (0xffRRGGBB), by the shader's
// formula. (libyuv's conversion rounds the blue coefficient to 2.0: up to three levels off in
// saturated blues.)
CASTWELL_VECTOR_CLONES void yuyvRowToRgb32(const std::uint8_t* __restrict source,
                                           std::uint32_t* __restrict target, int pairs) {
    for (int i = 0; i < pairs; ++i) {
        const int luma0 = (source[4 * i] - 16) * 298 + 128;
        const int u = source[4 * i + 1] - 128;
        const int luma1 = (source[4 * i + 2] - 16) * 298 + 128;
        const int v = source[4 * i + 3] - 128;
        const int red = 409 * v;
        const int green = -(100 * u + 208 * v);
        const int blue = 516 * u;
        target[2 * i] = 0xff000000u | clampChannel((luma0 + red) >> 8) << 16 |
                        clampChannel((luma0 + green) >> 8) << 8 | clampChannel((luma0 + blue) >> 8);
        target[2 * i + 1] = 0xff000000u | clampChannel((luma1 + red) >> 8) << 16 |
                            clampChannel((luma1 + green) >> 8) << 8 |
                            clampChannel((luma1 + blue) >> 8);
    }
}

void reuse(QImage& image, const QSize& size, QImage::Format format) {
    if (image.size() != size || image.format() != format)
        image = QImage(size, format);
}

} // namespace

RasterFrameRenderer::RasterFrameRenderer(const QVideoSurfaceFormat& format)
    : topRowFirst_(format.pixelFormat() == QVideoFrame::Format_YUYV ||
                   format.scanLineDirection() == QVideoSurfaceFormat::TopToBottom) {}

void RasterFrameRenderer::setFrame(const QVideoFrame& frame) {
    stale_ = true;
    picture_ = QImage();
    VideoFrame::setFrame(frame);
}

const QImage& RasterFrameRenderer::picture() {
    // A cleared frame is unmapped: nothing that points into it may be drawn.
    if (!frame_.isValid()) {
        picture_ = QImage();
        return picture_;
    }
    if (!stale_)
        return picture_;
    stale_ = false;
    const bool yuyv = frame_.pixelFormat() == QVideoFrame::Format_YUYV;
    if (!holdsPicture(yuyv ? kYuyvBytesPerPixel : kRgbBytesPerPixel))
        return picture_;
    const QSize size = frame_.size();
    const int stride = frame_.bytesPerLine();
    const uchar* bits = frame_.bits();
    if (yuyv) {
        reuse(converted_, size, QImage::Format_RGB32);
        for (int y = 0; y < size.height(); ++y)
            yuyvRowToRgb32(bits + qint64(stride) * y,
                           reinterpret_cast<std::uint32_t*>(converted_.scanLine(y)),
                           size.width() / 2);
        picture_ = converted_;
        return picture_;
    }
    // RGB32 words are 0xffRRGGBB; BGR32's 0xffBBGGRR are the bytes R, G, B, X in memory.
    const QImage::Format format = frame_.pixelFormat() == QVideoFrame::Format_BGR32
                                      ? QImage::Format_RGBX8888
                                      : QImage::Format_RGB32;
    if (topRowFirst_) {
        picture_ = QImage(bits, size.width(), size.height(), stride, format);
        return picture_;
    }
    reuse(converted_, size, format);
    const auto rowBytes = std::size_t(size.width()) * kRgbBytesPerPixel;
    for (int y = 0; y < size.height(); ++y)
        std::memcpy(converted_.scanLine(y), bits + qint64(stride) * (size.height() - 1 - y),
                    rowBytes);
    picture_ = converted_;
    return picture_;
}
