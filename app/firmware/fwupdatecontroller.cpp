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

#include <utility>

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
    connect(updater_, &Tindrel::deviceInfoCacheUpdated, this, [this] {
        if (std::exchange(checkAfterRefresh_, false))
            checkNow();
    });
    connect(updater_, &Tindrel::deviceAppeared, this, &FWUpdateController::onDeviceAppeared);
    connect(updater_, &Tindrel::deviceDisappeared, this, [this] {
        updateFound_ = false;
        postponedImage_.clear();
        checkRetryTimer_.stop();
        arrivalCheckPending_ = false;
    });

    checkRetryTimer_.setSingleShot(true);
    connect(&checkRetryTimer_, &QTimer::timeout, this, [this] {
        checkNow();
        arrivalCheckPending_ = downloader_->isChecking();
    });

    runner_ = new FWFlashRunner(timing.flashPoll);
    runner_->moveToThread(thread_);
    connect(runner_, &FWFlashRunner::progress, this, &FWUpdateController::installProgress);
    connect(runner_, &FWFlashRunner::successed, this, [this] {
        endAttempt(&FWUpdateController::installSuccess, false);
        // The device runs another version now, for which the server may hold newer firmware.
        checkAfterRefresh_ = true;
    });
    connect(runner_, &FWFlashRunner::failed, this,
            [this] { endAttempt(&FWUpdateController::installFailed); });
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
    connect(downloader_, &FWDownloader::newVersionDownloadFailed, this, [this] {
        if (stage_ == Stage::Downloading)
            endAttempt(&FWUpdateController::downloadFailed);
    });

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
    // News found during an update would offer it a second time.
    if (updateFound_ || isUpdateInProgress()) {
        autoUpdater_->autoCheckPending = false;
        return;
    }
    const DeviceInfo device = updater_->deviceInfo();
    if (device.present)
        downloader_->checkForUpdate(device);
}

void FWUpdateController::onDeviceAppeared() {
    checkRetryTimer_.stop();
    checkRetriesDone_ = 0;
    checkNow();
    arrivalCheckPending_ = downloader_->isChecking();
}

void FWUpdateController::updateNow() {
    if (isUpdateInProgress()) {
        qDebug("FW update: one is in progress; the request to start another is refused");
        return;
    }
    startAttempt(false);
}

void FWUpdateController::startAttempt(bool automatic) {
    const DeviceInfo device = updater_->deviceInfo();
    automaticAttempt_ = automatic;
    windowFollows_ = !automatic || failureShownFor_ != device.versionText();
    ensureWindow();
    if (!device.present) {
        emit installFailed();
        return;
    }
    postponedImage_.clear();
    sharingAtStart_ = !autoUpdater_->resumed;
    stage_ = Stage::Downloading;
    emit updateStart();
    downloader_->download(device);
}

void FWUpdateController::endAttempt(void (FWUpdateController::*signal)(), bool failed) {
    // Unattended, a failure is shown once per version; later tries for it run out of sight.
    if (failed && automaticAttempt_ && windowFollows_)
        failureShownFor_ = updater_->deviceInfo().versionText();
    stage_ = Stage::Idle;
    emit(this->*signal)();
}

void FWUpdateController::pauseAutoUpdater() {
    autoUpdater_->resumed = false;
}

void FWUpdateController::resumeAutoUpdater() {
    autoUpdater_->resumed = true;
    if (!postponedImage_.isEmpty() &&
        (!postponedAutomatically_ || Settings::instance()->autoUpdateFW()))
        flashPostponedImage();
    else
        tryAutoInstall();
}

void FWUpdateController::tryAutoInstall() {
    if (!updateFound_ || !Settings::instance()->autoUpdateFW())
        return;
    if (!autoUpdater_->resumed) {
        qDebug("FW AutoUpdate: update delayed");
        return;
    }
    if (isUpdateInProgress()) {
        qDebug("FW AutoUpdate: an update is already in progress");
        return;
    }
    qDebug("FW AutoUpdate: installing update from %s version",
           qPrintable(updater_->deviceInfo().versionText()));
    if (!postponedImage_.isEmpty())
        flashPostponedImage();
    else
        startAttempt(true);
}

