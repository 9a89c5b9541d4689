#pragma once

#include <QObject>
#include <QString>

#include <memory>
#include <vector>

class QSocketNotifier;

namespace platform {

// A session-wide, auto-reset event with a name, in the manner of a Win32 named event.
// The process that creates it owns it and is told of every set() through activated(),
// delivered on the thread the event lives in. Other processes of the same user session
// open it by name and set it. The event exists while its creator holds it.
//
// Unix implementation: a listening stream socket in the user's runtime directory (or a private
// folder of the user's when the session has none); set() sends one byte over a connection, and
// both ends accept only peers of the same user. Creation is serialised by a lock file, so
// exactly one of several racing processes creates the event.
class NamedEvent : public QObject {
    Q_OBJECT
public:
    ~NamedEvent() override;

    // Creates the event. Fails (null, *error = EEXIST) while another holder owns the name.
    static std::unique_ptr<NamedEvent> create(const QString& name, int* error = nullptr);
    // Opens an event created by another holder. Fails (null) when nobody holds the name.
    static std::unique_ptr<NamedEvent> open(const QString& name, int* error = nullptr);

    // Signals the event. On an opened event this wakes the creator once per call.
    bool set();
    bool isOwner() const { return listenFd_ >= 0; }

    // Where the event of this name lives, empty when no private folder can be had; exposed for
    // diagnostics and tests.
    static QString socketPath(const QString& name);

signals:
    void activated();

private:
    NamedEvent() = default;
    void acceptConnections();
    void readConnection(int fd);

    struct Connection {
        int fd;
        std::unique_ptr<QSocketNotifier> notifier;
    };

    QString path_;
    int listenFd_ = -1;
    int connectionFd_ = -1;
    std::unique_ptr<QSocketNotifier> listenNotifier_;
    std::vector<Connection> connections_;
};

} // namespace platform
