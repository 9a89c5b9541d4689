#include "renderpath.h"

#include <QDebug>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>

namespace {

// Renderer strings of rasterizers that run on the CPU: Mesa's llvmpipe, softpipe and swrast,
// Windows' own OpenGL 1.1 and its basic display driver.
const char* const kSoftwareRenderers[] = {"llvmpipe", "softpipe",    "software rasterizer",
                                          "swrast",   "gdi generic", "basic render driver"};

QString rendererOf(QOpenGLContext& context) {
    const auto* renderer =
        reinterpret_cast<const char*>(context.functions()->glGetString(GL_RENDERER));
    return renderer ? QString::fromUtf8(renderer) : QString();
}

QString probeRenderer() {
    if (QOpenGLContext* current = QOpenGLContext::currentContext())
        return rendererOf(*current);
    QOffscreenSurface surface;
    surface.create();
    QOpenGLContext context;
    if (!context.create() || !context.makeCurrent(&surface))
        return {};
    QString renderer = rendererOf(context);
    context.doneCurrent();
    return renderer;
}

} // namespace

RenderPathChoice chooseRenderPath(const QString& renderer, bool softwareRequested) {
    if (softwareRequested)
        return {RenderPath::Raster,
                QStringLiteral("Video: drawing on the CPU: software OpenGL was requested")};
    if (renderer.isEmpty())
        return {RenderPath::Raster, QStringLiteral("Video: drawing on the CPU: no OpenGL context")};
    const QString lower = renderer.toLower();
    for (const char* software : kSoftwareRenderers) {
        if (lower.contains(QLatin1String(software)))
            return {RenderPath::Raster,
                    QStringLiteral("Video: drawing on the CPU: OpenGL renderer \"%1\" is a "
                                   "software rasterizer")
                        .arg(renderer)};
    }
    return {RenderPath::OpenGL,
            QStringLiteral("Video: drawing with OpenGL on \"%1\"").arg(renderer)};
}

const RenderPathChoice& renderPath() {
    static const RenderPathChoice choice = [] {
        const QByteArray forced = qgetenv("CASTWELL_RENDER_PATH");
        if (forced == "opengl" || forced == "raster") {
            RenderPathChoice chosen{
                forced == "opengl" ? RenderPath::OpenGL : RenderPath::Raster,
                QStringLiteral("Video: drawing with %1: CASTWELL_RENDER_PATH says so")
                    .arg(QString::fromLatin1(forced))};
            qDebug().noquote() << chosen.reason;
            return chosen;
        }
        const bool softwareRequested = qgetenv("QT_OPENGL") == "software";
        RenderPathChoice chosen =
            chooseRenderPath(softwareRequested ? QString() : probeRenderer(), softwareRequested);
        qDebug().noquote() << chosen.reason;
        return chosen;
    }();
    return choice;
}
