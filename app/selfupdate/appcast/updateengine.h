#pragma once

#include "appcastfeed.h"
#include "appcastupdate.h"
#include "boundeddownload.h"
#include "updatesettings.h"
#include "updatewindow.h"

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QUrl>

#include <functional>
#include <memory>
#include <optional>

class QFile;
class QNetworkAccessManager;
class QTemporaryDir;

namespace appcast {

class Installer;

// What the framework was told before init(), plus the parts tests replace.
struct Configuration {
    QUrl appcastUrl;
    QString companyName;
    QString appName;
    QString appVersion;
    QString buildVersion;
    QString lang;
    QString settingsPath;
    int checkIntervalSeconds = 86400;
    SignatureValidationCallback signatureCallback = nullptr;
    // PEM; empty when the program trusts no Ed25519 key.
    QByteArray edPublicKey;
    // Its VERSION_ID is the system version that feeds' system limits are compared with.
    QString osReleaseFile = QStringLiteral("/etc/os-release");

    // By default, Debian packages through pkexec and apt-get.
    std::shared_ptr<Installer> installer;
    // Asks the program to quit once the installer runs.
    std::function<void()> shutdownRequest;
    DownloadLimits appcastLimits{1024 * 1024};
    DownloadLimits releaseNotesLimits{512 * 1024};
    DownloadLimits fileLimits{512 * 1024 * 1024};
};

// The configuration the next init() uses.
Configuration& configuration();

enum class CheckMode { Silent, Interactive };

enum class EngineState {
    Idle,
    Checking,
    // A release is shown to the user, who has not answered yet.
    Offering,
    Downloading,
    Verifying,
    // The installer runs and the program is quitting.
    Installing,
    // An error is shown to the user.
    Failed,
};

// One running framework: the automatic schedule and at most one check or update at a time.
class UpdateEngine : public QObject {
    Q_OBJECT
public:
    explicit UpdateEngine(const Configuration& configuration);
    ~UpdateEngine() override;

    // Null before init() and after cleanup().
    static UpdateEngine* current();

    // Off also ends a check that runs and an offer the user has not answered: the program turns
    // checks off while it needs the machine undisturbed.
    void setAutomaticChecks(bool on);
    void check(CheckMode mode);
    EngineState state() const { return state_; }
    UpdateWindow* window() const { return window_; }

private:
    QString currentVersion() const;
    bool busy() const;
    void scheduleAutomaticCheck();
    void onAutomaticTimer();
    QNetworkRequest makeRequest(const QUrl& url) const;
    Audience audience();
    void reportLastInstall();
    void onAppcast(bool ok, const QString& error);
    bool heldBack(const AppcastItem& item) const;
    void offer(const AppcastItem& item);
    void fetchReleaseNotes(const QUrl& url);
    void install();
    void onFileDownloaded(bool ok, const QString& error);
    bool signatureAccepted(const QString& path) const;
    void verifyAndInstall(const QString& path);
    void fail(const QString& message);
    void onDismissed();
    void endSession();
    UpdateWindow* ensureWindow();

    Configuration config_;
    UpdateSettings settings_;
    QString systemVersion_;
    QNetworkAccessManager* network_;
    QTimer automaticTimer_;
    EngineState state_ = EngineState::Idle;
    CheckMode mode_ = CheckMode::Silent;
    QPointer<BoundedDownload> appcastDownload_;
    QPointer<BoundedDownload> notesDownload_;
    QPointer<BoundedDownload> fileDownload_;
    std::optional<AppcastItem> offered_;
    std::unique_ptr<QTemporaryDir> downloadDir_;
    std::unique_ptr<QFile> downloadFile_;
    QPointer<UpdateWindow> window_;
};

} // namespace appcast
