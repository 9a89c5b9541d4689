// How fast the video paths put a captured frame on screen, for YUYV and RGB32 at 720p, 1080p and
// 2160p: the OpenGL path (present -> upload -> convert -> draw through CameraSurface and
// CameraSurfaceWidget) and the raster path (present -> CPU conversion -> copy into the window
// through RasterSurfaceWidget), each against a CPU baseline measured in the same run: Qt's own
// conversion (QVideoFrame::image()) and QPainter::drawImage into a raster window of the same size.
//
// All paths are driven in lockstep (present, repaint, next frame), so their frames per second
// are what each can draw at most; the process CPU time covers Mesa's llvmpipe worker threads
// too, but not the X server. The paths take turns in rounds and each one's best round
// counts, which keeps other load on the machine out of the comparison. A second YUYV run presents
// at 60 Hz through the application's own update() path, as a camera does: a frame that arrives
// while the previous one is still undrawn is dropped by the surface, so "no drops" means no frame
// waited behind another.
//
// Usage: castwell_render_bench [--seconds S] [--frames N] [--rounds R] [--size WxH]...
//        (needs an X server with OpenGL; the default sizes need a 3840x2160 screen)

#include "camerasurface.h"
#include "camerasurfacewidget.h"
#include "rastersurfacewidget.h"
#include "videoframe.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QPainter>
#include <QScreen>
#include <QThread>
#include <QTimer>
#include <QVideoSurfaceFormat>
#include <QWindow>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <vector>

namespace {

// Frames come from a ring larger than the last-level cache, as captured frames come from
// memory the CPU has not touched lately.
constexpr qint64 kRingBytes = qint64(512) << 20;
constexpr int kMinRingFrames = 4;
// The first paints build shaders and allocate textures and framebuffers.
constexpr int kWarmupFrames = 5;
constexpr int kWarmupAttempts = 50;
// Even the slowest configuration gets enough frames for a rate.
constexpr int kMinRoundFrames = 5;
constexpr double kCameraRateFps = 60;
constexpr double kGoalFps = 60;
constexpr int kExposeTimeoutMs = 5000;
constexpr int kExposePollMs = 5;
// How far the pattern moves from one frame to the next, in pixels.
constexpr int kPatternStepPx = 3;

struct Options {
    double seconds = 3; // per configuration and path, split over the rounds
    int frames = 0;     // when set, frames per round instead of a time
    int rounds = 3;
    std::vector<QSize> sizes;
};

// Milliseconds of CPU time of the whole process (std::clock counts every thread): llvmpipe
// rasterises on worker threads.
double processCpuMs() {
    return double(std::clock()) * 1000.0 / CLOCKS_PER_SEC;
}

const char* formatName(QVideoFrame::PixelFormat format) {
    return format == QVideoFrame::Format_YUYV ? "YUYV" : "RGB32";
}

// `value` as byte `byte` of a little-endian word.
quint32 byteAt(int byte, uint value) {
    return (value & 0xffu) << (8 * byte);
}

// Frame `index` of a pattern of diagonal ramps that moves every frame.
QVideoFrame patternFrame(QVideoFrame::PixelFormat format, const QSize& size, int index) {
    const bool yuyv = format == QVideoFrame::Format_YUYV;
    const int bytesPerLine = size.width() * (yuyv ? 2 : 4);
    QVideoFrame frame(bytesPerLine * size.height(), size, bytesPerLine, format);
    frame.map(QAbstractVideoBuffer::WriteOnly);
    const uint shift = uint(index * kPatternStepPx);
    for (int y = 0; y < size.height(); ++y) {
        uchar* row = frame.bits() + qint64(y) * bytesPerLine;
        const uint down = uint(y) + shift;
        // One word per YUYV macropixel (Y0 U Y1 V in memory) or per RGB32 pixel (B G R A).
        const int words = yuyv ? size.width() / 2 : size.width();
        for (int i = 0; i < words; ++i) {
            const uint across = uint(i) + shift;
            const quint32 word = yuyv ? byteAt(0, across * 2 + down) | byteAt(1, across) |
                                            byteAt(2, across * 2 + 1 + down) | byteAt(3, down)
                                      : byteAt(0, across + down) | byteAt(1, down) |
                                            byteAt(2, across) | byteAt(3, 0xff);
            std::memcpy(row + i * 4, &word, sizeof word);
        }
    }
    frame.unmap();
    return frame;
}

// Hands out distinct frames in turn, so no two consecutive presents share a buffer.
class FrameRing {
public:
    FrameRing(QVideoFrame::PixelFormat format, const QSize& size) {
        const qint64 frameBytes =
            qint64(size.width()) * size.height() * (format == QVideoFrame::Format_YUYV ? 2 : 4);
        const int count = int(std::max<qint64>(kMinRingFrames, kRingBytes / frameBytes + 1));
        frames_.reserve(size_t(count));
        for (int i = 0; i < count; ++i)
            frames_.push_back(patternFrame(format, size, i));
    }

