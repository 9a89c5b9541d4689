#pragma once

#include "applicationstate.h"

#include <QObject>

#include <chrono>
#include <memory>

class QThread;

// Plays the device's sound on the default output. The device's audio input and the default
// output are opened, paused and closed on a worker thread of their own ("Audio Share Thread"),
// which copies the input to the output; the application state alone drives it. The worker
// exists while the state is above NoDevice. The object itself lives on the GUI thread.
class AudioController : public QObject {
    Q_OBJECT
public:
    // The delays of the device search and of the worker's shutdown. Tests shorten them.
    struct Timing {
        std::chrono::milliseconds scanInterval{1000};
        // The worker is released this long after it is told to stop, so that state changes
        // already posted to it are handled (and ignored) first.
        std::chrono::milliseconds releaseDelay{250};
        std::chrono::milliseconds firstJoinWait{1000};
        // Each further wait of the escalation.
        std::chrono::milliseconds escalationWait{500};
    };

    explicit AudioController(QObject* parent = nullptr);
    ~AudioController() override;

    static AudioController* instance();

    // Applies to workers created afterwards.
    void setTiming(const Timing& timing) { timing_ = timing; }

public slots:
    void setApplicationState(ApplicationState state);

private:
    class Impl;

    void ensureWorker();
    void shutdownWorker();

    // Destroys the worker object on its own thread, a grace delay after it was handed over.
    struct ImplRelease {
        std::chrono::milliseconds delay;
        void operator()(Impl* impl) const;
    };

    std::unique_ptr<Impl, ImplRelease> impl_;
    // A child of this object; null while no worker exists.
    QThread* thread_ = nullptr;
    Timing timing_;
};
