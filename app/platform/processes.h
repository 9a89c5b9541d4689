#pragma once

#include <QString>

#include <chrono>

namespace platform {

// Ends every process of this user, other than `ownPid`, whose executable is exactly
// `executablePath`, and waits up to `waitPerProcess` for each to go. Processes that cannot
// be signalled are skipped. Returns false when the process list could not be read;
// `*error` then holds the system's error code.
bool terminateProcessesOfExecutable(const QString& executablePath, qint64 ownPid,
                                    std::chrono::milliseconds waitPerProcess, int* error);

} // namespace platform
