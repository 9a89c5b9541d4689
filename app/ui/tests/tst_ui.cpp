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
#include <QSignalSpy>
#include <QStackedWidget>
#include <QSystemTrayIcon>
#include <QTemporaryDir>
#include <QTranslator>
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

QMenu* trayMenuOf(TrayIconMenu& tray) {
    return trayIconOf(tray)->contextMenu();
}

QAction* entry(QMenu* menu, const QString& text) {
    for (QAction* action : menu->actions()) {
        if (action->text() == text)
            return action;
    }
    return nullptr;
}

QMenu* settingsMenuOf(TrayIconMenu& tray) {
    QAction* settings = entry(trayMenuOf(tray), QStringLiteral("Settings"));
    return settings ? settings->menu() : nullptr;
}

// The visible entries of the action menu part (state line, pause, resume), as shown.
QStringList visibleStateEntries(QMenu* menu) {
    QStringList entries;
    for (QAction* action : menu->actions().mid(0, 3)) {
        if (action->isVisible())
            entries << action->text();
    }
    return entries;
}

QString pageOf(KestalMainWindow& window) {
    return window.findChild<QStackedWidget*>(QStringLiteral("central_pager"))
        ->currentWidget()
        ->objectName();
}

QString labelText(KestalMainWindow& window, const char* name) {
    return window.findChild<QLabel*>(QLatin1String(name))->text();
}

// Double clicks reach the window through the page under the pointer, as a real click would.
void doubleClick(KestalMainWindow& window, Qt::MouseButton button) {
    QWidget* page =
        window.findChild<QStackedWidget*>(QStringLiteral("central_pager"))->currentWidget();
    QTest::mouseDClick(page, button);
}

} // namespace

class UiTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();

    void iconSetFindsVariantsBesideTheIcon();
    void trayEntriesFollowState_data();
    void trayEntriesFollowState();
    void trayIgnoresUnknownState();
    void tooltipEmptyUntilFirstState();
    void trayEntriesEmitTheirSignals();
    void trayDoubleClickOnly();
    void checkBoxesFollowSettings_data();
    void checkBoxesFollowSettings();
    void actionMenuFollowsLanguage();

    void pagesAndTitlesFollowState_data();
    void pagesAndTitlesFollowState();
    void unknownStateKeepsPage();
    void windowMenuFollowsStateAndForwards();
    void closeInStates_data();
    void closeInStates();
    void doubleClickTogglesFullScreen();
    void fullScreenKeyAndEscape();
    void escapeOutsideFullScreenDoesNothing();
    void restoreWindowStateBringsBackLastState();
    void pagesFollowLanguage();
    void standaloneWindow();
    void desktopNotificationsReplaceEachOther();

private:
    std::unique_ptr<KestalMainWindow> shownWindow();
};

void UiTest::initTestCase() {
    // The program lives in the tray; closing its window must not end the test run either.
    QApplication::setQuitOnLastWindowClosed(false);
}

void UiTest::iconSetFindsVariantsBesideTheIcon() {
    const IconSet icons(kAppIcon);
    for (const QIcon& icon : {icons.normal, icons.dark, icons.grey}) {
        QVERIFY(!icon.isNull());
        QVERIFY(!icon.pixmap(32).isNull());
    }
    const QImage normal = icons.normal.pixmap(32).toImage();
    QVERIFY(normal != icons.grey.pixmap(32).toImage());
    QVERIFY(normal != icons.dark.pixmap(32).toImage());
}

void UiTest::trayEntriesFollowState_data() {
    QTest::addColumn<ApplicationState>("state");
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QString>("tooltip");
    QTest::addColumn<bool>("grey");

    const QString noDevice = QStringLiteral("Device Not Detected");
    const QString noSource = QStringLiteral("HDMI Source Not Detected");
    const QString resume = QStringLiteral("Resume Sharing");
    QTest::newRow("0") << Initial << QStringList{noDevice} << noDevice << true;
    QTest::newRow("1") << NoDevice << QStringList{noDevice} << noDevice << true;
    QTest::newRow("2") << NoHdmiSource << QStringList{noSource} << noSource << true;
    QTest::newRow("3") << DeviceInUse << QStringList{resume}
                       << QStringLiteral("Device in Use by Another Application") << true;
    QTest::newRow("4") << Paused << QStringList{resume} << QStringLiteral("Sharing Paused") << true;
    QTest::newRow("5") << Pausing << QStringList{QStringLiteral("Pausing")}
                       << QStringLiteral("Pausing") << false;
    QTest::newRow("6") << Starting << QStringList{QStringLiteral("Starting")}
                       << QStringLiteral("Starting") << false;
    QTest::newRow("7") << Sharing << QStringList{QStringLiteral("Pause Sharing")}
                       << QStringLiteral("Sharing Screen") << false;
}

