#include "processes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <cerrno>
#include <csignal>
#include <optional>
#include <sys/types.h>
#include <unistd.h>

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

// Where a process runs: its login session (the kernel's audit session, whose numbers logind's
// sessions carry; "4294967295" where nobody logged in through PAM) and its runtime folder.
struct Session {
    QByteArray login;
    QByteArray runtimeDirectory;
    bool operator==(const Session& other) const {
        return login == other.login && runtimeDirectory == other.runtimeDirectory;
    }
    bool operator!=(const Session& other) const { return !(*this == other); }
};

// Null for a process whose environment is not ours to read: another user's, or one that ended.
std::optional<Session> sessionOf(const QString& process) {
    QFile environment(process + QStringLiteral("/environ"));
    if (!environment.open(QIODevice::ReadOnly))
        return std::nullopt;
    Session session;
    const QByteArray runtimeVariable("XDG_RUNTIME_DIR=");
    for (const QByteArray& variable : environment.readAll().split('\0')) {
        if (variable.startsWith(runtimeVariable))
            session.runtimeDirectory = variable.mid(runtimeVariable.size());
    }
    QFile login(process + QStringLiteral("/sessionid"));
    if (login.open(QIODevice::ReadOnly))
        session.login = login.readAll().trimmed();
    return session;
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

int terminateSessionProcessesOfExecutable(const QString& executablePath, qint64 ownPid,
                                          std::chrono::milliseconds waitPerProcess, int* error) {
    QDir proc(QStringLiteral("/proc"));
    const std::optional<Session> ownSession = sessionOf(proc.filePath(QStringLiteral("self")));
    if (!proc.exists() || !ownSession) {
        *error = ENOENT;
        return -1;
    }
    const QString wanted = QFileInfo(executablePath).canonicalFilePath();
    const QStringList entries = proc.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    int ended = 0;
    for (const QString& entry : entries) {
        bool isPid = false;
        const qint64 pid = entry.toLongLong(&isPid);
        if (!isPid || pid == 0 || pid == ownPid ||
            QFileInfo(proc.filePath(entry)).ownerId() != ::geteuid())
            continue;
        const QString image = QFile::symLinkTarget(proc.filePath(entry + QStringLiteral("/exe")));
        if (image.isEmpty() || image != wanted || sessionOf(proc.filePath(entry)) != ownSession)
            continue;
        if (::kill(static_cast<pid_t>(pid), SIGTERM) != 0)
            continue;
        if (!waitForExit(static_cast<pid_t>(pid), waitPerProcess))
            ::kill(static_cast<pid_t>(pid), SIGKILL);
        ++ended;
    }
    return ended;
}

} // namespace platform
