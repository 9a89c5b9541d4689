#include "fwflashrunner.h"

#include "tindrel.h"
#include "tindrelapi.h"

#include <QDebug>
#include <QTimerEvent>

namespace {

void logFailure(const char* what) {
    qDebug() << "FW flash:" << what << TindrelApi::current().lastError();
}

} // namespace

FWFlashRunner::FWFlashRunner(std::chrono::milliseconds pollInterval)
    : updater_(Tindrel::instance())
    , pollInterval_(pollInterval) {}

void FWFlashRunner::start(const QByteArray& firmware) {
    if (updater_->startUpdate(firmware)) {
        startTimer(pollInterval_, Qt::CoarseTimer);
    } else {
        logFailure("not started:");
        emit failed();
    }
}

void FWFlashRunner::timerEvent(QTimerEvent* event) {
    bool succeeded = false;
    if (updater_->updateResult(&succeeded)) {
        killTimer(event->timerId());
        // The library's text of this run's end goes with the reset.
        if (!succeeded)
            logFailure("failed:");
        updater_->reset();
        if (succeeded)
            emit successed();
        else
            emit failed();
        return;
    }
    const int value = updater_->updateProgress();
    if (value >= 0 && value <= 100)
        emit progress(static_cast<quint8>(value));
}