void UiTest::trayEntriesFollowState() {
    QFETCH(ApplicationState, state);
    QFETCH(QStringList, entries);
    QFETCH(QString, tooltip);
    QFETCH(bool, grey);

    const IconSet icons(kAppIcon);
    TrayIconMenu tray(icons);
    // Start from the opposite entries, so that every entry has to change.
    tray.setState(state == Sharing ? Paused : Sharing);
    tray.setState(state);

    QCOMPARE(visibleStateEntries(trayMenuOf(tray)), entries);
    QCOMPARE(trayIconOf(tray)->toolTip(), tooltip);
    const QIcon expected = grey ? icons.grey : icons.normal;
    QCOMPARE(trayIconOf(tray)->icon().cacheKey(), expected.cacheKey());
}

void UiTest::trayIgnoresUnknownState() {
    const IconSet icons(kAppIcon);
    TrayIconMenu tray(icons);
    tray.setState(Sharing);
    tray.setState(static_cast<ApplicationState>(8));
    QCOMPARE(visibleStateEntries(trayMenuOf(tray)), QStringList{QStringLiteral("Pause Sharing")});
    QCOMPARE(trayIconOf(tray)->icon().cacheKey(), icons.normal.cacheKey());
    QCOMPARE(trayIconOf(tray)->toolTip(), QStringLiteral("Sharing Screen"));
}

void UiTest::tooltipEmptyUntilFirstState() {
    TrayIconMenu tray{IconSet(kAppIcon)};
    QVERIFY(trayIconOf(tray)->toolTip().isEmpty());
    tray.setState(NoHdmiSource);
    QCOMPARE(trayIconOf(tray)->toolTip(), QStringLiteral("HDMI Source Not Detected"));
}

void UiTest::trayEntriesEmitTheirSignals() {
    TrayIconMenu tray{IconSet(kAppIcon)};
    QSignalSpy pause(&tray, &TrayIconMenu::pauseRequested);
    QSignalSpy resume(&tray, &TrayIconMenu::resumeRequested);
    QSignalSpy about(&tray, &TrayIconMenu::aboutRequested);
    QSignalSpy quit(&tray, &TrayIconMenu::quitRequested);
    QMenu* menu = trayMenuOf(tray);

    tray.setState(Sharing);
    entry(menu, QStringLiteral("Pause Sharing"))->trigger();
    QCOMPARE(pause.count(), 1);
    tray.setState(Paused);
    entry(menu, QStringLiteral("Resume Sharing"))->trigger();
    QCOMPARE(resume.count(), 1);
    entry(menu, QStringLiteral("About"))->trigger();
    QCOMPARE(about.count(), 1);
    entry(menu, QStringLiteral("Exit"))->trigger();
    QCOMPARE(quit.count(), 1);
    QCOMPARE(pause.count(), 1);
    QCOMPARE(resume.count(), 1);
}

void UiTest::trayDoubleClickOnly() {
    TrayIconMenu tray{IconSet(kAppIcon)};
    QSignalSpy doubleClicked(&tray, &TrayIconMenu::iconDoubleClicked);
    emit trayIconOf(tray)->activated(QSystemTrayIcon::Trigger);
    emit trayIconOf(tray)->activated(QSystemTrayIcon::Context);
    QCOMPARE(doubleClicked.count(), 0);
    emit trayIconOf(tray)->activated(QSystemTrayIcon::DoubleClick);
    QCOMPARE(doubleClicked.count(), 1);
}

