#pragma once

#include "videoframe.h"

#include <QOpenGLFunctions>

// Uploads RGB32 and BGR32 frames straight into one texture.
class RgbFrameRenderer : public VideoFrame {
public:
    explicit RgbFrameRenderer(bool topRowFirst);

    void setFrame(const QVideoFrame& frame) override;
    void render() override;
    bool topRowFirst() const override { return topRowFirst_; }

    GLenum glFormat() const { return glFormat_; }

private:
    GLenum glFormat_ = GL_RGBA;
    bool topRowFirst_;
};
