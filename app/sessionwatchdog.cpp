#include "sessionwatchdog.h"

#include "platform/powerevents.h"
#include "platform/terminationsignals.h"

#include <QCoreApplication>
#include <QDebug>

SessionWatchDog::SessionWatchDog(QObject* parent)
    : SessionWatchDog(platform::PowerEvents::create(), parent) {}

SessionWatchDog::SessionWatchDog(std::unique_ptr<platform::PowerEvents> powerEvents,
                                 QObject* parent)
    : QObject(parent)
    , powerEvents_(std::move(powerEvents))
    , terminationSignals_(std::make_unique<platform::TerminationSignals>()) {
    connect(powerEvents_.get(), &platform::PowerEvents::suspending, this,
            &SessionWatchDog::onSuspending);
    connect(powerEvents_.get(), &platform::PowerEvents::resumed, this, &SessionWatchDog::onResumed);
    connect(terminationSignals_.get(), &platform::TerminationSignals::received, this,
            [](int signalNumber) {
                qCritical() << "Quit requested by signal" << signalNumber;
                // Queued, so the quit reaches the event loop even from a nested one, after the
                // event at hand has been handled.
                QMetaObject::invokeMethod(QCoreApplication::instance(), "quit",
                                          Qt::QueuedConnection);
            });
}

SessionWatchDog::~SessionWatchDog() = default;

void SessionWatchDog::onSuspending() {
    if (sleepAnnounced_)
        return;
    sleepAnnounced_ = true;
    wakeAnnounced_ = false;
    emit goingToSleep();
}

void SessionWatchDog::onResumed() {
    if (wakeAnnounced_)
        return;
    wakeAnnounced_ = true;
    sleepAnnounced_ = false;
    emit wakingUp();
}
