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

// One running framework: the automatic schedule and at most one check or update at a time.
class UpdateEngine : public QObject {
    Q_OBJECT
public:
    explicit UpdateEngine(const Configuration& configuration);
    ~UpdateEngine() override;

    // Null before init() and after cleanup().
    static UpdateEngine* current();

    void setAutomaticChecks(bool on);
    void check(CheckMode mode);
    UpdateWindow* window() const { return window_; }

private:
    QString currentVersion() const;
    void scheduleAutomaticCheck();
    void onAutomaticTimer();
    QNetworkRequest makeRequest(const QUrl& url) const;
    void onAppcast(bool ok, const QString& error);
    void offer(const AppcastItem& item);
    void fetchReleaseNotes(const QUrl& url);
    void install();
    void onFileDownloaded(bool ok, const QString& error);
    void verifyAndInstall(const QString& path);
    void fail(const QString& message);
    void onDismissed();
    void endSession();
    UpdateWindow* ensureWindow();

    Configuration config_;
    UpdateSettings settings_;
    QNetworkAccessManager* network_;
    QTimer automaticTimer_;
    bool busy_ = false;
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
