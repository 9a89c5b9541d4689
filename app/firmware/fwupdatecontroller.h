#pragma once

#include <QDateTime>
#include <QObject>

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>

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
};

// Everything the program does with device firmware: finds newer firmware on the update server,
// downloads and verifies it, and has it flashed in the firmware thread ("FW updater thread"),
// on request or by itself when the settings allow. Reports each stage through its signals.
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

signals:
    void deviceInfoUpdated();
    void updateAvailable();
    void updateStart();
    void downloadProgress(uint8_t value);
    void downloadFailed();
    void installProgress(uint8_t value);
    void installSuccess();
    void installFailed();

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

    void tryAutoInstall();
    void startDownload();
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
};
