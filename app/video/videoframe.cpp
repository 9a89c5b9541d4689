#include "videoframe.h"

#include <QOpenGLTexture>

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

bool VideoFrame::holdsPicture(int bytesPerPixel) const {
    const QSize size = frame_.size();
    const qint64 rowBytes = qint64(size.width()) * bytesPerPixel;
    return frame_.bits() && size.width() > 0 && size.height() > 0 &&
           frame_.bytesPerLine() == rowBytes &&
           qint64(frame_.mappedBytes()) >= rowBytes * size.height();
}
