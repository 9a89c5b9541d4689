#include "namedevent.h"

#include <QDir>
#include <QSocketNotifier>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace platform {
namespace {

constexpr int kListenBacklog = 128;

// The Win32 names carry a "Local\" prefix for the session namespace; the runtime directory
// already is per user session, so the prefix only has to become a valid file name.
QString fileNameFor(const QString& name) {
    QString fileName = name;
    const QString localPrefix = QStringLiteral("Local\\");
    if (fileName.startsWith(localPrefix))
        fileName.remove(0, localPrefix.size());
    fileName.replace(QLatin1Char('\\'), QLatin1Char('_'));
    fileName.replace(QLatin1Char('/'), QLatin1Char('_'));
    return fileName;
}

// Socket addresses hold about a hundred bytes; a deeper runtime folder is reached through the
// process's descriptor of it instead.
bool fillAddress(const QString& path, sockaddr_un* address, int* directoryFd) {
    QByteArray encoded = QFile::encodeName(path);
    if (encoded.size() >= static_cast<int>(sizeof(address->sun_path))) {
        const int slash = encoded.lastIndexOf('/');
        *directoryFd =
            ::open(encoded.left(slash).constData(), O_PATH | O_DIRECTORY | O_CLOEXEC | O_NOFOLLOW);
        if (*directoryFd < 0)
            return false;
        encoded = "/proc/self/fd/" + QByteArray::number(*directoryFd) + encoded.mid(slash);
        if (encoded.size() >= static_cast<int>(sizeof(address->sun_path)))
            return false;
    }
    std::memset(address, 0, sizeof(*address));
    address->sun_family = AF_UNIX;
    std::memcpy(address->sun_path, encoded.constData(), static_cast<size_t>(encoded.size()));
    return true;
}

// Runs `call` on the socket address of `path`; false with errno set when it fails.
template <typename Call> bool withAddress(const QString& path, Call call) {
    sockaddr_un address;
    int directoryFd = -1;
    bool done = false;
    if (!fillAddress(path, &address, &directoryFd))
        errno = ENAMETOOLONG;
    else
        done = call(reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0;
    const int savedErrno = errno;
    if (directoryFd >= 0)
        ::close(directoryFd);
    errno = savedErrno;
    return done;
}

// Only processes of this user may signal our events, and only our own events get our signals.
bool peerIsThisUser(int fd) {
    ucred credentials{};
    socklen_t length = sizeof(credentials);
    return ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &credentials, &length) == 0 &&
           credentials.uid == ::geteuid();
}

int connectTo(const QString& path, int* error) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        *error = errno;
        return -1;
    }
    if (!withAddress(path, [fd](const sockaddr* address, socklen_t length) {
            return ::connect(fd, address, length);
        })) {
        *error = errno;
        ::close(fd);
        return -1;
    }
    if (!peerIsThisUser(fd)) {
        *error = EPERM;
        ::close(fd);
        return -1;
    }
    return fd;
}

// The folder the events live in: the session's runtime folder, else one of this user's own in
// the temporary folder. Never a folder another user made or may write to, where a planted
// socket or link would catch our signals or our files. Empty when there is no such folder.
QString eventDirectory() {
    QString directory = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (directory.isEmpty()) {
        directory =
            QDir::tempPath() + QStringLiteral("/castwell-runtime-") + QString::number(::geteuid());
        ::mkdir(QFile::encodeName(directory).constData(), 0700);
    }
    struct stat status {};
    if (::lstat(QFile::encodeName(directory).constData(), &status) != 0 ||
        !S_ISDIR(status.st_mode) || status.st_uid != ::geteuid() || (status.st_mode & 0077) != 0)
        return QString();
    return directory;
}

// Holds the creation lock of one event name for the lifetime of the object.
class CreationLock {
public:
    explicit CreationLock(const QString& socketPath)
        : fd_(::open(QFile::encodeName(socketPath + QStringLiteral(".lock")).constData(),
                     O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600)) {
        if (fd_ >= 0) {
            while (::flock(fd_, LOCK_EX) != 0 && errno == EINTR) {
            }
        }
    }
    ~CreationLock() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    CreationLock(const CreationLock&) = delete;
    CreationLock& operator=(const CreationLock&) = delete;
    bool isHeld() const { return fd_ >= 0; }

private:
    int fd_;
};

void setError(int* error, int value) {
    if (error)
        *error = value;
}

} // namespace

