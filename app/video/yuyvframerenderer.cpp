#include "yuyvframerenderer.h"

#include "shaderprogram.h"

#include <QOpenGLFramebufferObject>
#include <QOpenGLFunctions>
#include <QOpenGLTexture>

YUYVFrameRenderer::YUYVFrameRenderer(YuyvConversionPass& pass)
    : pass_(pass) {}

YUYVFrameRenderer::~YUYVFrameRenderer() = default;

void YUYVFrameRenderer::setFrame(const QVideoFrame& frame) {
    converted_ = false;
    VideoFrame::setFrame(frame);
}

void YUYVFrameRenderer::render() {
    if (!pass_.program.isLinked()) {
        buildShaderProgram(pass_.program, QStringLiteral("vertex_flipped"),
                           QStringLiteral("yuyv_fragment_renderer"));
        pass_.quad.create();
    }
    const QSize size = frame_.size();
    if (!fbo_ || fbo_->size() != size) {
        converted_ = false;
        fbo_ = std::make_unique<QOpenGLFramebufferObject>(size, GL_TEXTURE_2D);
        gl_->glBindTexture(GL_TEXTURE_2D, fbo_->texture());
        gl_->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        gl_->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        gl_->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        gl_->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        // A uniform goes to the bound program; the final pass may have bound its own since.
        pass_.program.bind();
        pass_.program.setUniformValue("dim", QSizeF(size));
    }
    if (!texture_) {
        texture_ = std::make_unique<QOpenGLTexture>(QOpenGLTexture::Target2D);
        texture_->create();
    }
    constexpr int kBytesPerPixel = 2;
    if (!converted_ && holdsPicture(kBytesPerPixel))
        convert();
    gl_->glActiveTexture(GL_TEXTURE0);
    gl_->glBindTexture(GL_TEXTURE_2D, fbo_->texture());
}

void YUYVFrameRenderer::convert() {
    const QSize size = frame_.size();
    fbo_->bind();
    gl_->glViewport(0, 0, size.width(), size.height());
    gl_->glActiveTexture(GL_TEXTURE0);
    texture_->bind();
    setUploadRowStride(true);
    if (size == textureSize_) {
        gl_->glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, size.width() / 2, size.height(), GL_RGBA,
                             GL_UNSIGNED_BYTE, frame_.bits());
    } else {
        textureSize_ = size;
        gl_->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        gl_->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        gl_->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        gl_->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        gl_->glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, size.width() / 2, size.height(), 0, GL_RGBA,
                          GL_UNSIGNED_BYTE, frame_.bits());
    }
    setUploadRowStride(false);
    pass_.program.bind();
    pass_.quad.attach(pass_.program);
    gl_->glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
    QOpenGLFramebufferObject::bindDefault();
    converted_ = true;
}
