#pragma once

#include "renderpath.h"

#include <QObject>

#include <memory>

class CameraSurface;
class QTimer;
class QVideoSurfaceFormat;
class QWidget;
class VideoFrame;

// A widget that shows the camera surface's newest frame. The OpenGL and the raster widget both
// implement it; the surface asks it for renderers of its kind and for repaints.
class PictureView {
public:
    virtual ~PictureView();

    virtual QWidget* widget() = 0;
    virtual CameraSurface* videoSurface() const = 0;
    // Paints since the last frame-rate report (all paints when reporting is off).
    virtual int renderCount() const = 0;

    // A renderer for frames of `format`, and its name in the "Renderer:" log line.
    virtual std::unique_ptr<VideoFrame> createRenderer(const QVideoSurfaceFormat& format) = 0;
    virtual QString rendererName(const QVideoSurfaceFormat& format) const = 0;
    // Destroys a renderer this view made, where its drawing resources may be released.
    virtual void releaseRenderer(std::unique_ptr<VideoFrame> renderer) = 0;
    virtual void schedulePaint() = 0;
};

// The picture widget of `path`, a child of `parent`.
PictureView* createPictureView(RenderPath path, QWidget* parent);

// Counts a view's paints; with CASTWELL_LOG_FPS=1 it logs them with the surface's decode rate
// once a second.
class RenderCounter : public QObject {
    Q_OBJECT
public:
    RenderCounter(CameraSurface* surface, QObject* parent);

    void painted() { ++count_; }
    int count() const { return count_; }

private:
    void report();

    CameraSurface* surface_;
    QTimer* timer_;
    int count_ = 0;
};
