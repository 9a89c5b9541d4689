// The real program against the emulated device, on the X server of the test run: plug, HDMI,
// another program's stream and unplug, and the program's face with and without a tray, watched
// through the program's log and its windows.

#include "childprocess.h"
#include "emulatorprocess.h"
#include "privatesessionbus.h"
#include "sessionsandbox.h"
#include "testhttpserver.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QImage>
#include <QtTest>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
// Xlib's type macro would rename the meta-type enumerator in generated code.
#undef Bool

#include <memory>

namespace {

constexpr int kStepTimeoutMs = 20000;

// Finds a top-level window of the X server by its title.
class XDisplay {
public:
    XDisplay()
        : display_(XOpenDisplay(nullptr)) {
        // A window may go or not yet be mapped between finding and grabbing it: such a request
        // fails, and the caller tries again, instead of Xlib ending the test.
        XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
    }
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

    // A window of one colour over the whole screen, on top of the others until the display
    // closes.
    void cover(QRgb colour) {
        const Screen* screen = DefaultScreenOfDisplay(display_);
        XMapRaised(display_, XCreateSimpleWindow(display_, DefaultRootWindow(display_), 0, 0,
                                                 static_cast<unsigned>(screen->width),
                                                 static_cast<unsigned>(screen->height), 0, 0,
                                                 colour & 0xffffffu));
        XFlush(display_);
    }

    // What the screen shows at the centre of `window`, whichever window is on top there.
    QRgb colourOnScreenAtCentreOf(Window window) {
        XWindowAttributes attributes;
        int x = 0, y = 0;
        Window child = 0;
        if (!XGetWindowAttributes(display_, window, &attributes) ||
            !XTranslateCoordinates(display_, window, DefaultRootWindow(display_),
                                   attributes.width / 2, attributes.height / 2, &x, &y, &child))
            return 0;
        const QImage image = grab(DefaultRootWindow(display_), x, y, 1, 1);
        return image.isNull() ? 0 : image.pixel(0, 0);
    }

