#include "cameracontroller.h"
#include "camerasurface.h"
#include "camerasurfacewidget.h"
#include "cameraviewfinder.h"
#include "emulatorprocess.h"
#include "fakehid.h"
#include "kestalhiddevice.h"
#include "platform/cameraidentity.h"
#include "videoframe.h"
#include "viewfindersettingstext.h"
#include "yuyvframerenderer.h"

#include <QCameraInfo>
#include <QCameraViewfinderSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QVideoSurfaceFormat>
#include <QtTest>

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

namespace {

struct Yuyv {
    int y0, u, y1, v;
};

} // namespace

Q_DECLARE_METATYPE(std::vector<Yuyv>)

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

QVideoFrame makeFrame(QVideoFrame::PixelFormat format, const QSize& size,
                      const std::vector<uchar>& bytes) {
    const int bytesPerLine = static_cast<int>(bytes.size()) / size.height();
    QVideoFrame frame(static_cast<int>(bytes.size()), size, bytesPerLine, format);
    frame.map(QAbstractVideoBuffer::WriteOnly);
    std::memcpy(frame.bits(), bytes.data(), bytes.size());
    frame.unmap();
    return frame;
}

// A YUYV frame whose every row repeats `pattern`, except that the top row may differ.
QVideoFrame yuyvFrame(const std::vector<Yuyv>& pattern, int height,
                      const std::vector<Yuyv>& topRow = {}) {
    std::vector<uchar> bytes;
    for (int row = 0; row < height; ++row) {
        for (const Yuyv& pixel : (row == 0 && !topRow.empty()) ? topRow : pattern) {
            bytes.insert(bytes.end(),
                         {uchar(pixel.y0), uchar(pixel.u), uchar(pixel.y1), uchar(pixel.v)});
        }
    }
    return makeFrame(QVideoFrame::Format_YUYV, QSize(int(pattern.size()) * 2, height), bytes);
}

bool closeTo(QRgb actual, QRgb expected) {
    return std::abs(qRed(actual) - qRed(expected)) <= 1 &&
           std::abs(qGreen(actual) - qGreen(expected)) <= 1 &&
           std::abs(qBlue(actual) - qBlue(expected)) <= 1;
}

QString rgbText(QRgb colour) {
    return QStringLiteral("(%1, %2, %3)").arg(qRed(colour)).arg(qGreen(colour)).arg(qBlue(colour));
}

} // namespace

class VideoTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void yuyvColours_data();
    void yuyvColours();
    void yuyvTopRowComesOutOnTop();
    void rgbChannelOrderAndOrientation_data();
    void rgbChannelOrderAndOrientation();
    void sizeChangeReallocates();
    void pendingFrameDropsNewerOnes();
    void stopClearsPicture();
    void paddedRowsDrawnOthersReportedOnce();
    void replacedRendererReleasesItsTextures();
    void offeredFormats();
    void pictureIsLetterboxed();
    void settingsText();

    void v4l2NodesCarryTheirUsbIdentity();
    void cameraFoundOnceListed();
    void cameraSearchGivesUp();
    void releaseCancelsSearch();
    void sessionGates();

private:
    QSharedPointer<KestalHIDDevice> hidDevice();
    std::unique_ptr<CameraController> searchingController();
    QTemporaryDir emulatorDir_;
    std::unique_ptr<EmulatorProcess> emulator_;
    QImage show(const QVideoFrame& frame, const QVideoSurfaceFormat& format);

    std::unique_ptr<CameraSurfaceWidget> widget_;
};

QStringList logged;

void captureMessage(QtMsgType, const QMessageLogContext&, const QString& message) {
    logged << message;
}

