#pragma once

#include "hidmonitor.h"

#include <memory>

class QSocketNotifier;

namespace quendral::emulator {
class EventSubscription;
}

// Arrivals and removals of the emulated device's HID interface.
class EmulatorHidMonitor : public HidMonitor {
    Q_OBJECT
public:
    explicit EmulatorHidMonitor(QObject* parent = nullptr);
    ~EmulatorHidMonitor() override;

    bool start() override;
    bool isStarted() const override { return subscription_ != nullptr; }

private:
    void receive();

    std::unique_ptr<quendral::emulator::EventSubscription> subscription_;
    std::unique_ptr<QSocketNotifier> notifier_;
    QString attachedPath_;
};
