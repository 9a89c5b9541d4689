#include "updateengine.h"

#include "installer.h"
#include "updatewindow.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QNetworkRequest>
#include <QTemporaryDir>

#include <algorithm>
#include <string>

namespace appcast {

namespace {

// The schedule is looked at again at least this often: timers do not count the time a
// machine sleeps.
constexpr qint64 kLongestWaitMs = 3600 * 1000;

UpdateEngine* currentEngine = nullptr;

QString downloadFileName(const QUrl& url) {
    const QString name = QFileInfo(url.path()).fileName();
    return name.isEmpty() ? QStringLiteral("update") : name;
}

} // namespace

Configuration& configuration() {
    static Configuration pending;
    return pending;
}

UpdateEngine::UpdateEngine(const Configuration& configuration)
    : config_(configuration)
    , settings_(configuration.settingsPath)
    , network_(new QNetworkAccessManager(this)) {
    if (!config_.installer)
        config_.installer = std::make_shared<PackageInstaller>();
    if (!config_.shutdownRequest) {
        config_.shutdownRequest = [] {
            QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit,
                                      Qt::QueuedConnection);
        };
    }
    automaticTimer_.setSingleShot(true);
    connect(&automaticTimer_, &QTimer::timeout, this, &UpdateEngine::onAutomaticTimer);
    currentEngine = this;
    scheduleAutomaticCheck();
}

UpdateEngine::~UpdateEngine() {
    if (currentEngine == this)
        currentEngine = nullptr;
    delete window_;
}

UpdateEngine* UpdateEngine::current() {
    return currentEngine;
}

QString UpdateEngine::currentVersion() const {
    return config_.buildVersion.isEmpty() ? config_.appVersion : config_.buildVersion;
}

void UpdateEngine::setAutomaticChecks(bool on) {
    settings_.setAutomaticChecks(on);
    scheduleAutomaticCheck();
}

void UpdateEngine::scheduleAutomaticCheck() {
    automaticTimer_.stop();
    if (!settings_.automaticChecks())
        return;
    const QDateTime now = QDateTime::currentDateTimeUtc();
    QDateTime last = settings_.lastCheckTime();
    if (!last.isValid() || last > now) {
        // The interval counts from the first time checks were allowed (or from now, when the
        // clock was put back), not from the beginning of time.
        settings_.setLastCheckTime(now);
        last = now;
    }
    const qint64 due = now.msecsTo(last.addSecs(config_.checkIntervalSeconds));
    automaticTimer_.start(static_cast<int>(std::clamp<qint64>(due, 0, kLongestWaitMs)));
}

void UpdateEngine::onAutomaticTimer() {
    const QDateTime due = settings_.lastCheckTime().addSecs(config_.checkIntervalSeconds);
    if (!busy_ && QDateTime::currentDateTimeUtc() >= due)
        check(CheckMode::Silent);
    else
        scheduleAutomaticCheck();
}

QNetworkRequest UpdateEngine::makeRequest(const QUrl& url) const {
    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::UserAgentHeader,
                      QStringLiteral("%1/%2").arg(config_.appName, currentVersion()));
    if (!config_.lang.isEmpty())
        request.setRawHeader(
            "Accept-Language",
            QString(config_.lang).replace(QLatin1Char('_'), QLatin1Char('-')).toLatin1());
    return request;
}

void UpdateEngine::check(CheckMode mode) {
    if (busy_) {
        // A question asked while a quiet check runs gets the window of that check.
        if (mode == CheckMode::Interactive) {
            if (mode_ == CheckMode::Silent && appcastDownload_)
                ensureWindow()->showChecking();
            else if (window_)
                window_->showNormal();
            mode_ = CheckMode::Interactive;
        }
        return;
    }
    busy_ = true;
    mode_ = mode;
    automaticTimer_.stop();
    settings_.setLastCheckTime(QDateTime::currentDateTimeUtc());
    qDebug().noquote() << "Software update: checking" << config_.appcastUrl.toString();
    if (mode == CheckMode::Interactive)
        ensureWindow()->showChecking();
    appcastDownload_ = new BoundedDownload(network_, makeRequest(config_.appcastUrl),
                                           config_.appcastLimits, nullptr, this);
    connect(appcastDownload_, &BoundedDownload::finished, this, &UpdateEngine::onAppcast);
}

void UpdateEngine::onAppcast(bool ok, const QString& error) {
    const QByteArray body = appcastDownload_->body();
    appcastDownload_->deleteLater();
    appcastDownload_.clear();

    QString reason = error;
    std::optional<QList<AppcastItem>> items;
    if (ok) {
        items = parseAppcast(body, &reason);
        if (!items)
            reason = tr("The update information is damaged (%1).").arg(reason);
    }
    if (!items) {
        qWarning().noquote() << "Software update: check failed:" << reason;
        fail(tr("Update information could not be retrieved. Are you connected to the internet? "
                "Please try again later.\n\n%1")
                 .arg(reason));
        return;
    }
    const std::optional<AppcastItem> update = newestUpdate(*items, currentVersion());
    if (!update) {
        qDebug() << "Software update: up to date";
        if (mode_ == CheckMode::Interactive)
            ensureWindow()->showUpToDate(currentVersion());
        endSession();
        return;
    }
    if (mode_ == CheckMode::Silent && update->version == settings_.skippedVersion()) {
        qDebug().noquote() << "Software update:" << update->version << "skipped by the user";
        endSession();
        return;
    }
    offer(*update);
}

