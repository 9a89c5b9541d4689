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
    , trayIcon_(new QSystemTrayIcon(icons_.normal, this))
    , menu_(std::make_unique<KestalActionMenu>(QCoreApplication::applicationName())) {
    trayIcon_->setContextMenu(menu_.get());
    connect(trayIcon_, &QSystemTrayIcon::activated, this, &TrayIconMenu::onActivated);

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

    trayIcon_->setToolTip(translated(menu_->stateText()));
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

void TrayIconMenu::showIcon() {
    trayIcon_->show();
}

void TrayIconMenu::hideIcon() {
    trayIcon_->hide();
}

void TrayIconMenu::enableMenu() {
    menu_->setEnabled(true);
}

void TrayIconMenu::disableMenu() {
    menu_->setEnabled(false);
}

void TrayIconMenu::setState(ApplicationState state) {
    if (state >= Initial && state <= Paused)
        trayIcon_->setIcon(icons_.grey);
    else if (state >= Pausing && state <= Sharing)
        trayIcon_->setIcon(icons_.normal);
    menu_->setState(state);
    trayIcon_->setToolTip(translated(menu_->stateText()));
}

void TrayIconMenu::showStateNotification(ApplicationState state) {
    switch (state) {
    case NoDevice:
    case NoHdmiSource:
    case DeviceInUse:
    case Paused:
    case Sharing:
        trayIcon_->showMessage(tr("Quendral Castwell"), translated(stateSourceText(state)),
                               QSystemTrayIcon::Information, kNotificationDurationMs);
        break;
    case Initial:
    case Pausing:
    case Starting:
        // Start-up and the short steps between pausing and sharing go unannounced.
        break;
    }
}

void TrayIconMenu::onActivated(QSystemTrayIcon::ActivationReason reason) {
    if (reason == QSystemTrayIcon::DoubleClick)
        emit iconDoubleClicked();
}
