#include "boundeddownload.h"

#include <QDebug>
#include <QIODevice>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

#include <algorithm>

namespace appcast {

namespace {

// What the network side may hold before the body is taken from it.
constexpr qint64 kReadBufferBytes = 4 * 1024 * 1024;

bool isWebAddress(const QUrl& url) {
    return url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https");
}

QString seconds(std::chrono::milliseconds duration) {
    return QString::number(static_cast<double>(duration.count()) / 1000.0);
}

} // namespace

BoundedDownload::BoundedDownload(QNetworkAccessManager* manager, const QNetworkRequest& request,
                                 const DownloadLimits& limits, QIODevice* sink, QObject* parent)
    : QObject(parent)
    , url_(request.url())
    , sink_(sink)
    , limits_(limits) {
    if (!isWebAddress(url_)) {
        // Refused before anything is opened: a feed must not make the program read local files.
        QTimer::singleShot(0, this, [this] {
            record(
                tr("Only web addresses (http and https) are allowed, not %1.").arg(url_.toString()),
                QStringLiteral("not a web address"));
            emit finished(false, failure_);
        });
        return;
    }
    QNetworkRequest bounded(request);
    bounded.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::UserVerifiedRedirectPolicy);
    bounded.setTransferTimeout(static_cast<int>(limits.stallTimeout.count()));
    reply_ = manager->get(bounded);
    connect(reply_, &QNetworkReply::redirected, this, &BoundedDownload::onRedirected);
    // Without a limit the network thread reads all a server sends into the reply, whether or
    // not anybody takes it; the limit holds that thread back instead.
    reply_->setReadBufferSize(std::clamp<qint64>(limits.maxBytes + 1, 1, kReadBufferBytes));
    connect(reply_, &QNetworkReply::metaDataChanged, this, [this] {
        const QVariant announced = reply_->header(QNetworkRequest::ContentLengthHeader);
        if (announced.isValid() && announced.toLongLong() > limits_.maxBytes)
            fail(tr("The server announced more data than an update may have."),
                 QStringLiteral("announced %1 bytes, more than the %2 allowed")
                     .arg(announced.toLongLong())
                     .arg(limits_.maxBytes));
    });
    connect(reply_, &QNetworkReply::readyRead, this, &BoundedDownload::onReadyRead);
    connect(reply_, &QNetworkReply::downloadProgress, this, &BoundedDownload::progress);
    connect(reply_, &QNetworkReply::finished, this, &BoundedDownload::onFinished);
    QTimer::singleShot(limits.deadline, this, [this] {
        fail(tr("The server took too long to answer."),
             QStringLiteral("not done after %1 s").arg(seconds(limits_.deadline)));
    });
}

BoundedDownload::~BoundedDownload() {
    if (reply_) {
        disconnect(reply_, nullptr, this, nullptr);
        reply_->abort();
        reply_->deleteLater();
    }
}

void BoundedDownload::onRedirected(const QUrl& target) {
    const QUrl from = reply_->url();
    if (!isWebAddress(target)) {
        fail(tr("The server sent the request on to %1, which is not a web address.")
                 .arg(target.toString()),
             QStringLiteral("redirect to %1 refused (not a web address)").arg(target.toString()));
    } else if (from.scheme() == QLatin1String("https") &&
               target.scheme() == QLatin1String("http")) {
        fail(tr("The server sent the request on to an unencrypted address, %1.")
                 .arg(target.toString()),
             QStringLiteral("redirect to %1 refused (from https to http)").arg(target.toString()));
    } else {
        emit reply_->redirectAllowed();
    }
}

void BoundedDownload::onReadyRead() {
    if (!failure_.isEmpty())
        return;
    const QByteArray chunk = reply_->readAll();
    received_ += chunk.size();
    if (received_ > limits_.maxBytes) {
        fail(tr("The server sent more data than an update may have."),
             QStringLiteral("sent more than the %1 bytes allowed").arg(limits_.maxBytes));
        return;
    }
    if (!sink_) {
        body_.append(chunk);
    } else if (sink_->write(chunk) != chunk.size()) {
        fail(tr("The update could not be saved: %1").arg(sink_->errorString()),
             QStringLiteral("not saved: ") + sink_->errorString());
    }
}

void BoundedDownload::fail(const QString& reason, const QString& cause) {
    if (!failure_.isEmpty() || !reply_)
        return;
    record(reason, cause);
    // Aborting finishes the reply at once, which reports the failure.
    reply_->abort();
}

void BoundedDownload::record(const QString& reason, const QString& cause) {
    failure_ = reason;
    qDebug().noquote() << "Download:" << url_.toString() << "failed:" << cause;
}

QString BoundedDownload::causeOfError() const {
    if (reply_->error() == QNetworkReply::OperationCanceledError)
        return QStringLiteral("no data for %1 s").arg(seconds(limits_.stallTimeout));
    if (httpStatus_ >= 300 && httpStatus_ < 400) {
        return QStringLiteral("redirect to %1 refused (%2)")
            .arg(reply_->header(QNetworkRequest::LocationHeader).toUrl().toString(),
                 reply_->errorString());
    }
    if (httpStatus_ > 0) {
        return QStringLiteral("HTTP %1 %2")
            .arg(httpStatus_)
            .arg(reply_->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString());
    }
    return reply_->errorString();
}

void BoundedDownload::onFinished() {
    httpStatus_ = reply_->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (failure_.isEmpty()) {
        onReadyRead();
        if (failure_.isEmpty() && reply_->error() != QNetworkReply::NoError) {
            record(reply_->error() == QNetworkReply::OperationCanceledError
                       ? tr("The server stopped sending data.")
                       : reply_->errorString(),
                   causeOfError());
        }
    }
    // A part of a body is never passed on.
    if (!failure_.isEmpty())
        body_.clear();
    disconnect(reply_, nullptr, this, nullptr);
    reply_->deleteLater();
    reply_.clear();
    emit finished(failure_.isEmpty(), failure_);
}

} // namespace appcast