void VideoTest::initTestCase() {
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

void VideoTest::cleanupTestCase() {
    emulator_.reset();
}

void VideoTest::init() {
    logged.clear();
    qputenv("GPU_SKIP_YUYV", "0");
    widget_ = std::make_unique<CameraSurfaceWidget>();
}

void VideoTest::cleanup() {
    widget_.reset();
}

QImage VideoTest::show(const QVideoFrame& frame, const QVideoSurfaceFormat& format) {
    widget_->resize(frame.size());
    if (!widget_->isVisible()) {
        widget_->show();
        if (!QTest::qWaitForWindowExposed(widget_.get()))
            return QImage();
    }
    CameraSurface* surface = widget_->videoSurface();
    if (!surface->isActive() || surface->surfaceFormat() != format) {
        surface->stop();
        if (!surface->start(format))
            return QImage();
    }
    if (!surface->present(frame))
        return QImage();
    return widget_->grabFramebuffer();
}

void VideoTest::yuyvColours_data() {
    QTest::addColumn<std::vector<Yuyv>>("pattern");

    QTest::newRow("limited-range black and white, clamped above 235") << std::vector<Yuyv>{
        {16, 128, 16, 128}, {235, 128, 235, 128}, {255, 128, 255, 128}, {0, 128, 0, 128}};
    QTest::newRow("primaries") << std::vector<Yuyv>{
        {81, 90, 81, 240}, {145, 54, 145, 34}, {41, 240, 41, 110}, {210, 16, 210, 146}};
    QTest::newRow("even and odd columns take Y0 and Y1") << std::vector<Yuyv>{
        {50, 128, 200, 128}, {200, 60, 50, 190}, {16, 200, 235, 40}, {128, 0, 64, 255}};
    std::vector<Yuyv> gradient;
    for (int i = 0; i < 16; ++i)
        gradient.push_back({16 + i * 14, 128 + (i - 8) * 15, 20 + i * 14, 128 - (i - 8) * 15});
    QTest::newRow("gradient") << gradient;
}

void VideoTest::yuyvColours() {
    QFETCH(std::vector<Yuyv>, pattern);

    const QVideoFrame frame = yuyvFrame(pattern, 4);
    const QImage image = show(frame, QVideoSurfaceFormat(frame.size(), QVideoFrame::Format_YUYV));
    QCOMPARE(image.size(), frame.size());
    for (int x = 0; x < image.width(); ++x) {
        const Yuyv& macropixel = pattern[size_t(x / 2)];
        const QRgb expected =
            referenceRgb(x % 2 ? macropixel.y1 : macropixel.y0, macropixel.u, macropixel.v);
        for (int y = 0; y < image.height(); ++y) {
            const QRgb actual = image.pixel(x, y);
            QVERIFY2(closeTo(actual, expected),
                     qPrintable(QStringLiteral("pixel %1,%2: %3, expected %4")
                                    .arg(x)
                                    .arg(y)
                                    .arg(rgbText(actual), rgbText(expected))));
        }
    }
    const auto* renderer = dynamic_cast<YUYVFrameRenderer*>(widget_->videoSurface()->renderer());
    QVERIFY(renderer);
    QCOMPARE(renderer->framebufferSize(), frame.size());
}

void VideoTest::yuyvTopRowComesOutOnTop() {
    const std::vector<Yuyv> grey(8, {126, 128, 126, 128});
    const std::vector<Yuyv> white(8, {235, 128, 235, 128});
    const QVideoFrame frame = yuyvFrame(grey, 6, white);
    const QImage image = show(frame, QVideoSurfaceFormat(frame.size(), QVideoFrame::Format_YUYV));
    QVERIFY(!image.isNull());
    QCOMPARE(qRed(image.pixel(3, 0)), 255);
    QCOMPARE(qRed(image.pixel(3, 1)), qRed(referenceRgb(126, 128, 128)));
    QCOMPARE(qRed(image.pixel(3, 5)), qRed(referenceRgb(126, 128, 128)));
}

void VideoTest::rgbChannelOrderAndOrientation_data() {
    QTest::addColumn<int>("pixelFormat");
    QTest::addColumn<bool>("bottomToTop");
    QTest::newRow("RGB32") << int(QVideoFrame::Format_RGB32) << false;
    QTest::newRow("BGR32") << int(QVideoFrame::Format_BGR32) << false;
    QTest::newRow("RGB32 stored bottom row first") << int(QVideoFrame::Format_RGB32) << true;
}

void VideoTest::rgbChannelOrderAndOrientation() {
    QFETCH(int, pixelFormat);
    QFETCH(bool, bottomToTop);

    const auto format = static_cast<QVideoFrame::PixelFormat>(pixelFormat);
    const std::array<QRgb, 4> colours{qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255),
                                      qRgb(10, 100, 200)};
    const QRgb firstRowColour = qRgb(250, 250, 0);
    const QSize size(8, 4);
    std::vector<uchar> bytes;
    for (int row = 0; row < size.height(); ++row) {
        for (int x = 0; x < size.width(); ++x) {
            const QRgb c = row == 0 ? firstRowColour : colours[size_t(x % 4)];
            // RGB32 is 0xffRRGGBB as a native 32-bit word; BGR32 is 0xffBBGGRR.
            const quint32 word = format == QVideoFrame::Format_RGB32
                                     ? (0xff000000u | (uint(qRed(c)) << 16) |
                                        (uint(qGreen(c)) << 8) | uint(qBlue(c)))
                                     : (0xff000000u | (uint(qBlue(c)) << 16) |
                                        (uint(qGreen(c)) << 8) | uint(qRed(c)));
            const auto* wordBytes = reinterpret_cast<const uchar*>(&word);
            bytes.insert(bytes.end(), wordBytes, wordBytes + 4);
        }
    }
    QVideoSurfaceFormat surfaceFormat(size, format);
    surfaceFormat.setScanLineDirection(bottomToTop ? QVideoSurfaceFormat::BottomToTop
                                                   : QVideoSurfaceFormat::TopToBottom);
    const QImage image = show(makeFrame(format, size, bytes), surfaceFormat);
    QCOMPARE(image.size(), size);
    const int firstRowOnScreen = bottomToTop ? size.height() - 1 : 0;
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            const QRgb expected = y == firstRowOnScreen ? firstRowColour : colours[size_t(x % 4)];
            QVERIFY2(closeTo(image.pixel(x, y), expected),
                     qPrintable(QStringLiteral("pixel %1,%2: %3, expected %4")
                                    .arg(x)
                                    .arg(y)
                                    .arg(rgbText(image.pixel(x, y)), rgbText(expected))));
        }
    }
}

