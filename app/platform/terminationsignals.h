#pragma once

#include <QObject>

#include <memory>

class QSocketNotifier;

namespace platform {

// Turns the requests to end the process (SIGTERM, SIGHUP, SIGINT) into received(), delivered by
// the event loop of the object's thread instead of in signal-handler context.
//
// One object at a time holds the handlers; a second one logs and stays inert. Destroying the
// holder puts back the handlers it replaced. A signal the parent process set to be ignored
// (nohup, background jobs of a shell) stays ignored.
class TerminationSignals : public QObject {
    Q_OBJECT
public:
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;

signals:
    void received(int signalNumber);

private:
    void deliverPending();

    std::unique_ptr<QSocketNotifier> notifier_;
};

} // namespace platform