    QImage grab(Window window) {
        XWindowAttributes attributes;
        if (!XGetWindowAttributes(display_, window, &attributes) ||
            attributes.map_state != IsViewable)
            return QImage();
        return grab(window, 0, 0, attributes.width, attributes.height);
    }

private:
    // The server's 24-bit pixels in 32 bits each, as the test's X server keeps them.
    QImage grab(Window window, int x, int y, int width, int height) {
        XImage* image = XGetImage(display_, window, x, y, static_cast<unsigned>(width),
                                  static_cast<unsigned>(height), AllPlanes, ZPixmap);
        if (!image)
            return QImage();
        const QImage copy = QImage(reinterpret_cast<const uchar*>(image->data), width, height,
                                   image->bytes_per_line, QImage::Format_RGB32)
                                .copy();
        XDestroyImage(image);
        return copy;
    }
    Window search(Window parent, const QString& title) {
        Window root = 0, parentOfParent = 0, *children = nullptr;
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

// Stands in for a desktop's tray (as KDE's or Xfce's), so the program puts its icon and menu
// on the session bus, where the test can open the menu's entries like a user.
class StatusNotifierWatcher : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(bool IsStatusNotifierHostRegistered READ isHostRegistered)
public:
    explicit StatusNotifierWatcher(const PrivateSessionBus& bus)
        : bus_(bus.connection()) {
        valid_ = bus_.registerObject(QStringLiteral("/StatusNotifierWatcher"), this,
                                     QDBusConnection::ExportAllContents) &&
                 bus_.registerService(QStringLiteral("org.kde.StatusNotifierWatcher"));
    }
    bool isValid() const { return valid_; }
    bool isHostRegistered() const { return true; }
    QString item() const { return item_; }

    // The labels of the item's menu entries by id, submenus included.
    QMap<int, QString> menuLabels() {
        QList<int> ids;
        for (int id = 0; id < 100; ++id)
            ids << id;
        const QDBusMessage reply =
            call("/MenuBar", "com.canonical.dbusmenu", "GetGroupProperties",
                 {QVariant::fromValue(ids), QStringList{QStringLiteral("label")}});
        const QDBusArgument items = reply.arguments().value(0).value<QDBusArgument>();
        QMap<int, QString> labels;
        items.beginArray();
        while (!items.atEnd()) {
            int id = 0;
            QVariantMap properties;
            items.beginStructure();
            items >> id >> properties;
            items.endStructure();
            labels.insert(id, properties.value(QStringLiteral("label")).toString());
        }
        items.endArray();
        return labels;
    }

    // A click on the menu entry `id`, as a desktop's tray sends it.
    bool clickMenuEntry(int id) {
        return call("/MenuBar", "com.canonical.dbusmenu", "Event",
                    {id, QStringLiteral("clicked"), QVariant::fromValue(QDBusVariant(0)), 0u})
                   .type() == QDBusMessage::ReplyMessage;
    }

public slots:
    void RegisterStatusNotifierItem(const QString& service) { item_ = service; }

private:
    QDBusMessage call(const char* path, const char* interface, const char* method,
                      const QVariantList& arguments) {
        QDBusMessage message = QDBusMessage::createMethodCall(
            item_, QLatin1String(path), QLatin1String(interface), QLatin1String(method));
        message.setArguments(arguments);
        return bus_.call(message);
    }

    QDBusConnection bus_;
    QString item_;
    bool valid_ = false;
};

} // namespace

class EndToEndTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
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
        if (!x.isOpen())
            QSKIP("needs an X server (the suite runs under xvfb-run)");
    }
    void cleanupTestCase() {
        castwell_.reset();
        emulator_.reset();
    }
    void shareFollowsTheDevice() {
        // A desktop with a tray. That the window is hidden while there is nothing to share is
        // left to the controller suite.
        PrivateSessionBus bus;
        StatusNotifierWatcher tray(bus);
        QVERIFY(tray.isValid());
        startCastwell(bus);
        QVERIFY(waitForLog(QStringLiteral("Desktop: system tray; the program lives in its icon")) &&
                waitForState(1));

        // The icon and its menu are on the session bus; the UI suite checks the other entries.
        QTRY_VERIFY_WITH_TIMEOUT(!tray.item().isEmpty(), kStepTimeoutMs);
        const QMap<int, QString> labels = tray.menuLabels();
        QVERIFY(labels.values().contains(QStringLiteral("Launch at Startup")));

        QVERIFY(control("plug") && waitForLog(QStringLiteral("Connected HID")) &&
                waitForLog(QStringLiteral("Camera: initialized")) && waitForState(2));
        QVERIFY(control("hdmi on") && waitForState(6) && waitForState(7));

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

        QVERIFY(control("hdmi off") && waitForState(2));
        QVERIFY(control("other-stream on") && control("hdmi on") && waitForState(3));
        QVERIFY(control("unplug") && waitForState(1));

        QVERIFY(tray.clickMenuEntry(labels.key(QStringLiteral("Exit"))));
        QVERIFY(castwell_->waitForFinished(10000));
        QCOMPARE(castwell_->exitStatus(), QProcess::NormalExit);
        QCOMPARE(castwell_->exitCode(), 0);
    }
    // Where the desktop has no tray (a bare X server here), the main window is the program's face:
    // shown at start with its state, brought to the front by a second start.
    void windowStandsInWithoutTray() {
        QVERIFY(control("unplug"));
        PrivateSessionBus bus;
        startCastwell(bus);
        QVERIFY(waitForLog(QStringLiteral(
                    "Desktop: no system tray; the main window stands in for the icon")) &&
                waitForState(1));

        Window window = 0;
        QTRY_VERIFY_WITH_TIMEOUT(
            (window = x.findWindow(QStringLiteral("Quendral Castwell - Device Not Detected"))) != 0,
            kStepTimeoutMs);
        QTRY_VERIFY_WITH_TIMEOUT(x.isViewable(window), kStepTimeoutMs);
        // The state page's dark background, not a window still blank.
        QImage screenshot;
        QTRY_VERIFY_WITH_TIMEOUT(
            (screenshot = x.grab(window),
             !screenshot.isNull() && screenshot.pixel(8, 8) == qRgb(0x2f, 0x31, 0x32)),
            kStepTimeoutMs);
        QVERIFY(QDir().mkpath(QStringLiteral(ARTIFACTS_DIR)));
        QVERIFY(screenshot.save(QStringLiteral(ARTIFACTS_DIR "/no-tray-window.png")));

        // Covered by another window, it comes to the front when the program is started again.
        const QRgb red = qRgb(255, 0, 0);
        const auto centre = [&] {
            return x.colourOnScreenAtCentreOf(window);
        };
        x.cover(red);
        QTRY_COMPARE_WITH_TIMEOUT(centre(), red, kStepTimeoutMs);
        ChildProcess second;
        second.setProcessEnvironment(castwell_->processEnvironment());
        second.start(QStringLiteral(CASTWELL_BINARY), QStringList());
        QVERIFY(second.waitForFinished(kStepTimeoutMs));
        QCOMPARE(second.exitCode(), 1);
        QTRY_VERIFY_WITH_TIMEOUT(centre() != red, kStepTimeoutMs);

        castwell_->terminate();
        QVERIFY(castwell_->waitForFinished(10000));
    }

    // As it ships, with automatic firmware updates on and nothing to share: newer firmware that
    // the update server offers for the device's version is flashed without a click; firmware
    // signed with another key is not.
    void firmwareUpdatesItself() {
        QVERIFY(control("plug") && control("hdmi off") && control("time-scale 0") &&
                control("set-version 1.0.0"));
        const QString image = session_.path(QStringLiteral("mcr_flashimage.bin"));
        QCOMPARE(QProcess::execute(EmulatorProcess::binary(),
                                   {QStringLiteral("make-image"), QStringLiteral("1.1.0"), image}),
                 0);
        const QString files = QStringLiteral("/quendral/vc/086c/%1/0/w10/64/mcr_flashimage.bin%2");
        const QString path = files.arg(QLatin1String("01.00.000"), QString());
        TestHttpServer server;
        server.setResponse(path, {200, contents(image)});
        for (const bool makersKey : {false, true}) {
            const QString key = QStringLiteral(TEST_DATA_DIR "/keys/firmware-%1.pem")
                                    .arg(QLatin1String(makersKey ? "dev" : "other"));
            QProcess sign;
            sign.start(QStringLiteral(SIGN_SCRIPT), {key, image});
            QVERIFY(sign.waitForFinished() && sign.exitCode() == 0);
            server.setResponse(path + QStringLiteral(".sig"),
                               {200, contents(image + QStringLiteral(".sig"))});
            PrivateSessionBus bus;
            startCastwell(bus, server.baseUrl());
            QVERIFY(waitForLog(QStringLiteral("installing update from 1.0.0 version")));
            QVERIFY(waitForLog(makersKey ? QStringLiteral("Firmware successfully updated!")
                                         : QStringLiteral("Downloaded firmware signature check "
                                                          "failed!"),
                               60000));
            // Back with the new firmware, the device has the program ask about its new version.
            QTRY_VERIFY_WITH_TIMEOUT(!makersKey || server.requests().contains(files.arg(
                                                       QLatin1String("01.01.000"), ".sig")),
                                     kStepTimeoutMs);
            castwell_->terminate();
            QVERIFY(castwell_->waitForFinished(10000));
        }
    }

    // A Wayland desktop (headless Weston): a share started with the settings as they come leaves
    // the window up and showing the picture.
    void shareOnWayland() {
        if (QStandardPaths::findExecutable(QStringLiteral("weston")).isEmpty())
            QSKIP("needs weston");
        // Screenshots of the headless output need its software renderer and the debug protocols.
        ChildProcess compositor;
        compositor.setProcessEnvironment(environment_);
        compositor.start(QStringLiteral("weston"),
                         QStringLiteral("--backend=headless-backend.so --use-pixman "
                                        "--debug --idle-time=0 --socket=wl-e2e")
                             .split(QLatin1Char(' ')));
        const QProcessEnvironment x11 = environment_;
        const auto restoreX11 = qScopeGuard([&] { environment_ = x11; });
        environment_.remove(QStringLiteral("DISPLAY"));
        environment_.insert(QStringLiteral("WAYLAND_DISPLAY"), QStringLiteral("wl-e2e"));
        environment_.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("wayland"));
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(session_.path(QStringLiteral("runtime/wl-e2e"))),
                                 kStepTimeoutMs);

        QVERIFY(control("plug") && control("other-stream off") && control("hdmi off"));
        PrivateSessionBus bus;
        startCastwell(bus);
        QVERIFY(waitForState(2) && control("hdmi on") && waitForState(6) && waitForState(7));

        // The compositor takes a screenshot at its next repaint, which only a change on screen
        // brings: a live picture does at once, a minimized window never.
        const QDir shots(session_.path(QStringLiteral("runtime")));
        QImage screen;
        const auto showsPicture = [&] {
            ChildProcess shooter;
            shooter.setProcessEnvironment(environment_);
            shooter.setWorkingDirectory(shots.path());
            shooter.start(QStringLiteral("weston-screenshooter"), QStringList());
            if (!shooter.waitForFinished(5000) ||
                !screen.load(shots.filePath(
                    shots.entryList({QStringLiteral("*.png")}, QDir::Files, QDir::Time).value(0))))
                return false;
            screen.save(QStringLiteral(ARTIFACTS_DIR "/sharing-window-wayland.png"));
            // The test pattern's colour bars across most of the screen, not the desktop's grey.
            int colourful = 0;
            for (int column = 0; column < screen.width(); ++column)
                colourful +=
                    QColor(screen.pixel(column, screen.height() * 3 / 4)).saturation() > 100;
            return colourful > screen.width() / 2;
        };
        QVERIFY(QTest::qWaitFor(showsPicture, kStepTimeoutMs));
    }

