#pragma once

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>

#include <chrono>

class QIODevice;
class QNetworkAccessManager;
class QNetworkReply;
class QNetworkRequest;

namespace appcast {

// What one request may cost: a server that sends too much, stalls or drags on ends the request
// as a failure instead of filling the memory or the disk, or hanging the update.
struct DownloadLimits {
    qint64 maxBytes = 0;
    // Longest time without a received byte.
    std::chrono::milliseconds stallTimeout{30000};
    // Longest time for the whole request.
    std::chrono::milliseconds deadline{600000};
};

// One GET whose body goes to memory or, given a sink, straight into it as it arrives.
// Only web addresses are fetched, and redirects are followed only to web addresses and never
// from an encrypted connection to a plain one. The network
// reads only as fast as the body is taken, so however fast a server sends, no more than the
// limit and one read buffer are ever held. Every failure is logged with its cause.
class BoundedDownload : public QObject {
    Q_OBJECT
public:
    BoundedDownload(QNetworkAccessManager* manager, const QNetworkRequest& request,
                    const DownloadLimits& limits, QIODevice* sink = nullptr,
                    QObject* parent = nullptr);
    ~BoundedDownload() override;

    // The body, when it went to memory.
    QByteArray body() const { return body_; }
    qint64 bytesReceived() const { return received_; }
    // The reason for the failure in words for the user; empty while running and after success.
    QString error() const { return failure_; }
    // The HTTP status of the server's answer; 0 when no server answered.
    int httpStatus() const { return httpStatus_; }

signals:
    void progress(qint64 received, qint64 total);
    // Once, with the reason for a failure in words for the user.
    void finished(bool ok, const QString& error);

private:
    void onRedirected(const QUrl& target);
    void onReadyRead();
    void onFinished();
    // Ends the request. `reason` is for the user, `cause` for the log.
    void fail(const QString& reason, const QString& cause);
    void record(const QString& reason, const QString& cause);
    QString causeOfError() const;

    QPointer<QNetworkReply> reply_;
    QUrl url_;
    QIODevice* sink_;
    DownloadLimits limits_;
    qint64 received_ = 0;
    int httpStatus_ = 0;
    QByteArray body_;
    QString failure_;
};

} // namespace appcast
