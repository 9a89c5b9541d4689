#include "singleinstance.h"

#include "platform/namedevent.h"
#include "platform/processes.h"

#include <QCoreApplication>
#include <QDebug>
#include <QThread>

using platform::NamedEvent;

namespace {

QString hexCode(int code) {
    return QString::number(static_cast<uint>(code), 16);
}

} // namespace

SingleInstance::SingleInstance(QObject* parent)
    : QObject(parent) {
    setUp();
}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::quitEventName() {
    return QStringLiteral("Local\\acfc924021ac4bf68afe925bed804419%1")
        .arg(QCoreApplication::applicationName());
}

QString SingleInstance::activationEventName() {
    return QStringLiteral("Local\\b83061b1fedc4a19a93286c26e63a89b%1")
        .arg(QCoreApplication::applicationName());
}

void SingleInstance::setUp() {
    foreignQuitEvent_ = NamedEvent::open(quitEventName());
    if (!foreignQuitEvent_) {
        int error = 0;
        quitEvent_ = NamedEvent::create(quitEventName(), &error);
        if (!quitEvent_) {
            // Another process created it in between.
            foreignQuitEvent_ = NamedEvent::open(quitEventName(), &error);
            if (!foreignQuitEvent_) {
                // Nothing answers and nothing can be set up: refusing to start would keep the
                // user from the program for no running copy at all.
                qCritical().noquote()
                    << QStringLiteral("Failed to init single application: 0x") + hexCode(error) +
                           QStringLiteral("; running without single-instance protection");
                unprotected_ = true;
                return;
            }
        } else {
            connect(quitEvent_.get(), &NamedEvent::activated, this, [] {
                qCritical() << "Quit requested externally";
                QCoreApplication::exit(0);
            });
            activationEvent_ = NamedEvent::create(activationEventName());
            if (activationEvent_) {
                connect(activationEvent_.get(), &NamedEvent::activated, this, [this] {
                    qDebug() << "Activation requested externally";
                    emit activationRequested();
                });
            }
            return;
        }
    }
    activationEvent_ = NamedEvent::open(activationEventName());
}

bool SingleInstance::isPrimary() const {
    return quitEvent_ != nullptr || unprotected_;
}

bool SingleInstance::notifyRunningInstance() {
    if (isPrimary())
        return false;
    if (activationEvent_)
        activationEvent_->set();
    return true;
}

void SingleInstance::closeForeignEvents() {
    foreignQuitEvent_.reset();
    activationEvent_.reset();
}

void SingleInstance::takeOwnershipAgain() {
    if (isPrimary())
        return;
    closeForeignEvents();
    setUp();
}

bool SingleInstance::waitForOwnership(int maxSleeps, const std::function<void()>& sleep) {
    for (int sleeps = 0; !isPrimary() && sleeps < maxSleeps; ++sleeps) {
        sleep();
        takeOwnershipAgain();
    }
    return isPrimary();
}

void SingleInstance::quitAllInstances(std::chrono::milliseconds quitGracePeriod,
                                      std::chrono::milliseconds waitPerProcess) {
    if (foreignQuitEvent_) {
        foreignQuitEvent_->set();
        QThread::msleep(static_cast<unsigned long>(quitGracePeriod.count()));
    }
    int error = 0;
    const int ended = platform::terminateSessionProcessesOfExecutable(
        QCoreApplication::applicationFilePath(), QCoreApplication::applicationPid(), waitPerProcess,
        &error);
    if (ended < 0)
        qDebug().noquote() << QStringLiteral("Failed to enumerate all processes: 0x") +
                                  hexCode(error);
    else
        qDebug() << "Quit: other copies of this session ended:" << ended;
}