void FWUpdateController::flashPostponedImage() {
    const QByteArray image = postponedImage_;
    postponedImage_.clear();
    if (!updater_->deviceInfo().present)
        return;
    qDebug("FW update: the share ended; installing the firmware downloaded before it");
    automaticAttempt_ = postponedAutomatically_;
    stage_ = Stage::Flashing;
    emit updateStart();
    startFlash(image);
}

void FWUpdateController::onNewVersionAvailable() {
    arrivalCheckPending_ = false;
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
    if (!arrivalCheckPending_)
        return;
    arrivalCheckPending_ = false;
    if (!downloader_->lastCheckFailed() || checkRetriesDone_ >= timing_.checkRetryDelays.size())
        return;
    const auto delay = timing_.checkRetryDelays[checkRetriesDone_++];
    qDebug("FW check: the update server did not answer; asking again in %lld s",
           static_cast<long long>(std::chrono::duration_cast<std::chrono::seconds>(delay).count()));
    checkRetryTimer_.start(delay);
}

FWUpdateWindow* FWUpdateController::ensureWindow() {
    if (!window_) {
        window_ = std::make_unique<FWUpdateWindow>();
        FWUpdateWindow* window = window_.get();
        const auto follow = [this, window](auto signal, auto slot) {
            connect(this, signal, window, [this, window, slot](auto... value) {
                if (windowFollows_)
                    (window->*slot)(value...);
            });
        };
        follow(&FWUpdateController::downloadProgress, &FWUpdateWindow::showDownloadProgress);
        follow(&FWUpdateController::downloadFailed, &FWUpdateWindow::showDownloadFailed);
        follow(&FWUpdateController::signatureRejected, &FWUpdateWindow::showSignatureRejected);
        follow(&FWUpdateController::installPostponed, &FWUpdateWindow::showInstallPostponed);
        follow(&FWUpdateController::installProgress, &FWUpdateWindow::showInstallProgress);
        follow(&FWUpdateController::installSuccess, &FWUpdateWindow::showInstallSuccessed);
        follow(&FWUpdateController::installFailed, &FWUpdateWindow::showInstallFailed);
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
    // The offer is not there while an update runs, so that nobody starts it twice.
    const auto offerIfFound = [this, about] {
        if (updateFound_ && !isUpdateInProgress())
            about->showFWUpdateAvailable();
        else
            about->hideFWUpdateAvailable();
    };
    for (const auto signal :
         {&FWUpdateController::updateAvailable, &FWUpdateController::updateStart,
          &FWUpdateController::downloadFailed, &FWUpdateController::signatureRejected,
          &FWUpdateController::installPostponed, &FWUpdateController::installSuccess,
          &FWUpdateController::installFailed})
        connect(this, signal, about, offerIfFound);
    // An update found before the box existed (at the device's arrival) is news for it too.
    offerIfFound();
}

void FWUpdateController::startFWFlash() {
    if (stage_ != Stage::Downloading)
        return;
    const auto [image, signature] = downloader_->result();
    if (image.isEmpty() || signature.isEmpty()) {
        endAttempt(&FWUpdateController::downloadFailed);
        return;
    }
    if (!FWChecker::verify(image, signature)) {
        qDebug("Downloaded firmware signature check failed!");
        // Whatever the server offers for this version is not installable; the next check says
        // whether it still offers it.
        updateFound_ = false;
        endAttempt(&FWUpdateController::signatureRejected);
        return;
    }
    if (!sharingAtStart_ && !autoUpdater_->resumed) {
        qDebug("FW update: a share began during the download; the install waits for its end");
        postponedImage_ = image;
        postponedAutomatically_ = automaticAttempt_;
        endAttempt(&FWUpdateController::installPostponed, false);
        return;
    }
    stage_ = Stage::Flashing;
    startFlash(image);
}

void FWUpdateController::startFlash(const QByteArray& image) {
    updateFound_ = false;
    emit installProgress(1);
    QMetaObject::invokeMethod(runner_, "start", Q_ARG(QByteArray, image));
}
