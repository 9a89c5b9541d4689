#pragma once

#include <QProcess>

#include <csignal>
#include <sys/prctl.h>

// A child of the test that the kernel ends with the test, even when the test crashes, so that a
// broken run leaves no daemons or program copies behind.
class ChildProcess : public QProcess {
protected:
    void setupChildProcess() override { ::prctl(PR_SET_PDEATHSIG, SIGKILL); }
};
