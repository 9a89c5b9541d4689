#include "powerevents.h"

#include "logind.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusError>
#include <QDebug>

#include <atomic>

namespace platform {
namespace {

// Containers and CI machines have no logind; saying so for every watcher would only bury the
// log.
std::atomic<bool> gapReported{false};

void reportGap(const QString& error) {
    if (!gapReported.exchange(true))
        qCritical().noquote() << QStringLiteral("Power: suspend and resume not followed: ") + error;
}

// logind's PrepareForSleep(true) only precedes the suspend; the suspend waits for the listeners
// only while they hold a "delay" inhibitor. So one is held from start-up until the suspend has
// been announced, and taken again after the resume.
class LogindPowerEvents : public PowerEvents {
    Q_OBJECT
public:
    LogindPowerEvents() {
        QDBusConnection bus = QDBusConnection::systemBus();
        if (!bus.isConnected()) {
            reportGap(QStringLiteral("no system bus (%1)").arg(bus.lastError().message()));
            return;
        }
        // QtDBus connects bus signals only by slot signature.
        if (!bus.connect(logind::kService, logind::kManagerPath, logind::kManagerInterface,
                         QStringLiteral("PrepareForSleep"), this, SLOT(onPrepareForSleep(bool)))) {
            reportGap(bus.lastError().message());
            return;
        }
        takeDelayLock();
    }

private slots:
    void onPrepareForSleep(bool start) {
        if (start) {
            emit suspending();
            delayLock_ = QDBusUnixFileDescriptor();
        } else {
            takeDelayLock();
            emit resumed();
        }
    }

private:
    void takeDelayLock() {
        if (delayLock_.isValid())
            return;
        QString error;
        delayLock_ = logind::inhibit(QStringLiteral("sleep"), QCoreApplication::applicationName(),
                                     QStringLiteral("Pause sharing before sleep"),
                                     QStringLiteral("delay"), &error);
        if (!delayLock_.isValid())
            reportGap(error);
    }

    QDBusUnixFileDescriptor delayLock_;
};

} // namespace

std::unique_ptr<PowerEvents> PowerEvents::create() {
    return std::make_unique<LogindPowerEvents>();
}

} // namespace platform

#include "powerevents_logind.moc"
