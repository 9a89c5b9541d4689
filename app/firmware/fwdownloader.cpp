#include "fwdownloader.h"

#include "updateserver.h"

#include <QDebug>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>

#include <algorithm>

namespace {

const char kImageFile[] = "mcr_flashimage.bin";
// Marks a reply that went beyond its limits: Qt reports the last bytes of a body only after
// the reply has finished, when aborting it no longer sets an error.
const char kRefusedProperty[] = "castwellRefused";
const char kSignatureFile[] = "mcr_flashimage.bin.sig";

// One manager for the process, made anew for every check and download so that no cached
// connection outlives the request it served.
QPointer<QNetworkAccessManager> sharedManager;

QNetworkAccessManager* networkManager() {
    if (!sharedManager) {
        sharedManager = new QNetworkAccessManager;
        // Follow redirects, but never from an encrypted connection to a plain one.
        sharedManager->setRedirectPolicy(QNetworkRequest::NoLessSafeRedirectPolicy);
    }
    return sharedManager;
}

void discardNetworkManager() {
    if (!sharedManager)
        return;
    sharedManager->clearConnectionCache();
    sharedManager->deleteLater();
    sharedManager.clear();
}

bool succeeded(const QNetworkReply* reply) {
    return reply->error() == QNetworkReply::NoError && !reply->property(kRefusedProperty).toBool();
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

QNetworkReply* FWDownloader::get(const DeviceInfo& info, const char* fileName, qint64 maxBytes) {
    const QUrl url(
        QStringLiteral("%1/quendral/vc/086c/%2/0/w10/64/%3")
            .arg(updateServerBase(), versionDirectory(info.version), QLatin1String(fileName)),
        QUrl::StrictMode);
    QNetworkRequest request(url);
    request.setTransferTimeout(static_cast<int>(limits_.stallTimeout.count()));
    QNetworkReply* reply = networkManager()->get(request);

    const auto refuse = [this, reply](const char* why) {
        qDebug().noquote() << "FW download:" << reply->url().toString() << why;
        reply->setProperty(kRefusedProperty, true);
        disconnect(reply, &QNetworkReply::downloadProgress, this, nullptr);
        reply->abort();
    };
    connect(reply, &QNetworkReply::metaDataChanged, this, [reply, maxBytes, refuse] {
        const QVariant declared = reply->header(QNetworkRequest::ContentLengthHeader);
        if (declared.isValid() && declared.toLongLong() > maxBytes)
            refuse("announces more bytes than allowed");
    });
    connect(reply, &QNetworkReply::downloadProgress, this,
            [maxBytes, refuse](qint64 received, qint64) {
                if (received > maxBytes)
                    refuse("sent more bytes than allowed");
            });
    QTimer::singleShot(limits_.deadline, reply, [refuse] { refuse("took too long"); });
    return reply;
}

void FWDownloader::cancel(QPointer<QNetworkReply>& reply) {
    if (!reply)
        return;
    disconnect(reply, nullptr, this, nullptr);
    reply->abort();
    reply->deleteLater();
    reply.clear();
}

bool FWDownloader::cancelCheck() {
    if (!checkReply_)
        return false;
    cancel(checkReply_);
    emit checkFinishNoResult();
    return true;
}

void FWDownloader::checkForUpdate(const DeviceInfo& info) {
    if (imageReply_ || signatureReply_) {
        // A check never interrupts a download.
        emit checkFinishNoResult();
        return;
    }
    cancelCheck();
    discardNetworkManager();
    checkReply_ = get(info, kSignatureFile, limits_.maxTextBytes);
    connect(checkReply_, &QNetworkReply::finished, this, &FWDownloader::onCheckCompleted);
}

void FWDownloader::onCheckCompleted() {
    auto* reply = qobject_cast<QNetworkReply*>(sender());
    // Any successful answer counts; the signature itself is read only with the image.
    const bool found = reply && succeeded(reply);
    if (found)
        emit newVersionAvailable();
    if (reply)
        reply->deleteLater();
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
    connect(imageReply_, &QNetworkReply::finished, this, &FWDownloader::onFWDownload);
    connect(
        imageReply_, &QNetworkReply::downloadProgress, this,
        [this](qint64 received, qint64 total) { onFileProgress(imageProgress_, received, total); });
    signatureReply_ = get(info, kSignatureFile, limits_.maxTextBytes);
    connect(signatureReply_, &QNetworkReply::finished, this, &FWDownloader::onFWSigDownload);
    connect(signatureReply_, &QNetworkReply::downloadProgress, this,
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

void FWDownloader::onFileFinished(QPointer<QNetworkReply>& own, QByteArray& data, bool& ok,
                                  const QPointer<QNetworkReply>& other) {
    auto* reply = qobject_cast<QNetworkReply*>(sender());
    if (!reply)
        return;
    const bool failed = !succeeded(reply);
    // A partly received file is never kept.
    if (!failed)
        data = reply->readAll();
    reply->deleteLater();
    if (own)
        own->deleteLater();
    own.clear();
    ok = !failed;
    if (other)
        return;
    if (imageOk_ && signatureOk_)
        emit newVersionDownloaded();
    else
        emit newVersionDownloadFailed();
}
