#include "emulatorhidmonitor.h"

#include "emulatorclient.h"

#include <QSocketNotifier>

using quendral::emulator::EmulatorClient;
using quendral::emulator::Event;
using quendral::emulator::EventKind;

EmulatorHidMonitor::EmulatorHidMonitor(QObject* parent)
    : HidMonitor(parent) {}

EmulatorHidMonitor::~EmulatorHidMonitor() = default;

bool EmulatorHidMonitor::start() {
    if (subscription_)
        return true;
    const std::unique_ptr<EmulatorClient> client = EmulatorClient::connectFromEnvironment();
    if (!client)
        return false;
    subscription_ = client->subscribe();
    if (!subscription_)
        return false;
    notifier_ = std::make_unique<QSocketNotifier>(subscription_->fd(), QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, &EmulatorHidMonitor::receive);
    return true;
}

void EmulatorHidMonitor::receive() {
    std::vector<Event> events;
    const bool connected = subscription_->readEvents(events);
    if (!connected)
        notifier_->setEnabled(false);
    for (const Event& event : events) {
        switch (event.kind) {
        case EventKind::Arrived:
            attachedPath_ = QString::fromStdString(event.state.hidPath);
            emit interfaceArrived(attachedPath_);
            break;
        case EventKind::Removed:
            attachedPath_.clear();
            emit interfaceRemoved(QString::fromStdString(event.state.hidPath));
            break;
        case EventKind::DaemonLost:
            // Without its daemon the emulated device is as good as unplugged.
            if (!attachedPath_.isEmpty())
                emit interfaceRemoved(attachedPath_);
            attachedPath_.clear();
            break;
        case EventKind::StateChanged:
            break;
        }
    }
}
