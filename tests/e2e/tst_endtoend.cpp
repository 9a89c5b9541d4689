// The real program against the emulated device, on the X server of the test run: plug, HDMI,
// another program's stream and unplug, watched through the program's log and its window.

#include "emulatorprocess.h"
#include "sessionsandbox.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QtTest>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <memory>

namespace {

constexpr int kStepTimeoutMs = 20000;

// Finds a top-level window of the X server by its title.
class XDisplay {
public:
    XDisplay()
        : display_(XOpenDisplay(nullptr)) {}
    ~XDisplay() {
        if (display_)
            XCloseDisplay(display_);
    }
    XDisplay(const XDisplay&) = delete;
    XDisplay& operator=(const XDisplay&) = delete;

    bool isOpen() const { return display_ != nullptr; }

    Window findWindow(const QString& title) { return search(DefaultRootWindow(display_), title); }

    bool isViewable(Window window) {
        XWindowAttributes attributes;
        return XGetWindowAttributes(display_, window, &attributes) &&
               attributes.map_state == IsViewable;
    }

    QImage grab(Window window) {
        XWindowAttributes attributes;
        if (!XGetWindowAttributes(display_, window, &attributes))
            return QImage();
        XImage* image = XGetImage(display_, window, 0, 0, static_cast<unsigned>(attributes.width),
                                  static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
        if (!image)
            return QImage();
        QImage result(attributes.width, attributes.height, QImage::Format_RGB32);
        for (int y = 0; y < attributes.height; ++y) {
            for (int x = 0; x < attributes.width; ++x)
                result.setPixel(x, y, static_cast<QRgb>(XGetPixel(image, x, y)) | 0xff000000u);
        }
        XDestroyImage(image);
        return result;
    }

private:
    Window search(Window parent, const QString& title) {
        Window root = 0;
        Window parentOfParent = 0;
        Window* children = nullptr;
        unsigned int count = 0;
        if (!XQueryTree(display_, parent, &root, &parentOfParent, &children, &count))
            return 0;
        Window found = 0;
        for (unsigned int i = 0; i < count && !found; ++i) {
            char* name = nullptr;
            if (XFetchName(display_, children[i], &name) && name) {
                if (QString::fromLatin1(name) == title)
                    found = children[i];
                XFree(name);
            }
            if (!found)
                found = search(children[i], title);
        }
        if (children)
            XFree(children);
        return found;
    }

    Display* display_;
};

} // namespace

class EndToEndTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void shareFollowsTheDevice();

private:
    bool control(const QStringList& words);
    bool waitForLog(const QString& line, int timeoutMs = kStepTimeoutMs);
    bool waitForState(int state) {
        return waitForLog(QStringLiteral("Application state: %1").arg(state));
    }
    QString logText() const;

    SessionSandbox session_;
    std::unique_ptr<EmulatorProcess> emulator_;
    QProcessEnvironment environment_;
    std::unique_ptr<QProcess> castwell_;
    qint64 logOffset_ = 0;
};

void EndToEndTest::initTestCase() {
    QVERIFY(session_.isValid());
    const QString socket = session_.path(QStringLiteral("runtime/emulator.sock"));
    environment_ = session_.environment();
    environment_.insert(QStringLiteral("KESTAL_EMULATOR"), socket);
    environment_.insert(QStringLiteral("QT_PLUGIN_PATH"), QStringLiteral(EMULATOR_PLUGIN_DIR));
    environment_.insert(QStringLiteral("KESTAL_EMULATOR_AUDIO_RECORD"),
                        session_.path(QStringLiteral("played.raw")));
    environment_.remove(QStringLiteral("QT_QPA_PLATFORM"));
    emulator_ =
        std::make_unique<EmulatorProcess>(socket, QStringList{QStringLiteral("--detached")});
    QVERIFY(emulator_->isRunning());
}

void EndToEndTest::cleanupTestCase() {
    if (castwell_ && castwell_->state() != QProcess::NotRunning) {
        castwell_->kill();
        castwell_->waitForFinished(5000);
    }
    emulator_.reset();
}

