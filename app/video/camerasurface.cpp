#include "camerasurface.h"

#include "camerasurfacewidget.h"
#include "rgbframerenderer.h"
#include "yuyvframerenderer.h"

#include <QDebug>
#include <QVideoSurfaceFormat>

CameraSurface::CameraSurface(CameraSurfaceWidget* widget)
    : QAbstractVideoSurface(widget)
    , widget_(widget)
    , renderer_(std::make_unique<VideoFrame>()) {}

CameraSurface::~CameraSurface() = default;

QList<QVideoFrame::PixelFormat>
CameraSurface::supportedPixelFormats(QAbstractVideoBuffer::HandleType handleType) const {
    if (handleType != QAbstractVideoBuffer::NoHandle)
        return {};
    QList<QVideoFrame::PixelFormat> formats{QVideoFrame::Format_RGB32, QVideoFrame::Format_BGR32};
    if (!skipYuyv_)
        formats << QVideoFrame::Format_YUYV;
    return formats;
}

bool CameraSurface::start(const QVideoSurfaceFormat& format) {
    if (!supportedPixelFormats(format.handleType()).contains(format.pixelFormat())) {
        qDebug() << format.handleType() << format.pixelFormat() << " - format is not supported.";
        return false;
    }
    const bool yuyv = format.pixelFormat() == QVideoFrame::Format_YUYV;
    qDebug() << "Video format:" << format.pixelFormat()
             << "Renderer:" << (yuyv ? "YUYV GPU" : "RGB GPU");
    framePending_ = false;
    std::unique_ptr<VideoFrame> renderer;
    if (yuyv)
        renderer = std::make_unique<YUYVFrameRenderer>();
    else
        renderer = std::make_unique<RgbFrameRenderer>(format.scanLineDirection() ==
                                                      QVideoSurfaceFormat::TopToBottom);
    // The old renderer's textures and buffers live in the widget's context: they are released
    // only with it current (a widget never shown has none to release).
    widget_->makeCurrent();
    renderer_ = std::move(renderer);
    widget_->doneCurrent();
    return QAbstractVideoSurface::start(format);
}

void CameraSurface::stop() {
    QAbstractVideoSurface::stop();
    if (!renderer_)
        return;
    framePending_ = false;
    if (renderer_->frame().isValid()) {
        renderer_->clear();
        widget_->update();
    }
}

bool CameraSurface::present(const QVideoFrame& frame) {
    ++presentCount_;
    if (framePending_)
        return true;
    if (!frame.isValid())
        return false;
    renderer_->setFrame(frame);
    presentBytes_ += renderer_->frame().mappedBytes();
    framePending_ = true;
    widget_->update();
    return true;
}

void CameraSurface::reportDecodeFps() {
    if (presentCount_ != 0)
        qDebug() << "Decode FPS:" << presentCount_
                 << "Data:" << static_cast<double>(presentBytes_) / 1024 / 1024;
    presentCount_ = 0;
    presentBytes_ = 0;
}
