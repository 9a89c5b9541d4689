#include "boundeddownload.h"

#include <QIODevice>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

namespace appcast {

BoundedDownload::BoundedDownload(QNetworkAccessManager* manager, const QNetworkRequest& request,
                                 const DownloadLimits& limits, QIODevice* sink, QObject* parent)
    : QObject(parent)
    , sink_(sink)
    , maxBytes_(limits.maxBytes) {
    QNetworkRequest bounded(request);
    bounded.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    bounded.setTransferTimeout(static_cast<int>(limits.stallTimeout.count()));
    reply_ = manager->get(bounded);
    connect(reply_, &QNetworkReply::metaDataChanged, this, [this] {
        const QVariant announced = reply_->header(QNetworkRequest::ContentLengthHeader);
        if (announced.isValid() && announced.toLongLong() > maxBytes_)
            fail(tr("The server announced more data than an update may have."));
    });
    connect(reply_, &QNetworkReply::readyRead, this, &BoundedDownload::onReadyRead);
    connect(reply_, &QNetworkReply::downloadProgress, this, &BoundedDownload::progress);
    connect(reply_, &QNetworkReply::finished, this, &BoundedDownload::onFinished);
    QTimer::singleShot(limits.deadline, this,
                       [this] { fail(tr("The server took too long to answer.")); });
}

BoundedDownload::~BoundedDownload() {
    if (reply_) {
        disconnect(reply_, nullptr, this, nullptr);
        reply_->abort();
        reply_->deleteLater();
    }
}

void BoundedDownload::onReadyRead() {
    if (!failure_.isEmpty())
        return;
    const QByteArray chunk = reply_->readAll();
    received_ += chunk.size();
    if (received_ > maxBytes_) {
        fail(tr("The server sent more data than an update may have."));
        return;
    }
    if (!sink_) {
        body_.append(chunk);
    } else if (sink_->write(chunk) != chunk.size()) {
        fail(tr("The update could not be saved: %1").arg(sink_->errorString()));
    }
}

void BoundedDownload::fail(const QString& reason) {
    if (!failure_.isEmpty() || !reply_)
        return;
    failure_ = reason;
    // Aborting finishes the reply at once, which reports the failure.
    reply_->abort();
}

void BoundedDownload::onFinished() {
    if (failure_.isEmpty()) {
        onReadyRead();
        if (failure_.isEmpty() && reply_->error() != QNetworkReply::NoError) {
            failure_ = reply_->error() == QNetworkReply::OperationCanceledError
                           ? tr("The server stopped sending data.")
                           : reply_->errorString();
        }
    }
    disconnect(reply_, nullptr, this, nullptr);
    reply_->deleteLater();
    reply_.clear();
    emit finished(failure_.isEmpty(), failure_);
}

} // namespace appcast
