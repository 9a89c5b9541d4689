#pragma once

#include <QObject>

#include <memory>

namespace platform {
class PowerEvents;
class TerminationSignals;
} // namespace platform

// Connects the program to the system's power and session management: announces suspend and
// resume, and ends the event loop when the session ends or the process is asked to terminate.
//
// Each transition is announced once: a second suspend before a resume, or a second resume
// before a suspend, is not announced again. A first resume without a suspend before it is.
class SessionWatchDog : public QObject {
    Q_OBJECT
public:
    // Follows the platform's power events.
    explicit SessionWatchDog(QObject* parent = nullptr);
    explicit SessionWatchDog(std::unique_ptr<platform::PowerEvents> powerEvents,
                             QObject* parent = nullptr);
    ~SessionWatchDog() override;

signals:
    // Emitted while the system still waits for it: work done by directly connected slots is
    // finished before the system sleeps.
    void goingToSleep();
    void wakingUp();

private:
    void onSuspending();
    void onResumed();

    std::unique_ptr<platform::PowerEvents> powerEvents_;
    std::unique_ptr<platform::TerminationSignals> terminationSignals_;
    bool sleepAnnounced_ = false;
    bool wakeAnnounced_ = false;
};