QString NamedEvent::socketPath(const QString& name) {
    const QString directory = eventDirectory();
    return directory.isEmpty() ? QString() : directory + QLatin1Char('/') + fileNameFor(name);
}

std::unique_ptr<NamedEvent> NamedEvent::create(const QString& name, int* error) {
    const QString path = socketPath(name);
    if (path.isEmpty()) {
        setError(error, EACCES);
        return nullptr;
    }
    CreationLock lock(path);
    if (!lock.isHeld()) {
        setError(error, errno);
        return nullptr;
    }

    int connectError = 0;
    const int existing = connectTo(path, &connectError);
    if (existing >= 0) {
        ::close(existing);
        setError(error, EEXIST);
        return nullptr;
    }

    if (connectError == ECONNREFUSED) {
        // A socket nobody listens on: its holder is gone.
        ::unlink(QFile::encodeName(path).constData());
    } else if (connectError != ENOENT) {
        // Something else is in the way (a folder, another user's socket): not ours to remove.
        setError(error, connectError);
        return nullptr;
    }

    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) {
        setError(error, errno);
        return nullptr;
    }
    if (!withAddress(path, [fd](const sockaddr* address,
                                socklen_t length) { return ::bind(fd, address, length); }) ||
        ::listen(fd, kListenBacklog) != 0) {
        setError(error, errno);
        ::close(fd);
        return nullptr;
    }

    std::unique_ptr<NamedEvent> event(new NamedEvent);
    event->path_ = path;
    event->listenFd_ = fd;
    event->listenNotifier_ = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
    connect(event->listenNotifier_.get(), &QSocketNotifier::activated, event.get(),
            &NamedEvent::acceptConnections);
    setError(error, 0);
    return event;
}

std::unique_ptr<NamedEvent> NamedEvent::open(const QString& name, int* error) {
    int connectError = ENOENT;
    const QString path = socketPath(name);
    const int fd = path.isEmpty() ? -1 : connectTo(path, &connectError);
    if (fd < 0) {
        setError(error, connectError);
        return nullptr;
    }
    std::unique_ptr<NamedEvent> event(new NamedEvent);
    event->path_ = socketPath(name);
    event->connectionFd_ = fd;
    setError(error, 0);
    return event;
}

NamedEvent::~NamedEvent() {
    for (Connection& connection : connections_) {
        connection.notifier.reset();
        ::close(connection.fd);
    }
    if (connectionFd_ >= 0)
        ::close(connectionFd_);
    if (listenFd_ >= 0) {
        listenNotifier_.reset();
        // Unlink under the creation lock, so a process creating the event anew cannot have
        // its fresh socket removed by us.
        CreationLock lock(path_);
        ::unlink(QFile::encodeName(path_).constData());
        ::close(listenFd_);
    }
}

bool NamedEvent::set() {
    if (listenFd_ >= 0) {
        emit activated();
        return true;
    }
    const char signal = 1;
    ssize_t written;
    do {
        written = ::send(connectionFd_, &signal, 1, MSG_NOSIGNAL);
    } while (written < 0 && errno == EINTR);
    return written == 1;
}

void NamedEvent::acceptConnections() {
    for (;;) {
        const int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd < 0)
            return;
        if (!peerIsThisUser(fd)) {
            ::close(fd);
            continue;
        }
        auto notifier = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
        connect(notifier.get(), &QSocketNotifier::activated, this,
                [this, fd] { readConnection(fd); });
        connections_.push_back(Connection{fd, std::move(notifier)});
        // Bytes may already be waiting; the notifier only reports later arrivals reliably.
        readConnection(fd);
    }
}

void NamedEvent::readConnection(int fd) {
    char buffer[64];
    for (;;) {
        const ssize_t received = ::recv(fd, buffer, sizeof(buffer), 0);
        if (received > 0) {
            for (ssize_t i = 0; i < received; ++i)
                emit activated();
            continue;
        }
        if (received < 0 && errno == EINTR)
            continue;
        if (received < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            return;
        break; // peer closed or failed
    }
    const auto found = std::find_if(connections_.begin(), connections_.end(),
                                    [fd](const Connection& c) { return c.fd == fd; });
    if (found != connections_.end()) {
        found->notifier->setEnabled(false);
        found->notifier.release()->deleteLater();
        connections_.erase(found);
    }
    ::close(fd);
}

} // namespace platform
