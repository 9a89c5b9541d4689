#include "logfile.h"

#include "platform/privatefile.h"

#include <QDateTime>
#include <QDebug>
#include <QFile>
#include <QMutex>
#include <QStandardPaths>
#include <QTextStream>

#include <cstdio>

namespace {

QFile& logFile() {
    static QFile file;
    return file;
}

// Messages arrive from every thread (audio, firmware); lines must not interleave.
QMutex& logMutex() {
    static QMutex mutex;
    return mutex;
}

} // namespace

QString LogFile::path() {
    return QStandardPaths::writableLocation(QStandardPaths::TempLocation) + QLatin1Char('/') +
           QStringLiteral("Castwell") + QStringLiteral(".log");
}

LogFile::LogFile() {
    const QString filePath = path();
    std::fputs(qUtf8Printable(QStringLiteral("Writing log to ") + filePath), stdout);
    std::fflush(stdout);
    QString refusal;
    const int fd = platform::openOwnFileForAppend(filePath, &refusal);
    if (fd < 0) {
        std::fputs(qUtf8Printable(QStringLiteral("\nCannot write the log there: ") + refusal +
                                  QLatin1Char('\n')),
                   stderr);
        return;
    }
    if (!logFile().open(fd, QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered,
                        QFileDevice::AutoCloseHandle))
        return;
    previousHandler_ = qInstallMessageHandler(logMessageHandler);
    installed_ = true;
    qCritical() << "-------------------";
    qCritical() << "App started: " << QDateTime::currentDateTime() << "\n";
}

LogFile::~LogFile() {
    if (!installed_)
        return;
    std::fputs("\n", stderr);
    {
        QMutexLocker locker(&logMutex());
        logFile().write("\n");
    }
    qCritical() << "App quit: " << QDateTime::currentDateTime();
    qCritical() << "-------------------";
    qInstallMessageHandler(previousHandler_);
    QMutexLocker locker(&logMutex());
    logFile().close();
}

void logMessageHandler(QtMsgType type, const QMessageLogContext&, const QString& message) {
    const QString line = QTime::currentTime().toString(QStringLiteral("HH:mm:ss.zzz")) +
                         QStringLiteral(": ") + message + QLatin1Char('\n');
    const QByteArray encoded = line.toUtf8();
    QMutexLocker locker(&logMutex());
    FILE* console = (type == QtCriticalMsg || type == QtFatalMsg) ? stderr : stdout;
    std::fwrite(encoded.constData(), 1, static_cast<size_t>(encoded.size()), console);
    std::fflush(console);
    QTextStream stream(&logFile());
    stream.setCodec("UTF-8");
    stream << line;
    stream.flush();
}