private:
    static QByteArray contents(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    // Starts the program with its log, on `bus` as its session bus, asking `updateServer` for
    // updates when given.
    void startCastwell(const PrivateSessionBus& bus, const QString& updateServer = QString()) {
        QProcessEnvironment environment = environment_;
        environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), bus.address());
        if (!updateServer.isEmpty())
            environment.insert(QStringLiteral("CASTWELL_UPDATE_SERVER"), updateServer);
        castwell_ = std::make_unique<ChildProcess>();
        castwell_->setProcessEnvironment(environment);
        castwell_->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        castwell_->start(QStringLiteral(CASTWELL_BINARY), {QStringLiteral("--log")});
    }
    bool control(const char* words) {
        return emulator_->control(QString::fromLatin1(words).split(QLatin1Char(' ')));
    }
    // Waits for `line` to appear in the log after the last line found, so a step cannot be
    // satisfied by an earlier one.
    bool waitForLog(const QString& line, int timeoutMs = kStepTimeoutMs) {
        int at = -1;
        const auto found = [&] {
            return (at = logText().indexOf(line, logOffset_)) >= 0;
        };
        if (QTest::qWaitFor([&] { return found() || castwell_->state() == QProcess::NotRunning; },
                            timeoutMs) &&
            (at >= 0 || found())) {
            logOffset_ = at + line.size();
            return true;
        }
        // What the program did meanwhile is the first thing a failed step needs.
        qWarning().noquote() << "Waited in vain for" << line << "; the log ends with:\n"
                             << logText().mid(logOffset_).right(4000);
        return false;
    }
    bool waitForState(int state) {
        return waitForLog(QStringLiteral("Application state: %1").arg(state));
    }
    QString logText() const {
        QFile log(session_.path(QStringLiteral("tmp/Castwell.log")));
        return log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll()) : QString();
    }

    // The X server starts afresh whenever its last client leaves; a case that connects
    // meanwhile would find none. This connection keeps it up between the cases.
    XDisplay x;
    SessionSandbox session_;
    std::unique_ptr<EmulatorProcess> emulator_;
    QProcessEnvironment environment_;
    std::unique_ptr<ChildProcess> castwell_;
    int logOffset_ = 0;
};

QTEST_GUILESS_MAIN(EndToEndTest)
#include "tst_endtoend.moc"
