#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QObject>
#include <QTimer>

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class AboutBox;
class FWAutoUpdater;
class FWDownloader;
class FWFlashRunner;
class FWUpdateWindow;
class QThread;
class Tindrel;

// The times the firmware controller works with; tests shorten them and bring their own clock.
struct FWUpdateTiming {
    std::function<QDateTime()> now = [] {
        return QDateTime::currentDateTime();
    };
    std::chrono::milliseconds autoUpdateTick{3600000};
    std::chrono::milliseconds autoInstallDelay{2000};
    std::chrono::milliseconds flashPoll{1000};
    // Pauses before asking again when the server did not answer the check made at the device's
    // arrival (the network may not be up yet); after the last, the hourly tick takes over.
    std::vector<std::chrono::milliseconds> checkRetryDelays{
        std::chrono::minutes(1), std::chrono::minutes(5), std::chrono::minutes(15)};
};

// Everything the program does with device firmware: finds newer firmware on the update server,
// downloads and verifies it, and has it flashed in the firmware thread ("FW updater thread"),
// on request or by itself when the settings allow. Reports each stage through its signals.
//
// One update at a time: from the start of its download to the library's own end of the flash
// an update is in progress, and any other request is refused. An update that a share began
// during keeps its verified image and is flashed when the share ends.
class FWUpdateController : public QObject {
    Q_OBJECT
public:
    using Timing = FWUpdateTiming;

    static FWUpdateController* instance();
    // Blocks until the library binding exists in the firmware thread.
    explicit FWUpdateController(const Timing& timing = Timing{});
    ~FWUpdateController() override;

    void connectAboutBox(AboutBox* about);

    static bool ensureCorrectUsbMode();
    static bool isUsb3();

    FWDownloader* downloader() const { return downloader_; }
    FWAutoUpdater* autoUpdater() const { return autoUpdater_; }
    bool isUpdateFound() const { return updateFound_; }
    bool isUpdateInProgress() const { return stage_ != Stage::Idle; }

signals:
    void deviceInfoUpdated();
    void updateAvailable();
    void updateStart();
    void downloadProgress(uint8_t value);
    void downloadFailed();
    void installProgress(uint8_t value);
    void installSuccess();
    void installFailed();
    // The downloaded image is not the maker's; nothing was flashed.
    void signatureRejected();
    // A share began during the download: the verified image waits for its end.
    void installPostponed();

public slots:
    void handleDeviceChanged();
    void checkNow();
    void updateNow();
    void pauseAutoUpdater();
    void resumeAutoUpdater();

private slots:
    void startFWFlash();

private:
    friend class FWAutoUpdater;

    enum class Stage { Idle, Downloading, Flashing };

    void tryAutoInstall();
    void startAttempt(bool automatic);
    void flashPostponedImage();
    void startFlash(const QByteArray& image);
    // Ends the attempt, then reports its end through `signal`.
    void endAttempt(void (FWUpdateController::*signal)(), bool failed = true);
    void onDeviceAppeared();
    void onNewVersionAvailable();
    void onCheckFinishNoResult();
    FWUpdateWindow* ensureWindow();

    Timing timing_;
    Tindrel* updater_ = nullptr;
    FWFlashRunner* runner_ = nullptr;
    QThread* thread_;
    FWDownloader* downloader_;
    FWAutoUpdater* autoUpdater_;
    std::unique_ptr<FWUpdateWindow> window_;
    bool updateFound_ = false;

    Stage stage_ = Stage::Idle;
    bool automaticAttempt_ = false;
    // The window follows the attempt; an automatic attempt whose failure the user has already
    // seen for this version runs without it.
    bool windowFollows_ = true;
    QString failureShownFor_;
    // A share was on when the attempt began; one that begins later postpones the flash.
    bool sharingAtStart_ = false;
    QByteArray postponedImage_;
    bool postponedAutomatically_ = false;

    bool checkAfterRefresh_ = false;
    QTimer checkRetryTimer_;
    std::size_t checkRetriesDone_ = 0;
    bool arrivalCheckPending_ = false;
};
