#pragma once

#include "quad.h"
#include "videoframe.h"

#include <QOpenGLShaderProgram>

#include <memory>

class QOpenGLFramebufferObject;

// The conversion pass's program and quad. A widget builds them once in its context and lends
// them to each renderer it makes, so a stream start compiles no shader.
struct YuyvConversionPass {
    QOpenGLShaderProgram program;
    Quad quad;
};

// Uploads packed YUYV frames into a half-width RGBA texture (r = Y0, g = U, b = Y1, a = V)
// and converts them to RGB in a framebuffer of the frame's size, once per new frame.
class YUYVFrameRenderer : public VideoFrame {
public:
    explicit YUYVFrameRenderer(YuyvConversionPass& pass);
    ~YUYVFrameRenderer() override;

    void setFrame(const QVideoFrame& frame) override;
    void render() override;

private:
    void convert();

    bool converted_ = false;
    std::unique_ptr<QOpenGLFramebufferObject> fbo_;
    YuyvConversionPass& pass_;
};
