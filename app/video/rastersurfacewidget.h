#pragma once

#include "pictureview.h"

#include <QWidget>

#include <memory>

// Draws the newest camera frame over the whole widget without OpenGL: the frame, converted on
// the CPU where it needs to be, is drawn into the window's backing store in one pass (scaled
// there when the sizes differ), which the window system shows through shared memory.
class RasterSurfaceWidget : public QWidget, public PictureView {
    Q_OBJECT
public:
    explicit RasterSurfaceWidget(QWidget* parent = nullptr);
    ~RasterSurfaceWidget() override;

    QWidget* widget() override { return this; }
    CameraSurface* videoSurface() const override { return surface_.get(); }
    int renderCount() const override;
    std::unique_ptr<VideoFrame> createRenderer(const QVideoSurfaceFormat& format) override;
    QString rendererName(const QVideoSurfaceFormat& format) const override;
    void releaseRenderer(std::unique_ptr<VideoFrame> renderer) override;
    void schedulePaint() override { update(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::unique_ptr<CameraSurface> surface_;
    RenderCounter* renderCounter_;
};
