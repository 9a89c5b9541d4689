#include "messagelog.h"

#include <QMutex>
#include <QMutexLocker>

namespace {

QMutex mutex;
QStringList captured;

} // namespace

void MessageLog::capture() {
    qInstallMessageHandler(
        [](QtMsgType, const QMessageLogContext&, const QString& message) { append(message); });
}

void MessageLog::release() {
    qInstallMessageHandler(nullptr);
}

void MessageLog::clear() {
    QMutexLocker lock(&mutex);
    captured.clear();
}

void MessageLog::append(const QString& line) {
    QMutexLocker lock(&mutex);
    captured << line;
}

QStringList MessageLog::lines() {
    QMutexLocker lock(&mutex);
    return captured;
}
