#include "tindrel.h"

#include "platform/hostsystem.h"
#include "tindrelapi.h"

#include <QDebug>
#include <QElapsedTimer>
#include <QMutexLocker>

namespace {

constexpr qint64 kUsbModeCorrectionIntervalMs = 5000;
constexpr int kUsbMode2 = 0;
constexpr int kUsbMode3 = 1;

// Touched from the GUI thread only.
QElapsedTimer lastUsbModeCorrection;

DeviceInfo fromRecord(const DeviceInfoRecord& record) {
    DeviceInfo info;
    info.present = record.present != 0;
    info.singleDevice = record.singleDevice != 0;
    info.name = record.name ? QString::fromLatin1(record.name) : QString();
    // The record carries the version as four little-endian bytes: major, minor, build.
    info.version.major = record.version.major;
    info.version.minor = record.version.minor;
    info.version.build = record.version.build;
    return info;
}

} // namespace

QPointer<Tindrel> Tindrel::instance_;

Tindrel* Tindrel::instance() {
    if (!instance_) {
        instance_ = new Tindrel;
        const TindrelApi& api = TindrelApi::current();
        if (!api.isInitialized())
            qDebug() << "Failed to initialize FW updater:" << api.lastError();
    }
    return instance_;
}

Tindrel::Tindrel() {
    TindrelApi::current().initialize();
}

Tindrel::~Tindrel() {
    TindrelApi::current().deInitialize();
}

DeviceInfo Tindrel::deviceInfo() const {
    QMutexLocker lock(&mutex_);
    return cache_;
}

bool Tindrel::startUpdate(const QByteArray& firmware) {
    return TindrelApi::current().startFWUpdate(firmware.constData(), firmware.size());
}

int Tindrel::updateProgress() {
    return TindrelApi::current().getUpdateProgress();
}

bool Tindrel::updateResult(bool* succeeded) {
    return TindrelApi::current().getUpdateResult(succeeded);
}

void Tindrel::updateDeviceInfoCache() {
    const TindrelApi& api = TindrelApi::current();
    const DeviceInfoRecord* record = api.isInitialized() ? api.getDeviceInfo() : nullptr;
    const DeviceInfo fresh = record ? fromRecord(*record) : DeviceInfo{};

    bool wasPresent = false;
    {
        QMutexLocker lock(&mutex_);
        wasPresent = cache_.present;
        const bool changed =
            cache_.present != fresh.present || cache_.versionText() != fresh.versionText();
        cache_ = fresh;
        if (changed && fresh.present)
            qDebug().noquote() << "Device firmware version:" << fresh.versionText();
    }
    emit deviceInfoCacheUpdated();
    if (!wasPresent && fresh.present)
        emit deviceAppeared();
    else if (wasPresent && !fresh.present)
        emit deviceDisappeared();
}

void Tindrel::reset() {
    TindrelApi::current().resetState();
}

void Tindrel::toggleUSB2() {
    TindrelApi::current().execSpecialFunction(kUsbMode2);
}

void Tindrel::toggleUSB3() {
    TindrelApi::current().execSpecialFunction(kUsbMode3);
}

bool Tindrel::ensureCorrectUsbMode() {
    if (lastUsbModeCorrection.isValid() &&
        lastUsbModeCorrection.elapsed() < kUsbModeCorrectionIntervalMs)
        return true;
    lastUsbModeCorrection.start();
    return TindrelApi::current().ensureCorrectUsbMode(platform::hostIsWindows7());
}

void Tindrel::forgetLastUsbModeCorrection() {
    lastUsbModeCorrection.invalidate();
}
