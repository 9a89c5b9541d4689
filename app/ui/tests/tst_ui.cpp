#include "aboutbox.h"
#include "desktopnotifications.h"
#include "kestalactionmenu.h"
#include "kestalmainwindow.h"
#include "privatesessionbus.h"
#include "settings.h"
#include "trayiconmenu.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QStackedWidget>
#include <QSvgRenderer>
#include <QSystemTrayIcon>
#include <QtTest>

#include <memory>

using Getter = bool (Settings::*)() const;
using Setter = void (Settings::*)(bool);
Q_DECLARE_METATYPE(Getter)
Q_DECLARE_METATYPE(Setter)

namespace {

// Stands in for the desktop's notification service and keeps what it was asked to show.
class NotificationService : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    QList<QVariantList> shown;

public slots:
    uint Notify(const QString& application, uint replaces, const QString& icon,
                const QString& summary, const QString& body, const QStringList&,
                const QVariantMap& hints, int timeout) {
        shown << QVariantList{application, replaces, icon,
                              summary,     body,     hints.value(QStringLiteral("desktop-entry")),
                              timeout};
        return 7;
    }
};

const QString kAppIcon = QStringLiteral(":/app.svg");

// The icon appears with the first showIcon(), in the state the menu is in by then.
QSystemTrayIcon* trayIconOf(TrayIconMenu& tray) {
    tray.showIcon();
    return tray.findChild<QSystemTrayIcon*>();
}

QAction* entry(QMenu* menu, const QString& text) {
    for (QAction* action : menu->actions())
        if (action->text() == text)
            return action;
    return nullptr;
}

// The entries of `actions` that pass `test`, by their text.
template <class Test> QStringList texts(const QList<QAction*>& actions, Test test) {
    QStringList result;
    for (QAction* action : actions)
        if (test(action))
            result << action->text();
    return result;
}

// The visible entries of the action menu part (state line, pause, resume), as shown.
QStringList visibleStateEntries(QMenu* menu) {
    return texts(menu->actions().mid(0, 3), [](QAction* action) { return action->isVisible(); });
}

// The window's own menu: the one action menu that is not the tray's.
KestalActionMenu* windowMenu(QMenu* trayMenu = nullptr) {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* menu = qobject_cast<KestalActionMenu*>(widget);
        if (menu && menu != trayMenu)
            return menu;
    }
    return nullptr;
}

QString pageOf(KestalMainWindow& window) {
    return window.findChild<QStackedWidget*>(QStringLiteral("central_pager"))
        ->currentWidget()
        ->objectName();
}

QString labelText(KestalMainWindow& window, const char* name) {
    return window.findChild<QLabel*>(QLatin1String(name))->text();
}

} // namespace

class UiTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        // The program lives in the tray; closing its window must not end the test run either.
        QApplication::setQuitOnLastWindowClosed(false);
    }

    void stateTable_data() {
        QTest::addColumn<ApplicationState>("from");
        QTest::addColumn<ApplicationState>("state");
        QTest::addColumn<QString>("entry");  // the one visible state entry of the menus
        QTest::addColumn<QString>("status"); // tooltip and title suffix
        QTest::addColumn<bool>("grey");
        QTest::addColumn<QString>("page");
        QTest::addColumn<bool>("closeMinimizes");

        const char *noDevice = "Device Not Detected", *noSource = "HDMI Source Not Detected",
                   *resume = "Resume Sharing", *notConnected = "page_kestal_not_connected",
                   *statusPage = "page_global_str";
        // Each row starts from another state, so that every entry and page has to change.
        QTest::newRow("0") << Sharing << Initial << noDevice << noDevice << true << notConnected
                           << false;
        QTest::newRow("1") << Sharing << NoDevice << noDevice << noDevice << true << notConnected
                           << false;
        QTest::newRow("2") << Sharing << NoHdmiSource << noSource << noSource << true << statusPage
                           << false;
        QTest::newRow("3") << Sharing << DeviceInUse << resume
                           << "Device in Use by Another Application" << true << statusPage << true;
        QTest::newRow("4") << Sharing << Paused << resume << "Sharing Paused" << true << statusPage
                           << true;
        QTest::newRow("5") << Sharing << Pausing << "Pausing"
                           << "Pausing" << false << statusPage << true;
        QTest::newRow("6") << Sharing << Starting << "Starting"
                           << "Starting" << false << statusPage << true;
        QTest::newRow("7") << Paused << Sharing << "Pause Sharing"
                           << "Sharing Screen" << false << "page_camera" << true;
        // An unknown value changes nothing shown, but is kept: above "in use", closing minimizes.
        QTest::newRow("unknown") << NoHdmiSource << static_cast<ApplicationState>(8) << noSource
                                 << noSource << true << statusPage << true;
    }
    void stateTable() {
        QFETCH(ApplicationState, from);
        QFETCH(ApplicationState, state);
        QFETCH(QString, entry);
        QFETCH(QString, status);
        QFETCH(bool, grey);
        QFETCH(QString, page);
        QFETCH(bool, closeMinimizes);

        const IconSet icons(kAppIcon);
        TrayIconMenu tray(icons);
        tray.setState(from);
        tray.setState(state);
        QCOMPARE(visibleStateEntries(trayIconOf(tray)->contextMenu()), QStringList{entry});
        QCOMPARE(trayIconOf(tray)->toolTip(), status);
        QCOMPARE(trayIconOf(tray)->icon().cacheKey(),
                 (grey ? icons.grey : icons.normal).cacheKey());

        KestalMainWindow window;
        window.setState(from);
        window.setState(state);
        QCOMPARE(visibleStateEntries(windowMenu(trayIconOf(tray)->contextMenu())),
                 QStringList{entry});
        QCOMPARE(pageOf(window), page);
        QCOMPARE(window.windowTitle(), QStringLiteral("Quendral Castwell - ") + status);
        if (page == QLatin1String("page_global_str"))
            QCOMPARE(labelText(window, "lbl_global_str"), status);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.close(), !closeMinimizes);
        QCOMPARE(window.isVisible(), closeMinimizes);
        QCOMPARE(window.isMinimized(), closeMinimizes);
    }
    void entriesEmitTheirSignals() {
        // The grey and dark variants are found beside the icon.
        const IconSet icons(kAppIcon);
        const QImage normal = icons.normal.pixmap(32).toImage();
        QVERIFY(!normal.isNull());
        for (const QIcon& variant : {icons.dark, icons.grey})
            QVERIFY(!variant.pixmap(32).isNull() && variant.pixmap(32).toImage() != normal);

        TrayIconMenu tray(icons);
        QVERIFY(trayIconOf(tray)->toolTip().isEmpty()); // until the first state
        KestalMainWindow window;
        QMenu* menus[] = {trayIconOf(tray)->contextMenu(),
                          windowMenu(trayIconOf(tray)->contextMenu())};
        QObject* owners[] = {&tray, &window};
        for (int i = 0; i < 2; ++i) {
            QSignalSpy pause(owners[i], SIGNAL(pauseRequested()));
            QSignalSpy resume(owners[i], SIGNAL(resumeRequested()));
            tray.setState(Sharing);
            window.setState(Sharing);
            entry(menus[i], QStringLiteral("Pause Sharing"))->trigger();
            tray.setState(Paused);
            window.setState(Paused);
            entry(menus[i], QStringLiteral("Resume Sharing"))->trigger();
            QVERIFY(pause.count() == 1 && resume.count() == 1);
        }
        QSignalSpy about(&tray, &TrayIconMenu::aboutRequested);
        QSignalSpy quit(&tray, &TrayIconMenu::quitRequested);
        entry(menus[0], QStringLiteral("About"))->trigger();
        entry(menus[0], QStringLiteral("Exit"))->trigger();
        QVERIFY(about.count() == 1 && quit.count() == 1);

        // Only a double click on the icon counts.
        QSignalSpy doubleClicked(&tray, &TrayIconMenu::iconDoubleClicked);
        emit trayIconOf(tray)->activated(QSystemTrayIcon::Trigger);
        emit trayIconOf(tray)->activated(QSystemTrayIcon::Context);
        emit trayIconOf(tray)->activated(QSystemTrayIcon::DoubleClick);
        QCOMPARE(doubleClicked.count(), 1);
    }
    void checkBoxesFollowSettings_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<Getter>("getter");
        QTest::addColumn<Setter>("setter");

        QTest::newRow("maximize") << QStringLiteral("Maximize on Share")
                                  << &Settings::maximizeOnShare << &Settings::setMaximizeOnShare;
        QTest::newRow("front") << QStringLiteral("Bring to Front on Share")
                               << &Settings::toFrontOnShare << &Settings::setToFrontOnShare;
        QTest::newRow("notifications")
            << QStringLiteral("Notifications") << &Settings::notificationOnStateChange
            << &Settings::setNotificationOnStateChange;
        QTest::newRow("firmware") << QStringLiteral("Auto Update Firmware")
                                  << &Settings::autoUpdateFW << &Settings::setAutoUpdateFW;
    }
    void checkBoxesFollowSettings() {
        QFETCH(QString, text);
        QFETCH(Getter, getter);
        QFETCH(Setter, setter);

        // Only the switch under test is off, so a box bound to the wrong switch shows up.
        Settings* settings = Settings::instance();
        for (Setter each : {&Settings::setMaximizeOnShare, &Settings::setToFrontOnShare,
                            &Settings::setNotificationOnStateChange, &Settings::setAutoUpdateFW})
            (settings->*each)(true);
        (settings->*setter)(false);

        TrayIconMenu tray{IconSet(kAppIcon)};
        tray.bindSettings(settings);
        QMenu* settingsMenu =
            entry(trayIconOf(tray)->contextMenu(), QStringLiteral("Settings"))->menu();
        const auto checkedBoxes = [&] {
            return texts(settingsMenu->actions(),
                         [](QAction* action) { return action->isChecked(); });
        };
        const QStringList others = checkedBoxes();
        QVERIFY(others.size() == 3 && !others.contains(text));

        // The user ticks it: the setting follows, and all four are on.
        entry(settingsMenu, text)->trigger();
        QCOMPARE(checkedBoxes().size(), 4);
        QVERIFY((settings->*getter)());
        (settings->*setter)(false);
        QCOMPARE(checkedBoxes(), others);
        (settings->*setter)(true);
        QCOMPARE(checkedBoxes().size(), 4);
    }
    void textsFollowLanguage() {
        KestalMainWindow window;
        window.setState(NoHdmiSource);
        KestalActionMenu* menu = windowMenu();
        const auto texts = [&] {
            return QStringList{menu->actions()[0]->text(), menu->actions()[1]->text(),
                               labelText(window, "lbl_kestal_not_connected"),
                               labelText(window, "lbl_global_str")};
        };
        QTranslator german;
        QVERIFY(german.load(QStringLiteral(":/tr/application_de.qm")));
        QVERIFY(QCoreApplication::installTranslator(&german));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
        const QStringList translated = texts();
        QCoreApplication::removeTranslator(&german);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);

        QCOMPARE(translated, (QStringList{"Keine HDMI-Quelle erkannt", "Freigabe pausieren",
                                          "Castwell nicht erkannt", "Keine HDMI-Quelle erkannt"}));
        QCOMPARE(texts().at(1), QStringLiteral("Pause Sharing"));
    }
    void fullScreenByDoubleClickAndKeys() {
        KestalMainWindow window;
        window.setState(Sharing);
        window.showNormal();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QSignalSpy doubleClicks(&window, &KestalMainWindow::screenDoubleClick);
        // Double clicks reach the window through the page under the pointer, as a real click would.
        QWidget* page =
            window.findChild<QStackedWidget*>(QStringLiteral("central_pager"))->currentWidget();

        QTest::keyClick(&window, Qt::Key_Escape); // outside full screen: nothing
        QTest::mouseDClick(page, Qt::RightButton);
        QCOMPARE(window.windowState(), Qt::WindowNoState);
        QCOMPARE(doubleClicks.count(), 0);
        QTest::mouseDClick(page, Qt::LeftButton);
        QCOMPARE(doubleClicks.count(), 1);
        QVERIFY(window.isFullScreen());
        // Never changed by the user, the window leaves full screen maximized.
        QTest::mouseDClick(page, Qt::LeftButton);
        QCOMPARE(window.windowState(), Qt::WindowMaximized);

        // The platform's full-screen key (F11 where it names none) toggles; Escape leaves.
        QKeySequence fullScreenKey(QKeySequence::FullScreen);
        if (fullScreenKey.isEmpty())
            fullScreenKey = QKeySequence(Qt::Key_F11);
        window.showNormal();
        QTest::keySequence(&window, fullScreenKey);
        QVERIFY(window.isFullScreen());
        QTest::keyClick(&window, Qt::Key_Escape);
        QCOMPARE(window.windowState(), Qt::WindowNoState);
        QTest::keySequence(&window, fullScreenKey);
        QTest::keySequence(&window, fullScreenKey);
        QCOMPARE(window.windowState(), Qt::WindowNoState);
    }
    void restoreWindowStateBringsBackLastState() {
        KestalMainWindow window;
        window.setState(Sharing);
        window.showNormal();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.showMinimized();
        window.restoreWindowState();
        QCOMPARE(window.windowState(), Qt::WindowNoState);
        QVERIFY(window.isVisible());

        window.showFullScreen();
        window.hide();
        window.restoreWindowState();
        QVERIFY(window.isVisible());
        QCOMPARE(window.windowState(), Qt::WindowFullScreen);
    }
    // Without a tray the window offers the program's menu; the controller suite closes it then.
    void standaloneWindowOffersProgramMenu() {
        KestalMainWindow window;
        QAction about(QStringLiteral("About"));
        QAction exit(QStringLiteral("Exit"));
        window.setProgramActions({&about, &exit});
        const auto programEntries = [] {
            QStringList result;
            for (QAction* action : windowMenu()->actions().mid(3))
                result << (action->isSeparator() ? QStringLiteral("-") : action->text());
            return result;
        };

        window.setStandalone(true);
        QCOMPARE(programEntries(), (QStringList{"-", "About", "Exit"}));
        window.setStandalone(false);
        QVERIFY(programEntries().isEmpty());
    }
    void desktopNotificationsReplaceEachOther() {
        PrivateSessionBus bus;
        QVERIFY(bus.isValid());
        NotificationService service;
        QVERIFY(bus.connection().registerObject(QStringLiteral("/org/freedesktop/Notifications"),
                                                &service, QDBusConnection::ExportAllSlots));
        QVERIFY(bus.connection().registerService(QStringLiteral("org.freedesktop.Notifications")));

        DesktopNotifications notifications(
            QDBusConnection::connectToBus(bus.address(), QStringLiteral("program")));
        notifications.showStateNotification(Starting); // never announced
        notifications.showStateNotification(Sharing);
        QTRY_COMPARE(service.shown.size(), 1);
        const QString entry = QStringLiteral("com.quendral.Castwell");
        QCOMPARE(service.shown.constFirst(),
                 (QVariantList{"Castwell", 0u, entry, "Quendral Castwell", "Sharing Screen", entry,
                               5000}));

        // Once the service has numbered the first message, later ones replace it. Each try sends
        // one more, and looks at the ones that arrived meanwhile.
        QTRY_VERIFY((notifications.showStateNotification(NoHdmiSource),
                     service.shown.constLast().at(1) == 7u));
        QCOMPARE(service.shown.constLast().at(4), QStringLiteral("HDMI Source Not Detected"));
        QDBusConnection::disconnectFromBus(QStringLiteral("program"));
    }

    // The product picture whole in its label (fitted, right, centred vertically) at the screen's
    // resolution: exactly the picture rendered directly at that size (CTest runs it at 2x too).
    void aboutBoxPictureIsWholeAndSharp() {
        QCoreApplication::setApplicationVersion(QStringLiteral("1.0.69"));
        AboutBox about;
        about.setDeviceInfo({true, true, QStringLiteral("Kestal"), {1, 1, 0}});
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        const QImage shot = about.grab().toImage();
        const qreal ratio = shot.devicePixelRatio();
        QVERIFY(QDir().mkpath(QStringLiteral(ARTIFACTS_DIR)) &&
                shot.save(QStringLiteral(ARTIFACTS_DIR "/about-box%1.png")
                              .arg(ratio > 1 ? QStringLiteral("@%1x").arg(ratio) : QString())));

        const QWidget* label = about.findChild<QWidget*>(QStringLiteral("icon_icon"));
        QImage expected(QSize(200, 200) * ratio, QImage::Format_RGB32);
        expected.setDevicePixelRatio(ratio);
        expected.fill(Qt::white);
        QPainter painter(&expected);
        QSvgRenderer(QStringLiteral(":/app.svg")).render(&painter, QRectF(0, 0, 200, 200));
        painter.end();
        QCOMPARE(shot.copy(QRect(label->mapTo(&about, QPoint(0, 40)) * ratio, expected.size()))
                     .convertToFormat(QImage::Format_RGB32),
                 expected);
    }
};

int main(int argc, char** argv) {
    // The settings must never touch the user's own: the configuration folder is decided at the
    // first settings access, before the application object exists.
    QTemporaryDir configHome;
    if (!configHome.isValid())
        return 1;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(configHome.path()));
    // The tray would otherwise have a session bus started on demand for the X server, one that
    // every suite on it shares and none ends.
    qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent");
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Castwell"));
    QApplication::setDesktopFileName(QStringLiteral("com.quendral.Castwell"));
    // Owned here as the application object owns it in the program.
    const std::unique_ptr<Settings> settings(Settings::instance());
    UiTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_ui.moc"