void VideoTest::sizeChangeReallocates() {
    const std::vector<Yuyv> red(8, {81, 90, 81, 240});
    const std::vector<Yuyv> blue(4, {41, 240, 41, 110});
    QVideoFrame large = yuyvFrame(red, 4);
    QImage image = show(large, QVideoSurfaceFormat(large.size(), QVideoFrame::Format_YUYV));
    QVERIFY(closeTo(image.pixel(0, 0), referenceRgb(81, 90, 240)));

    // Same stream, smaller frames: the texture and framebuffer follow the frame.
    QVideoFrame small = yuyvFrame(blue, 2);
    widget_->resize(small.size());
    QVERIFY(widget_->videoSurface()->present(small));
    image = widget_->grabFramebuffer();
    QCOMPARE(image.size(), small.size());
    QVERIFY(closeTo(image.pixel(7, 1), referenceRgb(41, 240, 110)));
    const auto* renderer = dynamic_cast<YUYVFrameRenderer*>(widget_->videoSurface()->renderer());
    QCOMPARE(renderer->framebufferSize(), small.size());
}

void VideoTest::pendingFrameDropsNewerOnes() {
    const std::vector<Yuyv> red(4, {81, 90, 81, 240});
    const std::vector<Yuyv> blue(4, {41, 240, 41, 110});
    const QVideoFrame first = yuyvFrame(red, 2);
    QImage image = show(first, QVideoSurfaceFormat(first.size(), QVideoFrame::Format_YUYV));
    QVERIFY(closeTo(image.pixel(0, 0), referenceRgb(81, 90, 240)));

    CameraSurface* surface = widget_->videoSurface();
    const int offeredBefore = surface->presentCount();
    QVERIFY(surface->present(yuyvFrame(red, 2)));
    QVERIFY(surface->present(yuyvFrame(blue, 2))); // before a paint: dropped, still accepted
    QCOMPARE(surface->presentCount(), offeredBefore + 2);
    image = widget_->grabFramebuffer();
    QVERIFY(closeTo(image.pixel(0, 0), referenceRgb(81, 90, 240)));

    // After the paint the next frame is taken again.
    QVERIFY(surface->present(yuyvFrame(blue, 2)));
    image = widget_->grabFramebuffer();
    QVERIFY(closeTo(image.pixel(0, 0), referenceRgb(41, 240, 110)));
}

