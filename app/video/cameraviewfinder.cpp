#include "cameraviewfinder.h"

#include "camerasurface.h"
#include "pictureview.h"

#include <QEvent>
#include <QResizeEvent>
#include <QTimer>

namespace {

constexpr int kCursorHideDelayMs = 2000;
const QSize kMinimumSize(320, 240);

} // namespace

CameraViewfinder::CameraViewfinder(QWidget* parent)
    : QWidget(parent)
    , cursorTimer_(new QTimer(this)) {
    cursorTimer_->setSingleShot(true);
    cursorTimer_->setInterval(kCursorHideDelayMs);
    connect(cursorTimer_, &QTimer::timeout, this, &CameraViewfinder::hideCursorIfIdle);
}

CameraViewfinder::~CameraViewfinder() {
    detachCamera();
}

QSize CameraViewfinder::sizeHint() const {
    return resolution_;
}

QSize CameraViewfinder::minimumSizeHint() const {
    return kMinimumSize;
}

void CameraViewfinder::initRendererOptions() {
    pictureView()->videoSurface()->readRendererOptions();
}

PictureView* CameraViewfinder::pictureView() {
    // Made on first use rather than with the viewfinder: the main window first asks with its
    // OpenGL context current, which tells the renderer without making another context.
    if (!view_) {
        view_ = createPictureView(renderPath().path, this);
        surfaceWidget_ = view_->widget();
        surfaceWidget_->show();
    }
    return view_;
}

QRect CameraViewfinder::pictureRect(const QSize& resolution, const QSize& area) {
    const double pictureRatio = double(resolution.width()) / resolution.height();
    const double areaRatio = double(area.width()) / area.height();
    if (pictureRatio > areaRatio) {
        const int height = static_cast<int>(area.width() / pictureRatio);
        return QRect(0, (area.height() - height) / 2, area.width(), height);
    }
    const int width = static_cast<int>(area.height() * pictureRatio);
    return QRect((area.width() - width) / 2, 0, width, area.height());
}

void CameraViewfinder::attachCamera(QSharedPointer<QCamera> camera) {
    detachCamera();
    CameraSurface* surface = pictureView()->videoSurface();
    camera_ = camera;
    statusConnection_ =
        connect(camera_.data(), &QCamera::statusChanged, this, [this](QCamera::Status status) {
            if (status == QCamera::ActiveStatus)
                refreshResolution();
        });
    refreshResolution();

    camera_->setViewfinder(surface);
    connect(camera_.data(), &QCamera::statusChanged, surface, [surface](QCamera::Status status) {
        if (status != QCamera::ActiveStatus)
            surface->stop();
    });

    cursorWidget_ = surfaceWidget_;
    const QList<QWidget*> descendants = surfaceWidget_->findChildren<QWidget*>();
    if (!descendants.isEmpty())
        cursorWidget_ = descendants.last();
    if (cursorWidget_) {
        cursorWidget_->installEventFilter(this);
        setAllowAutoHideCursor(allowAutoHideCursor_);
    }
}

void CameraViewfinder::detachCamera() {
    if (cursorWidget_) {
        cursorWidget_->removeEventFilter(this);
        cursorWidget_->setMouseTracking(false);
        cursorWidget_->setCursor(Qt::ArrowCursor);
        cursorWidget_.clear();
    }
    if (!camera_)
        return;
    disconnect(camera_.data(), nullptr, view_->videoSurface(), nullptr);
    camera_->setViewfinder(static_cast<QVideoWidget*>(nullptr));
    camera_->setViewfinder(static_cast<QAbstractVideoSurface*>(nullptr));
    disconnect(statusConnection_);
    camera_.reset();
    resolution_ = QSize();
}

void CameraViewfinder::refreshResolution() {
    const QSize resolution = camera_->viewfinderSettings().resolution();
    if (resolution == resolution_)
        return;
    resolution_ = resolution;
    updateGeometry();
    layoutSurface(size());
}

void CameraViewfinder::layoutSurface(const QSize& size) {
    if (!camera_ || resolution_.height() == 0 || resolution_.width() == 0 || size.height() == 0)
        return;
    surfaceWidget_->setGeometry(pictureRect(resolution_, size));
}

void CameraViewfinder::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layoutSurface(event->size());
}

void CameraViewfinder::setAllowAutoHideCursor(bool allow) {
    allowAutoHideCursor_ = allow;
    if (!cursorWidget_)
        return;
    if (allow) {
        cursorWidget_->setCursor(Qt::BlankCursor);
        cursorWidget_->setMouseTracking(true);
    } else {
        cursorWidget_->setMouseTracking(false);
        cursorTimer_->stop();
        cursorWidget_->setCursor(Qt::ArrowCursor);
    }
}

bool CameraViewfinder::eventFilter(QObject* object, QEvent* event) {
    if (event->type() != QEvent::MouseMove && event->type() != QEvent::MouseButtonPress)
        return QWidget::eventFilter(object, event);
    if (allowAutoHideCursor_ && cursorWidget_) {
        cursorWidget_->setCursor(Qt::ArrowCursor);
        cursorTimer_->start();
    }
    return true;
}

void CameraViewfinder::hideCursorIfIdle() {
    if (allowAutoHideCursor_ && cursorWidget_)
        cursorWidget_->setCursor(Qt::BlankCursor);
}