void UiTest::checkBoxesFollowSettings_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<Getter>("getter");
    QTest::addColumn<Setter>("setter");

    QTest::newRow("maximize") << QStringLiteral("Maximize on Share") << &Settings::maximizeOnShare
                              << &Settings::setMaximizeOnShare;
    QTest::newRow("front") << QStringLiteral("Bring to Front on Share") << &Settings::toFrontOnShare
                           << &Settings::setToFrontOnShare;
    QTest::newRow("notifications")
        << QStringLiteral("Notifications") << &Settings::notificationOnStateChange
        << &Settings::setNotificationOnStateChange;
    QTest::newRow("firmware") << QStringLiteral("Auto Update Firmware") << &Settings::autoUpdateFW
                              << &Settings::setAutoUpdateFW;
}

void UiTest::checkBoxesFollowSettings() {
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
    QMenu* settingsMenu = settingsMenuOf(tray);
    QVERIFY(settingsMenu);
    QAction* box = entry(settingsMenu, text);
    QVERIFY(box);
    const auto checkedBoxes = [&] {
        QStringList checked;
        for (QAction* action : settingsMenu->actions()) {
            if (action->isChecked())
                checked << action->text();
        }
        return checked;
    };
    const QStringList others = checkedBoxes();
    QCOMPARE(others.size(), 3);
    QVERIFY(!others.contains(text));

    box->trigger();
    QVERIFY(box->isChecked());
    QVERIFY((settings->*getter)());

    (settings->*setter)(false);
    QCOMPARE(checkedBoxes(), others);
    (settings->*setter)(true);
    QVERIFY(box->isChecked());
}

void UiTest::actionMenuFollowsLanguage() {
    KestalActionMenu menu(QStringLiteral("Castwell"));
    menu.setState(NoHdmiSource);
    QTranslator german;
    QVERIFY(german.load(QStringLiteral(":/tr/application_de.qm")));
    QVERIFY(QCoreApplication::installTranslator(&german));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
    const QList<QAction*> entries = menu.actions();
    const QStringList texts{entries[0]->text(), entries[1]->text(), entries[2]->text()};
    QCoreApplication::removeTranslator(&german);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);

    QCOMPARE(texts, (QStringList{QStringLiteral("Keine HDMI-Quelle erkannt"),
                                 QStringLiteral("Freigabe pausieren"),
                                 QStringLiteral("Freigabe fortsetzen")}));
    QCOMPARE(menu.actions()[1]->text(), QStringLiteral("Pause Sharing"));
}

std::unique_ptr<KestalMainWindow> UiTest::shownWindow() {
    auto window = std::make_unique<KestalMainWindow>();
    window->setState(Sharing);
    window->showNormal();
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window.get()))
        return nullptr;
    return window;
}

void UiTest::pagesAndTitlesFollowState_data() {
    QTest::addColumn<ApplicationState>("state");
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("status");
    QTest::addColumn<QString>("title");

    const QString camera = QStringLiteral("page_camera");
    const QString notConnected = QStringLiteral("page_kestal_not_connected");
    const QString status = QStringLiteral("page_global_str");
    QTest::newRow("0") << Initial << notConnected << QString()
                       << QStringLiteral("Quendral Castwell - Device Not Detected");
    QTest::newRow("1") << NoDevice << notConnected << QString()
                       << QStringLiteral("Quendral Castwell - Device Not Detected");
    QTest::newRow("2") << NoHdmiSource << status << QStringLiteral("HDMI Source Not Detected")
                       << QStringLiteral("Quendral Castwell - HDMI Source Not Detected");
    QTest::newRow("3") << DeviceInUse << status
                       << QStringLiteral("Device in Use by Another Application")
                       << QStringLiteral(
                              "Quendral Castwell - Device in Use by Another Application");
    QTest::newRow("4") << Paused << status << QStringLiteral("Sharing Paused")
                       << QStringLiteral("Quendral Castwell - Sharing Paused");
    QTest::newRow("5") << Pausing << status << QStringLiteral("Pausing")
                       << QStringLiteral("Quendral Castwell - Pausing");
    QTest::newRow("6") << Starting << status << QStringLiteral("Starting")
                       << QStringLiteral("Quendral Castwell - Starting");
    QTest::newRow("7") << Sharing << camera << QString()
                       << QStringLiteral("Quendral Castwell - Sharing Screen");
}

