#pragma once

#include "quad.h"
#include "videoframe.h"

#include <QOpenGLShaderProgram>

#include <memory>

class QOpenGLFramebufferObject;

// Uploads packed YUYV frames into a half-width RGBA texture (r = Y0, g = U, b = Y1, a = V)
// and converts them to RGB in a framebuffer of the frame's size, once per new frame.
class YUYVFrameRenderer : public VideoFrame {
public:
    YUYVFrameRenderer();
    ~YUYVFrameRenderer() override;

    void setFrame(const QVideoFrame& frame) override;
    void render() override;

private:
    void convert();

    bool converted_ = false;
    std::unique_ptr<QOpenGLFramebufferObject> fbo_;
    Quad quad_;
    QOpenGLShaderProgram program_;
};
