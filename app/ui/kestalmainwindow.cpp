#include "kestalmainwindow.h"

#include "kestalactionmenu.h"
#include "ui_kestalmainwindow.h"

#include <QAction>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QOpenGLContext>
#include <QShortcut>
#include <QWindow>

namespace {

// Qt names a full-screen key only for some platforms (Windows, KDE, macOS); elsewhere the key
// those use is still what users expect.
QKeySequence fullScreenKey() {
    const QKeySequence standard(QKeySequence::FullScreen);
    return standard.isEmpty() ? QKeySequence(Qt::Key_F11) : standard;
}

} // namespace

KestalMainWindow::KestalMainWindow(QWidget* parent)
    : QMainWindow(parent)
    , ui_(std::make_unique<Ui::KestalMainWindow>())
    , actionMenu_(std::make_unique<KestalActionMenu>(QCoreApplication::applicationName())) {
    ui_->setupUi(this);

    // A borderless full-screen OpenGL window keeps menus and dialogs from showing above it on
    // Windows; the platform offers a border for that case. Other platforms do not need it.
    winId();
    using SetHasBorderInFullScreen = void (*)(QWindow*, bool);
    const auto setHasBorderInFullScreen = reinterpret_cast<SetHasBorderInFullScreen>(
        QGuiApplication::platformFunction("WindowsSetHasBorderInFullScreen"));
    if (setHasBorderInFullScreen)
        setHasBorderInFullScreen(windowHandle(), true);

    // The viewfinder reads its renderer options with a context current; its own OpenGL widget
    // gets one only when first shown.
    auto* context = new QOpenGLContext(this);
    context->create();
    context->makeCurrent(windowHandle());
    ui_->camera_box->initRendererOptions();
    ui_->camera_box->setAllowAutoHideCursor(true);

    connect(actionMenu_.get(), &KestalActionMenu::pauseRequested, this,
            &KestalMainWindow::pauseRequested);
    connect(actionMenu_.get(), &KestalActionMenu::resumeRequested, this,
            &KestalMainWindow::resumeRequested);

    auto* fullScreenShortcut = new QShortcut(fullScreenKey(), this);
    fullScreenShortcut->setContext(Qt::WindowShortcut);
    connect(fullScreenShortcut, &QShortcut::activated, this, &KestalMainWindow::toggleFullScreen);
    auto* escapeShortcut = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escapeShortcut->setContext(Qt::WindowShortcut);
    connect(escapeShortcut, &QShortcut::activated, this, &KestalMainWindow::exitFullScreen);
    connect(this, &KestalMainWindow::screenDoubleClick, this, &KestalMainWindow::toggleFullScreen);
}

KestalMainWindow::~KestalMainWindow() {
    ui_->camera_box->detachCamera();
}

void KestalMainWindow::setProgramActions(const QList<QAction*>& actions) {
    auto* separator = new QAction(this);
    separator->setSeparator(true);
    programActions_ = QList<QAction*>{separator} + actions;
}

void KestalMainWindow::setStandalone(bool standalone) {
    if (standalone == standalone_)
        return;
    standalone_ = standalone;
    if (standalone) {
        actionMenu_->addActions(programActions_);
        return;
    }
    for (QAction* action : programActions_)
        actionMenu_->removeAction(action);
}

void KestalMainWindow::attachCamera(QSharedPointer<QCamera> camera) {
    ui_->camera_box->attachCamera(camera);
}

void KestalMainWindow::detachCamera() {
    ui_->camera_box->detachCamera();
}

void KestalMainWindow::setState(ApplicationState state) {
    actionMenu_->setState(state);
    switch (state) {
    case Initial:
    case NoDevice:
        ui_->central_pager->setCurrentWidget(ui_->page_kestal_not_connected);
        break;
    case NoHdmiSource:
    case DeviceInUse:
    case Paused:
    case Pausing:
    case Starting:
        showStatusText(stateSourceText(state));
        break;
    case Sharing:
        ui_->central_pager->setCurrentWidget(ui_->page_camera);
        break;
    }
    setWindowTitle(
        tr("Quendral Castwell - %1", "window title with current state description")
            .arg(QCoreApplication::translate(kTrayTextContext, actionMenu_->stateText())));
    state_ = state;
}

void KestalMainWindow::showStatusText(const char* sourceText) {
    statusSourceText_ = sourceText;
    ui_->lbl_global_str->setText(QCoreApplication::translate(kTrayTextContext, sourceText));
    ui_->central_pager->setCurrentWidget(ui_->page_global_str);
    // The camera's start and pause block this thread right after a status change; the text
    // has to be on screen before that.
    repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeSocketNotifiers);
}

void KestalMainWindow::restoreWindowState() {
    applyWindowState(lastWindowState_ & ~Qt::WindowMinimized);
}

void KestalMainWindow::applyWindowState(Qt::WindowStates newState) {
    const Qt::WindowStates previous = lastWindowState_;
    if (newState & Qt::WindowFullScreen)
        showFullScreen();
    else
        setWindowState(newState);
    if (!isHidden() && !isMinimized())
        return;
    if (newState & Qt::WindowMaximized)
        showMaximized();
    else if (previous > Qt::WindowMinimized)
        show();
    else
        showNormal();
}

void KestalMainWindow::toggleFullScreen() {
    if (!isFullScreen())
        showFullScreen();
    else
        applyWindowState(lastNormalState_ & ~Qt::WindowMinimized);
}

void KestalMainWindow::exitFullScreen() {
    if (isFullScreen())
        applyWindowState(lastNormalState_ & ~Qt::WindowMinimized);
}

bool KestalMainWindow::event(QEvent* event) {
    if (event->type() == QEvent::WindowStateChange && !isHidden()) {
        lastWindowState_ = windowState();
        if (!isFullScreen()) {
            lastNormalState_ = lastWindowState_;
        } else if (!(static_cast<QWindowStateChangeEvent*>(event)->oldState() &
                     Qt::WindowFullScreen)) {
            // In full screen the cursor goes at once, not only after the idle delay.
            ui_->camera_box->setAllowAutoHideCursor(true);
        }
    }
    return QMainWindow::event(event);
}

void KestalMainWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) {
        ui_->retranslateUi(this);
        ui_->lbl_global_str->setText(
            QCoreApplication::translate(kTrayTextContext, statusSourceText_));
    }
    QMainWindow::changeEvent(event);
}

void KestalMainWindow::closeEvent(QCloseEvent* event) {
    // With a device present the window is where the picture appears, and without a tray it is
    // all there is of the program; closing only moves it out of the way.
    if (state_ < DeviceInUse && !standalone_) {
        QMainWindow::closeEvent(event);
        return;
    }
    event->ignore();
    showMinimized();
}

void KestalMainWindow::contextMenuEvent(QContextMenuEvent* event) {
    actionMenu_->exec(event->globalPos());
}

void KestalMainWindow::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QMainWindow::mouseDoubleClickEvent(event);
        return;
    }
    event->accept();
    emit screenDoubleClick();
}
