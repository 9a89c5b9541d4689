// What a firmware download holds in memory while a server sends without end, as fast as the
// connection takes it, and the program is busy elsewhere (as when it paints a picture) and so
// takes what arrived only now and then. The image's size limit is the baseline: the download
// must be refused at it, and the peak growth of resident memory is printed as a multiple of it.
// The process exits with 1 when the download was not refused, or grew by 100 MiB or more.
//
// Usage: castwell_download_bench [--busy-ms N]   (default 50 ms of work between two reads)

#include "fwdownloader.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QThread>
#include <QTimer>

#include <cstdio>

namespace {

constexpr double kMiB = 1 << 20;
constexpr qint64 kGrowthLimitBytes = 100 << 20;
constexpr int kGiveUpMs = 60000;

// The peak of this process's resident memory, in bytes, since the last reset.
qint64 peakResidentBytes(bool reset) {
    QFile refs(QStringLiteral("/proc/self/clear_refs"));
    if (reset && (!refs.open(QIODevice::WriteOnly) || refs.write("5") != 1))
        return -1;
    refs.close();
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray text = status.readAll();
    return text.mid(text.indexOf("VmHWM:") + 6).trimmed().split(' ').value(0).toLongLong() * 1024;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    static bool refusedAtLimit = false;
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString& message) {
        refusedAtLimit =
            refusedAtLimit ||
            message.endsWith(QStringLiteral("mcr_flashimage.bin failed: sent more than the "
                                            "67108864 bytes allowed"));
    });
    const QStringList arguments = QCoreApplication::arguments();
    const int busyAt = static_cast<int>(arguments.indexOf(QStringLiteral("--busy-ms")));
    const unsigned long busyMs = busyAt > 0 ? arguments.value(busyAt + 1).toULong() : 50;

    QProcess server;
    server.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    server.start(QStringLiteral(ENDLESS_SERVER), QStringList());
    if (!server.waitForReadyRead()) {
        std::fprintf(stderr, "castwell_download_bench: the server did not start\n");
        return 2;
    }
    qputenv("CASTWELL_UPDATE_SERVER",
            "http://127.0.0.1:" + server.readAllStandardOutput().trimmed());

    FWDownloader downloader;
    QObject::connect(&downloader, &FWDownloader::newVersionDownloadFailed, &application,
                     &QCoreApplication::quit);
    QObject::connect(&downloader, &FWDownloader::newVersionDownloaded, &application,
                     &QCoreApplication::quit);
    QTimer busy;
    QObject::connect(&busy, &QTimer::timeout, [busyMs] { QThread::msleep(busyMs); });
    busy.start(0);
    QTimer::singleShot(kGiveUpMs, &application, &QCoreApplication::quit);

    const qint64 before = peakResidentBytes(true);
    downloader.download({true, false, {}, {1, 0, 0}});
    QCoreApplication::exec();
    const qint64 growth = peakResidentBytes(false) - before;
    server.kill();
    server.waitForFinished();
    const qint64 limit = FWDownloader::Limits{}.maxImageBytes;
    std::printf("firmware image from an endless server: %s; peak memory growth %.1f MiB = %.2f x "
                "the %.0f MiB limit\n",
                refusedAtLimit ? "refused at the limit" : "NOT refused at the limit", growth / kMiB,
                static_cast<double>(growth) / static_cast<double>(limit), limit / kMiB);
    return refusedAtLimit && before >= 0 && growth < kGrowthLimitBytes ? 0 : 1;
}
