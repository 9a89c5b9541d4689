#include "startupoptions.h"

#include <QDebug>
#include <QSurfaceFormat>

namespace {

void enableOpenGLDebugContext() {
    QSurfaceFormat format = QSurfaceFormat::defaultFormat();
    format.setOption(QSurfaceFormat::DebugContext);
    QSurfaceFormat::setDefaultFormat(format);
}

} // namespace

StartupOptions applyStartupOptions(const QStringList& arguments) {
    qputenv("DEBUG_OPENGL_RENDER", "0");
    qputenv("GPU_SKIP_YUYV", "0");
    qputenv("GPU_SKIP_JPEG", "0");

    StartupOptions options;
    for (const QString& argument : arguments) {
        if (!argument.startsWith(QLatin1Char('-')))
            continue;
        if (argument == QLatin1String("--log")) {
            options.openLogFile = true;
        } else if (argument == QLatin1String("--opengl-desktop")) {
            qputenv("QT_OPENGL", "desktop");
        } else if (argument == QLatin1String("--opengl-software")) {
            qputenv("QT_OPENGL", "software");
        } else if (argument == QLatin1String("--opengl-angle")) {
            qputenv("QT_OPENGL", "angle");
        } else if (argument == QLatin1String("--log-fps")) {
            qputenv("CASTWELL_LOG_FPS", "1");
            options.openLogFile = true;
        } else if (argument == QLatin1String("--log-opengl")) {
            qputenv("DEBUG_OPENGL_RENDER", "1");
            qputenv("CASTWELL_LOG_FPS", "1");
            enableOpenGLDebugContext();
            options.openLogFile = true;
        } else if (argument == QLatin1String("--restart")) {
            qputenv("RESTART", "1");
        } else if (argument == QLatin1String("--gpu-no-yuyv")) {
            qputenv("GPU_SKIP_YUYV", "1");
        } else if (argument == QLatin1String("--gpu-no-jpeg")) {
            qputenv("GPU_SKIP_JPEG", "1");
        }
    }
    return options;
}

QString displayVersion(const QString& version) {
    int dots = 0;
    for (int i = 0; i < version.size(); ++i) {
        if (version.at(i) == QLatin1Char('.') && ++dots == 3)
            return version.left(i);
    }
    return version;
}

void logStartupEnvironment(const QStringList& arguments) {
    if (!arguments.isEmpty()) {
        QDebug line = qDebug();
        line << "Args:";
        for (const QString& argument : arguments)
            line << argument;
    }
    const QByteArray openGLHint = qgetenv("QT_OPENGL");
    if (!openGLHint.isEmpty())
        qDebug() << "OpenGL backend hint:" << openGLHint;
    else
        qputenv("QT_OPENGL", "desktop");
}
