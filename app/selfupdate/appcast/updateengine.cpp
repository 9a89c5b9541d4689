#include "updateengine.h"

#include "edsignature.h"
#include "installer.h"
#include "updatewindow.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDesktopServices>
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

bool isWebAddress(const QUrl& url) {
    return url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https");
}

// VERSION_ID of an os-release file, e.g. 12 on Debian 12; empty when it has none.
QString systemVersionFrom(const QString& osReleaseFile) {
    QFile file(osReleaseFile);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine(4096)).trimmed();
        if (line.startsWith(QLatin1String("VERSION_ID=")))
            return line.mid(11).remove(QLatin1Char('"')).remove(QLatin1Char('\''));
    }
    return {};
}

const char* verdictText(Verdict verdict) {
    switch (verdict) {
    case Verdict::Offered:
        return "offered";
    case Verdict::NotNewer:
        return "not newer";
    case Verdict::OtherChannel:
        return "another channel";
    case Verdict::OtherSystem:
        return "another system";
    case Verdict::SystemTooOld:
        return "needs a newer system";
    case Verdict::SystemTooNew:
        return "needs an older system";
    case Verdict::NotRolledOutYet:
        return "not rolled out to this installation yet";
    case Verdict::NoCheckableSignature:
        return "no signature this program can check";
    }
    return "";
}

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
    , systemVersion_(systemVersionFrom(configuration.osReleaseFile))
    , network_(new QNetworkAccessManager(this)) {
    if (!config_.installer) {
        config_.installer = std::make_shared<PackageInstaller>(
            UpdateSettings::installOutcomeFileFor(config_.settingsPath));
    }
    if (!config_.shutdownRequest) {
        config_.shutdownRequest = [] {
            QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit,
                                      Qt::QueuedConnection);
        };
    }
    automaticTimer_.setSingleShot(true);
    connect(&automaticTimer_, &QTimer::timeout, this, &UpdateEngine::onAutomaticTimer);
    currentEngine = this;
    reportLastInstall();
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

bool UpdateEngine::busy() const {
    return state_ != EngineState::Idle && state_ != EngineState::Failed;
}

// An installation that failed was reported by the installer after the program had quit; the
// user hears of it once, and automatic checks leave that version alone for an interval, so that
// a failing installation does not come back for ever.
void UpdateEngine::reportLastInstall() {
    const std::optional<InstallOutcome> outcome =
        takeInstallOutcome(UpdateSettings::installOutcomeFileFor(config_.settingsPath));
    if (!outcome)
        return;
    if (outcome->succeeded()) {
        qDebug().noquote() << "Software update:" << outcome->version << "installed";
        return;
    }
    qWarning().noquote() << "Software update: installing" << outcome->version
                         << "failed with status" << outcome->status;
    settings_.setFailedVersion(
        outcome->version, QDateTime::currentDateTimeUtc().addSecs(config_.checkIntervalSeconds));
    state_ = EngineState::Failed;
    ensureWindow()->showError(outcome->failureText());
}

void UpdateEngine::setAutomaticChecks(bool on) {
    settings_.setAutomaticChecks(on);
    if (!on && (state_ == EngineState::Checking || state_ == EngineState::Offering)) {
        qDebug() << "Software update: check ended, checks are off";
        if (window_)
            window_->hide();
        endSession();
    }
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
    if (!busy() && QDateTime::currentDateTimeUtc() >= due)
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
    if (busy()) {
        // A question asked while a quiet check runs gets the window of that check.
        if (mode == CheckMode::Interactive) {
            if (state_ == EngineState::Checking && mode_ == CheckMode::Silent)
                ensureWindow()->showChecking();
            else if (window_)
                window_->showNormal();
            mode_ = CheckMode::Interactive;
        }
        return;
    }
    state_ = EngineState::Checking;
    mode_ = mode;
    automaticTimer_.stop();
    settings_.setLastCheckTime(QDateTime::currentDateTimeUtc());
    qDebug().noquote() << "Software update: checking" << config_.appcastUrl.toString();
    if (mode == CheckMode::Interactive)
        ensureWindow()->showChecking();
    else if (window_)
        window_->hide();
    appcastDownload_ = new BoundedDownload(network_, makeRequest(config_.appcastUrl),
                                           config_.appcastLimits, nullptr, this);
    connect(appcastDownload_, &BoundedDownload::finished, this, &UpdateEngine::onAppcast);
}

Audience UpdateEngine::audience() {
    Audience audience;
    audience.installedVersion = currentVersion();
    audience.systemVersion = systemVersion_;
    audience.channels = settings_.channels();
    audience.rolloutGroup = settings_.rolloutGroup(kRolloutGroups);
    audience.now = QDateTime::currentDateTimeUtc();
    audience.userAsked = mode_ == CheckMode::Interactive;
    audience.checksDsa = config_.signatureCallback != nullptr;
    audience.checksEd = !config_.edPublicKey.isEmpty();
    return audience;
}

