#include "backend/videodeviceupdatetask.h"

#include "backend/videodeviceworker.h"
#include "common/ilogger.h"
#include "deviceids.h"
#include "uvc/uvcdevicefactory.h"

#include <algorithm>
#include <cstring>

namespace quendral::fwupdate::backend {

namespace {

using util::LogLevel;

const char kImageSignature[] = "AIT842";
constexpr std::size_t kImageSignatureLength = sizeof kImageSignature - 1;

constexpr int kNoImage = 122;
constexpr int kNoImageData = 123;
constexpr int kDeviceUnavailable = 124;

constexpr int kProgressImageRead = 1;

// One device exposes one video input and two capture interfaces (video and audio).
constexpr int kVideoInputsPerDevice = 1;
constexpr int kCaptureInterfacesPerDevice = 2;

} // namespace

VideoDeviceUpdateTask::VideoDeviceUpdateTask()
    : UpdateTask("Update video device", "video")
    , m_worker(std::make_unique<VideoDeviceWorker>(
          [this](int level, const std::string& message) { log(level, message); })) {}

VideoDeviceUpdateTask::~VideoDeviceUpdateTask() = default;

bool VideoDeviceUpdateTask::verifyImage() {
    const IImageProvider* provider = imageProvider();
    if (provider == nullptr) {
        return false;
    }
    std::vector<std::uint8_t> bytes;
    if (!provider->copyData(bytes)) {
        log(LogLevel::Error, "Video device image verification failed: Unable to copy data.");
        return false;
    }
    if (bytes.size() < kImageSignatureLength) {
        log(LogLevel::Error, "Video device image verification failed: Image too short.");
        return false;
    }
    if (std::memcmp(bytes.data(), kImageSignature, kImageSignatureLength) != 0) {
        log(LogLevel::Error, "Video device image verification failed: Signature invalid.");
        return false;
    }
    log(LogLevel::Debug, "Video device image verification succeeded.");
    return true;
}

ImageInfo VideoDeviceUpdateTask::readImageInfo() {
    ImageInfo info;
    info.valid = true;
    // The image carries no version this task knows how to read; only its readability counts.
    std::vector<std::uint8_t> bytes;
    if (!readImageBytes(bytes)) {
        log(LogLevel::Warning, "Unable to read version information from image.");
    }
    return info;
}

bool VideoDeviceUpdateTask::openDevice() {
    if (m_worker->openDevice()) {
        log(LogLevel::Info, "Successfully opened video device.");
        return true;
    }
    log(LogLevel::Warning, "Unable to open video device.");
    return false;
}

TaskDeviceInfo VideoDeviceUpdateTask::readDeviceInfo() {
    TaskDeviceInfo info;
    if (!m_worker->hasDevice()) {
        return info;
    }
    info.present = true;
    info.name = m_worker->friendlyName();
    Version version;
    if (m_worker->readFirmwareVersion(version)) {
        info.firmwareVersion = version;
    }
    return info;
}

void VideoDeviceUpdateTask::closeDevice() {
    m_worker->closeDevice();
}

bool VideoDeviceUpdateTask::deviceHeldElsewhere() const {
    return m_worker->heldElsewhere();
}

bool VideoDeviceUpdateTask::multipleDevicesPresent() {
    const auto factory = uvc::uvcDeviceFactory();
    return factory->countVideoInputDevices(deviceVendorId, deviceProductId,
                                           kVideoInputsPerDevice) ||
           factory->countCaptureInterfaces(deviceVendorId, deviceProductId,
                                           kCaptureInterfacesPerDevice);
}

void VideoDeviceUpdateTask::runUpdate() {
    m_worker->setProgress(0);
    const bool succeeded = runUpdateSteps();
    m_worker->setProgress(100);
    m_worker->setResult(succeeded);
}

bool VideoDeviceUpdateTask::runUpdateSteps() {
    if (!m_worker->hasDevice()) {
        log(LogLevel::Error, "Unable to update video device: Device is unavailable.");
        m_errorCode = kDeviceUnavailable;
        return false;
    }
    std::vector<std::uint8_t> image;
    if (!readImageBytes(image)) {
        m_errorCode = imageProvider() == nullptr ? kNoImage : kNoImageData;
        return false;
    }
    log(LogLevel::Debug,
        "Video device firmware image is " + std::to_string(image.size()) + " bytes.");
    m_worker->setProgress(kProgressImageRead);
    if (simulate()) {
        m_worker->simulateUpdate();
        return true;
    }
    int errorCode = 0;
    if (!m_worker->update(image, errorCode)) {
        m_errorCode = errorCode;
        return false;
    }
    return true;
}

bool VideoDeviceUpdateTask::readImageBytes(std::vector<std::uint8_t>& bytes) {
    const IImageProvider* provider = imageProvider();
    if (provider == nullptr) {
        log(LogLevel::Error, "Unable to obtain firmware image.");
        return false;
    }
    if (!provider->copyData(bytes)) {
        log(LogLevel::Error, "Unable to copy firmware image data.");
        return false;
    }
    if (bytes.empty()) {
        log(LogLevel::Error, "Unable to read firmware image data.");
        return false;
    }
    return true;
}

int VideoDeviceUpdateTask::runningProgress() const {
    return m_worker->progress();
}

int VideoDeviceUpdateTask::lastErrorCode() const {
    return m_errorCode;
}

bool VideoDeviceUpdateTask::takeResult(bool* succeeded) {
    return m_worker->takeResult(succeeded);
}

bool VideoDeviceUpdateTask::supportsDeviceHook(std::uint16_t vendorId, std::uint16_t productId) {
    return vendorId == deviceVendorId && productId == deviceProductId;
}

void VideoDeviceUpdateTask::enterUsb2Mode() {
    m_worker->enterUsb2Mode();
}

void VideoDeviceUpdateTask::enterUsb3Mode() {
    m_worker->enterUsb3Mode();
}

bool VideoDeviceUpdateTask::queryUsb3() {
    return m_worker->queryUsb3();
}

} // namespace quendral::fwupdate::backend
