#pragma once

#include <QDBusUnixFileDescriptor>
#include <QLatin1String>
#include <QString>

namespace platform::logind {

inline const QLatin1String kService("org.freedesktop.login1");
inline const QLatin1String kManagerPath("/org/freedesktop/login1");
inline const QLatin1String kManagerInterface("org.freedesktop.login1.Manager");

// Takes an inhibitor lock from logind on the system bus. The lock holds while the returned
// descriptor (or a duplicate of it anywhere) stays open. On failure the descriptor is invalid
// and `*error` says why.
QDBusUnixFileDescriptor inhibit(const QString& what, const QString& who, const QString& why,
                                const QString& mode, QString* error);

} // namespace platform::logind
