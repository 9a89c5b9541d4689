#include "cameracontroller.h"
#include "camerasurface.h"
#include "camerasurfacewidget.h"
#include "cameraviewfinder.h"
#include "emulatorprocess.h"
#include "fakehid.h"
#include "kestalhiddevice.h"
#include "messagelog.h"
#include "pictureview.h"
#include "platform/cameraidentity.h"
#include "videoframe.h"

#include <QCameraInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QVideoSurfaceFormat>
#include <QtTest>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

struct Yuyv {
    int y0, u, y1, v;
};

} // namespace

Q_DECLARE_METATYPE(std::vector<Yuyv>)
Q_DECLARE_METATYPE(RenderPath)

namespace {

// The integer BT.601 limited-range conversion the shader implements, on the 0..255 scale.
QRgb referenceRgb(int y, int u, int v) {
    const int uu = u - 128;
    const int vv = v - 128;
    const double yy = (y - 16) * 298.0;
    auto channel = [](double value) {
        return std::clamp(static_cast<int>(std::lround(value / 256.0)), 0, 255);
    };
    return qRgb(channel(yy + 409 * vv + 128), channel(yy - (100 * uu + 208 * vv + 128)),
                channel(yy + 516 * uu + 128));
}

constexpr Yuyv kRed{81, 90, 81, 240};
constexpr Yuyv kBlue{41, 240, 41, 110};
const QRgb kRedRgb = referenceRgb(81, 90, 240);
const QRgb kBlueRgb = referenceRgb(41, 240, 110);

QVideoFrame makeFrame(QVideoFrame::PixelFormat format, const QSize& size,
                      const std::vector<uchar>& bytes) {
    const int bytesPerLine = static_cast<int>(bytes.size()) / size.height();
    QVideoFrame frame(static_cast<int>(bytes.size()), size, bytesPerLine, format);
    frame.map(QAbstractVideoBuffer::WriteOnly);
    std::memcpy(frame.bits(), bytes.data(), bytes.size());
    frame.unmap();
    return frame;
}

// An RGB32 or BGR32 frame whose pixel (x, row) in memory is colourAt(x, row).
template <typename ColourAt>
QVideoFrame rgbFrame(QVideoFrame::PixelFormat format, const QSize& size, ColourAt colourAt) {
    std::vector<uchar> bytes;
    for (int row = 0; row < size.height(); ++row) {
        for (int x = 0; x < size.width(); ++x) {
            const QRgb c = colourAt(x, row);
            // RGB32 is 0xffRRGGBB as a native 32-bit word (B, G, R, A bytes); BGR32 the reverse.
            const bool rgb = format == QVideoFrame::Format_RGB32;
            bytes.insert(bytes.end(), {uchar(rgb ? qBlue(c) : qRed(c)), uchar(qGreen(c)),
                                       uchar(rgb ? qRed(c) : qBlue(c)), 0xff});
        }
    }
    return makeFrame(format, size, bytes);
}

QVideoSurfaceFormat surfaceFormat(const QVideoFrame& frame, bool bottomToTop) {
    QVideoSurfaceFormat format(frame.size(), frame.pixelFormat());
    format.setScanLineDirection(bottomToTop ? QVideoSurfaceFormat::BottomToTop
                                            : QVideoSurfaceFormat::TopToBottom);
    return format;
}

// A YUYV frame of `pairs` macropixels a row, macropixel (i, row) being pixelAt(i, row), each row
// followed by `padding` bytes.
template <typename PixelAt>
QVideoFrame yuyvFrameOf(int pairs, int height, PixelAt pixelAt, int padding = 0) {
    std::vector<uchar> bytes;
    for (int row = 0; row < height; ++row) {
        for (int i = 0; i < pairs; ++i) {
            const Yuyv p = pixelAt(i, row);
            bytes.insert(bytes.end(), {uchar(p.y0), uchar(p.u), uchar(p.y1), uchar(p.v)});
        }
        bytes.insert(bytes.end(), size_t(padding), 0xff);
    }
    return makeFrame(QVideoFrame::Format_YUYV, QSize(pairs * 2, height), bytes);
}

// A YUYV frame whose every row repeats `pattern`, except that the top row may differ.
QVideoFrame yuyvFrame(const std::vector<Yuyv>& pattern, int height,
                      const std::vector<Yuyv>& topRow = {}) {
    return yuyvFrameOf(int(pattern.size()), height, [&](int i, int row) {
        return (row == 0 && !topRow.empty() ? topRow : pattern)[size_t(i)];
    });
}

bool closeTo(QRgb actual, QRgb expected) {
    return std::abs(qRed(actual) - qRed(expected)) <= 1 &&
           std::abs(qGreen(actual) - qGreen(expected)) <= 1 &&
           std::abs(qBlue(actual) - qBlue(expected)) <= 1;
}

QString rgbText(QRgb colour) {
    return QStringLiteral("(%1, %2, %3)").arg(qRed(colour)).arg(qGreen(colour)).arg(qBlue(colour));
}

// Empty when the pixel at (x, y) is within one level of `expected`, else what differs.
QString mismatch(const QImage& image, int x, int y, QRgb expected) {
    const QRgb actual = image.pixel(x, y);
    return closeTo(actual, expected) ? QString()
                                     : QStringLiteral("pixel %1,%2: %3, expected %4")
                                           .arg(x)
                                           .arg(y)
                                           .arg(rgbText(actual), rgbText(expected));
}

const std::pair<RenderPath, const char*> kPaths[] = {{RenderPath::OpenGL, "OpenGL"},
                                                     {RenderPath::Raster, "raster"}};

} // namespace

class VideoTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        const QString socket = emulatorDir_.filePath(QStringLiteral("emulator.sock"));
        emulator_ = std::make_unique<EmulatorProcess>(
            socket, QStringList{QStringLiteral("--detached"), QStringLiteral("--time-scale"),
                                QStringLiteral("0")});
        QVERIFY(emulator_->isRunning());
        qputenv("KESTAL_EMULATOR", QFile::encodeName(socket));
        // The sleep prevention taken while sharing must not reach the machine's own buses.
        qputenv("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=/nonexistent");
        qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent");
        HidApi::setCurrent(&fakeHidApi());
        FakeHid::instance().interfaces = {FakeInterface{"/dev/hidraw1"}};
    }
    void cleanupTestCase() { emulator_.reset(); }
    void init() {
        MessageLog::capture();
        MessageLog::clear();
        qputenv("GPU_SKIP_YUYV", "0");
        useView(RenderPath::OpenGL);
    }
    void cleanup() {
        found_.reset();
        controller_.reset();
        hidDevice_.reset();
        widget_.reset();
        MessageLog::release();
    }

    void yuyvColours_data() {
        QTest::addColumn<RenderPath>("path");
        QTest::addColumn<std::vector<Yuyv>>("pattern");

        std::vector<Yuyv> gradient;
        for (int i = 0; i < 16; ++i)
            gradient.push_back({16 + i * 14, 128 + (i - 8) * 15, 20 + i * 14, 128 - (i - 8) * 15});
        for (const auto& [path, name] : kPaths) {
            QTest::addRow("%s: limited-range black and white, clamped above 235", name)
                << path
                << std::vector<Yuyv>{{16, 128, 16, 128},
                                     {235, 128, 235, 128},
                                     {255, 128, 255, 128},
                                     {0, 128, 0, 128}};
            QTest::addRow("%s: primaries", name) << path
                                                 << std::vector<Yuyv>{{81, 90, 81, 240},
                                                                      {145, 54, 145, 34},
                                                                      {41, 240, 41, 110},
                                                                      {210, 16, 210, 146}};
            QTest::addRow("%s: even and odd columns take Y0 and Y1", name)
                << path
                << std::vector<Yuyv>{{50, 128, 200, 128},
                                     {200, 60, 50, 190},
                                     {16, 200, 235, 40},
                                     {128, 0, 64, 255}};
            QTest::addRow("%s: gradient", name) << path << gradient;
        }
    }
    void yuyvColours() {
        QFETCH(RenderPath, path);
        QFETCH(std::vector<Yuyv>, pattern);

        useView(path);
        // A white top row shows which way up the picture comes out.
        const Yuyv white{235, 128, 235, 128};
        const QVideoFrame frame = yuyvFrame(pattern, 4, std::vector<Yuyv>(pattern.size(), white));
        const QImage image = show(frame);
        QCOMPARE(image.size(), frame.size());
        for (int x = 0; x < image.width(); ++x) {
            const Yuyv& macropixel = pattern[size_t(x / 2)];
            for (int y = 0; y < image.height(); ++y) {
                const QRgb expected = y == 0 ? qRgb(255, 255, 255)
                                             : referenceRgb(x % 2 ? macropixel.y1 : macropixel.y0,
                                                            macropixel.u, macropixel.v);
                const QString wrong = mismatch(image, x, y, expected);
                QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
            }
        }
    }
    void quartersInPlace_data() {
        QTest::addColumn<RenderPath>("path");
        QTest::addColumn<int>("pixelFormat");
        QTest::addColumn<bool>("bottomToTop");
        QTest::addColumn<QSize>("widgetSize");
        const struct {
            QVideoFrame::PixelFormat format;
            bool bottomToTop;
            const char* name;
        } frames[] = {{QVideoFrame::Format_YUYV, false, "YUYV"},
                      {QVideoFrame::Format_RGB32, false, "RGB32"},
                      {QVideoFrame::Format_RGB32, true, "RGB32 bottom row first"},
                      {QVideoFrame::Format_BGR32, false, "BGR32"}};
        for (const auto& [path, name] : kPaths)
            for (const QSize& size : {QSize(32, 16), QSize(64, 32), QSize(24, 12)})
                for (const auto& frame : frames)
                    QTest::addRow("%s: %s in %dx%d", name, frame.name, size.width(), size.height())
                        << path << int(frame.format) << frame.bottomToTop << size;
    }
    // A 32x16 frame of four coloured quarters, after a larger one, fills a widget of its size or
    // another, each quarter in its place and colour.
    void quartersInPlace() {
        QFETCH(RenderPath, path);
        QFETCH(int, pixelFormat);
        QFETCH(bool, bottomToTop);
        QFETCH(QSize, widgetSize);

        useView(path);
        const auto format = static_cast<QVideoFrame::PixelFormat>(pixelFormat);
        const QSize size(32, 16);
        const bool yuyv = format == QVideoFrame::Format_YUYV;
        const Yuyv yuyvQuarters[] = {kRed, {145, 54, 145, 34}, kBlue, {210, 16, 210, 146}};
        QRgb quarters[] = {qRgb(200, 20, 10), qRgb(20, 210, 40), qRgb(10, 30, 220),
                           qRgb(10, 100, 200)};
        if (yuyv)
            for (int i = 0; i < 4; ++i)
                quarters[i] =
                    referenceRgb(yuyvQuarters[i].y0, yuyvQuarters[i].u, yuyvQuarters[i].v);
        // Quarters 0 and 1 are on top, 0 and 2 on the left; row counts in memory order.
        const auto quarter = [&](int x, int row) {
            return ((row < size.height() / 2) != bottomToTop ? 0 : 2) +
                   (x < size.width() / 2 ? 0 : 1);
        };
        // Rows of YUYV as cameras deliver them, padded beyond the picture's width.
        const QVideoFrame frame =
            yuyv
                ? yuyvFrameOf(
                      size.width() / 2, size.height(),
                      [&](int i, int row) { return yuyvQuarters[quarter(2 * i, row)]; }, 8)
                : rgbFrame(format, size, [&](int x, int row) { return quarters[quarter(x, row)]; });
        // A larger white frame first, in the same stream: textures and buffers follow the frame
        // size.
        const QVideoFrame larger =
            yuyv ? yuyvFrame(std::vector<Yuyv>(20, {235, 128, 235, 128}), 20)
                 : rgbFrame(format, QSize(40, 20), [](int, int) { return qRgb(255, 255, 255); });
        QVERIFY(!show(larger, bottomToTop).isNull());
        widget_->resize(widgetSize);
        QVERIFY(view_->videoSurface()->present(frame));
        const QImage image = grab();
        QCOMPARE(image.size(), widgetSize);
        const int w = widgetSize.width();
        const int h = widgetSize.height();
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                // Scaling blends the colours where quarters meet.
                if (widgetSize != size &&
                    (std::abs(2 * x + 1 - w) < 4 || std::abs(2 * y + 1 - h) < 4))
                    continue;
                const QString wrong =
                    mismatch(image, x, y, quarters[(2 * y < h ? 0 : 2) + (2 * x < w ? 0 : 1)]);
                QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
            }
        }
    }
    void pathFollowsTheRenderer() {
        const struct {
            const char* renderer;
            bool softwareRequested;
            RenderPath path;
        } cases[] = {
            {"llvmpipe (LLVM 15.0.6, 256 bits)", false, RenderPath::Raster},
            {"softpipe", false, RenderPath::Raster},
            {"Software Rasterizer", false, RenderPath::Raster},
            {"GDI Generic", false, RenderPath::Raster},
            {"", false, RenderPath::Raster},
            {"Mesa Intel(R) UHD Graphics 620 (KBL GT2)", false, RenderPath::OpenGL},
            {"NVIDIA GeForce GTX 1650/PCIe/SSE2", false, RenderPath::OpenGL},
            {"AMD Radeon RX 6600 (radeonsi, navi23, LLVM 15.0.6, DRM 3.49)", false,
             RenderPath::OpenGL},
            {"NVIDIA GeForce GTX 1650/PCIe/SSE2", true, RenderPath::Raster},
        };
        for (const auto& c : cases) {
            const RenderPathChoice choice =
                chooseRenderPath(QString::fromLatin1(c.renderer), c.softwareRequested);
            QVERIFY2(choice.path == c.path, c.renderer);
            // The log line names what decided.
            QVERIFY2(choice.reason.contains(c.softwareRequested ? "requested" : c.renderer),
                     qPrintable(choice.reason));
        }
    }
    void pendingFrameDropsNewerOnes() {
        const std::vector<Yuyv> red(4, kRed);
        const std::vector<Yuyv> blue(4, kBlue);
        const QVideoFrame first = yuyvFrame(red, 2);
        QImage image = show(first);
        QVERIFY(closeTo(image.pixel(0, 0), kRedRgb));

        CameraSurface* surface = view_->videoSurface();
        const int offeredBefore = surface->presentCount();
        QVERIFY(surface->present(yuyvFrame(red, 2)));
        QVERIFY(surface->present(yuyvFrame(blue, 2))); // before a paint: dropped, still accepted
        QCOMPARE(surface->presentCount(), offeredBefore + 2);
        image = grab();
        QVERIFY(closeTo(image.pixel(0, 0), kRedRgb));

        // After the paint the next frame is taken again.
        QVERIFY(surface->present(yuyvFrame(blue, 2)));
        image = grab();
        QVERIFY(closeTo(image.pixel(0, 0), kBlueRgb));
    }
    void stopClearsPicture_data() {
        QTest::addColumn<RenderPath>("path");
        for (const auto& [path, name] : kPaths)
            QTest::newRow(name) << path;
    }
    void stopClearsPicture() {
        QFETCH(RenderPath, path);
        useView(path);
        const QVideoFrame frame = yuyvFrame(std::vector<Yuyv>(4, {235, 128, 235, 128}), 2);
        QImage image = show(frame);
        QCOMPARE(qRed(image.pixel(1, 1)), 255);
        view_->videoSurface()->stop();
        QVERIFY(!view_->videoSurface()->renderer()->frame().isValid());
        image = grab();
        QCOMPARE(qRed(image.pixel(1, 1)), 0);
        QCOMPARE(qGreen(image.pixel(1, 1)), 0);
    }
    void shortFrameReportedOnce() {
        // Claiming more pixels than the buffer holds: never read past its end, and said once.
        QVideoFrame truncated(64, QSize(64, 64), 128, QVideoFrame::Format_YUYV);
        QCOMPARE(show(truncated).size(), truncated.size());
        QVERIFY(view_->videoSurface()->present(truncated));
        grab();
        QCOMPARE(MessageLog::lines().filter(QStringLiteral("cannot be drawn")).size(), 1);
    }
    void replacedRendererReleasesItsTextures() {
        const QVideoFrame frame = yuyvFrame(std::vector<Yuyv>(4, kRed), 2);
        show(frame);
        static_cast<CameraSurfaceWidget*>(view_)
            ->doneCurrent(); // as between paints, when the camera restarts its stream
        CameraSurface* surface = view_->videoSurface();
        surface->stop();
        QVERIFY(surface->start(QVideoSurfaceFormat(frame.size(), QVideoFrame::Format_RGB32)));
        QVERIFY(MessageLog::lines().filter(QStringLiteral("not been destroyed")).isEmpty());
    }
    void offeredFormats() {
        CameraSurface* surface = view_->videoSurface();
        const QList<QVideoFrame::PixelFormat> all{
            QVideoFrame::Format_RGB32, QVideoFrame::Format_BGR32, QVideoFrame::Format_YUYV};
        QCOMPARE(surface->supportedPixelFormats(QAbstractVideoBuffer::NoHandle), all);
        QVERIFY(surface->supportedPixelFormats(QAbstractVideoBuffer::GLTextureHandle).isEmpty());

        qputenv("GPU_SKIP_YUYV", "1");
        view_->videoSurface()->readRendererOptions();
        QCOMPARE(surface->supportedPixelFormats(QAbstractVideoBuffer::NoHandle), all.mid(0, 2));
        QVERIFY(!surface->start(QVideoSurfaceFormat(QSize(8, 8), QVideoFrame::Format_YUYV)));
        qputenv("GPU_SKIP_YUYV", "yes");
        view_->videoSurface()->readRendererOptions();
        QCOMPARE(surface->supportedPixelFormats(QAbstractVideoBuffer::NoHandle), all);
        QVERIFY(!surface->start(QVideoSurfaceFormat(QSize(8, 8), QVideoFrame::Format_NV12)));
    }
    void pictureIsLetterboxed() {
        QCOMPARE(CameraViewfinder::pictureRect(QSize(1920, 1080), QSize(1000, 1000)),
                 QRect(0, 219, 1000, 562));
        QCOMPARE(CameraViewfinder::pictureRect(QSize(1920, 1080), QSize(2000, 1000)),
                 QRect(111, 0, 1777, 1000));
        QCOMPARE(CameraViewfinder::pictureRect(QSize(1280, 720), QSize(1280, 720)),
                 QRect(0, 0, 1280, 720));
    }
    void v4l2NodesCarryTheirUsbIdentity() {
        // sysfs as the kernel lays it out: the node's device is the USB interface, whose parent is
        // the USB device with the identifiers.
        QTemporaryDir sysfs;
        const QString usbDevice = sysfs.filePath(QStringLiteral("devices/pci0000:00/usb1/1-2"));
        QVERIFY(QDir().mkpath(usbDevice + QStringLiteral("/1-2:1.0")));
        QVERIFY(QDir().mkpath(sysfs.filePath(QStringLiteral("devices/platform/vivid.0"))));
        auto write = [](const QString& path, const QByteArray& text) {
            QFile file(path);
            return file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
        };
        QVERIFY(write(usbDevice + QStringLiteral("/idVendor"), "3B7A\n"));
        QVERIFY(write(usbDevice + QStringLiteral("/idProduct"), "086c\n"));
        for (const char* node : {"video2", "video5"})
            QVERIFY(QDir().mkpath(
                sysfs.filePath(QStringLiteral("class/video4linux/") + QString::fromLatin1(node))));
        QVERIFY(QFile::link(usbDevice + QStringLiteral("/1-2:1.0"),
                            sysfs.filePath(QStringLiteral("class/video4linux/video2/device"))));
        QVERIFY(QFile::link(sysfs.filePath(QStringLiteral("devices/platform/vivid.0")),
                            sysfs.filePath(QStringLiteral("class/video4linux/video5/device"))));

        const QString camera =
            platform::cameraSystemName(QStringLiteral("/dev/video2"), sysfs.path());
        QCOMPARE(camera, QStringLiteral("/dev/video2 VID_3b7a&PID_086c"));
        QVERIFY(camera.contains(CameraController::deviceNameMarker(), Qt::CaseInsensitive));
        // Not a USB camera, a node that does not exist, a name of another kind: unchanged.
        for (const char* name :
             {"/dev/video5", "/dev/video9", "kestal-emulator/camera/VID_1&PID_2"})
            QCOMPARE(platform::cameraSystemName(QString::fromLatin1(name), sysfs.path()),
                     QString::fromLatin1(name));
    }
    void cameraFoundOnceListed() {
        search(false);
        QTRY_VERIFY(MessageLog::lines().filter(QStringLiteral("Retry attempts left")).size() >= 3);
        QVERIFY(emulator_->control({QStringLiteral("plug")}));
        QTRY_COMPARE(found_->count(), 1);
        QVERIFY(!MessageLog::contains(QStringLiteral("Failed to find matching camera!")));
        const int attempts =
            MessageLog::lines().filter(QStringLiteral("Retry attempts left")).size();
        QVERIFY(attempts >= 3 && attempts < 9);

        // The largest resolution the camera lists, in YUYV.
        const auto camera = found_->at(0).at(0).value<QSharedPointer<QCamera>>();
        QCOMPARE(camera, controller_->camera());
        QCOMPARE(camera->viewfinderSettings().resolution(), QSize(1920, 1080));
        QCOMPARE(camera->viewfinderSettings().pixelFormat(), QVideoFrame::Format_YUYV);
        QVERIFY(MessageLog::contains(QStringLiteral("Camera: initialized")));
        QTest::qWait(50);
        QCOMPARE(found_->count(), 1);
    }
    void cameraSearchGivesUp() {
        search(false);
        QTRY_VERIFY(MessageLog::contains(QStringLiteral("Failed to find matching camera!")));
        QStringList expected;
        for (int left = 9; left >= 1; --left)
            expected << QStringLiteral("Trying to find matching camera. Retry attempts left %1")
                            .arg(left);
        QCOMPARE(MessageLog::lines().filter(QStringLiteral("Retry attempts left")), expected);
        QCOMPARE(found_->count(), 0);
    }
    void releaseCancelsSearch() {
        search(false, 300); // room to act between tries
        QTRY_COMPARE(MessageLog::lines().filter(QStringLiteral("Retry attempts left")).size(), 2);
        controller_->releaseCamera();
        QVERIFY(emulator_->control({QStringLiteral("plug")})); // too late: the search was given up
        QTRY_VERIFY(MessageLog::contains(QStringLiteral("Failed to find matching camera!")));
        QTest::qWait(100);
        QCOMPARE(MessageLog::lines().filter(QStringLiteral("Retry attempts left")).size(), 2);
        QCOMPARE(MessageLog::lines().count(QStringLiteral("Failed to find matching camera!")), 1);
        QCOMPARE(found_->count(), 0);
    }
    void sessionGates() {
        search(true);
        QTRY_COMPARE(found_->count(), 1);
        CameraController* controller = controller_.get();
        QSignalSpy starting(controller, &CameraController::startingSession);
        QSignalSpy resuming(controller, &CameraController::resuming);
        QSignalSpy active(controller, &CameraController::active);
        QSignalSpy pausing(controller, &CameraController::pausing);
        QSignalSpy paused(controller, &CameraController::paused);

        // Nothing starts or pauses outside its state.
        controller->setApplicationState(NoHdmiSource);
        controller->startSession();
        controller->resume();
        controller->pause();
        QVERIFY(starting.isEmpty() && resuming.isEmpty() && pausing.isEmpty());

        controller->setApplicationState(Paused);
        controller->startSession();
        QCOMPARE(starting.count(), 1);
        QCOMPARE(active.count(), 1);
        QTRY_COMPARE(controller->camera()->status(), QCamera::ActiveStatus);
        QVERIFY(MessageLog::contains(
            QStringLiteral("Camera mode: QCameraViewfinderSettings(QSize(1920, "
                           "1080), Format_YUYV, PAR:QSize(1, 1), FPS:60-60)")));

        controller->setApplicationState(Sharing);
        controller->resume(); // already sharing
        QCOMPARE(resuming.count(), 0);
        controller->pause();
        QCOMPARE(pausing.count(), 1);
        QCOMPARE(paused.count(), 1);
        QTRY_VERIFY(controller->camera()->status() != QCamera::ActiveStatus);

        controller->setApplicationState(DeviceInUse);
        controller->resume();
        QCOMPARE(resuming.count(), 1);
        QCOMPARE(active.count(), 2);

        controller->releaseCamera();
        QVERIFY(!controller->camera());
    }