void VideoTest::stopClearsPicture() {
    const QVideoFrame frame = yuyvFrame(std::vector<Yuyv>(4, {235, 128, 235, 128}), 2);
    QImage image = show(frame, QVideoSurfaceFormat(frame.size(), QVideoFrame::Format_YUYV));
    QCOMPARE(qRed(image.pixel(1, 1)), 255);
    widget_->videoSurface()->stop();
    QVERIFY(!widget_->videoSurface()->renderer()->frame().isValid());
    image = widget_->grabFramebuffer();
    QCOMPARE(qRed(image.pixel(1, 1)), 0);
    QCOMPARE(qGreen(image.pixel(1, 1)), 0);
}

void VideoTest::paddedRowsDrawnOthersReportedOnce() {
    // Rows of 8 pixels (16 bytes) at a stride of 32: the padding must not shear the picture.
    const Yuyv red{81, 90, 81, 240};
    const Yuyv blue{41, 240, 41, 110};
    std::vector<uchar> bytes;
    for (int row = 0; row < 4; ++row) {
        const Yuyv& p = row % 2 ? blue : red;
        for (int i = 0; i < 4; ++i)
            bytes.insert(bytes.end(), {uchar(p.y0), uchar(p.u), uchar(p.y1), uchar(p.v)});
        bytes.insert(bytes.end(), 16, 0xff);
    }
    const QVideoFrame padded = makeFrame(QVideoFrame::Format_YUYV, QSize(8, 4), bytes);
    const QImage image = show(padded, QVideoSurfaceFormat(padded.size(), QVideoFrame::Format_YUYV));
    for (int y = 0; y < 4; ++y)
        QVERIFY(closeTo(image.pixel(7, y),
                        y % 2 ? referenceRgb(41, 240, 110) : referenceRgb(81, 90, 240)));

    // Claiming more pixels than the buffer holds: never read past its end, and said once.
    qInstallMessageHandler(captureMessage);
    QVideoFrame truncated(64, QSize(64, 64), 128, QVideoFrame::Format_YUYV);
    QCOMPARE(
        show(truncated, QVideoSurfaceFormat(truncated.size(), QVideoFrame::Format_YUYV)).size(),
        truncated.size());
    QVERIFY(widget_->videoSurface()->present(truncated));
    widget_->grabFramebuffer();
    qInstallMessageHandler(nullptr);
    QCOMPARE(logged.filter(QStringLiteral("cannot be drawn")).size(), 1);
}

void VideoTest::replacedRendererReleasesItsTextures() {
    const QVideoFrame frame = yuyvFrame(std::vector<Yuyv>(4, {81, 90, 81, 240}), 2);
    show(frame, QVideoSurfaceFormat(frame.size(), QVideoFrame::Format_YUYV));
    widget_->doneCurrent(); // as between paints, when the camera restarts its stream
    qInstallMessageHandler(captureMessage);
    CameraSurface* surface = widget_->videoSurface();
    surface->stop();
    QVERIFY(surface->start(QVideoSurfaceFormat(frame.size(), QVideoFrame::Format_RGB32)));
    qInstallMessageHandler(nullptr);
    QVERIFY(logged.filter(QStringLiteral("not been destroyed")).isEmpty());
}

