#include "backend/videodeviceworker.h"

#include "common/ilogger.h"
#include "deviceids.h"
#include "util/iclock.h"
#include "uvc/aitextensionunit.h"
#include "uvc/uvcdevicefactory.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace quendral::fwupdate::backend {

namespace {

using util::LogLevel;

// Controls of the AIT unit.
constexpr std::uint8_t kCommandSelector = 1;
constexpr std::uint8_t kResponseSelector = 2;
constexpr std::uint8_t kFirmwareDataSelector = 3;
constexpr std::uint8_t kMmpSelector = 4;
constexpr std::uint8_t kMmpResultSelector = 5;

constexpr std::size_t kCommandLength = 8;
constexpr std::size_t kBlockLength = 32;

constexpr std::uint8_t kStatusSuccess = 0x00;
constexpr std::uint8_t kStatusFailure = 0x82;

// Progress windows of the transfer steps.
constexpr int kProgressSendBase = 2;
constexpr int kProgressSendSpan = 55;
constexpr int kProgressFinalizeBase = 57;
constexpr int kProgressFinalizeSpan = 35;

constexpr long long kFinalizeExpectedMs = 15000;
constexpr long long kFinalizeReportLimitMs = kFinalizeExpectedMs * 9 / 10;
constexpr long long kFinalizeTimeoutMs = 120000;
constexpr std::chrono::milliseconds kFinalizePollIntervalMs{2000};
constexpr std::chrono::milliseconds kFinalizeSettleMs{8000};
constexpr int kFinalizeReadRetries = 2;

constexpr std::chrono::milliseconds kSimulationStepMs{1000};
constexpr int kSimulationSteps = 10;
constexpr int kSimulationStepPercent = 20;

std::vector<std::uint8_t> mmpCommand(std::uint8_t phase) {
    std::vector<std::uint8_t> bytes(kCommandLength, 0);
    bytes[0] = 0x01;
    bytes[1] = phase;
    bytes[2] = 0x03;
    return bytes;
}

} // namespace

VideoDeviceWorker::VideoDeviceWorker(LogFunction log)
    : m_log(std::move(log))
    , m_unit(uvc::aitExtensionUnit()) {}

bool VideoDeviceWorker::openDevice() {
    m_device.reset();
    const auto factory = uvc::uvcDeviceFactory();
    m_heldElsewhere = false;
    m_device = factory->open(deviceVendorId, deviceProductId, &m_heldElsewhere);
    if (!m_device) {
        m_heldElsewhere = false;
        m_device = factory->open(deviceVendorId, deviceProductId, &m_heldElsewhere);
    }
    return m_device != nullptr;
}

void VideoDeviceWorker::closeDevice() {
    m_device.reset();
}

const std::string& VideoDeviceWorker::friendlyName() const {
    return m_device->friendlyName();
}

bool VideoDeviceWorker::readFirmwareVersion(Version& version) {
    if (!m_device) {
        return false;
    }
    writeCommand(0x0B, 0x00, 0x00);
    std::vector<std::uint8_t> reply;
    const uvc::UvcResult read = readControl(kResponseSelector, reply);
    if (!read.ok) {
        m_log(LogLevel::Error,
              "Unable to read XU control 'IXU_FIRMWARE_VERSION': " + read.errorText());
        return false;
    }
    if (reply.size() != kCommandLength) {
        m_log(LogLevel::Error, "Invalid data while reading XU control 'IXU_FIRMWARE_VERSION'.");
        return false;
    }
    // Six decimal digits, one per byte: major, minor and build, two digits each.
    version.major = static_cast<std::uint8_t>(reply[2] * 10 + reply[3]);
    version.minor = static_cast<std::uint8_t>(reply[4] * 10 + reply[5]);
    version.build = static_cast<std::uint16_t>(reply[6] * 10 + reply[7]);
    return true;
}

bool VideoDeviceWorker::update(const std::vector<std::uint8_t>& image, int& errorCode) {
    constexpr int kInitiationFailed = 125;
    constexpr int kSendFailed = 126;
    constexpr int kFinalizationFailed = 127;

    if (!initiate()) {
        m_log(LogLevel::Error, "Unable to update video device: Initiation failed.");
        errorCode = kInitiationFailed;
        return false;
    }
    m_progress = kProgressSendBase;
    const bool sent = sendImage(image);
    m_progress = kProgressSendBase + kProgressSendSpan;
    if (!sent) {
        m_log(LogLevel::Error, "Unable to update video device: Failed to send image data.");
        errorCode = kSendFailed;
        return false;
    }
    const bool finalized = finalize();
    m_progress = kProgressFinalizeBase + kProgressFinalizeSpan;
    if (!finalized) {
        m_log(LogLevel::Error, "Unable to update video device: Finalization failed.");
        errorCode = kFinalizationFailed;
        return false;
    }
    // What the device does with the closing command is its own business; the flash is done.
    writeCommand(0x7F, 0x0B, 0x00);
    return true;
}

void VideoDeviceWorker::simulateUpdate() {
    const auto clock = util::currentClock();
    for (int step = 0; step < kSimulationSteps; ++step) {
        clock->sleepFor(kSimulationStepMs);
        m_progress = std::min(m_progress + kSimulationStepPercent, 100);
    }
}

