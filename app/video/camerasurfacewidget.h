#pragma once

#include "pictureview.h"

#include <QOpenGLWidget>

#include <memory>

class CameraSurface;

// Draws the newest camera frame over the whole widget with OpenGL.
class CameraSurfaceWidget : public QOpenGLWidget, public PictureView {
    Q_OBJECT
public:
    explicit CameraSurfaceWidget(QWidget* parent = nullptr);
    ~CameraSurfaceWidget() override;

    QWidget* widget() override { return this; }
    CameraSurface* videoSurface() const override;
    int renderCount() const override;
    std::unique_ptr<VideoFrame> createRenderer(const QVideoSurfaceFormat& format) override;
    QString rendererName(const QVideoSurfaceFormat& format) const override;
    void releaseRenderer(std::unique_ptr<VideoFrame> renderer) override;
    void schedulePaint() override { update(); }

protected:
    void initializeGL() override;
    void paintGL() override;

private:
    struct Private;
    std::unique_ptr<Private> d;
    std::unique_ptr<CameraSurface> surface_;
};
