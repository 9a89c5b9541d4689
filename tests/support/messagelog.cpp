#include "messagelog.h"

#include <mutex>

namespace {

// A standard mutex rather than QMutex: ThreadSanitizer sees through this one.
std::mutex mutex;
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
    const std::lock_guard<std::mutex> lock(mutex);
    captured.clear();
}

void MessageLog::append(const QString& line) {
    const std::lock_guard<std::mutex> lock(mutex);
    captured << line;
}

QStringList MessageLog::lines() {
    const std::lock_guard<std::mutex> lock(mutex);
    return captured;
}
