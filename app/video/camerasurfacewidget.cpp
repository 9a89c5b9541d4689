#include "camerasurfacewidget.h"

#include "camerasurface.h"
#include "quad.h"
#include "rgbframerenderer.h"
#include "shaderprogram.h"
#include "videoframe.h"
#include "yuyvframerenderer.h"

#include <QDebug>
#include <QOpenGLContext>
#include <QOpenGLDebugLogger>
#include <QOpenGLFunctions>
#include <QOpenGLShaderProgram>
#include <QVideoSurfaceFormat>

namespace {

bool environmentSwitch(const char* name) {
    return qgetenv(name) == "1";
}

QByteArray glString(QOpenGLFunctions* gl, GLenum name) {
    return QByteArray(reinterpret_cast<const char*>(gl->glGetString(name)));
}

void printDebugMessage(const QOpenGLDebugMessage& message) {
    qDebug().noquote() << message.source() << ": " << message.message();
}

} // namespace

struct CameraSurfaceWidget::Private : public QOpenGLFunctions {
    RenderCounter* renderCounter = nullptr;
    QOpenGLDebugLogger* debugLogger = nullptr;
    QOpenGLShaderProgram program;
    Quad quad;        // frame top row at the bottom, as the conversion pass leaves it
    Quad flippedQuad; // for pictures whose top row comes first
    YuyvConversionPass yuyvPass;
};

CameraSurfaceWidget::CameraSurfaceWidget(QWidget* parent)
    : QOpenGLWidget(parent)
    , d(std::make_unique<Private>())
    , surface_(std::make_unique<CameraSurface>(this, this)) {
    setObjectName(QStringLiteral("CameraSurfaceWidget"));
    d->renderCounter = new RenderCounter(surface_.get(), this);
    if (environmentSwitch("DEBUG_OPENGL_RENDER")) {
        d->debugLogger = new QOpenGLDebugLogger(this);
        connect(d->debugLogger, &QOpenGLDebugLogger::messageLogged, this, &printDebugMessage);
    }
}

CameraSurfaceWidget::~CameraSurfaceWidget() {
    makeCurrent();
    surface_.reset();
    d->quad.destroy();
    d->flippedQuad.destroy();
    d->yuyvPass.quad.destroy();
    d.reset();
    doneCurrent();
}

CameraSurface* CameraSurfaceWidget::videoSurface() const {
    return surface_.get();
}

int CameraSurfaceWidget::renderCount() const {
    return d->renderCounter->count();
}

std::unique_ptr<VideoFrame> CameraSurfaceWidget::createRenderer(const QVideoSurfaceFormat& format) {
    if (format.pixelFormat() == QVideoFrame::Format_YUYV)
        return std::make_unique<YUYVFrameRenderer>(d->yuyvPass);
    return std::make_unique<RgbFrameRenderer>(format.scanLineDirection() ==
                                              QVideoSurfaceFormat::TopToBottom);
}

QString CameraSurfaceWidget::rendererName(const QVideoSurfaceFormat& format) const {
    return format.pixelFormat() == QVideoFrame::Format_YUYV ? QStringLiteral("YUYV GPU")
                                                            : QStringLiteral("RGB GPU");
}

void CameraSurfaceWidget::releaseRenderer(std::unique_ptr<VideoFrame> renderer) {
    // Its textures and buffers live in this widget's context: they are released only with it
    // current (a widget never shown has none to release).
    makeCurrent();
    renderer.reset();
    doneCurrent();
}

void CameraSurfaceWidget::initializeGL() {
    surface_->readRendererOptions();
    if (d->debugLogger) {
        if (context()->format().testOption(QSurfaceFormat::DebugContext) &&
            d->debugLogger->initialize()) {
            d->debugLogger->startLogging(QOpenGLDebugLogger::AsynchronousLogging);
            for (const QOpenGLDebugMessage& message : d->debugLogger->loggedMessages())
                printDebugMessage(message);
        } else {
            qDebug() << "OpenGL logging not available";
        }
    }

    d->initializeOpenGLFunctions();
    qDebug().noquote() << "OpenGL version " + glString(d.get(), GL_VERSION);
    qDebug().noquote() << "OpenGL vendor  " + glString(d.get(), GL_VENDOR);
    qDebug().noquote() << "OpenGL renderer" + glString(d.get(), GL_RENDERER);
    qDebug().noquote() << "GLSL version   " + glString(d.get(), GL_SHADING_LANGUAGE_VERSION);

    if (!context()->isOpenGLES())
        d->glEnable(GL_TEXTURE_2D);
    d->glClearColor(0, 0, 0, 0);
    d->quad.create();
    d->flippedQuad.create(true);
    if (!d->program.isLinked())
        buildShaderProgram(d->program, QStringLiteral("vertex_normal"),
                           QStringLiteral("rgb_fragment_renderer"));
}

void CameraSurfaceWidget::paintGL() {
    surface_->framePainted();
    d->renderCounter->painted();
    d->glClear(GL_COLOR_BUFFER_BIT);
    VideoFrame* renderer = surface_->renderer();
    if (!renderer || !renderer->frame().isValid())
        return;
    renderer->setGL(d.get());
    renderer->render();
    const qreal ratio = devicePixelRatioF();
    d->glViewport(0, 0, qRound(width() * ratio), qRound(height() * ratio));
    d->program.bind();
    (renderer->topRowFirst() ? d->flippedQuad : d->quad).attach(d->program);
    d->glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
}
