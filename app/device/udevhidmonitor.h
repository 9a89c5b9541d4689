#pragma once

#include "hidmonitor.h"

#include <memory>

class QSocketNotifier;
struct udev;
struct udev_monitor;

// hidraw arrivals and removals from udev; paths are the device nodes hidapi opens.
class UdevHidMonitor : public HidMonitor {
    Q_OBJECT
public:
    explicit UdevHidMonitor(QObject* parent = nullptr);
    ~UdevHidMonitor() override;

    bool start() override;
    bool isStarted() const override { return monitor_ != nullptr; }

private:
    void receive();

    udev* udev_ = nullptr;
    udev_monitor* monitor_ = nullptr;
    std::unique_ptr<QSocketNotifier> notifier_;
};
