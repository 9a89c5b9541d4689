#pragma once

#include <QObject>

#include <chrono>
#include <functional>
#include <memory>

namespace platform {
class NamedEvent;
}

// One running copy per user session. The first copy holds two named events: "quit", set by
// a "quit" command of a later process, and "activate", set by a later start. A later process
// only opens them.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(QObject* parent = nullptr);
    ~SingleInstance() override;

    bool isPrimary() const;
    // In a later process: asks the first copy to come to the front; true when one runs.
    bool notifyRunningInstance();
    // Tries again to become the first copy, once the previous one has gone.
    void takeOwnershipAgain();
    // A restarted process waits for its predecessor to let go: up to `maxSleeps` calls of
    // `sleep`, each followed by a new attempt. True when this process is the first copy.
    bool waitForOwnership(int maxSleeps, const std::function<void()>& sleep);

    // Asks the first copy to quit, then ends every other process of this executable in this
    // session (the stragglers: copies that missed or ignore the request).
    void
    quitAllInstances(std::chrono::milliseconds quitGracePeriod = std::chrono::milliseconds(500),
                     std::chrono::milliseconds waitPerProcess = std::chrono::milliseconds(3000));

    static QString quitEventName();
    static QString activationEventName();

signals:
    void activationRequested();

private:
    void setUp();
    void closeForeignEvents();

    std::unique_ptr<platform::NamedEvent> quitEvent_;
    // The events could not be set up at all: this process runs as if it were the only one.
    bool unprotected_ = false;
    std::unique_ptr<platform::NamedEvent> foreignQuitEvent_;
    std::unique_ptr<platform::NamedEvent> activationEvent_;
};