    const QVideoFrame& next() {
        const QVideoFrame& frame = frames_[next_];
        next_ = (next_ + 1) % frames_.size();
        return frame;
    }
    QSize size() const { return frames_.front().size(); }
    QVideoFrame::PixelFormat format() const { return frames_.front().pixelFormat(); }

private:
    std::vector<QVideoFrame> frames_;
    size_t next_ = 0;
};

struct Rate {
    int frames = 0;
    double wallMs = 0;
    double cpuMs = 0;

    double fps() const { return wallMs > 0 ? frames * 1000.0 / wallMs : 0; }
    double cpuMsPerFrame() const { return frames > 0 ? cpuMs / frames : 0; }
};

// Wall and process CPU time of one measured round.
class Stopwatch {
public:
    explicit Stopwatch(const Options& options)
        : options_(options)
        , cpuStartMs_(processCpuMs()) {
        wall_.start();
    }

    bool more(int framesDone) const {
        if (options_.frames > 0)
            return framesDone < options_.frames;
        return framesDone < kMinRoundFrames ||
               double(wall_.nsecsElapsed()) < options_.seconds / options_.rounds * 1e9;
    }
    qint64 elapsedNs() const { return wall_.nsecsElapsed(); }
    Rate stop(int frames) const {
        return {frames, double(wall_.nsecsElapsed()) / 1e6, processCpuMs() - cpuStartMs_};
    }

private:
    const Options& options_;
    QElapsedTimer wall_;
    double cpuStartMs_;
};

// Runs `presentAndDraw` frame after frame, each frame drawn before the next comes.
template <typename Step> Rate lockstep(const Options& options, Step presentAndDraw) {
    Stopwatch stopwatch(options);
    int frames = 0;
    for (; stopwatch.more(frames); ++frames) {
        presentAndDraw();
        QCoreApplication::processEvents();
    }
    return stopwatch.stop(frames);
}

// Counts the frames a picture widget draws that it had not drawn before.
class NewFrameCounter {
public:
    int newFramesDrawn = 0;
    QByteArray glRenderer; // the OpenGL widget's renderer

    void painted(CameraSurface* surface) {
        const uchar* drawn = surface->renderer()->frame().bits();
        if (drawn && drawn != lastDrawn_) {
            ++newFramesDrawn;
            lastDrawn_ = drawn;
        }
    }

private:
    const uchar* lastDrawn_ = nullptr;
};

// The application's OpenGL widget, made to finish every frame it draws.
class FinishingSurfaceWidget : public CameraSurfaceWidget, public NewFrameCounter {
protected:
    void initializeGL() override {
        CameraSurfaceWidget::initializeGL();
        glRenderer =
            reinterpret_cast<const char*>(context()->functions()->glGetString(GL_RENDERER));
    }

    void paintGL() override {
        CameraSurfaceWidget::paintGL();
        // GL queues its work: without this a paint could return long before its frame is drawn.
        context()->functions()->glFinish();
        painted(videoSurface());
    }
};

// The application's raster widget.
class CountingRasterWidget : public RasterSurfaceWidget, public NewFrameCounter {
protected:
    void paintEvent(QPaintEvent* event) override {
        RasterSurfaceWidget::paintEvent(event);
        painted(videoSurface());
    }
};

// The baseline's window: draws the newest converted picture 1:1 with QPainter.
class ImageWidget : public QWidget {
public:
    int newImagesDrawn = 0;

    ImageWidget() {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setAttribute(Qt::WA_NoSystemBackground);
    }

    void setImage(QImage image) { image_ = std::move(image); }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        // The picture is opaque: a plain copy is the least any drawing of it must do.
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(0, 0, image_);
        if (!image_.isNull() && image_.cacheKey() != lastDrawnKey_) {
            ++newImagesDrawn;
            lastDrawnKey_ = image_.cacheKey();
        }
    }

private:
    QImage image_;
    qint64 lastDrawnKey_ = 0;
};

