#pragma once

#include "common/version.h"
#include "uvc/iuvcdevice.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace quendral::fwupdate::backend {

// Talks to the camera chip over its AIT extension unit: the firmware transfer protocol, the
// version query and the USB-mode commands. Every control request goes through readControl and
// writeControl.
class VideoDeviceWorker {
public:
    using LogFunction = std::function<void(int level, const std::string& message)>;

    explicit VideoDeviceWorker(LogFunction log);

    // Opens the device by its USB identifiers, replacing any device held; one retry.
    bool openDevice();
    void closeDevice();
    bool hasDevice() const { return m_device != nullptr; }
    // The last open found the device in another process's hands.
    bool heldElsewhere() const { return m_heldElsewhere; }
    const std::string& friendlyName() const;
    bool readFirmwareVersion(Version& version);

    // Progress of the running transfer, in percent.
    int progress() const { return m_progress; }
    void setProgress(int percent) { m_progress = percent; }

    // Initiates, sends the image and finalizes; false with `errorCode` set to the failed step's
    // code. Progress runs from 2 to 92; the caller owns the steps before and after.
    bool update(const std::vector<std::uint8_t>& image, int& errorCode);
    // Ten seconds of pretended progress without device traffic.
    void simulateUpdate();

    void enterUsb2Mode();
    void enterUsb3Mode();
    bool queryUsb3();

    void setResult(bool succeeded);
    // False until a run has stored its outcome.
    bool takeResult(bool* succeeded) const;

private:
    bool initiate();
    bool sendImage(const std::vector<std::uint8_t>& image);
    bool finalize();
    // Sets progress to base + span * done / total.
    void reportProgress(int base, int span, long long done, long long total);

    uvc::UvcResult writeControl(std::uint8_t selector, const std::vector<std::uint8_t>& data);
    uvc::UvcResult readControl(std::uint8_t selector, std::vector<std::uint8_t>& data);
    void writeCommand(std::uint8_t byte0, std::uint8_t byte1, std::uint8_t byte2);

    LogFunction m_log;
    const util::Guid& m_unit;
    std::unique_ptr<uvc::IUvcDevice> m_device;
    bool m_heldElsewhere = false;
    std::atomic<int> m_progress{0};
    bool m_result = false;
    bool m_noResult = true;
};

} // namespace quendral::fwupdate::backend
