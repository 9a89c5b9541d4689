#pragma once

#include "deviceinfo.h"

#include <QByteArray>
#include <QObject>
#include <QPair>
#include <QPointer>

#include <chrono>
#include <cstdint>

namespace appcast {
class BoundedDownload;
}

// Asks the update server whether it holds firmware newer than the device's version, and
// downloads that image with its signature file side by side. GUI thread.
//
// The server has no catalogue: the device's version names a directory, and a signature file
// in it means that newer firmware lies beside it.
class FWDownloader : public QObject {
    Q_OBJECT
public:
    // What one request may cost; a request that goes beyond ends as a failure, so a broken or
    // hostile server can neither hang the program nor exhaust its memory. Bytes are counted as
    // they are read, and the network reads no faster than that.
    struct Limits {
        qint64 maxImageBytes = 64 * 1024 * 1024;
        // The signature file and the check's answer.
        qint64 maxTextBytes = 16 * 1024;
        // Longest time without a received byte.
        std::chrono::milliseconds stallTimeout{30000};
        // Longest time for a whole request.
        std::chrono::milliseconds deadline{600000};
    };

    explicit FWDownloader(QObject* parent = nullptr);
    ~FWDownloader() override;

    void setLimits(const Limits& limits) { limits_ = limits; }

    void checkForUpdate(const DeviceInfo& info);
    void download(const DeviceInfo& info);
    // The last downloaded image and signature text.
    QPair<QByteArray, QByteArray> result() const { return qMakePair(image_, signature_); }
    // The last check found no server to answer it (no connection, no data in time, a server
    // error), rather than a server saying that it holds nothing for this version.
    bool lastCheckFailed() const { return lastCheckFailed_; }
    bool isChecking() const { return !checkReply_.isNull(); }

    // The server directory of a firmware version, e.g. 01.02.034 for 1.2.34.
    static QString versionDirectory(const DeviceInfo::Version& version);

signals:
    void newVersionAvailable();
    void checkFinishNoResult();
    void newVersionDownloaded();
    void downloadProgress(uint8_t value);
    void newVersionDownloadFailed();

private slots:
    void onCheckCompleted();
    void onFWDownload();
    void onFWSigDownload();

private:
    using Download = QPointer<appcast::BoundedDownload>;

    appcast::BoundedDownload* get(const DeviceInfo& info, const char* fileName, qint64 maxBytes);
    void cancel(Download& download);
    bool cancelCheck();
    void reset();
    void onFileProgress(quint8& fileProgress, qint64 received, qint64 total);
    void onFileFinished(Download& own, QByteArray& data, bool& ok, const Download& other);

    Limits limits_;
    QByteArray image_;
    QByteArray signature_;
    Download checkReply_;
    Download imageReply_;
    Download signatureReply_;
    quint8 imageProgress_ = 0;
    quint8 signatureProgress_ = 0;
    bool imageOk_ = false;
    bool signatureOk_ = false;
    bool lastCheckFailed_ = false;
};