bool showAt(QWidget& widget, const QSize& size) {
    widget.resize(size);
    widget.show();
    QElapsedTimer waited;
    waited.start();
    while (!widget.windowHandle()->isExposed() && waited.elapsed() < kExposeTimeoutMs) {
        QCoreApplication::processEvents();
        QThread::msleep(kExposePollMs);
    }
    if (!widget.windowHandle()->isExposed() || widget.size() != size) {
        std::fprintf(stderr, "could not show a %dx%d window\n", size.width(), size.height());
        return false;
    }
    return true;
}

// Shows the widget, starts its surface and draws the first frames, which pay for allocations.
template <typename Widget> bool prepare(Widget& widget, FrameRing& ring) {
    if (!showAt(widget, ring.size()) ||
        !widget.videoSurface()->start(QVideoSurfaceFormat(ring.size(), ring.format()))) {
        std::fprintf(stderr, "the surface did not start for %s\n", formatName(ring.format()));
        return false;
    }
    for (int i = 0; widget.newFramesDrawn < kWarmupFrames && i < kWarmupAttempts; ++i) {
        widget.videoSurface()->present(ring.next());
        widget.repaint();
        QCoreApplication::processEvents();
    }
    if (widget.newFramesDrawn < kWarmupFrames) {
        std::fprintf(stderr, "the widget draws no frames\n");
        return false;
    }
    return true;
}

struct SurfaceRun {
    Rate drawn;
    int presented = 0;
    QByteArray glRenderer;
};

template <typename Widget> SurfaceRun runOurs(FrameRing& ring, const Options& options, bool& ok) {
    Widget widget;
    if (!prepare(widget, ring)) {
        ok = false;
        return {};
    }
    CameraSurface* surface = widget.videoSurface();
    const int presentedBefore = surface->presentCount();
    const int drawnBefore = widget.newFramesDrawn;
    SurfaceRun run{lockstep(options,
                            [&] {
                                surface->present(ring.next());
                                widget.repaint();
                            }),
                   0, widget.glRenderer};
    run.presented = surface->presentCount() - presentedBefore;
    run.drawn.frames = widget.newFramesDrawn - drawnBefore;
    surface->stop();
    return run;
}

// Presents one frame per camera period and lets present()'s own update() draw it. Frames whose
// time has come while the loop was busy drawing are presented back to back, as queued camera
// frames would be.
template <typename Widget>
SurfaceRun runOursPaced(FrameRing& ring, const Options& options, bool& ok) {
    Widget widget;
    if (!prepare(widget, ring)) {
        ok = false;
        return {};
    }
    CameraSurface* surface = widget.videoSurface();
    QEventLoop loop;
    QTimer wake;
    wake.setSingleShot(true);
    wake.setTimerType(Qt::PreciseTimer);
    QObject::connect(&wake, &QTimer::timeout, &loop, &QEventLoop::quit);
    const double periodNs = 1e9 / kCameraRateFps;
    const int frames = options.frames > 0 ? options.frames * options.rounds
                                          : std::max(1, int(options.seconds * kCameraRateFps));
    const int presentedBefore = surface->presentCount();
    const int drawnBefore = widget.newFramesDrawn;
    Stopwatch stopwatch(options);
    auto waitUntil = [&](double dueNs) {
        const double waitNs = dueNs - double(stopwatch.elapsedNs());
        if (waitNs <= 0)
            return;
        wake.start(int(std::ceil(waitNs / 1e6)));
        loop.exec();
    };
    for (int i = 0; i < frames; ++i) {
        waitUntil(i * periodNs);
        surface->present(ring.next());
    }
    // The last frame gets its period to be drawn in, like every other.
    waitUntil(frames * periodNs);
    SurfaceRun run{stopwatch.stop(widget.newFramesDrawn - drawnBefore),
                   surface->presentCount() - presentedBefore, widget.glRenderer};
    surface->stop();
    return run;
}

Rate runBaseline(FrameRing& ring, const Options& options, bool& ok) {
    ImageWidget widget;
    if (!showAt(widget, ring.size())) {
        ok = false;
        return {};
    }
    for (int i = 0; i < kWarmupFrames; ++i) {
        widget.setImage(ring.next().image());
        widget.repaint();
    }
    const int drawnBefore = widget.newImagesDrawn;
    const Rate rate = lockstep(options, [&] {
        widget.setImage(ring.next().image());
        widget.repaint();
    });
    if (widget.newImagesDrawn - drawnBefore != rate.frames) {
        std::fprintf(stderr, "the baseline drew %d of %d pictures\n",
                     widget.newImagesDrawn - drawnBefore, rate.frames);
        ok = false;
    }
    return rate;
}

