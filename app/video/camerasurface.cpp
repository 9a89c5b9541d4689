#include "camerasurface.h"

#include "pictureview.h"
#include "videoframe.h"

#include <QDebug>
#include <QVideoSurfaceFormat>

#include <utility>

CameraSurface::CameraSurface(PictureView* view, QObject* parent)
    : QAbstractVideoSurface(parent)
    , view_(view)
    , renderer_(std::make_unique<VideoFrame>()) {}

CameraSurface::~CameraSurface() = default;

void CameraSurface::readRendererOptions() {
    setSkipYuyv(qgetenv("GPU_SKIP_YUYV") == "1");
}

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
    qDebug().noquote() << "Video format:" << format.pixelFormat()
                       << "Renderer:" << view_->rendererName(format);
    framePending_ = false;
    view_->releaseRenderer(std::exchange(renderer_, view_->createRenderer(format)));
    return QAbstractVideoSurface::start(format);
}

void CameraSurface::stop() {
    QAbstractVideoSurface::stop();
    if (!renderer_)
        return;
    framePending_ = false;
    if (renderer_->frame().isValid()) {
        renderer_->clear();
        view_->schedulePaint();
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
    view_->schedulePaint();
    return true;
}

void CameraSurface::reportDecodeFps() {
    if (presentCount_ != 0)
        qDebug() << "Decode FPS:" << presentCount_
                 << "Data:" << static_cast<double>(presentBytes_) / 1024 / 1024;
    presentCount_ = 0;
    presentBytes_ = 0;
}
