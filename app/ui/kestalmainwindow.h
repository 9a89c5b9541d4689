#pragma once

#include "applicationstate.h"

#include <QCamera>
#include <QMainWindow>
#include <QSharedPointer>

#include <memory>

class KestalActionMenu;

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
};
