#pragma once

#include "devicestate.h"

#include <QObject>
#include <QString>

#include <memory>

class QSocketNotifier;

namespace quendral::emulator {

class EmulatorClient;
class EventSubscription;

/// An open emulated device: a connection to the daemon named by KESTAL_EMULATOR, made while the
/// device was attached, that reports when that enumeration of the device ends, as an open
/// handle of a real device goes dead when it is unplugged. Lives on a thread with an event loop.
class DeviceConnection : public QObject {
    Q_OBJECT

public:
    /// Null, with `error` set, when no emulator is configured or answers, or its device is not
    /// attached.
    static std::unique_ptr<DeviceConnection> open(QString* error);

    ~DeviceConnection() override;

    EmulatorClient& client() { return *client_; }
    /// The device as it was when opened.
    const DeviceState& openedState() const { return opened_; }

signals:
    /// Emitted once, from the event loop rather than from inside the connection's own event
    /// handling, so receivers may destroy the connection in response.
    void lost(const QString& reason);

private:
    DeviceConnection(std::unique_ptr<EmulatorClient> client,
                     std::unique_ptr<EventSubscription> subscription, DeviceState opened);
    void readEvents();
    void reportLoss(const QString& reason);

    std::unique_ptr<EmulatorClient> client_;
    std::unique_ptr<EventSubscription> subscription_;
    // Declared after the subscription so that it goes first: it watches the subscription's fd.
    std::unique_ptr<QSocketNotifier> notifier_;
    DeviceState opened_;
    bool lost_ = false;
};

} // namespace quendral::emulator