bool EndToEndTest::control(const QStringList& words) {
    return emulator_->control(words);
}

QString EndToEndTest::logText() const {
    QFile log(session_.path(QStringLiteral("tmp/Castwell.log")));
    if (!log.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(log.readAll());
}

// Waits for `line` to appear in the log after the last line found, so a step cannot be
// satisfied by an earlier one.
bool EndToEndTest::waitForLog(const QString& line, int timeoutMs) {
    QElapsedTimer timer;
    timer.start();
    for (;;) {
        const QString text = logText();
        const int at = text.indexOf(line, static_cast<int>(logOffset_));
        if (at >= 0) {
            logOffset_ = at + line.size();
            return true;
        }
        if (timer.elapsed() > timeoutMs || castwell_->state() == QProcess::NotRunning)
            return false;
        QTest::qWait(50);
    }
}

void EndToEndTest::shareFollowsTheDevice() {
    XDisplay x;
    if (!x.isOpen())
        QSKIP("needs an X server (the suite runs under xvfb-run)");

    castwell_ = std::make_unique<QProcess>();
    castwell_->setProcessEnvironment(environment_);
    castwell_->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    castwell_->start(QStringLiteral(CASTWELL_BINARY), {QStringLiteral("--log")});
    QVERIFY(castwell_->waitForStarted());
    QVERIFY(waitForState(1));

    QVERIFY(control({QStringLiteral("plug")}));
    QVERIFY(waitForLog(QStringLiteral("Connected HID")));
    QVERIFY(waitForLog(QStringLiteral("Camera: initialized")));
    QVERIFY(waitForState(2));

    QVERIFY(control({QStringLiteral("hdmi"), QStringLiteral("on")}));
    QVERIFY(waitForState(6));
    QVERIFY(waitForState(7));

    const QString sharingTitle = QStringLiteral("Quendral Castwell - Sharing Screen");
    Window window = 0;
    QTRY_VERIFY_WITH_TIMEOUT((window = x.findWindow(sharingTitle)) != 0, kStepTimeoutMs);
    QTRY_VERIFY_WITH_TIMEOUT(x.isViewable(window), kStepTimeoutMs);

    // The test pattern's colour bars fill the picture: saturated colours, not a blank page.
    QImage screenshot;
    QTRY_VERIFY_WITH_TIMEOUT(
        [&] {
            screenshot = x.grab(window);
            int colourful = 0;
            for (int i = 1; i < 16; ++i) {
                const QColor c(
                    screenshot.pixel(screenshot.width() * i / 16, screenshot.height() * 3 / 4));
                colourful += c.saturation() > 100 && c.value() > 100;
            }
            return colourful >= 8;
        }(),
        kStepTimeoutMs);
    const QString artifact = QStringLiteral(SCREENSHOT_PATH);
    QDir().mkpath(QFileInfo(artifact).absolutePath());
    QVERIFY(screenshot.save(artifact));

    // The sound went through to the output.
    const QString played = session_.path(QStringLiteral("played.raw"));
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(played).size() > 48000, kStepTimeoutMs);

    QVERIFY(control({QStringLiteral("hdmi"), QStringLiteral("off")}));
    QVERIFY(waitForState(2));
    QTRY_VERIFY_WITH_TIMEOUT(!x.isViewable(window), kStepTimeoutMs);

    QVERIFY(control({QStringLiteral("other-stream"), QStringLiteral("on")}));
    QVERIFY(control({QStringLiteral("hdmi"), QStringLiteral("on")}));
    QVERIFY(waitForState(3));

    QVERIFY(control({QStringLiteral("unplug")}));
    QVERIFY(waitForState(1));

    castwell_->terminate();
    QVERIFY(castwell_->waitForFinished(10000));
    QCOMPARE(castwell_->exitStatus(), QProcess::NormalExit);
    QCOMPARE(castwell_->exitCode(), 0);
    QVERIFY(logText().contains(QStringLiteral("App quit: ")));
}

QTEST_GUILESS_MAIN(EndToEndTest)
#include "tst_endtoend.moc"
