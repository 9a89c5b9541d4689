#include "messagelog.h"

#include <QMutex>
#include <QMutexLocker>

namespace {

QMutex mutex;
QStringList captured;

void handler(QtMsgType, const QMessageLogContext&, const QString& message) {
    MessageLog::append(message);
}

} // namespace

namespace MessageLog {

void capture() {
    qInstallMessageHandler(handler);
}

void release() {
    qInstallMessageHandler(nullptr);
}

void clear() {
    QMutexLocker lock(&mutex);
    captured.clear();
}

QStringList lines() {
    QMutexLocker lock(&mutex);
    return captured;
}

bool contains(const QString& line) {
    return lines().contains(line);
}

void append(const QString& line) {
    QMutexLocker lock(&mutex);
    captured << line;
}

} // namespace MessageLog
