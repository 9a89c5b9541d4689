#pragma once

#include <QDateTime>
#include <QObject>
#include <QTimer>

#include <chrono>
#include <functional>

class FWUpdateController;

// The firmware controller's companion for unattended updates: once an hour it decides whether a
// server check is due (15 days after the last one) and whether a known update may be installed.
class FWAutoUpdater : public QObject {
public:
    FWAutoUpdater(FWUpdateController* controller, std::chrono::milliseconds tickInterval,
                  std::function<QDateTime()> now);

    void tick();

    // Seconds that must pass between two server checks (15 days).
    const qint64 checkInterval = 1296000;
    // Installs are allowed; the application controller pauses them during a share.
    bool resumed = false;
    // A server check started here awaits its answer.
    bool autoCheckPending = false;

private:
    QTimer timer_;
    FWUpdateController* controller_;
    std::function<QDateTime()> now_;
};