void VideoTest::offeredFormats() {
    CameraSurface* surface = widget_->videoSurface();
    const QList<QVideoFrame::PixelFormat> all{QVideoFrame::Format_RGB32, QVideoFrame::Format_BGR32,
                                              QVideoFrame::Format_YUYV};
    QCOMPARE(surface->supportedPixelFormats(QAbstractVideoBuffer::NoHandle), all);
    QVERIFY(surface->supportedPixelFormats(QAbstractVideoBuffer::GLTextureHandle).isEmpty());

    qputenv("GPU_SKIP_YUYV", "1");
    widget_->readRendererOptions();
    QCOMPARE(surface->supportedPixelFormats(QAbstractVideoBuffer::NoHandle), all.mid(0, 2));
    QVERIFY(!surface->start(QVideoSurfaceFormat(QSize(8, 8), QVideoFrame::Format_YUYV)));
    qputenv("GPU_SKIP_YUYV", "yes");
    widget_->readRendererOptions();
    QCOMPARE(surface->supportedPixelFormats(QAbstractVideoBuffer::NoHandle), all);
    QVERIFY(!surface->start(QVideoSurfaceFormat(QSize(8, 8), QVideoFrame::Format_NV12)));
}

void VideoTest::pictureIsLetterboxed() {
    QCOMPARE(CameraViewfinder::pictureRect(QSize(1920, 1080), QSize(1000, 1000)),
             QRect(0, 219, 1000, 562));
    QCOMPARE(CameraViewfinder::pictureRect(QSize(1920, 1080), QSize(2000, 1000)),
             QRect(111, 0, 1777, 1000));
    QCOMPARE(CameraViewfinder::pictureRect(QSize(1280, 720), QSize(1280, 720)),
             QRect(0, 0, 1280, 720));
    CameraViewfinder viewfinder;
    QCOMPARE(viewfinder.minimumSizeHint(), QSize(320, 240));
    QVERIFY(!viewfinder.sizeHint().isValid());
}

void VideoTest::settingsText() {
    QCOMPARE(viewfinderSettingsText(QCameraViewfinderSettings()),
             QStringLiteral("QCameraViewfinderSettings()"));
    QCameraViewfinderSettings settings;
    settings.setResolution(1920, 1080);
    settings.setPixelFormat(QVideoFrame::Format_YUYV);
    settings.setPixelAspectRatio(1, 1);
    settings.setMinimumFrameRate(30);
    settings.setMaximumFrameRate(60);
    QCOMPARE(viewfinderSettingsText(settings),
             QStringLiteral("QCameraViewfinderSettings(QSize(1920, 1080), Format_YUYV, "
                            "PAR:QSize(1, 1), FPS:30-60)"));
}

QSharedPointer<KestalHIDDevice> VideoTest::hidDevice() {
    return KestalHIDDevice::acquire(QStringLiteral("/dev/hidraw1"));
}

void VideoTest::v4l2NodesCarryTheirUsbIdentity() {
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

    const QString camera = platform::cameraSystemName(QStringLiteral("/dev/video2"), sysfs.path());
    QCOMPARE(camera, QStringLiteral("/dev/video2 VID_3b7a&PID_086c"));
    QVERIFY(camera.contains(CameraController::deviceNameMarker(), Qt::CaseInsensitive));
    // Not a USB camera, a node that does not exist, a name of another kind: unchanged.
    for (const char* name : {"/dev/video5", "/dev/video9", "kestal-emulator/camera/VID_1&PID_2"})
        QCOMPARE(platform::cameraSystemName(QString::fromLatin1(name), sysfs.path()),
                 QString::fromLatin1(name));
}

std::unique_ptr<CameraController> VideoTest::searchingController() {
    auto controller = std::make_unique<CameraController>();
    controller->setSearchInterval(std::chrono::milliseconds(20));
    return controller;
}

