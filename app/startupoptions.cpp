#include "startupoptions.h"

#include <QDebug>
#include <QSurfaceFormat>

namespace {

void enableOpenGLDebugContext() {
    QSurfaceFormat format = QSurfaceFormat::defaultFormat();
    format.setOption(QSurfaceFormat::DebugContext);
    QSurfaceFormat::setDefaultFormat(format);
}

struct Option {
    const char* name;
    void (*apply)(StartupOptions&);
};

// Compared exactly; each may come more than once, and of the OpenGL choices the last one wins.
const Option kOptions[] = {
    {"--log",
     [](StartupOptions& options) {
         options.openLogFile = true;
     }},
    {"--opengl-desktop",
     [](StartupOptions&) {
         qputenv("QT_OPENGL", "desktop");
     }},
    {"--opengl-software",
     [](StartupOptions&) {
         qputenv("QT_OPENGL", "software");
     }},
    {"--opengl-angle",
     [](StartupOptions&) {
         qputenv("QT_OPENGL", "angle");
     }},
    {"--log-fps",
     [](StartupOptions& options) {
         qputenv("CASTWELL_LOG_FPS", "1");
         options.openLogFile = true;
     }},
    {"--log-opengl",
     [](StartupOptions& options) {
         qputenv("DEBUG_OPENGL_RENDER", "1");
         qputenv("CASTWELL_LOG_FPS", "1");
         enableOpenGLDebugContext();
         options.openLogFile = true;
     }},
    {"--restart",
     [](StartupOptions&) {
         qputenv("RESTART", "1");
     }},
    {"--gpu-no-yuyv",
     [](StartupOptions&) {
         qputenv("GPU_SKIP_YUYV", "1");
     }},
    {"--gpu-no-jpeg",
     [](StartupOptions&) {
         qputenv("GPU_SKIP_JPEG", "1");
     }},
};

const Option* findOption(const QString& argument) {
    for (const Option& option : kOptions) {
        if (argument == QLatin1String(option.name))
            return &option;
    }
    return nullptr;
}

// Options that Qt itself takes from the command line, with one dash or two and values after a
// space or '='. A session manager restores the program with "-session".
bool isQtOption(const QString& argument) {
    static const QStringList names = {
        QStringLiteral("platform"),      QStringLiteral("platformpluginpath"),
        QStringLiteral("platformtheme"), QStringLiteral("plugin"),
        QStringLiteral("qmljsdebugger"), QStringLiteral("qwindowgeometry"),
        QStringLiteral("qwindowicon"),   QStringLiteral("qwindowtitle"),
        QStringLiteral("reverse"),       QStringLiteral("session"),
        QStringLiteral("style"),         QStringLiteral("stylesheet"),
        QStringLiteral("widgetcount"),   QStringLiteral("display"),
        QStringLiteral("geometry"),      QStringLiteral("title"),
        QStringLiteral("icon"),          QStringLiteral("name"),
        QStringLiteral("nograb"),        QStringLiteral("dograb")};
    const int dashes = argument.startsWith(QLatin1String("--")) ? 2 : 1;
    return names.contains(argument.mid(dashes).section(QLatin1Char('='), 0, 0));
}

const char* const kUsage =
    "usage: castwell [--log] [--log-fps] [--log-opengl]\n"
    "                [--opengl-desktop | --opengl-software | --opengl-angle]\n"
    "                [--gpu-no-yuyv] [--gpu-no-jpeg]\n"
    "       castwell autostart on|off\n"
    "       castwell quit\n"
    "       castwell help | -h | --help\n"
    "       castwell --version\n"
    "\n"
    "  --log              append a log to Castwell.log in $TMPDIR (else /tmp)\n"
    "  --log-fps          also log the picture's frame rate\n"
    "  --log-opengl       also log what the OpenGL renderer does\n"
    "  --opengl-*         choose Qt's OpenGL implementation; with software OpenGL the\n"
    "                     picture is drawn without it\n"
    "  --gpu-no-yuyv      ask the camera for RGB pictures, not YUYV ones for the graphics card\n"
    "  --gpu-no-jpeg      accepted, without effect: no JPEG pictures are decoded\n"
    "  autostart on|off   start with the desktop session, or not\n"
    "  quit               end the running Castwell of this session\n"
    "  --version          print the version\n"
    "Qt's own options (-platform, -style, -session, ...) are passed on to Qt.\n"
    "\n"
    "Exit codes: 0 done, 1 failed or another Castwell runs already, 2 bad arguments.\n";

} // namespace

StartupOptions applyStartupOptions(const QStringList& arguments) {
    qputenv("DEBUG_OPENGL_RENDER", "0");
    qputenv("GPU_SKIP_YUYV", "0");
    qputenv("GPU_SKIP_JPEG", "0");

    StartupOptions options;
    for (const QString& argument : arguments) {
        if (const Option* option = findOption(argument))
            option->apply(options);
    }
    return options;
}

CommandLineRequest commandLineRequest(const QStringList& arguments, QString* unknown) {
    CommandLineRequest request = CommandLineRequest::Run;
    for (const QString& argument : arguments) {
        if (!argument.startsWith(QLatin1Char('-')) || findOption(argument) || isQtOption(argument))
            continue;
        if (argument == QLatin1String("-h") || argument == QLatin1String("--help")) {
            request = CommandLineRequest::Usage;
        } else if (argument == QLatin1String("--version")) {
            if (request == CommandLineRequest::Run)
                request = CommandLineRequest::Version;
        } else {
            *unknown = argument;
            return CommandLineRequest::UnknownOption;
        }
    }
    return request;
}

int answer(CommandLineRequest request, const QString& unknown) {
    switch (request) {
    case CommandLineRequest::Run:
        break;
    case CommandLineRequest::Usage:
        printUsage(stdout);
        return 0;
    case CommandLineRequest::Version:
        std::printf("castwell %s\n", qPrintable(displayVersion(QStringLiteral(CASTWELL_VERSION))));
        return 0;
    case CommandLineRequest::UnknownOption:
        std::fprintf(stderr, "castwell: unknown option %s\n", qPrintable(unknown));
        printUsage(stderr);
        return 2;
    }
    return 0;
}

void printUsage(std::FILE* stream) {
    std::fputs(kUsage, stream);
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
