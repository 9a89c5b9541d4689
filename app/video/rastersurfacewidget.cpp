#include "rastersurfacewidget.h"

#include "camerasurface.h"
#include "rasterframerenderer.h"

#include <QPainter>
#include <QVideoSurfaceFormat>

RasterSurfaceWidget::RasterSurfaceWidget(QWidget* parent)
    : QWidget(parent)
    , surface_(std::make_unique<CameraSurface>(this, this))
    , renderCounter_(new RenderCounter(surface_.get(), this)) {
    setObjectName(QStringLiteral("CameraSurfaceWidget"));
    // Every paint covers the whole widget: nothing behind it needs drawing first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    surface_->readRendererOptions();
}

RasterSurfaceWidget::~RasterSurfaceWidget() = default;

int RasterSurfaceWidget::renderCount() const {
    return renderCounter_->count();
}

std::unique_ptr<VideoFrame> RasterSurfaceWidget::createRenderer(const QVideoSurfaceFormat& format) {
    return std::make_unique<RasterFrameRenderer>(format);
}

QString RasterSurfaceWidget::rendererName(const QVideoSurfaceFormat& format) const {
    return format.pixelFormat() == QVideoFrame::Format_YUYV ? QStringLiteral("YUYV CPU")
                                                            : QStringLiteral("RGB CPU");
}

void RasterSurfaceWidget::releaseRenderer(std::unique_ptr<VideoFrame> renderer) {
    renderer.reset();
}

void RasterSurfaceWidget::paintEvent(QPaintEvent*) {
    surface_->framePainted();
    renderCounter_->painted();
    QPainter painter(this);
    auto* renderer = dynamic_cast<RasterFrameRenderer*>(surface_->renderer());
    const QImage* picture = renderer ? &renderer->picture() : nullptr;
    if (!picture || picture->isNull()) {
        painter.fillRect(rect(), Qt::black);
        return;
    }
    // One pass from the picture into the window's backing store: a plain copy at the same
    // size, Qt's bilinear scaling at any other.
    const qreal ratio = devicePixelRatioF();
    if (picture->size() != QSize(qRound(width() * ratio), qRound(height() * ratio)))
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(QRectF(rect()), *picture, QRectF(picture->rect()));
}
