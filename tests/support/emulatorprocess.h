#pragma once

#include "childprocess.h"

#include <QString>
#include <QStringList>

// The emulated device's daemon, run as a child of the test on a socket of its own, so that
// it ends with the test. Sets nothing in the environment: tests point KESTAL_EMULATOR at
// socketPath() themselves when they want the application side to see it.
class EmulatorProcess {
public:
    // `startOptions` go to `kestal-emulator start`, e.g. {"--hdmi", "on"} or {"--detached"}.
    explicit EmulatorProcess(const QString& socketPath, const QStringList& startOptions = {});
    ~EmulatorProcess();
    EmulatorProcess(const EmulatorProcess&) = delete;
    EmulatorProcess& operator=(const EmulatorProcess&) = delete;

    // True once the daemon listens; false when it did not come up in time.
    bool isRunning() const { return listening_; }
    QString socketPath() const { return socketPath_; }

    // Runs a control command (`kestal-emulator plug`, `hdmi on`, ...); true when it succeeded.
    bool control(const QStringList& words) const;

    static QString binary();

private:
    QString socketPath_;
    ChildProcess daemon_;
    bool listening_ = false;
};
