#include "util/udevpnpprovider.h"

#include "util/pnplistenerlist.h"
#include "util/udevsupport.h"

#include <cerrno>
#include <cstring>
#include <poll.h>
#include <pthread.h>
#include <stdexcept>
#include <sys/eventfd.h>
#include <thread>
#include <unistd.h>
#include <unordered_map>

namespace quendral::util {

namespace {

const char* const kSetupFailure = "Failed to create message window";
const char* const kThreadName = "tindrel-pnp";

class EventFd {
public:
    EventFd()
        : m_fd(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {
        if (m_fd < 0) {
            throw std::runtime_error(kSetupFailure);
        }
    }
    ~EventFd() { ::close(m_fd); }
    EventFd(const EventFd&) = delete;
    EventFd& operator=(const EventFd&) = delete;

    int fd() const { return m_fd; }
    void signal() const {
        const std::uint64_t one = 1;
        // A full counter still wakes the reader, so a failed write loses nothing.
        [[maybe_unused]] const auto written = ::write(m_fd, &one, sizeof one);
    }

private:
    int m_fd;
};

} // namespace

struct UdevPnpProvider::Private {
    PnpListenerList listeners;

    UdevPtr context;
    UdevMonitorPtr monitor;
    EventFd wake;
    // Paths of the arrivals delivered so far, by sysfs path: a removal event may lack the
    // identifiers that its arrival read from sysfs. Used by the thread only.
    std::unordered_map<std::string, std::string> arrivedPaths;
    std::thread thread;

    void run();
    void handle(udev_device* device);
};

void UdevPnpProvider::Private::run() {
    pollfd fds[2] = {{udev_monitor_get_fd(monitor.get()), POLLIN, 0}, {wake.fd(), POLLIN, 0}};
    for (;;) {
        if (::poll(fds, 2, -1) < 0) {
            if (errno == EINTR) {
                continue;
            }
            return;
        }
        if (fds[1].revents != 0 || (fds[0].revents & POLLNVAL) != 0) {
            return;
        }
        if (fds[0].revents != 0) {
            // Also after an error condition: receiving clears it (a receive-buffer overrun
            // reports ENOBUFS once and the socket goes on).
            UdevDevicePtr device(udev_monitor_receive_device(monitor.get()));
            try {
                if (device) {
                    handle(device.get());
                }
            } catch (const std::exception&) {
                // A listener's failure, or no memory for a path, costs this one event only:
                // this thread is the library's boundary.
            }
        }
    }
}

void UdevPnpProvider::Private::handle(udev_device* device) {
    const char* action = udev_device_get_action(device);
    const char* devnode = udev_device_get_devnode(device);
    const char* syspath = udev_device_get_syspath(device);
    if (action == nullptr || devnode == nullptr || syspath == nullptr) {
        return;
    }
    const bool arrived = std::strcmp(action, "add") == 0;
    if (!arrived && std::strcmp(action, "remove") != 0) {
        return;
    }
    std::string path = devnode;
    if (arrived) {
        auto ids = usbIdsFromProperties(device);
        if (!ids) {
            ids = usbIdsFromSysfs(device);
        }
        if (ids) {
            path = usbDevicePath(devnode, *ids);
        }
        arrivedPaths[syspath] = path;
    } else if (const auto known = arrivedPaths.find(syspath); known != arrivedPaths.end()) {
        path = std::move(known->second);
        arrivedPaths.erase(known);
    } else if (const auto ids = usbIdsFromProperties(device)) {
        path = usbDevicePath(devnode, *ids);
    }
    listeners.deliver(arrived ? PnpListenerList::Change::Arrived : PnpListenerList::Change::Removed,
                      path);
}

UdevPnpProvider::UdevPnpProvider()
    : d(std::make_unique<Private>()) {
    d->context.reset(udev_new());
    if (d->context) {
        d->monitor.reset(udev_monitor_new_from_netlink(d->context.get(), "udev"));
    }
    if (!d->monitor || udev_monitor_enable_receiving(d->monitor.get()) < 0) {
        throw std::runtime_error(kSetupFailure);
    }
    try {
        d->thread = std::thread([this] { d->run(); });
        // Named, so that it can be told apart in a debugger, in top, and by the tests.
        ::pthread_setname_np(d->thread.native_handle(), kThreadName);
    } catch (const std::system_error&) {
        throw std::runtime_error(kSetupFailure);
    }
}

UdevPnpProvider::~UdevPnpProvider() {
    d->wake.signal();
    d->thread.join();
}

bool UdevPnpProvider::addListener(IPnpListener* listener) {
    d->listeners.add(listener);
    return true;
}

bool UdevPnpProvider::removeListener(IPnpListener* listener) {
    return d->listeners.remove(listener);
}

} // namespace quendral::util