bool parseSize(const char* text, QSize& size) {
    int width = 0;
    int height = 0;
    char end = 0;
    if (std::sscanf(text, "%dx%d%c", &width, &height, &end) != 2 || width <= 0 || height <= 0 ||
        width % 2 != 0)
        return false;
    size = QSize(width, height);
    return true;
}

bool parseOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; i += 2) {
        if (i + 1 >= argc)
            return false;
        const char* value = argv[i + 1];
        if (std::strcmp(argv[i], "--seconds") == 0) {
            options.seconds = std::atof(value);
            if (options.seconds <= 0)
                return false;
        } else if (std::strcmp(argv[i], "--frames") == 0) {
            options.frames = std::atoi(value);
            if (options.frames <= 0)
                return false;
        } else if (std::strcmp(argv[i], "--rounds") == 0) {
            options.rounds = std::atoi(value);
            if (options.rounds <= 0)
                return false;
        } else if (std::strcmp(argv[i], "--size") == 0) {
            QSize size;
            if (!parseSize(value, size))
                return false;
            options.sizes.push_back(size);
        } else {
            return false;
        }
    }
    if (options.sizes.empty())
        options.sizes = {{1280, 720}, {1920, 1080}, {3840, 2160}};
    return true;
}

struct PacedRow {
    QSize size;
    const char* path;
    double lockstepFps;
    SurfaceRun run;
};

// The best of the rounds of one path, and what all its rounds drew of what they presented.
struct PathResult {
    SurfaceRun best;
    int presented = 0;
    int drawn = 0;

    void add(const SurfaceRun& round) {
        presented += round.presented;
        drawn += round.drawn.frames;
        if (round.drawn.fps() > best.drawn.fps())
            best = round;
    }
};

} // namespace

