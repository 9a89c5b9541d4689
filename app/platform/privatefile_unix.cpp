#include "platform/privatefile.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

int openOwnFileForAppend(const QString& path, QString* refusal) {
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) {
        *refusal = errno == ELOOP ? QStringLiteral("it is a symbolic link")
                                  : QString::fromLocal8Bit(std::strerror(errno));
        return -1;
    }
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) || status.st_uid != ::geteuid()) {
        *refusal = QStringLiteral("it is not a file of this user");
        ::close(fd);
        return -1;
    }
    // An older log of ours may have been created readable by others.
    if ((status.st_mode & 0077) != 0)
        ::fchmod(fd, 0600);
    return fd;
}

} // namespace platform
