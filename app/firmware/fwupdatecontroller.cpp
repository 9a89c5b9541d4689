#include "fwupdatecontroller.h"

#include "aboutbox.h"
#include "fwautoupdater.h"
#include "fwchecker.h"
#include "fwdownloader.h"
#include "fwflashrunner.h"
#include "fwupdatewindow.h"
#include "settings.h"
#include "tindrel.h"
#include "tindrelapi.h"

#include <QCoreApplication>
#include <QDebug>
#include <QEventLoop>
#include <QPointer>
#include <QThread>
#include <QTimer>

namespace {

constexpr int kThreadWaitPasses = 3;
constexpr unsigned long kThreadWaitPassMs = 1000;

QPointer<FWUpdateController> sharedController;

// Makes the library binding inside the firmware thread, so that the library is initialized,
// polled and torn down there.
class TindrelCreator : public QObject {
public:
    void create() {
        Tindrel::instance();
        deleteLater();
    }
};

} // namespace

FWUpdateController* FWUpdateController::instance() {
    if (!sharedController)
        sharedController = new FWUpdateController;
    return sharedController;
}

FWUpdateController::FWUpdateController(const Timing& timing)
    : timing_(timing)
    , thread_(new QThread(this))
    , downloader_(new FWDownloader(this))
    , autoUpdater_(new FWAutoUpdater(this, timing.autoUpdateTick, timing.now)) {
    qRegisterMetaType<uint8_t>("uint8_t");
    thread_->setObjectName(QStringLiteral("FW updater thread"));

    auto* creator = new TindrelCreator;
    creator->moveToThread(thread_);
    QTimer::singleShot(0, thread_, [this] { thread_->start(QThread::InheritPriority); });
    connect(
        thread_, &QThread::started, creator, [creator] { creator->create(); },
        Qt::QueuedConnection);
    QEventLoop untilCreated;
    connect(creator, &QObject::destroyed, &untilCreated, &QEventLoop::quit);
    untilCreated.exec(QEventLoop::ExcludeUserInputEvents | QEventLoop::ExcludeSocketNotifiers);

    updater_ = Tindrel::instance();
    connect(updater_, &Tindrel::deviceInfoCacheUpdated, this,
            &FWUpdateController::deviceInfoUpdated);
    connect(updater_, &Tindrel::deviceAppeared, this, &FWUpdateController::checkNow);
    connect(updater_, &Tindrel::deviceDisappeared, this, [this] { updateFound_ = false; });

    runner_ = new FWFlashRunner(timing.flashPoll);
    runner_->moveToThread(thread_);
    connect(runner_, &FWFlashRunner::progress, this, &FWUpdateController::installProgress);
    connect(runner_, &FWFlashRunner::successed, this, &FWUpdateController::installSuccess);
    connect(runner_, &FWFlashRunner::failed, this, &FWUpdateController::installFailed);
    // The device returns from a flash while the library still counts the update as running,
    // and any question asked then finds it absent: ask again once the library is reset.
    connect(runner_, &FWFlashRunner::successed, this, &FWUpdateController::handleDeviceChanged);
    connect(runner_, &FWFlashRunner::failed, this, &FWUpdateController::handleDeviceChanged);

    connect(downloader_, &FWDownloader::newVersionAvailable, this,
            &FWUpdateController::onNewVersionAvailable);
    connect(downloader_, &FWDownloader::checkFinishNoResult, this,
            &FWUpdateController::onCheckFinishNoResult);
    connect(downloader_, &FWDownloader::downloadProgress, this,
            &FWUpdateController::downloadProgress);
    connect(downloader_, &FWDownloader::newVersionDownloaded, this,
            &FWUpdateController::startFWFlash);
    connect(downloader_, &FWDownloader::newVersionDownloadFailed, this,
            &FWUpdateController::downloadFailed);

    connect(Settings::instance(), &Settings::autoUpdateFWChanged, this, [this](bool enabled) {
        if (enabled)
            QTimer::singleShot(timing_.autoInstallDelay, this, [this] { tryAutoInstall(); });
    });
}

