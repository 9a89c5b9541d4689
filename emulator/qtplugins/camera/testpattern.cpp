#include "testpattern.h"

#include "emulatedmedia.h"
#include "sharedframebuffer.h"

#include <array>
#include <cstring>

namespace quendral::emulator {

namespace {

using media::kStampBlockPx;

constexpr int kBarWidthPx = 64;
/// Fast enough to see motion, slow enough to follow: 480 pixels per second at 60 fps.
constexpr int kBarStepPx = 8;
/// Frames a consumer may hold before new ones are dropped (a viewfinder keeps one or two).
constexpr std::size_t kMaxBuffers = 6;

struct Rgb {
    int r = 0;
    int g = 0;
    int b = 0;
};

constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kBlack{0, 0, 0};
/// 75% colour bars.
constexpr std::array<Rgb, 8> kBars{{{191, 191, 191},
                                    {191, 191, 0},
                                    {0, 191, 191},
                                    {0, 191, 0},
                                    {191, 0, 191},
                                    {191, 0, 0},
                                    {0, 0, 191},
                                    {0, 0, 0}}};

// ITU-R BT.601, limited range, in integers; the offsets keep every shift non-negative.
int luma(Rgb c) {
    return ((66 * c.r + 129 * c.g + 25 * c.b + 128) >> 8) + 16;
}
int blueDifference(Rgb c) {
    return ((-38 * c.r - 74 * c.g + 112 * c.b + 128 + (128 << 8)) >> 8);
}
int redDifference(Rgb c) {
    return ((112 * c.r - 94 * c.g - 18 * c.b + 128 + (128 << 8)) >> 8);
}

/// The only place that knows how a pixel is laid out in memory.
std::vector<uchar> encode(const std::vector<Rgb>& pixels, QVideoFrame::PixelFormat format) {
    std::vector<uchar> bytes;
    if (format == QVideoFrame::Format_YUYV) {
        bytes.reserve(pixels.size() * 2);
        for (std::size_t i = 0; i + 1 < pixels.size(); i += 2) {
            const Rgb left = pixels[i];
            const Rgb right = pixels[i + 1];
            bytes.push_back(static_cast<uchar>(luma(left)));
            bytes.push_back(
                static_cast<uchar>((blueDifference(left) + blueDifference(right) + 1) / 2));
            bytes.push_back(static_cast<uchar>(luma(right)));
            bytes.push_back(
                static_cast<uchar>((redDifference(left) + redDifference(right) + 1) / 2));
        }
    } else {
        // Format_RGB32 is a native-endian 32-bit word 0xffRRGGBB per pixel.
        bytes.resize(pixels.size() * 4);
        for (std::size_t i = 0; i < pixels.size(); ++i) {
            const std::uint32_t word = 0xff000000u | static_cast<std::uint32_t>(pixels[i].r) << 16 |
                                       static_cast<std::uint32_t>(pixels[i].g) << 8 |
                                       static_cast<std::uint32_t>(pixels[i].b);
            std::memcpy(bytes.data() + i * 4, &word, sizeof(word));
        }
    }
    return bytes;
}

int bytesPerPixelOf(QVideoFrame::PixelFormat format) {
    return format == QVideoFrame::Format_YUYV ? 2 : 4;
}

} // namespace

QList<QVideoFrame::PixelFormat> TestPattern::pixelFormats() {
    return {QVideoFrame::Format_YUYV, QVideoFrame::Format_RGB32};
}

TestPattern::TestPattern(QSize size, QVideoFrame::PixelFormat format)
    : size_(size)
    , format_(format)
    , bytesPerPixel_(bytesPerPixelOf(format))
    , bytesPerLine_(size.width() * bytesPerPixel_) {
    const auto width = static_cast<std::size_t>(size.width());
    std::vector<Rgb> row(width);
    for (std::size_t x = 0; x < width; ++x) {
        row[x] = kBars[x * kBars.size() / width];
    }
    const auto barsRow = encode(row, format);
    const auto blackRow = encode(std::vector<Rgb>(width, kBlack), format);
    still_.resize(static_cast<std::size_t>(bytesPerLine_) *
                  static_cast<std::size_t>(size.height()));
    for (int y = 0; y < size.height(); ++y) {
        // The stamp band is black so the stamp's black blocks do not blend into the bars.
        const auto& source = y < kStampBlockPx ? blackRow : barsRow;
        std::memcpy(still_.data() + static_cast<std::size_t>(y) * bytesPerLine_, source.data(),
                    source.size());
    }
    barRow_ = encode(std::vector<Rgb>(kBarWidthPx, kWhite), format);
    oneBlock_ = encode(std::vector<Rgb>(kStampBlockPx, kWhite), format);
    zeroBlock_ = encode(std::vector<Rgb>(kStampBlockPx, kBlack), format);
}

QVideoFrame TestPattern::frame(std::uint32_t counter, std::int64_t captureTimeUs) {
    Buffer* buffer = freeBuffer();
    if (buffer == nullptr) {
        return {};
    }
    const int column = barColumn(counter);
    if (buffer->barX != column) {
        if (buffer->barX >= 0) {
            copyBarRows(*buffer->bytes, buffer->barX,
                        still_.data() + static_cast<std::size_t>(buffer->barX) * bytesPerPixel_,
                        bytesPerLine_);
        }
        copyBarRows(*buffer->bytes, column, barRow_.data(), 0);
        buffer->barX = column;
    }
    paintStamp(*buffer->bytes, counter, captureTimeUs);

    QVideoFrame frame(new SharedFrameBuffer(buffer->bytes, bytesPerLine_), size_, format_);
    frame.setMetaData(QLatin1String(media::kFrameCounterKey), static_cast<qint64>(counter));
    frame.setMetaData(QLatin1String(media::kCaptureTimeKey), static_cast<qint64>(captureTimeUs));
    return frame;
}

TestPattern::Buffer* TestPattern::freeBuffer() {
    for (auto& buffer : buffers_) {
        // Only this pattern holds it, so nobody can take a new reference while we paint.
        if (buffer.bytes.use_count() == 1) {
            return &buffer;
        }
    }
    if (buffers_.size() >= kMaxBuffers) {
        return nullptr;
    }
    buffers_.push_back(Buffer{std::make_shared<std::vector<uchar>>(still_), -1});
    return &buffers_.back();
}

int TestPattern::barColumn(std::uint32_t counter) const {
    const auto travel = static_cast<std::uint64_t>(size_.width() - kBarWidthPx);
    return static_cast<int>((static_cast<std::uint64_t>(counter) * kBarStepPx) % travel);
}

void TestPattern::copyBarRows(std::vector<uchar>& bytes, int column, const uchar* source,
                              int sourceStride) const {
    const auto barBytes = static_cast<std::size_t>(kBarWidthPx) * bytesPerPixel_;
    for (int y = kStampBlockPx; y < size_.height(); ++y) {
        std::memcpy(bytes.data() + static_cast<std::size_t>(y) * bytesPerLine_ +
                        static_cast<std::size_t>(column) * bytesPerPixel_,
                    source + static_cast<std::size_t>(y) * sourceStride, barBytes);
    }
}

void TestPattern::paintStamp(std::vector<uchar>& bytes, std::uint32_t counter,
                             std::int64_t captureTimeUs) const {
    const auto time = static_cast<std::uint64_t>(captureTimeUs);
    for (int bit = 0; bit < media::kStampBits; ++bit) {
        const bool one = bit < media::kStampCounterBits
                             ? ((counter >> (media::kStampCounterBits - 1 - bit)) & 1u) != 0
                             : ((time >> (media::kStampBits - 1 - bit)) & 1u) != 0;
        const auto& block = one ? oneBlock_ : zeroBlock_;
        for (int y = 0; y < kStampBlockPx; ++y) {
            std::memcpy(bytes.data() + static_cast<std::size_t>(y) * bytesPerLine_ +
                            static_cast<std::size_t>(bit) * block.size(),
                        block.data(), block.size());
        }
    }
}

} // namespace quendral::emulator
