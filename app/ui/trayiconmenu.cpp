#include "trayiconmenu.h"

#include "kestalactionmenu.h"
#include "settings.h"
#include "uiresources.h"

#include <QAction>
#include <QCoreApplication>
#include <QFileInfo>
#include <QMenu>

namespace {

constexpr int kNotificationDurationMs = 5000;

QString translated(const char* sourceText) {
    return QCoreApplication::translate(kTrayTextContext, sourceText);
}

QString variantPath(const QFileInfo& icon, const QString& variant) {
    return QStringLiteral("%1/%2-%3.%4")
        .arg(icon.path(), icon.baseName(), variant, icon.completeSuffix());
}

QAction* addCheckBox(QMenu* menu, const QString& text) {
    QAction* action = menu->addAction(text);
    action->setCheckable(true);
    return action;
}

} // namespace

IconSet::IconSet(const QString& path) {
    registerUiResources();
    const QFileInfo icon(path);
    normal = QIcon(path);
    dark = QIcon(variantPath(icon, QStringLiteral("dark")));
    grey = QIcon(variantPath(icon, QStringLiteral("grey")));
}

TrayIconMenu::TrayIconMenu(const IconSet& icons, QObject* parent)
    : QObject(parent)
    , icons_(icons)
    , menu_(std::make_unique<KestalActionMenu>(QCoreApplication::applicationName())) {
    // These entries keep the language they were made in; the action menu's own entries follow a
    // language change, and the tooltip is rebuilt with every state.
    menu_->addSeparator();
    settingsMenu_ = menu_->addMenu(tr("Settings"));
    launchAtStartupAction_ = addCheckBox(settingsMenu_, tr("Launch at Startup"));
    maximizeOnShareAction_ = addCheckBox(settingsMenu_, tr("Maximize on Share"));
    bringToFrontAction_ = addCheckBox(settingsMenu_, tr("Bring to Front on Share"));
    notificationsAction_ = addCheckBox(settingsMenu_, tr("Notifications"));
    autoUpdateFirmwareAction_ = addCheckBox(settingsMenu_, tr("Auto Update Firmware"));
    menu_->addSeparator();
    aboutAction_ = menu_->addAction(tr("About"));
    exitAction_ = menu_->addAction(tr("Exit"));

    connect(menu_.get(), &KestalActionMenu::pauseRequested, this, &TrayIconMenu::pauseRequested);
    connect(menu_.get(), &KestalActionMenu::resumeRequested, this, &TrayIconMenu::resumeRequested);
    connect(aboutAction_, &QAction::triggered, this, &TrayIconMenu::aboutRequested);
    connect(exitAction_, &QAction::triggered, this, &TrayIconMenu::quitRequested);
}

TrayIconMenu::~TrayIconMenu() {
    // The platform's tray may still refer to the context menu; the icon goes first.
    delete trayIcon_;
}

void TrayIconMenu::bindSettings(Settings* settings) {
    settings->bindMaximizeOnShare(maximizeOnShareAction_);
    settings->bindToFrontOnShare(bringToFrontAction_);
    settings->bindNotificationOnStateChange(notificationsAction_);
    settings->bindAutoUpdateFW(autoUpdateFirmwareAction_);
}

QList<QAction*> TrayIconMenu::programActions() const {
    return {settingsMenu_->menuAction(), aboutAction_, exitAction_};
}

void TrayIconMenu::showIcon() {
    if (!trayIcon_) {
        trayIcon_ = new QSystemTrayIcon(this);
        trayIcon_->setContextMenu(menu_.get());
        connect(trayIcon_, &QSystemTrayIcon::activated, this, &TrayIconMenu::onActivated);
        updateIcon();
    }
    trayIcon_->show();
}

void TrayIconMenu::hideIcon() {
    if (trayIcon_)
        trayIcon_->hide();
}

// The program's entries are shared with the main window's menu; while a firmware update runs
// neither may end or reconfigure the program.
void TrayIconMenu::enableMenu() {
    menu_->setEnabled(true);
    for (QAction* action : programActions())
        action->setEnabled(true);
}

void TrayIconMenu::disableMenu() {
    menu_->setEnabled(false);
    for (QAction* action : programActions())
        action->setEnabled(false);
}

void TrayIconMenu::setState(ApplicationState state) {
    if (stateSourceText(state))
        state_ = state;
    menu_->setState(state);
    updateIcon();
}

void TrayIconMenu::updateIcon() {
    if (!trayIcon_)
        return;
    trayIcon_->setIcon(state_ <= Paused ? icons_.grey : icons_.normal);
    trayIcon_->setToolTip(translated(menu_->stateText()));
}

void TrayIconMenu::showStateNotification(ApplicationState state) {
    if (trayIcon_ && isAnnounced(state))
        trayIcon_->showMessage(tr("Quendral Castwell"), translated(stateSourceText(state)),
                               QSystemTrayIcon::Information, kNotificationDurationMs);
}

void TrayIconMenu::onActivated(QSystemTrayIcon::ActivationReason reason) {
    if (reason == QSystemTrayIcon::DoubleClick)
        emit iconDoubleClicked();
}
