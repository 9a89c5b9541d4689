#pragma once

#include <QString>

#include <chrono>

namespace platform {

// Ends every process of this user's session, other than `ownPid`, whose executable is exactly
// `executablePath`, and waits up to `waitPerProcess` for each to go. A process belongs to the
// session when it runs with the same runtime folder (XDG_RUNTIME_DIR, where the session's
// single-instance events live) and, where the system keeps login sessions, in the same login
// session. Processes that cannot be signalled are skipped. Returns how many were ended, or -1
// when the process list could not be read; `*error` then holds the system's error code.
int terminateSessionProcessesOfExecutable(const QString& executablePath, qint64 ownPid,
                                          std::chrono::milliseconds waitPerProcess, int* error);

} // namespace platform