void VideoTest::cameraFoundOnceListed() {
    QVERIFY(emulator_->control({QStringLiteral("unplug")}));
    auto controller = searchingController();
    QSignalSpy found(controller.get(), &CameraController::foundCamera);
    qInstallMessageHandler(captureMessage);
    const auto device = hidDevice();
    controller->findCamera(device);
    QTRY_VERIFY(logged.filter(QStringLiteral("Retry attempts left")).size() >= 3);
    QVERIFY(emulator_->control({QStringLiteral("plug")}));
    QTRY_COMPARE(found.count(), 1);
    qInstallMessageHandler(nullptr);
    QVERIFY(!logged.contains(QStringLiteral("Failed to find matching camera!")));
    const int attempts = logged.filter(QStringLiteral("Retry attempts left")).size();
    QVERIFY(attempts >= 3 && attempts < 9);

    // The largest resolution the camera lists, in YUYV.
    const QSharedPointer<QCamera> camera = found.at(0).at(0).value<QSharedPointer<QCamera>>();
    QCOMPARE(camera, controller->camera());
    QCOMPARE(camera->viewfinderSettings().resolution(), QSize(1920, 1080));
    QCOMPARE(camera->viewfinderSettings().pixelFormat(), QVideoFrame::Format_YUYV);
    QVERIFY(logged.contains(QStringLiteral("Camera: initialized")));
    QTest::qWait(50);
    QCOMPARE(found.count(), 1);
}

void VideoTest::cameraSearchGivesUp() {
    QVERIFY(emulator_->control({QStringLiteral("unplug")}));
    auto controller = searchingController();
    QSignalSpy found(controller.get(), &CameraController::foundCamera);
    qInstallMessageHandler(captureMessage);
    const auto device = hidDevice(); // a device that goes away ends the search early
    controller->findCamera(device);
    QTRY_VERIFY(logged.contains(QStringLiteral("Failed to find matching camera!")));
    qInstallMessageHandler(nullptr);
    QStringList expected;
    for (int left = 9; left >= 1; --left)
        expected
            << QStringLiteral("Trying to find matching camera. Retry attempts left %1").arg(left);
    QCOMPARE(logged.filter(QStringLiteral("Retry attempts left")), expected);
    QCOMPARE(found.count(), 0);
    QVERIFY(emulator_->control({QStringLiteral("plug")}));
}

void VideoTest::releaseCancelsSearch() {
    QVERIFY(emulator_->control({QStringLiteral("unplug")}));
    auto controller = searchingController();
    controller->setSearchInterval(std::chrono::milliseconds(300)); // room to act between tries
    QSignalSpy found(controller.get(), &CameraController::foundCamera);
    qInstallMessageHandler(captureMessage);
    const auto device = hidDevice();
    controller->findCamera(device);
    QTRY_COMPARE(logged.filter(QStringLiteral("Retry attempts left")).size(), 2);
    controller->releaseCamera();
    QVERIFY(emulator_->control({QStringLiteral("plug")})); // too late: the search was given up
    QTRY_VERIFY(logged.contains(QStringLiteral("Failed to find matching camera!")));
    QTest::qWait(100);
    qInstallMessageHandler(nullptr);
    QCOMPARE(logged.filter(QStringLiteral("Retry attempts left")).size(), 2);
    QCOMPARE(logged.count(QStringLiteral("Failed to find matching camera!")), 1);
    QCOMPARE(found.count(), 0);
}

void VideoTest::sessionGates() {
    QVERIFY(emulator_->control({QStringLiteral("plug")}));
    auto controller = searchingController();
    QSignalSpy found(controller.get(), &CameraController::foundCamera);
    const auto device = hidDevice();
    controller->findCamera(device);
    QTRY_COMPARE(found.count(), 1);
    QSignalSpy starting(controller.get(), &CameraController::startingSession);
    QSignalSpy resuming(controller.get(), &CameraController::resuming);
    QSignalSpy active(controller.get(), &CameraController::active);
    QSignalSpy pausing(controller.get(), &CameraController::pausing);
    QSignalSpy paused(controller.get(), &CameraController::paused);

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

QTEST_MAIN(VideoTest)
#include "tst_video.moc"
