#include "fwdownloader.h"

#include "boundeddownload.h"
#include "updateserver.h"

#include <QNetworkAccessManager>
#include <QNetworkRequest>
#include <QUrl>

#include <algorithm>

namespace {

const char kImageFile[] = "mcr_flashimage.bin";
const char kSignatureFile[] = "mcr_flashimage.bin.sig";

// One manager for the process, made anew for every check and download so that no cached
// connection outlives the request it served.
QPointer<QNetworkAccessManager> sharedManager;

QNetworkAccessManager* networkManager() {
    if (!sharedManager)
        sharedManager = new QNetworkAccessManager;
    return sharedManager;
}

void discardNetworkManager() {
    if (!sharedManager)
        return;
    sharedManager->clearConnectionCache();
    sharedManager->deleteLater();
    sharedManager.clear();
}

bool succeeded(const appcast::BoundedDownload* download) {
    return download->error().isEmpty();
}

} // namespace

FWDownloader::FWDownloader(QObject* parent)
    : QObject(parent) {}

FWDownloader::~FWDownloader() {
    reset();
}

QString FWDownloader::versionDirectory(const DeviceInfo::Version& version) {
    const QLatin1Char zero('0');
    return QStringLiteral("%1.%2.%3")
        .arg(version.major, 2, 10, zero)
        .arg(version.minor, 2, 10, zero)
        .arg(version.build, 3, 10, zero);
}

appcast::BoundedDownload* FWDownloader::get(const DeviceInfo& info, const char* fileName,
                                            qint64 maxBytes) {
    const QUrl url(
        QStringLiteral("%1/quendral/vc/086c/%2/0/w10/64/%3")
            .arg(updateServerBase(), versionDirectory(info.version), QLatin1String(fileName)),
        QUrl::StrictMode);
    // Redirects are followed, but never from an encrypted connection to a plain one.
    return new appcast::BoundedDownload(networkManager(), QNetworkRequest(url),
                                        {maxBytes, limits_.stallTimeout, limits_.deadline}, nullptr,
                                        this);
}

void FWDownloader::cancel(Download& download) {
    if (!download)
        return;
    disconnect(download, nullptr, this, nullptr);
    // Its end aborts the request.
    download->deleteLater();
    download.clear();
}

bool FWDownloader::cancelCheck() {
    if (!checkReply_)
        return false;
    cancel(checkReply_);
    lastCheckFailed_ = false;
    emit checkFinishNoResult();
    return true;
}

void FWDownloader::checkForUpdate(const DeviceInfo& info) {
    if (imageReply_ || signatureReply_) {
        // A check never interrupts a download.
        lastCheckFailed_ = false;
        emit checkFinishNoResult();
        return;
    }
    cancelCheck();
    discardNetworkManager();
    checkReply_ = get(info, kSignatureFile, limits_.maxTextBytes);
    connect(checkReply_, &appcast::BoundedDownload::finished, this,
            &FWDownloader::onCheckCompleted);
}

void FWDownloader::onCheckCompleted() {
    auto* download = qobject_cast<appcast::BoundedDownload*>(sender());
    // Any successful answer counts; the signature itself is read only with the image.
    const bool found = download && succeeded(download);
    const int status = download ? download->httpStatus() : 0;
    lastCheckFailed_ = !found && !(status >= 400 && status < 500);
    if (found)
        emit newVersionAvailable();
    if (download)
        download->deleteLater();
    if (checkReply_)
        checkReply_->deleteLater();
    checkReply_.clear();
    if (!found)
        emit checkFinishNoResult();
}

void FWDownloader::reset() {
    imageProgress_ = 0;
    signatureProgress_ = 0;
    cancelCheck();
    const bool wasDownloading = imageReply_ || signatureReply_;
    cancel(imageReply_);
    cancel(signatureReply_);
    discardNetworkManager();
    image_.clear();
    signature_.clear();
    imageOk_ = false;
    signatureOk_ = false;
    if (wasDownloading)
        emit newVersionDownloadFailed();
}

void FWDownloader::download(const DeviceInfo& info) {
    reset();
    imageReply_ = get(info, kImageFile, limits_.maxImageBytes);
    connect(imageReply_, &appcast::BoundedDownload::finished, this, &FWDownloader::onFWDownload);
    connect(
        imageReply_, &appcast::BoundedDownload::progress, this,
        [this](qint64 received, qint64 total) { onFileProgress(imageProgress_, received, total); });
    signatureReply_ = get(info, kSignatureFile, limits_.maxTextBytes);
    connect(signatureReply_, &appcast::BoundedDownload::finished, this,
            &FWDownloader::onFWSigDownload);
    connect(signatureReply_, &appcast::BoundedDownload::progress, this,
            [this](qint64 received, qint64 total) {
                onFileProgress(signatureProgress_, received, total);
            });
}

void FWDownloader::onFileProgress(quint8& fileProgress, qint64 received, qint64 total) {
    if (total <= 0) {
        fileProgress = 50;
    } else {
        // A server that sends more than it announced must not wrap the bar around.
        const double percent = static_cast<double>(received) / static_cast<double>(total) * 100.0;
        fileProgress = static_cast<quint8>(std::min(percent, 100.0));
    }
    emit downloadProgress(static_cast<uint8_t>((imageProgress_ + signatureProgress_) / 2));
}

void FWDownloader::onFWDownload() {
    onFileFinished(imageReply_, image_, imageOk_, signatureReply_);
}

void FWDownloader::onFWSigDownload() {
    onFileFinished(signatureReply_, signature_, signatureOk_, imageReply_);
}

void FWDownloader::onFileFinished(Download& own, QByteArray& data, bool& ok,
                                  const Download& other) {
    auto* download = qobject_cast<appcast::BoundedDownload*>(sender());
    if (!download)
        return;
    ok = succeeded(download);
    // A partly received file is never kept.
    if (ok)
        data = download->body();
    download->deleteLater();
    if (own)
        own->deleteLater();
    own.clear();
    if (other)
        return;
    if (imageOk_ && signatureOk_)
        emit newVersionDownloaded();
    else
        emit newVersionDownloadFailed();
}