private:
    // Starts a search for the camera of the HID device, whose presence ends a search early when
    // it goes, with the emulated device plugged in or not.
    void search(bool plugged, int intervalMs = 20) {
        QVERIFY(emulator_->control({QString::fromLatin1(plugged ? "plug" : "unplug")}));
        controller_ = std::make_unique<CameraController>();
        controller_->setSearchInterval(std::chrono::milliseconds(intervalMs));
        found_ = std::make_unique<QSignalSpy>(controller_.get(), &CameraController::foundCamera);
        hidDevice_ = KestalHIDDevice::acquire(QStringLiteral("/dev/hidraw1"));
        controller_->findCamera(hidDevice_);
    }
    std::unique_ptr<CameraController> controller_;
    std::unique_ptr<QSignalSpy> found_;
    QSharedPointer<KestalHIDDevice> hidDevice_;
    QTemporaryDir emulatorDir_;
    std::unique_ptr<EmulatorProcess> emulator_;
    void useView(RenderPath path) {
        view_ = createPictureView(path, nullptr);
        widget_.reset(view_->widget());
    }
    QImage show(const QVideoFrame& frame, bool bottomToTop = false) {
        const QVideoSurfaceFormat format = surfaceFormat(frame, bottomToTop);
        widget_->resize(frame.size());
        if (!widget_->isVisible()) {
            widget_->show();
            if (!QTest::qWaitForWindowExposed(widget_.get()))
                return QImage();
        }
        CameraSurface* surface = view_->videoSurface();
        if (!surface->isActive() || surface->surfaceFormat() != format) {
            surface->stop();
            if (!surface->start(format))
                return QImage();
        }
        if (!surface->present(frame))
            return QImage();
        return grab();
    }
    QImage grab() {
        if (auto* openGL = dynamic_cast<CameraSurfaceWidget*>(view_))
            return openGL->grabFramebuffer();
        return widget_->grab().toImage();
    }

    std::unique_ptr<QWidget> widget_;
    PictureView* view_ = nullptr;
};

QTEST_MAIN(VideoTest)
#include "tst_video.moc"
