#include "deviceconnection.h"

#include "emulatorclient.h"

#include <QSocketNotifier>
#include <QTimer>

#include <vector>

namespace quendral::emulator {

std::unique_ptr<DeviceConnection> DeviceConnection::open(QString* error) {
    auto fail = [error](const QString& why) {
        if (error != nullptr) {
            *error = why;
        }
        return nullptr;
    };
    std::string why;
    auto client = EmulatorClient::connectFromEnvironment(&why);
    if (!client) {
        return fail(
            why.empty()
                ? QStringLiteral("KESTAL_EMULATOR is not set")
                : QStringLiteral("no emulator answers: %1").arg(QString::fromStdString(why)));
    }
    // Subscribe before reading the state: a departure in between then still arrives as an event.
    auto subscription = client->subscribe(&why);
    if (!subscription) {
        return fail(QStringLiteral("cannot watch the emulated device: %1")
                        .arg(QString::fromStdString(why)));
    }
    const auto state = client->state();
    if (!state) {
        return fail(QStringLiteral("the emulator stopped answering"));
    }
    if (!state->attached) {
        return fail(QStringLiteral("the emulated device is not attached"));
    }
    return std::unique_ptr<DeviceConnection>(
        new DeviceConnection(std::move(client), std::move(subscription), *state));
}

DeviceConnection::DeviceConnection(std::unique_ptr<EmulatorClient> client,
                                   std::unique_ptr<EventSubscription> subscription,
                                   DeviceState opened)
    : client_(std::move(client))
    , subscription_(std::move(subscription))
    , notifier_(std::make_unique<QSocketNotifier>(subscription_->fd(), QSocketNotifier::Read))
    , opened_(std::move(opened)) {
    connect(notifier_.get(), &QSocketNotifier::activated, this, &DeviceConnection::readEvents);
}

DeviceConnection::~DeviceConnection() = default;

void DeviceConnection::readEvents() {
    std::vector<Event> events;
    subscription_->readEvents(events);
    for (const auto& event : events) {
        switch (event.kind) {
        case EventKind::DaemonLost:
            reportLoss(QStringLiteral("the emulator stopped"));
            return;
        case EventKind::Removed:
            reportLoss(QStringLiteral("the emulated device was unplugged"));
            return;
        case EventKind::Arrived:
        case EventKind::StateChanged:
            if (!event.state.attached || event.state.enumeration != opened_.enumeration) {
                reportLoss(QStringLiteral("the emulated device re-enumerated"));
                return;
            }
            break;
        }
    }
}

void DeviceConnection::reportLoss(const QString& reason) {
    if (lost_) {
        return;
    }
    lost_ = true;
    notifier_->setEnabled(false);
    QTimer::singleShot(0, this, [this, reason] { emit lost(reason); });
}

} // namespace quendral::emulator