int main(int argc, char** argv) {
    Options options;
    if (!parseOptions(argc, argv, options)) {
        std::fprintf(stderr,
                     "usage: %s [--seconds S per configuration and path (default 3)] "
                     "[--frames N per round instead] [--rounds R (default 3)] "
                     "[--size WxH (even W; repeatable; default 1280x720 1920x1080 3840x2160)]\n",
                     argv[0]);
        return 2;
    }
    qputenv("QT_LOGGING_RULES", "*.debug=false");
    // The YUYV path is what is measured, whatever the environment says.
    qputenv("GPU_SKIP_YUYV", "0");
    QApplication app(argc, argv);

    const QSize screen = QGuiApplication::primaryScreen()->size();
    const QString length = options.frames > 0
                               ? QStringLiteral("%1 frames").arg(options.frames)
                               : QStringLiteral("%1 s").arg(options.seconds / options.rounds);
    std::printf("render benchmark: best of %d interleaved rounds of %s per configuration and "
                "path; %d CPUs; screen %dx%d\n",
                options.rounds, qPrintable(length), QThread::idealThreadCount(), screen.width(),
                screen.height());
    std::printf("frames: a moving pattern, every frame a different buffer, from a ring of at "
                "least %lld MiB\n",
                kRingBytes >> 20);
    std::printf("OpenGL: CameraSurface::present, CameraSurfaceWidget repainted at once (upload, "
                "GPU conversion for YUYV, draw, compose into the window), glFinish per paint\n");
    std::printf("raster: CameraSurface::present, RasterSurfaceWidget repainted at once (CPU "
                "conversion, copy into the window's backing store)\n");
    std::printf("baseline: QVideoFrame::image() (Qt's CPU conversion; a copy for RGB32), then "
                "QPainter::drawImage 1:1, CompositionMode_Source, into a raster QWidget of the "
                "frame size, repainted at once\n");
    std::printf("CPU: process CPU time (all threads, llvmpipe's too; not the X server) per frame; "
                "speed ratio = ours fps / baseline fps; CPU ratio = ours CPU / baseline CPU; "
                "ours drawn/presented counts all rounds\n\n");

    bool ok = true;
    bool printedRenderer = false;
    bool lockstepDrops = false;
    std::vector<PacedRow> paced;
    for (const QSize& size : options.sizes) {
        if (size.width() > screen.width() || size.height() > screen.height())
            std::fprintf(stderr, "note: %dx%d is larger than the screen; X clips the window\n",
                         size.width(), size.height());
        for (const QVideoFrame::PixelFormat format :
             {QVideoFrame::Format_YUYV, QVideoFrame::Format_RGB32}) {
            FrameRing ring(format, size);
            PathResult openGL;
            PathResult raster;
            Rate baseline;
            for (int round = 0; round < options.rounds && ok; ++round) {
                openGL.add(runOurs<FinishingSurfaceWidget>(ring, options, ok));
                raster.add(runOurs<CountingRasterWidget>(ring, options, ok));
                const Rate baselineRound = runBaseline(ring, options, ok);
                if (baselineRound.fps() > baseline.fps())
                    baseline = baselineRound;
            }
            if (!ok)
                return 1;
            if (!printedRenderer) {
                std::printf("OpenGL renderer: %s\n\n", openGL.best.glRenderer.constData());
                std::printf("%-16s | %-6s | %8s | %12s | %12s | %21s | %11s | %9s | %20s\n",
                            "config", "path", "fps", "CPU ms/frame", "baseline fps",
                            "baseline CPU ms/frame", "speed ratio", "CPU ratio", "drawn/presented");
                printedRenderer = true;
            }
            const QByteArray config = QStringLiteral("%1x%2 %3")
                                          .arg(size.width())
                                          .arg(size.height())
                                          .arg(QString::fromLatin1(formatName(format)))
                                          .toLatin1();
            for (const auto& [name, result] :
                 {std::pair<const char*, const PathResult&>{"OpenGL", openGL},
                  std::pair<const char*, const PathResult&>{"raster", raster}}) {
                const Rate& drawn = result.best.drawn;
                std::printf("%-16s | %-6s | %8.1f | %12.2f | %12.1f | %21.2f | %11.2f | %9.2f | "
                            "%8d of %8d\n",
                            config.constData(), name, drawn.fps(), drawn.cpuMsPerFrame(),
                            baseline.fps(), baseline.cpuMsPerFrame(), drawn.fps() / baseline.fps(),
                            drawn.cpuMsPerFrame() / baseline.cpuMsPerFrame(), result.drawn,
                            result.presented);
                lockstepDrops = lockstepDrops || result.drawn != result.presented;
            }
            std::fflush(stdout);
            if (format == QVideoFrame::Format_YUYV) {
                paced.push_back({size, "OpenGL", openGL.best.drawn.fps(),
                                 runOursPaced<FinishingSurfaceWidget>(ring, options, ok)});
                paced.push_back({size, "raster", raster.best.drawn.fps(),
                                 runOursPaced<CountingRasterWidget>(ring, options, ok)});
            }
            if (!ok)
                return 1;
        }
    }

    std::printf("\nYUYV presented at %.0f Hz through present()'s own update(), as a camera "
                "delivers:\n",
                kCameraRateFps);
    std::printf("%-16s | %-6s | %9s | %9s | %7s | %9s | %13s\n", "size", "path", "presented",
                "drawn", "dropped", "drawn fps", "CPU ms/frame");
    for (const PacedRow& p : paced) {
        const QByteArray size =
            QStringLiteral("%1x%2").arg(p.size.width()).arg(p.size.height()).toLatin1();
        std::printf("%-16s | %-6s | %9d | %9d | %7d | %9.1f | %13.2f\n", size.constData(), p.path,
                    p.run.presented, p.run.drawn.frames, p.run.presented - p.run.drawn.frames,
                    p.run.drawn.fps(), p.run.drawn.cpuMsPerFrame());
    }

    for (const PacedRow& p : paced) {
        if (p.size != QSize(1920, 1080))
            continue;
        const bool fastEnough = p.lockstepFps >= kGoalFps;
        const bool noDrops = p.run.drawn.frames == p.run.presented;
        std::printf("\n%s: 1080p YUYV reaches %.0f fps: %s (%.1f fps at most); at 60 Hz every "
                    "frame drawn, none queued behind another: %s (%d of %d)\n1080p60 YUYV: %s\n",
                    p.path, kGoalFps, fastEnough ? "yes" : "no", p.lockstepFps,
                    noDrops ? "yes" : "no", p.run.drawn.frames, p.run.presented,
                    fastEnough && noDrops ? "sustained" : "NOT sustained");
    }
    if (lockstepDrops) {
        std::fprintf(stderr, "a frame presented right before a repaint was not drawn\n");
        return 1;
    }
    return 0;
}
