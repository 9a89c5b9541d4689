#pragma once

#include <QObject>

#include <memory>

namespace platform {

// Tells when the system is about to suspend and when it has resumed, on the thread the object
// lives in. The base class reports nothing by itself: the platform's source derives from it,
// and a test can emit the signals directly.
class PowerEvents : public QObject {
    Q_OBJECT
public:
    explicit PowerEvents(QObject* parent = nullptr)
        : QObject(parent) {}

    // The platform's source. Where the platform's power management cannot be reached, it says
    // so in the log (once per process) and stays silent.
    static std::unique_ptr<PowerEvents> create();

signals:
    // The system is about to suspend. It waits, within a limit of its own, until the slots
    // connected directly have returned, so they can still wind down work that must not be
    // frozen mid-way.
    void suspending();
    void resumed();
};

} // namespace platform
