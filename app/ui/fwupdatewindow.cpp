#include "fwupdatewindow.h"

#include "ui_fwupdatewindow.h"
#include "uiresources.h"

#include <QCoreApplication>
#include <QDebug>
#include <QEvent>
#include <QTimer>

namespace {

constexpr char kContext[] = "FWUpdateWindow";

// Long enough to be read on return to the desk; the device is already running the new
// firmware by then, so nothing is lost when it goes.
constexpr int kSuccessAutoCloseDelayMs = 60000;

const char* const kDownloading = QT_TRANSLATE_NOOP("FWUpdateWindow", "Downloading firmware...");
const char* const kDownloadFailed =
    QT_TRANSLATE_NOOP("FWUpdateWindow", "Firmware download failed. Please try again later.");
const char* const kSignatureRejected = QT_TRANSLATE_NOOP(
    "FWUpdateWindow", "The downloaded firmware's signature is not valid, so it was not installed.");
const char* const kInstallPostponed = QT_TRANSLATE_NOOP(
    "FWUpdateWindow", "The firmware update will be installed when screen sharing ends.");
const char* const kInstalling = QT_TRANSLATE_NOOP("FWUpdateWindow", "Installing firmware...");
const char* const kInstallFailed =
    QT_TRANSLATE_NOOP("FWUpdateWindow", "Firmware install failed. Please try again later.");
const char* const kInstallSucceeded =
    QT_TRANSLATE_NOOP("FWUpdateWindow", "Firmware successfully updated!");

QString translated(const char* sourceText) {
    return QCoreApplication::translate(kContext, sourceText);
}

} // namespace

FWUpdateWindow::FWUpdateWindow(QWidget* parent)
    : QWidget(parent,
              Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint)
    , ui_(std::make_unique<Ui::FWUpdateWindow>()) {
    registerUiResources();
    ui_->setupUi(this);
    connect(ui_->btn_close, &QPushButton::clicked, this, &QWidget::close);
}

FWUpdateWindow::~FWUpdateWindow() = default;

// Progress updates arrive many times a second; they must not pull the window back in front of
// whatever the user switched to, only bring it up if it is not on screen at all.
void FWUpdateWindow::showDownloadProgress(uint8_t value) {
    setMessage(kDownloading);
    setProgress(value);
    ui_->btn_close->setEnabled(false);
    bringToFrontIfNotVisible();
}

void FWUpdateWindow::showDownloadFailed() {
    showEnd(kDownloadFailed, 0);
}

void FWUpdateWindow::showSignatureRejected() {
    showEnd(kSignatureRejected, 0);
}

void FWUpdateWindow::showInstallPostponed() {
    showEnd(kInstallPostponed, 0);
}

void FWUpdateWindow::showInstallProgress(uint8_t value) {
    setMessage(kInstalling);
    setProgress(value);
    ui_->btn_close->setEnabled(false);
    bringToFrontIfNotVisible();
}

void FWUpdateWindow::showInstallFailed() {
    showEnd(kInstallFailed, 0);
}

void FWUpdateWindow::showInstallSuccessed() {
    showEnd(kInstallSucceeded, 100);
    // Another update may have begun within the minute: its window stays.
    QTimer::singleShot(kSuccessAutoCloseDelayMs, this, [this] {
        if (currentMessage_ == kInstallSucceeded)
            close();
    });
}

void FWUpdateWindow::showEnd(const char* message, int progress) {
    setMessage(message);
    setProgress(progress);
    ui_->btn_close->setEnabled(true);
    bringToFront();
}

void FWUpdateWindow::showWindow() {
    bringToFront();
}

void FWUpdateWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange)
        retranslateMessage();
    QWidget::changeEvent(event);
}

void FWUpdateWindow::setMessage(const char* message) {
    if (qstrcmp(currentMessage_, message) == 0)
        return;
    currentMessage_ = message;
    qDebug().noquote() << "Firmware update:" << message;
    retranslateMessage();
}

void FWUpdateWindow::retranslateMessage() {
    setWindowTitle(QCoreApplication::translate("FWUpdateWindow", "Firmware Update"));
    ui_->btn_close->setText(QCoreApplication::translate("FWUpdateWindow", "Done"));
    ui_->lbl_progress->setText(translated(currentMessage_));
    adjustSize();
}

void FWUpdateWindow::setProgress(int value) {
    ui_->progress->setValue(value);
    // Progress may be reported from work that keeps the event loop from painting in between.
    ui_->progress->repaint();
}

void FWUpdateWindow::bringToFrontIfNotVisible() {
    if (!isVisible())
        bringToFront();
}

void FWUpdateWindow::bringToFront() {
    if (isHidden())
        showNormal();
    activateWindow();
    raise();
}
