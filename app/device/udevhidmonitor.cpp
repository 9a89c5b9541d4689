#include "udevhidmonitor.h"

#include <QSocketNotifier>

#include <libudev.h>

UdevHidMonitor::UdevHidMonitor(QObject* parent)
    : HidMonitor(parent) {}

UdevHidMonitor::~UdevHidMonitor() {
    notifier_.reset();
    if (monitor_)
        udev_monitor_unref(monitor_);
    if (udev_)
        udev_unref(udev_);
}

bool UdevHidMonitor::start() {
    if (monitor_)
        return true;
    if (!udev_)
        udev_ = udev_new();
    if (!udev_)
        return false;
    udev_monitor* monitor = udev_monitor_new_from_netlink(udev_, "udev");
    if (!monitor)
        return false;
    if (udev_monitor_filter_add_match_subsystem_devtype(monitor, "hidraw", nullptr) < 0 ||
        udev_monitor_enable_receiving(monitor) < 0) {
        udev_monitor_unref(monitor);
        return false;
    }
    monitor_ = monitor;
    notifier_ =
        std::make_unique<QSocketNotifier>(udev_monitor_get_fd(monitor_), QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, &UdevHidMonitor::receive);
    return true;
}

void UdevHidMonitor::receive() {
    while (udev_device* device = udev_monitor_receive_device(monitor_)) {
        const char* action = udev_device_get_action(device);
        const char* node = udev_device_get_devnode(device);
        if (action && node) {
            const QString path = QString::fromLocal8Bit(node);
            if (qstrcmp(action, "add") == 0)
                emit interfaceArrived(path);
            else if (qstrcmp(action, "remove") == 0)
                emit interfaceRemoved(path);
        }
        udev_device_unref(device);
    }
}
