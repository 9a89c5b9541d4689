#include "pictureview.h"

#include "camerasurface.h"
#include "camerasurfacewidget.h"
#include "rastersurfacewidget.h"

#include <QDebug>
#include <QTimer>

namespace {

constexpr int kFpsReportIntervalMs = 1000;

} // namespace

PictureView::~PictureView() = default;

PictureView* createPictureView(RenderPath path, QWidget* parent) {
    if (path == RenderPath::Raster)
        return new RasterSurfaceWidget(parent);
    return new CameraSurfaceWidget(parent);
}

RenderCounter::RenderCounter(CameraSurface* surface, QObject* parent)
    : QObject(parent)
    , surface_(surface)
    , timer_(new QTimer(this)) {
    if (qgetenv("CASTWELL_LOG_FPS") != "1")
        return;
    timer_->setInterval(kFpsReportIntervalMs);
    connect(timer_, &QTimer::timeout, this, &RenderCounter::report);
    timer_->start();
}

void RenderCounter::report() {
    surface_->reportDecodeFps();
    if (count_ != 0)
        qDebug() << "Render FPS:" << count_;
    count_ = 0;
}