void UiTest::pagesAndTitlesFollowState() {
    QFETCH(ApplicationState, state);
    QFETCH(QString, page);
    QFETCH(QString, status);
    QFETCH(QString, title);

    KestalMainWindow window;
    QCOMPARE(window.objectName(), QStringLiteral("KestalMainWindow"));
    QCOMPARE(window.windowTitle(), QStringLiteral("Kestal"));
    // Leave a different page first, so that every state has to turn the pager.
    window.setState(state == Sharing ? Initial : Sharing);
    window.setState(state);
    QCOMPARE(pageOf(window), page);
    QCOMPARE(window.windowTitle(), title);
    if (!status.isEmpty())
        QCOMPARE(labelText(window, "lbl_global_str"), status);
}

void UiTest::unknownStateKeepsPage() {
    KestalMainWindow window;
    window.setState(NoHdmiSource);
    window.setState(static_cast<ApplicationState>(8));
    QCOMPARE(pageOf(window), QStringLiteral("page_global_str"));
    QCOMPARE(labelText(window, "lbl_global_str"), QStringLiteral("HDMI Source Not Detected"));
    QCOMPARE(window.windowTitle(), QStringLiteral("Quendral Castwell - HDMI Source Not Detected"));

    // The value is kept all the same: above the device-in-use state, closing minimizes.
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(!window.close());
    QVERIFY(window.isMinimized());
}

void UiTest::windowMenuFollowsStateAndForwards() {
    KestalMainWindow window;
    KestalActionMenu* menu = nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* actionMenu = qobject_cast<KestalActionMenu*>(widget))
            menu = actionMenu;
    }
    QVERIFY(menu);
    QSignalSpy pause(&window, &KestalMainWindow::pauseRequested);
    QSignalSpy resume(&window, &KestalMainWindow::resumeRequested);

    window.setState(Sharing);
    QCOMPARE(visibleStateEntries(menu), QStringList{QStringLiteral("Pause Sharing")});
    entry(menu, QStringLiteral("Pause Sharing"))->trigger();
    window.setState(Paused);
    QCOMPARE(visibleStateEntries(menu), QStringList{QStringLiteral("Resume Sharing")});
    entry(menu, QStringLiteral("Resume Sharing"))->trigger();
    QCOMPARE(pause.count(), 1);
    QCOMPARE(resume.count(), 1);
}

void UiTest::closeInStates_data() {
    QTest::addColumn<ApplicationState>("state");
    QTest::addColumn<bool>("minimizes");

    QTest::newRow("0") << Initial << false;
    QTest::newRow("1") << NoDevice << false;
    QTest::newRow("2") << NoHdmiSource << false;
    QTest::newRow("3") << DeviceInUse << true;
    QTest::newRow("4") << Paused << true;
    QTest::newRow("5") << Pausing << true;
    QTest::newRow("6") << Starting << true;
    QTest::newRow("7") << Sharing << true;
}

void UiTest::closeInStates() {
    QFETCH(ApplicationState, state);
    QFETCH(bool, minimizes);

    KestalMainWindow window;
    window.setState(state);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.close(), !minimizes);
    QCOMPARE(window.isVisible(), minimizes);
    QCOMPARE(window.isMinimized(), minimizes);
}

void UiTest::doubleClickTogglesFullScreen() {
    const auto window = shownWindow();
    QVERIFY(window);
    QSignalSpy doubleClicks(window.get(), &KestalMainWindow::screenDoubleClick);

    doubleClick(*window, Qt::RightButton);
    QCOMPARE(doubleClicks.count(), 0);
    QCOMPARE(window->windowState(), Qt::WindowNoState);

    doubleClick(*window, Qt::LeftButton);
    QCOMPARE(doubleClicks.count(), 1);
    QVERIFY(window->isFullScreen());

    // Never changed by the user, the window leaves full screen maximized.
    doubleClick(*window, Qt::LeftButton);
    QCOMPARE(window->windowState(), Qt::WindowMaximized);
}

