#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <QTemporaryDir>

// A private user session for a test: home, configuration, runtime and temporary folders of its
// own, so that settings, single-instance sockets and log files never meet the user's.
class SessionSandbox {
public:
    SessionSandbox();

    bool isValid() const { return dir_.isValid(); }
    QString path(const QString& relative = QString()) const;

    // Points this process at the sandbox; call before the first use of settings or paths.
    void enter() const;
    // The environment for a program started in the sandbox.
    QProcessEnvironment environment() const;

private:
    QTemporaryDir dir_;
};