FWUpdateController::~FWUpdateController() {
    // The runner goes first, in its own thread; the binding follows it there (deinitializing
    // the library), and its end ends the thread.
    connect(runner_, &QObject::destroyed, updater_, &QObject::deleteLater, Qt::DirectConnection);
    connect(updater_, &QObject::destroyed, thread_, &QThread::quit, Qt::DirectConnection);
    runner_->deleteLater();
    for (int pass = 0; pass < kThreadWaitPasses && thread_->isRunning(); ++pass) {
        if (!thread_->wait(kThreadWaitPassMs))
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
    if (thread_->isRunning()) {
        // The library does not return while a flash runs; ending the process now would leave
        // the device half written.
        qCritical("Waiting for the firmware update to finish...");
        thread_->wait();
    }
    delete thread_;
    window_.reset();
}

bool FWUpdateController::ensureCorrectUsbMode() {
    return Tindrel::ensureCorrectUsbMode();
}

bool FWUpdateController::isUsb3() {
    return TindrelApi::current().isUsb3();
}

void FWUpdateController::handleDeviceChanged() {
    QTimer::singleShot(0, updater_, &Tindrel::updateDeviceInfoCache);
}

void FWUpdateController::checkNow() {
    if (updateFound_) {
        autoUpdater_->autoCheckPending = false;
        return;
    }
    const DeviceInfo device = updater_->deviceInfo();
    if (device.present)
        downloader_->checkForUpdate(device);
}

void FWUpdateController::updateNow() {
    ensureWindow();
    startDownload();
}

void FWUpdateController::startDownload() {
    const DeviceInfo device = updater_->deviceInfo();
    if (!device.present) {
        emit installFailed();
        return;
    }
    emit updateStart();
    downloader_->download(device);
}

void FWUpdateController::pauseAutoUpdater() {
    autoUpdater_->resumed = false;
}

void FWUpdateController::resumeAutoUpdater() {
    autoUpdater_->resumed = true;
    tryAutoInstall();
}

void FWUpdateController::tryAutoInstall() {
    if (!updateFound_ || !Settings::instance()->autoUpdateFW())
        return;
    if (!autoUpdater_->resumed) {
        qDebug("FW AutoUpdate: update delayed");
        return;
    }
    qDebug("FW AutoUpdate: installing update from %s version",
           qPrintable(updater_->deviceInfo().versionText()));
    ensureWindow();
    startDownload();
}

void FWUpdateController::onNewVersionAvailable() {
    updateFound_ = true;
    Settings::instance()->setLastFWUpdateCheck(timing_.now());
    const bool autoCheck = autoUpdater_->autoCheckPending;
    autoUpdater_->autoCheckPending = false;
    if (autoCheck) {
        qDebug("FW AutoUpdate: installing new FW");
        tryAutoInstall();
    }
    emit updateAvailable();
}

void FWUpdateController::onCheckFinishNoResult() {
    if (autoUpdater_->autoCheckPending)
        qDebug("FW AutoUpdate: no new version available");
    autoUpdater_->autoCheckPending = false;
}

FWUpdateWindow* FWUpdateController::ensureWindow() {
    if (!window_) {
        window_ = std::make_unique<FWUpdateWindow>();
        FWUpdateWindow* window = window_.get();
        connect(this, &FWUpdateController::downloadProgress, window,
                &FWUpdateWindow::showDownloadProgress);
        connect(this, &FWUpdateController::downloadFailed, window,
                &FWUpdateWindow::showDownloadFailed);
        connect(this, &FWUpdateController::installProgress, window,
                &FWUpdateWindow::showInstallProgress);
        connect(this, &FWUpdateController::installSuccess, window,
                &FWUpdateWindow::showInstallSuccessed);
        connect(this, &FWUpdateController::installFailed, window,
                &FWUpdateWindow::showInstallFailed);
    }
    return window_.get();
}

void FWUpdateController::connectAboutBox(AboutBox* about) {
    connect(about, &AboutBox::checkFWUpdate, this, &FWUpdateController::checkNow);
    connect(about, &AboutBox::updateFWNow, this, &FWUpdateController::updateNow);
    connect(about, &AboutBox::toggleUSB2, updater_, &Tindrel::toggleUSB2);
    connect(about, &AboutBox::toggleUSB3, updater_, &Tindrel::toggleUSB3);
    connect(this, &FWUpdateController::deviceInfoUpdated, about,
            [this, about] { about->setDeviceInfo(updater_->deviceInfo()); });
    about->setDeviceInfo(updater_->deviceInfo());
    connect(this, &FWUpdateController::updateAvailable, about, &AboutBox::showFWUpdateAvailable);
    // The device may be back, and newer firmware for it found, before the success arrives.
    connect(this, &FWUpdateController::installSuccess, about, [this, about] {
        if (!updateFound_)
            about->hideFWUpdateAvailable();
    });
    // An update found before the box existed (at the device's arrival) is news for it too.
    if (updateFound_)
        about->showFWUpdateAvailable();
}

void FWUpdateController::startFWFlash() {
    const auto [image, signature] = downloader_->result();
    if (image.isEmpty() || signature.isEmpty()) {
        emit downloadFailed();
        return;
    }
    if (!FWChecker::verify(image, signature)) {
        qDebug("Downloaded firmware signature check failed!");
        emit downloadFailed();
        return;
    }
    updateFound_ = false;
    emit installProgress(1);
    QMetaObject::invokeMethod(runner_, "start", Q_ARG(QByteArray, image));
}