void UiTest::fullScreenKeyAndEscape() {
    // The platform's full-screen key; F11 where the platform names none.
    QKeySequence fullScreenKey(QKeySequence::FullScreen);
    if (fullScreenKey.isEmpty())
        fullScreenKey = QKeySequence(Qt::Key_F11);
    const auto window = shownWindow();
    QVERIFY(window);
    window->showMaximized();
    window->showNormal();

    QTest::keySequence(window.get(), fullScreenKey);
    QVERIFY(window->isFullScreen());
    QTest::keyClick(window.get(), Qt::Key_Escape);
    QCOMPARE(window->windowState(), Qt::WindowNoState);

    QTest::keySequence(window.get(), fullScreenKey);
    QVERIFY(window->isFullScreen());
    QTest::keySequence(window.get(), fullScreenKey);
    QCOMPARE(window->windowState(), Qt::WindowNoState);
}

void UiTest::escapeOutsideFullScreenDoesNothing() {
    const auto window = shownWindow();
    QVERIFY(window);
    QCOMPARE(window->windowState(), Qt::WindowNoState);
    QTest::keyClick(window.get(), Qt::Key_Escape);
    QCOMPARE(window->windowState(), Qt::WindowNoState);
    QVERIFY(window->isVisible());
}

void UiTest::restoreWindowStateBringsBackLastState() {
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

void UiTest::pagesFollowLanguage() {
    KestalMainWindow window;
    window.setState(Paused);
    QTranslator german;
    QVERIFY(german.load(QStringLiteral(":/tr/application_de.qm")));
    QVERIFY(QCoreApplication::installTranslator(&german));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
    const QString notConnected = labelText(window, "lbl_kestal_not_connected");
    const QString status = labelText(window, "lbl_global_str");
    QCoreApplication::removeTranslator(&german);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);

    QCOMPARE(notConnected, QStringLiteral("Castwell nicht erkannt"));
    QCOMPARE(status, QStringLiteral("Freigabe pausiert"));
    QCOMPARE(labelText(window, "lbl_global_str"), QStringLiteral("Sharing Paused"));
}

// Without a tray the window offers the program's menu and only minimizes when closed.
void UiTest::standaloneWindow() {
    KestalMainWindow window;
    QAction about(QStringLiteral("About"));
    QAction exit(QStringLiteral("Exit"));
    window.setProgramActions({&about, &exit});
    KestalActionMenu* menu = nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets())
        menu = menu ? menu : qobject_cast<KestalActionMenu*>(widget);
    QVERIFY(menu);
    const auto programEntries = [menu] {
        QStringList result;
        for (QAction* action : menu->actions().mid(3))
            result << (action->isSeparator() ? QStringLiteral("-") : action->text());
        return result;
    };

    window.setStandalone(true);
    QCOMPARE(programEntries(), (QStringList{"-", "About", "Exit"}));
    window.setState(NoDevice);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(!window.close());
    QVERIFY(window.isMinimized());
    window.setStandalone(false);
    QVERIFY(programEntries().isEmpty());
}

void UiTest::desktopNotificationsReplaceEachOther() {
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
    QCOMPARE(service.shown.constFirst(), (QVariantList{"Castwell", 0u, entry, "Quendral Castwell",
                                                       "Sharing Screen", entry, 5000}));

    // Once the service has numbered the first message, later ones replace it. Each try sends
    // one more, and looks at the ones that arrived meanwhile.
    QTRY_VERIFY(
        (notifications.showStateNotification(NoHdmiSource), service.shown.constLast().at(1) == 7u));
    QCOMPARE(service.shown.constLast().at(4), QStringLiteral("HDMI Source Not Detected"));
    QDBusConnection::disconnectFromBus(QStringLiteral("program"));
}

int main(int argc, char** argv) {
    // The settings must never touch the user's own: the configuration folder is decided at the
    // first settings access, before the application object exists.
    QTemporaryDir configHome;
    if (!configHome.isValid())
        return 1;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(configHome.path()));
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Castwell"));
    QApplication::setDesktopFileName(QStringLiteral("com.quendral.Castwell"));
    // Owned here as the application object owns it in the program.
    const std::unique_ptr<Settings> settings(Settings::instance());
    UiTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_ui.moc"
