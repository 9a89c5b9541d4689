#include "fwautoupdater.h"

#include "fwupdatecontroller.h"
#include "settings.h"

#include <QDebug>

FWAutoUpdater::FWAutoUpdater(FWUpdateController* controller, std::chrono::milliseconds tickInterval,
                             std::function<QDateTime()> now)
    : QObject(controller)
    , controller_(controller)
    , now_(std::move(now)) {
    timer_.setInterval(tickInterval);
    connect(&timer_, &QTimer::timeout, this, [this] { tick(); });
    timer_.start();
}

void FWAutoUpdater::tick() {
    Settings* settings = Settings::instance();
    if (!settings->autoUpdateFW())
        return;
    const QDateTime last = settings->lastFWUpdateCheck();
    if (controller_->isUpdateFound()) {
        if (resumed)
            controller_->tryAutoInstall();
        return;
    }
    const QDateTime now = now_();
    if (last.isValid() && last.secsTo(now) <= checkInterval)
        return;
    // The stored time advances even when no device is there to ask about.
    settings->setLastFWUpdateCheck(now);
    qDebug("FW AutoUpdate: check for new version");
    controller_->checkNow();
    autoCheckPending = true;
}
