#pragma once

#include "videoframe.h"

#include <QImage>

class QVideoSurfaceFormat;

// Holds the newest frame as an image the raster painter can draw: YUYV converted on the CPU
// with the same integer BT.601 limited-range maths as the GPU shader, RGB32 and BGR32 read in
// place when stored top row first.
class RasterFrameRenderer : public VideoFrame {
public:
    explicit RasterFrameRenderer(const QVideoSurfaceFormat& format);

    void setFrame(const QVideoFrame& frame) override;
    // The held frame top row first, at its own size; null when no frame can be drawn. Valid
    // until the next frame is set.
    const QImage& picture();

private:
    bool topRowFirst_;
    bool stale_ = true;
    // Converted or reordered pixels, reused from frame to frame.
    QImage converted_;
    QImage picture_;
};