void UpdateEngine::offer(const AppcastItem& item) {
    qDebug().noquote() << "Software update: offering" << item.version;
    offered_ = item;
    ensureWindow()->showOffer(item.shortVersion, currentVersion());
    if (!item.description.isEmpty())
        window_->setReleaseNotes(item.description);
    else if (item.releaseNotesUrl.isValid() && !item.releaseNotesUrl.isEmpty())
        fetchReleaseNotes(item.releaseNotesUrl);
}

void UpdateEngine::fetchReleaseNotes(const QUrl& url) {
    notesDownload_ =
        new BoundedDownload(network_, makeRequest(url), config_.releaseNotesLimits, nullptr, this);
    connect(notesDownload_, &BoundedDownload::finished, this, [this](bool ok, const QString&) {
        const QString notes = QString::fromUtf8(notesDownload_->body());
        notesDownload_->deleteLater();
        notesDownload_.clear();
        if (window_)
            window_->setReleaseNotes(ok ? notes : tr("The release notes could not be loaded."));
    });
}

void UpdateEngine::install() {
    if (!offered_ || fileDownload_)
        return;
    delete notesDownload_;
    downloadDir_ = std::make_unique<QTemporaryDir>(
        QDir::temp().filePath(QStringLiteral("%1-update-XXXXXX").arg(config_.appName.toLower())));
    const QString path = downloadDir_->isValid()
                             ? downloadDir_->filePath(downloadFileName(offered_->fileUrl))
                             : QString();
    downloadFile_ = std::make_unique<QFile>(path);
    if (path.isEmpty() || !downloadFile_->open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        fail(tr("The update could not be saved in the temporary folder %1.")
                 .arg(QDir::toNativeSeparators(QDir::tempPath())));
        return;
    }
    qDebug().noquote() << "Software update: downloading" << offered_->fileUrl.toString();
    window_->showDownloading();
    fileDownload_ = new BoundedDownload(network_, makeRequest(offered_->fileUrl),
                                        config_.fileLimits, downloadFile_.get(), this);
    connect(fileDownload_, &BoundedDownload::progress, window_, &UpdateWindow::setDownloadProgress);
    connect(fileDownload_, &BoundedDownload::finished, this, &UpdateEngine::onFileDownloaded);
}

void UpdateEngine::onFileDownloaded(bool ok, const QString& error) {
    const qint64 received = fileDownload_->bytesReceived();
    fileDownload_->deleteLater();
    fileDownload_.clear();
    const bool flushed = downloadFile_->flush();
    const QString path = downloadFile_->fileName();
    downloadFile_->close();
    if (!ok || !flushed) {
        fail(tr("The update could not be downloaded: %1")
                 .arg(ok ? downloadFile_->errorString() : error));
        return;
    }
    // A file of the wrong size is damaged or not the one announced; no signature is asked about
    // it.
    if (offered_->length > 0 && received != offered_->length) {
        qWarning() << "Software update: received" << received << "bytes instead of"
                   << offered_->length;
        fail(tr("The downloaded update is incomplete or damaged (%1 bytes instead of %2). "
                "Please try again later.")
                 .arg(received)
                 .arg(offered_->length));
        return;
    }
    verifyAndInstall(path);
}

void UpdateEngine::verifyAndInstall(const QString& path) {
    const std::wstring widePath = QDir::toNativeSeparators(path).toStdWString();
    const QByteArray signature = offered_->dsaSignature.toLatin1();
    const bool accepted = !signature.isEmpty() && config_.signatureCallback &&
                          config_.signatureCallback(widePath.c_str(), signature.constData()) == 1;
    if (!accepted) {
        qWarning() << "Software update: the update's signature was refused";
        fail(tr("The update is not signed by the maker of %1, so it was not installed.")
                 .arg(config_.appName));
        return;
    }
    QString error;
    if (!config_.installer->start(path, &error)) {
        // The message tells the user where the file is; it stays.
        downloadDir_->setAutoRemove(false);
        fail(error);
        return;
    }
    qDebug().noquote() << "Software update: installing" << offered_->version;
    // The installer removes the file when it is done.
    downloadDir_->setAutoRemove(false);
    if (window_)
        window_->hide();
    endSession();
    config_.shutdownRequest();
}

void UpdateEngine::fail(const QString& message) {
    if (mode_ == CheckMode::Interactive || offered_)
        ensureWindow()->showError(message);
    endSession();
}

void UpdateEngine::onDismissed() {
    if (!busy_)
        return;
    if (fileDownload_)
        qDebug() << "Software update: download cancelled";
    endSession();
}

void UpdateEngine::endSession() {
    delete appcastDownload_;
    delete notesDownload_;
    delete fileDownload_;
    downloadFile_.reset();
    downloadDir_.reset();
    offered_.reset();
    busy_ = false;
    scheduleAutomaticCheck();
}

UpdateWindow* UpdateEngine::ensureWindow() {
    if (!window_) {
        window_ = new UpdateWindow(config_.appName);
        connect(window_, &UpdateWindow::installRequested, this, &UpdateEngine::install);
        connect(window_, &UpdateWindow::skipRequested, this, [this] {
            if (offered_)
                settings_.setSkippedVersion(offered_->version);
            window_->hide();
            endSession();
        });
        connect(window_, &UpdateWindow::laterRequested, this, [this] {
            window_->hide();
            endSession();
        });
        connect(window_, &UpdateWindow::dismissed, this, &UpdateEngine::onDismissed);
    }
    return window_;
}

} // namespace appcast
