#include "processes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <cerrno>
#include <csignal>
#include <sys/types.h>

namespace platform {
namespace {

constexpr std::chrono::milliseconds kExitPollInterval{20};

// A zombie has ended for our purpose; only its parent can reap it.
bool hasEnded(pid_t pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return true;
    const QByteArray content = stat.readAll();
    const int closingParen = content.lastIndexOf(')');
    return closingParen < 0 || closingParen + 2 >= content.size() ||
           content.at(closingParen + 2) == 'Z' || content.at(closingParen + 2) == 'X';
}

bool waitForExit(pid_t pid, std::chrono::milliseconds timeout) {
    for (auto waited = std::chrono::milliseconds::zero(); waited < timeout;
         waited += kExitPollInterval) {
        if (hasEnded(pid))
            return true;
        QThread::msleep(static_cast<unsigned long>(kExitPollInterval.count()));
    }
    return hasEnded(pid);
}

} // namespace

bool terminateProcessesOfExecutable(const QString& executablePath, qint64 ownPid,
                                    std::chrono::milliseconds waitPerProcess, int* error) {
    QDir proc(QStringLiteral("/proc"));
    if (!proc.exists()) {
        *error = ENOENT;
        return false;
    }
    const QString wanted = QFileInfo(executablePath).canonicalFilePath();
    const QStringList entries = proc.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& entry : entries) {
        bool isPid = false;
        const qint64 pid = entry.toLongLong(&isPid);
        if (!isPid || pid == 0 || pid == ownPid)
            continue;
        // A process of another user, or one that ended meanwhile, has no readable link.
        const QString image = QFile::symLinkTarget(proc.filePath(entry + QStringLiteral("/exe")));
        if (image.isEmpty() || image != wanted)
            continue;
        if (::kill(static_cast<pid_t>(pid), SIGTERM) != 0)
            continue;
        if (!waitForExit(static_cast<pid_t>(pid), waitPerProcess))
            ::kill(static_cast<pid_t>(pid), SIGKILL);
    }
    return true;
}

} // namespace platform
