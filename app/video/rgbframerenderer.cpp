#include "rgbframerenderer.h"

#include <QOpenGLTexture>

RgbFrameRenderer::RgbFrameRenderer(bool topRowFirst)
    : topRowFirst_(topRowFirst) {}

void RgbFrameRenderer::setFrame(const QVideoFrame& frame) {
    VideoFrame::setFrame(frame);
    // RGB32 is 0xffRRGGBB in host order, i.e. B, G, R, A bytes; BGR32 the reverse.
    glFormat_ = frame.pixelFormat() == QVideoFrame::Format_RGB32 ? GL_BGRA : GL_RGBA;
}

void RgbFrameRenderer::render() {
    constexpr int kBytesPerPixel = 4;
    if (!texture_) {
        texture_ = std::make_unique<QOpenGLTexture>(QOpenGLTexture::Target2D);
        texture_->create();
    }
    gl_->glActiveTexture(GL_TEXTURE0);
    texture_->bind();
    if (!holdsPicture(kBytesPerPixel))
        return;
    const QSize size = frame_.size();
    setUploadRowStride(true);
    if (size == textureSize_) {
        gl_->glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, size.width(), size.height(), glFormat_,
                             GL_UNSIGNED_BYTE, frame_.bits());
        setUploadRowStride(false);
        return;
    }
    textureSize_ = size;
    gl_->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    gl_->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    gl_->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    gl_->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    gl_->glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, size.width(), size.height(), 0, glFormat_,
                      GL_UNSIGNED_BYTE, frame_.bits());
    setUploadRowStride(false);
}
