#pragma once

#include "applicationstate.h"
#include "statenotifier.h"

#include <QIcon>
#include <QObject>
#include <QSystemTrayIcon>

#include <memory>

class KestalActionMenu;
class QAction;
class QMenu;
class Settings;

// The program's icon and its variants, found beside it by name: for "dir/name.ext" the files
// "dir/name-dark.ext" and "dir/name-grey.ext".
struct IconSet {
    explicit IconSet(const QString& path);

    QIcon normal;
    QIcon dark;
    QIcon grey;
};

// The notification-area icon with its tooltip, notifications and context menu. The icon turns
// grey while there is nothing to share. The icon itself is made on the first showIcon(), once
// the desktop has a tray: Qt decides then, for good, how it reaches the tray.
class TrayIconMenu : public QObject, public StateNotifier {
    Q_OBJECT
public:
    explicit TrayIconMenu(const IconSet& icons, QObject* parent = nullptr);
    ~TrayIconMenu() override;

    // Makes the "Maximize on Share", "Bring to Front on Share", "Notifications" and "Auto Update
    // Firmware" check boxes show and change the matching switches of `settings`.
    void bindSettings(Settings* settings);
    // "Launch at Startup"; autostart is kept by the application object, so the caller binds it.
    QAction* launchAtStartupAction() const { return launchAtStartupAction_; }
    // The menu's entries beyond the state line and pause/resume: Settings, About and Exit.
    QList<QAction*> programActions() const;

    void showStateNotification(ApplicationState state) override;

signals:
    void pauseRequested();
    void resumeRequested();
    void aboutRequested();
    void quitRequested();
    void iconDoubleClicked();

public slots:
    void showIcon();
    void hideIcon();
    void enableMenu();
    void disableMenu();
    void setState(ApplicationState state);

private:
    void onActivated(QSystemTrayIcon::ActivationReason reason);
    void updateIcon();

    const IconSet icons_;
    QSystemTrayIcon* trayIcon_ = nullptr;
    ApplicationState state_ = Initial;
    std::unique_ptr<KestalActionMenu> menu_;
    QMenu* settingsMenu_;
    QAction* launchAtStartupAction_;
    QAction* maximizeOnShareAction_;
    QAction* bringToFrontAction_;
    QAction* notificationsAction_;
    QAction* autoUpdateFirmwareAction_;
    QAction* aboutAction_;
    QAction* exitAction_;
};
