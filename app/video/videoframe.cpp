#include "videoframe.h"

#include <QDebug>
#include <QOpenGLFunctions>
#include <QOpenGLTexture>

namespace {

// Both renderers upload 4-byte texels: RGB32 pixels, or YUYV pixel pairs.
constexpr int kBytesPerTexel = 4;

} // namespace

VideoFrame::VideoFrame() = default;

VideoFrame::~VideoFrame() {
    clear();
}

void VideoFrame::setFrame(const QVideoFrame& frame) {
    if (frame_.isValid())
        frame_.unmap();
    frame_ = frame;
    frame_.map(QAbstractVideoBuffer::ReadOnly);
}

void VideoFrame::clear() {
    if (frame_.isValid())
        frame_.unmap();
    frame_ = QVideoFrame();
}

bool VideoFrame::holdsPicture(int bytesPerPixel) {
    const QSize size = frame_.size();
    const qint64 rowBytes = qint64(size.width()) * bytesPerPixel;
    const qint64 stride = frame_.bytesPerLine();
    const bool drawable = frame_.bits() && size.width() > 0 && size.height() > 0 &&
                          stride >= rowBytes && stride % kBytesPerTexel == 0 &&
                          qint64(frame_.mappedBytes()) >= stride * (size.height() - 1) + rowBytes;
    if (!drawable && !refusalLogged_) {
        refusalLogged_ = true;
        qWarning().noquote() << QStringLiteral("Video: a %1x%2 frame of %3 bytes per line in %4 "
                                               "bytes cannot be drawn")
                                    .arg(size.width())
                                    .arg(size.height())
                                    .arg(stride)
                                    .arg(frame_.mappedBytes());
    }
    return drawable;
}

void VideoFrame::setUploadRowStride(bool frameStride) {
    gl_->glPixelStorei(GL_UNPACK_ROW_LENGTH,
                       frameStride ? frame_.bytesPerLine() / kBytesPerTexel : 0);
}
