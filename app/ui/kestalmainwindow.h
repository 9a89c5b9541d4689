#pragma once

#include "applicationstate.h"

#include <QCamera>
#include <QMainWindow>
#include <QSharedPointer>

#include <memory>

class KestalActionMenu;
class QAction;

namespace Ui {
class KestalMainWindow;
}

// The one main window: the device's live picture or a full-window status text, with the state
// in its title. Double click or the platform's full-screen key toggles full screen.
class KestalMainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit KestalMainWindow(QWidget* parent = nullptr);
    ~KestalMainWindow() override;

    // The program's own entries (settings, about, exit), offered while the window is standalone.
    void setProgramActions(const QList<QAction*>& actions);
    // Without a tray the window is the program's only face: its menu offers the program's
    // entries as well, and closing it only minimizes it, whatever the state.
    void setStandalone(bool standalone);

signals:
    void pauseRequested();
    void resumeRequested();
    void screenDoubleClick();

public slots:
    void attachCamera(QSharedPointer<QCamera> camera);
    void detachCamera();
    void setState(ApplicationState state);
    // Brings the window back the way the user last had it, without the minimized flag.
    void restoreWindowState();

protected:
    bool event(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void showStatusText(const char* sourceText);
    void applyWindowState(Qt::WindowStates newState);
    void toggleFullScreen();
    void exitFullScreen();

    std::unique_ptr<Ui::KestalMainWindow> ui_;
    std::unique_ptr<KestalActionMenu> actionMenu_;
    Qt::WindowStates lastWindowState_ = Qt::WindowMaximized;
    Qt::WindowStates lastNormalState_ = Qt::WindowMaximized;
    ApplicationState state_ = Initial;
    const char* statusSourceText_ = "";
    QList<QAction*> programActions_;
    bool standalone_ = false;
};
