#include "uvc/iuvcnode.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace quendral::uvc {

namespace {

class SystemUvcNode final : public IUvcNode {
public:
    explicit SystemUvcNode(int fd)
        : m_fd(fd) {}
    ~SystemUvcNode() override { ::close(m_fd); }
    SystemUvcNode(const SystemUvcNode&) = delete;
    SystemUvcNode& operator=(const SystemUvcNode&) = delete;

    int query(uvc_xu_control_query& request) override {
        int result = 0;
        do {
            result = ::ioctl(m_fd, UVCIOC_CTRL_QUERY, &request);
        } while (result < 0 && errno == EINTR);
        return result < 0 ? errno : 0;
    }

private:
    int m_fd;
};

class SystemUvcNodeOpener final : public IUvcNodeOpener {
public:
    std::unique_ptr<IUvcNode> open(const std::string& devnode, bool* heldElsewhere) override {
        int fd = -1;
        do {
            fd = ::open(devnode.c_str(), O_RDWR | O_CLOEXEC);
        } while (fd < 0 && errno == EINTR);
        if (fd < 0) {
            return nullptr;
        }
        // Two programs talking to the camera chip at once interleave their transfers, which can
        // leave the device without working firmware. Whoever opened it first has it, for as
        // long as it keeps it open, as a device opened without sharing on Windows.
        int locked = 0;
        do {
            locked = ::flock(fd, LOCK_EX | LOCK_NB);
        } while (locked != 0 && errno == EINTR);
        if (locked != 0) {
            *heldElsewhere = errno == EWOULDBLOCK;
            ::close(fd);
            return nullptr;
        }
        return std::make_unique<SystemUvcNode>(fd);
    }
};

} // namespace

std::shared_ptr<IUvcNodeOpener> systemUvcNodeOpener() {
    static const auto opener = std::make_shared<SystemUvcNodeOpener>();
    return opener;
}

} // namespace quendral::uvc
