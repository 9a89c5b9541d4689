#include "devicedetector.h"

#include "hidmonitor.h"

#include <QDebug>
#include <QTimer>

namespace {

constexpr int kOpenAttempts = 10;

QPointer<DeviceDetector> detectorInstance;

} // namespace

DeviceDetector::DeviceDetector(std::unique_ptr<HidMonitor> monitor)
    : monitor_(std::move(monitor)) {
    qRegisterMetaType<QSharedPointer<KestalHIDDevice>>("QSharedPointer<KestalHIDDevice>");
    connect(monitor_.get(), &HidMonitor::interfaceArrived, this, &DeviceDetector::handleAddDevice);
    connect(monitor_.get(), &HidMonitor::interfaceRemoved, this,
            &DeviceDetector::handleRemoveDevice);
}

DeviceDetector::~DeviceDetector() = default;

DeviceDetector* DeviceDetector::instance() {
    if (!detectorInstance)
        detectorInstance = new DeviceDetector(HidMonitor::create());
    return detectorInstance;
}

void DeviceDetector::start() {
    if (started_) {
        qWarning() << "Device detector already started";
        return;
    }
    started_ = true;
    if (!monitor_->start())
        qWarning() << "Failed register for device notifications";

    if (QSharedPointer<KestalHIDDevice> device = KestalHIDDevice::acquire(QString())) {
        devices_.insert(device->path().toLower(), device);
        emit deviceConnected(device);
    }
}

void DeviceDetector::handleAddDevice(QString dev_name) {
    const QString key = dev_name.toLower();
    if (retriesLeft_ == -1)
        retriesLeft_ = kOpenAttempts;
    if (retriesLeft_ > 0) {
        if (QSharedPointer<KestalHIDDevice> device = KestalHIDDevice::acquire(key)) {
            retriesLeft_ = -1;
            devices_.insert(key, device);
            emit deviceConnected(device);
            return;
        }
    }
    const int attemptsBefore = retriesLeft_--;
    if (retriesLeft_ > 0) {
        qDebug() << "Matching HID device connected, but not initialized. Retry attempts left"
                 << attemptsBefore;
        QTimer::singleShot(retryInterval_, this, [this, key] { handleAddDevice(key); });
    } else {
        retriesLeft_ = -1;
        qDebug() << "Failed to find initialized HID device";
    }
}

void DeviceDetector::handleRemoveDevice(QString dev_name) {
    const QString key = dev_name.toLower();
    KestalHIDDevice::forget(key);
    const auto found = devices_.find(key);
    if (found != devices_.end()) {
        const QSharedPointer<KestalHIDDevice> device = found.value();
        devices_.erase(found);
        emit deviceDisconnected(device);
    }
    if (retriesLeft_ > 0)
        retriesLeft_ = 0;
}