void UpdateEngine::onAppcast(bool ok, const QString& error) {
    const QByteArray body = appcastDownload_->body();
    appcastDownload_->deleteLater();
    appcastDownload_.clear();

    QString reason = error;
    std::optional<QList<AppcastItem>> items;
    if (ok) {
        items = parseAppcast(body, {config_.appcastUrl, config_.lang}, &reason);
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
    const Audience who = audience();
    for (const AppcastItem& item : *items) {
        const Verdict verdict = judge(item, who);
        if (verdict != Verdict::Offered && verdict != Verdict::NotNewer)
            qDebug().noquote() << "Software update:" << item.version
                               << "left out:" << verdictText(verdict);
    }
    const std::optional<AppcastItem> update = newestUpdate(*items, who);
    if (!update) {
        qDebug() << "Software update: up to date";
        if (mode_ == CheckMode::Interactive)
            ensureWindow()->showUpToDate(currentVersion());
        endSession();
        return;
    }
    if (mode_ == CheckMode::Silent && heldBack(*update)) {
        endSession();
        return;
    }
    offer(*update);
}

// Automatic checks do not bring back what the user skipped, unless it became critical, nor,
// for an interval, what failed to install.
bool UpdateEngine::heldBack(const AppcastItem& item) const {
    if (item.version == settings_.skippedVersion() && !item.isCriticalFor(currentVersion())) {
        qDebug().noquote() << "Software update:" << item.version << "skipped by the user";
        return true;
    }
    if (item.version == settings_.failedVersion() &&
        QDateTime::currentDateTimeUtc() < settings_.failedVersionHeldUntil()) {
        qDebug().noquote() << "Software update:" << item.version
                           << "failed to install; offered again at the next scheduled check";
        return true;
    }
    return false;
}

void UpdateEngine::offer(const AppcastItem& item) {
    qDebug().noquote() << "Software update: offering" << item.version;
    state_ = EngineState::Offering;
    offered_ = item;
    const QString installed = currentVersion();
    ensureWindow()->showOffer({item.shortVersion, installed, item.isCriticalFor(installed),
                               item.isInformationalFor(installed),
                               isWebAddress(item.fullReleaseNotesUrl)});
    if (!item.description.isEmpty())
        window_->setReleaseNotes(item.description, item.descriptionIsPlainText);
    else if (!item.releaseNotesUrl.isEmpty())
        fetchReleaseNotes(item.releaseNotesUrl);
}

void UpdateEngine::fetchReleaseNotes(const QUrl& url) {
    notesDownload_ =
        new BoundedDownload(network_, makeRequest(url), config_.releaseNotesLimits, nullptr, this);
    connect(notesDownload_, &BoundedDownload::finished, this, [this, url](bool ok, const QString&) {
        const QString notes = QString::fromUtf8(notesDownload_->body());
        notesDownload_->deleteLater();
        notesDownload_.clear();
        if (!window_)
            return;
        if (ok)
            window_->setReleaseNotes(notes, url.path().endsWith(QLatin1String(".txt")));
        else
            window_->setReleaseNotes(tr("The release notes could not be loaded."), true);
    });
}

void UpdateEngine::install() {
    if (state_ != EngineState::Offering)
        return;
    if (offered_->isInformationalFor(currentVersion())) {
        // Nothing to download: the release is told of on its web page.
        if (isWebAddress(offered_->link))
            QDesktopServices::openUrl(offered_->link);
        window_->hide();
        endSession();
        return;
    }
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
    state_ = EngineState::Downloading;
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

// Either signature will do: the program's own judgement of the DSA one, where only 1 accepts,
// or the Ed25519 one under the key the program trusts.
bool UpdateEngine::signatureAccepted(const QString& path) const {
    const QByteArray dsa = offered_->dsaSignature.toLatin1();
    if (!dsa.isEmpty() && config_.signatureCallback) {
        const std::wstring widePath = QDir::toNativeSeparators(path).toStdWString();
        if (config_.signatureCallback(widePath.c_str(), dsa.constData()) == 1)
            return true;
    }
    const QByteArray ed = offered_->edSignature.toLatin1();
    if (!ed.isEmpty() && !config_.edPublicKey.isEmpty()) {
        QString why;
        if (verifyEd25519(path, ed, config_.edPublicKey, &why))
            return true;
        qWarning().noquote() << "Software update:" << why;
    }
    return false;
}

void UpdateEngine::verifyAndInstall(const QString& path) {
    state_ = EngineState::Verifying;
    if (!signatureAccepted(path)) {
        qWarning() << "Software update: the update's signature was refused";
        fail(tr("The update is not signed by the maker of %1, so it was not installed.")
                 .arg(config_.appName));
        return;
    }
    QString error;
    // Whatever happens next, the file stays: the installer removes it once installed, and a
    // message tells the user where it is otherwise.
    downloadDir_->setAutoRemove(false);
    if (!config_.installer->start(path, offered_->version, &error)) {
        fail(error);
        return;
    }
    qDebug().noquote() << "Software update: installing" << offered_->version;
    state_ = EngineState::Installing;
    automaticTimer_.stop();
    if (window_)
        window_->hide();
    config_.shutdownRequest();
}

void UpdateEngine::fail(const QString& message) {
    const bool shown = mode_ == CheckMode::Interactive || state_ != EngineState::Checking;
    endSession();
    if (shown) {
        state_ = EngineState::Failed;
        ensureWindow()->showError(message);
    }
}

void UpdateEngine::onDismissed() {
    if (state_ == EngineState::Downloading)
        qDebug() << "Software update: download cancelled";
    if (state_ != EngineState::Idle && state_ != EngineState::Installing)
        endSession();
}

void UpdateEngine::endSession() {
    delete appcastDownload_;
    delete notesDownload_;
    delete fileDownload_;
    downloadFile_.reset();
    downloadDir_.reset();
    offered_.reset();
    state_ = EngineState::Idle;
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
        connect(window_, &UpdateWindow::versionHistoryRequested, this, [this] {
            if (offered_ && isWebAddress(offered_->fullReleaseNotesUrl))
                QDesktopServices::openUrl(offered_->fullReleaseNotesUrl);
        });
        connect(window_, &UpdateWindow::dismissed, this, &UpdateEngine::onDismissed);
    }
    return window_;
}

} // namespace appcast
