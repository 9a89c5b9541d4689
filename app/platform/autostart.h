#pragma once

#include <QString>

namespace platform {

// The user's "start this program at log-in" entry, one per `entryName`.
// The command is the text the session runs, e.g. the quoted path of an executable.
// XDG implementation: $XDG_CONFIG_HOME/autostart/<entryName>.desktop with the command as Exec
// and the program it starts as TryExec.
class AutoStartEntry {
public:
    explicit AutoStartEntry(const QString& entryName);

    // The stored command; empty when there is no entry.
    QString command() const;
    bool setCommand(const QString& command);
    bool remove();

    QString filePath() const { return filePath_; }

private:
    QString filePath_;
    QString entryName_;
};

} // namespace platform