bool VideoDeviceWorker::initiate() {
    const uvc::UvcResult write = writeControl(kMmpSelector, mmpCommand(0x00));
    if (!write.ok) {
        m_log(LogLevel::Error, "Unable to set XU control 'AITXU_SET_MMP': " + write.errorText());
        return false;
    }
    std::vector<std::uint8_t> status;
    const uvc::UvcResult read = readControl(kMmpResultSelector, status);
    if (!read.ok || status.empty()) {
        m_log(LogLevel::Error,
              "Unable to get XU control 'AITXU_GET_MMP_RESULT': " + read.errorText());
        return false;
    }
    if (status[0] != kStatusSuccess) {
        m_log(LogLevel::Error, "Device rejected firmware update initialization.");
        return false;
    }
    return true;
}

bool VideoDeviceWorker::sendImage(const std::vector<std::uint8_t>& image) {
    m_log(LogLevel::Info, "Sending firmware image data ...");
    std::vector<std::uint8_t> block(kBlockLength, 0);
    const std::size_t total = image.size();
    for (std::size_t offset = 0; offset < total; offset += kBlockLength) {
        const std::size_t n = std::min(kBlockLength, total - offset);
        if (n < kBlockLength) {
            std::fill(block.begin(), block.end(), 0);
        }
        std::memcpy(block.data(), image.data() + offset, n);
        const uvc::UvcResult write = writeControl(kFirmwareDataSelector, block);
        if (!write.ok) {
            m_log(LogLevel::Error,
                  "Unable to set XU control 'AITXU_SET_FW_DATA': " + write.errorText());
            return false;
        }
        reportProgress(kProgressSendBase, kProgressSendSpan, static_cast<long long>(offset + n),
                       static_cast<long long>(total));
    }
    m_log(LogLevel::Info, "Done sending firmware image data.");
    return true;
}

bool VideoDeviceWorker::finalize() {
    m_log(LogLevel::Info, "Finalizing firmware update ...");
    const uvc::UvcResult write = writeControl(kMmpSelector, mmpCommand(0x01));
    if (!write.ok) {
        m_log(LogLevel::Error, "Unable to set XU control 'AITXU_SET_MMP': " + write.errorText());
        return false;
    }
    const auto clock = util::currentClock();
    long long elapsedMs = 0;
    const auto wait = [&](std::chrono::milliseconds duration) {
        clock->sleepFor(duration);
        elapsedMs += duration.count();
        if (elapsedMs < kFinalizeReportLimitMs) {
            reportProgress(kProgressFinalizeBase, kProgressFinalizeSpan, elapsedMs,
                           kFinalizeExpectedMs);
        }
    };
    for (int polls = 0;; ++polls) {
        std::vector<std::uint8_t> status;
        uvc::UvcResult read;
        for (int attempt = 0; attempt <= kFinalizeReadRetries && !read.ok; ++attempt) {
            wait(kFinalizePollIntervalMs);
            read = readControl(kMmpResultSelector, status);
        }
        if (!read.ok || status.empty()) {
            m_log(LogLevel::Error,
                  "Unable to get XU control 'AITXU_GET_MMP_RESULT': " + read.errorText());
            return false;
        }
        if (status[0] == kStatusSuccess) {
            // A device that is done at the first look has not yet settled its flash.
            if (polls == 0) {
                wait(kFinalizeSettleMs);
            }
            m_log(LogLevel::Info, "Firmware update finalized.");
            return true;
        }
        if (status[0] == kStatusFailure) {
            m_log(LogLevel::Error, "Device returned firmware update failure during finalization.");
            return false;
        }
        if (elapsedMs > kFinalizeTimeoutMs) {
            m_log(LogLevel::Error, "Timeout waiting for device to finalize firmware update.");
            return false;
        }
    }
}

void VideoDeviceWorker::reportProgress(int base, int span, long long done, long long total) {
    if (done < 0 || total <= 0) {
        throw std::invalid_argument("Numerator and denominator must be positive");
    }
    const int percent =
        done > total
            ? 100
            : static_cast<int>(100.0f * static_cast<float>(done) / static_cast<float>(total));
    m_progress = base + percent * span / 100;
}

void VideoDeviceWorker::setResult(bool succeeded) {
    m_result = succeeded;
    m_noResult = false;
}

bool VideoDeviceWorker::takeResult(bool* succeeded) const {
    if (m_noResult) {
        return false;
    }
    *succeeded = m_result;
    return true;
}

void VideoDeviceWorker::enterUsb2Mode() {
    writeCommand(0xFF, 0x0D, 0x01);
}

void VideoDeviceWorker::enterUsb3Mode() {
    writeCommand(0xFF, 0x0D, 0x00);
}

bool VideoDeviceWorker::queryUsb3() {
    writeCommand(0x7F, 0x0C, 0x00);
    std::vector<std::uint8_t> reply;
    const uvc::UvcResult read = readControl(kResponseSelector, reply);
    // Only a clear USB 2 answer counts; a device that does not answer is taken to be on USB 3.
    const bool usb2 =
        read.ok && reply.size() == kCommandLength && reply[0] == 0x00 && reply[1] == 0x01;
    return !usb2;
}

uvc::UvcResult VideoDeviceWorker::writeControl(std::uint8_t selector,
                                               const std::vector<std::uint8_t>& data) {
    return m_device->writeXu(m_unit, selector, data);
}

uvc::UvcResult VideoDeviceWorker::readControl(std::uint8_t selector,
                                              std::vector<std::uint8_t>& data) {
    return m_device->readXu(m_unit, selector, data);
}

void VideoDeviceWorker::writeCommand(std::uint8_t byte0, std::uint8_t byte1, std::uint8_t byte2) {
    std::vector<std::uint8_t> command(kCommandLength, 0);
    command[0] = byte0;
    command[1] = byte1;
    command[2] = byte2;
    writeControl(kCommandSelector, command);
}

} // namespace quendral::fwupdate::backend
