#include "kestalhiddevice.h"

#include "deviceids.h"
#include "hidapi.h"

#include <QDebug>
#include <QHash>
#include <QTimerEvent>
#include <QWeakPointer>

#include <cwchar>

namespace {

constexpr int kProductStringLength = 255;
constexpr size_t kReportLength = 2;
constexpr unsigned char kStatusReportId = 0;

std::chrono::milliseconds pollInterval{1000};

QHash<QString, QWeakPointer<KestalHIDDevice>>& deviceCache() {
    static QHash<QString, QWeakPointer<KestalHIDDevice>> cache;
    return cache;
}

HIDDeviceState stateFromStatusByte(unsigned char status) {
    if (!(status & 0x02))
        return CableDisconnected;
    return (status & 0x01) ? Streaming : CableConnected;
}

void logTransition(HIDDeviceState from, HIDDeviceState to) {
    if (from == CableDisconnected && to == CableConnected)
        qDebug() << "HID: HDMI cable connected";
    else if (from == CableConnected && to == Streaming)
        qDebug() << "HID: stream started";
    else if (from == Streaming && to == CableConnected)
        qDebug() << "HID: stream stopped";
    else if (to == CableDisconnected)
        qDebug() << "HID: HDMI cable disconnected";
}

QString wideText(const wchar_t* text) {
    return text ? QString::fromWCharArray(text) : QString();
}

} // namespace

KestalHIDDevice::KestalHIDDevice() = default;

KestalHIDDevice::~KestalHIDDevice() {
    stopTimer();
    if (handle_) {
        HidApi::current().close(handle_);
        handle_ = nullptr;
        state_ = CableDisconnected;
        path_.clear();
    }
}

void KestalHIDDevice::setPollInterval(std::chrono::milliseconds interval) {
    pollInterval = interval;
}

QSharedPointer<KestalHIDDevice> KestalHIDDevice::acquire(const QString& path) {
    auto& cache = deviceCache();
    QString key = path.toLower();
    const auto cached = cache.constFind(key);
    if (cached != cache.constEnd()) {
        if (QSharedPointer<KestalHIDDevice> device = cached->toStrongRef()) {
            device->openDevice(device->path_);
            return device;
        }
        cache.remove(key);
    }

    qRegisterMetaType<HIDDeviceState>("HIDDeviceState");
    QSharedPointer<KestalHIDDevice> device(new KestalHIDDevice, &QObject::deleteLater);
    HidApi::current().init();
    device->openDevice(key);
    if (device->handle_)
        key = device->path_.toLower();
    else
        device.reset();

    if (device)
        cache.insert(key, device);
    else
        cache.remove(key);
    for (auto it = cache.begin(); it != cache.end();) {
        if (it->isNull())
            it = cache.erase(it);
        else
            ++it;
    }
    return device;
}

void KestalHIDDevice::forget(const QString& path) {
    deviceCache().remove(path.toLower());
}

void KestalHIDDevice::openDevice(QString device_path) {
    if (handle_)
        return;
    const HidApi& hid = HidApi::current();
    hid_device_info* devices = hid.enumerate(quendral::deviceVendorId, quendral::deviceProductId);
    for (hid_device_info* entry = devices; entry; entry = entry->next) {
        const QString entryPath = QString::fromUtf8(entry->path);
        if (!device_path.isEmpty() && entryPath.compare(device_path, Qt::CaseInsensitive) != 0)
            continue;
        handle_ = hid.openPath(entry->path);
        path_ = entryPath;
        break;
    }
    hid.freeEnumeration(devices);
    if (!handle_)
        return;
    wchar_t product[kProductStringLength] = {};
    // A backend that fills the whole buffer leaves no terminator to stop at.
    if (hid.getProductString(handle_, product, kProductStringLength) == 0) {
        const auto length = static_cast<int>(wcsnlen(product, kProductStringLength));
        qDebug() << "HID: found device:"
                 << QString::fromWCharArray(product, length).toUtf8().constData();
    }
}

void KestalHIDDevice::startTimerIfStopped() {
    if (timerId_ == 0)
        timerId_ = startTimer(pollInterval, Qt::CoarseTimer);
}

void KestalHIDDevice::stopTimer() {
    if (timerId_ != 0) {
        killTimer(timerId_);
        timerId_ = 0;
    }
}

void KestalHIDDevice::timerEvent(QTimerEvent* event) {
    if (event->timerId() != timerId_ || !handle_ || timerId_ == 0)
        return;
    const HidApi& hid = HidApi::current();
    unsigned char report[kReportLength] = {kStatusReportId, 0};
    const int read = hid.getInputReport(handle_, report, sizeof(report));
    // A short report, or one with another id, carries no status byte we can trust.
    if (read != static_cast<int>(kReportLength) || report[0] != kStatusReportId) {
        const QString reason =
            read < 0
                ? wideText(hid.error(handle_))
                : QStringLiteral("unexpected report (%1 bytes, id %2)").arg(read).arg(report[0]);
        qDebug() << "HID: Failed to get device state:" << reason.toUtf8().constData();
        reconnect();
        return;
    }
    const HIDDeviceState newState = stateFromStatusByte(report[1]);
    if (newState == state_)
        return;
    logTransition(state_, newState);
    state_ = newState;
    emit deviceStateChanged(newState);
}

void KestalHIDDevice::reconnect() {
    stopTimer();
    HidApi::current().close(handle_);
    handle_ = nullptr;
    openDevice(path_);
    if (handle_) {
        startTimerIfStopped();
        return;
    }
    qCritical() << "HID: lost device";
    state_ = CableDisconnected;
    emit deviceDisconnected();
}
