#include "sleepprevencontrol.h"

#include <QCoreApplication>
#include <QDebug>

#include <mutex>

namespace {

const QString kReason = QStringLiteral("Sharing Screen");

// Locked although the holders live on the GUI thread: a holder that ever moves to a worker
// must not be able to make two objects, or read the reference while it is being replaced.
std::mutex currentMutex;
std::weak_ptr<SleepPrevenControl> current;

} // namespace

SleepPrevenControl::SleepPrevenControl()
    : inhibitor_(QCoreApplication::applicationName(), kReason) {
    qDebug() << "Power: keeping the system awake";
}

SleepPrevenControl::~SleepPrevenControl() {
    qDebug() << "Power: letting the system sleep again";
}

std::shared_ptr<SleepPrevenControl> SleepPrevenControl::instance() {
    const std::lock_guard<std::mutex> lock(currentMutex);
    if (std::shared_ptr<SleepPrevenControl> existing = current.lock())
        return existing;
    std::shared_ptr<SleepPrevenControl> created(new SleepPrevenControl);
    current = created;
    return created;
}
