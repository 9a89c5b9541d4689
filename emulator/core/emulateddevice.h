#pragma once

#include "devicestate.h"
#include "extensionunit.h"
#include "faultplan.h"
#include "firmwareversion.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace quendral::emulator {

/// How the device starts.
struct DeviceConfig {
    bool attached = true;
    bool hdmiConnected = false;
    bool otherStreaming = false;
    int usbMode = 3;
    FirmwareVersion version{1, 0, 0};
    /// Factor on every delay of the device; 0 makes them instant.
    double timeScale = 1.0;
};

/// Result of a HID or extension-unit request on the device.
struct DeviceReply {
    int errorCode = 0; ///< errno-style; 0 on success
    std::vector<std::uint8_t> data;
};

/// The emulated capture device: its presence on the bus, the HDMI and stream state behind its
/// HID report, its firmware version and USB mode, and its firmware extension unit.
///
/// The device keeps no clock of its own: every call that can depend on time takes `now`, and
/// nextDeadline()/advance() tell the owner when something will happen by itself (the return
/// after a re-enumeration). Not thread-safe; one owner drives it.
class EmulatedDevice {
public:
    /// Time the device spends off the bus when it re-enumerates.
    static constexpr std::chrono::milliseconds kReenumerationGap{1500};
    /// Time the device needs to write a received image to flash.
    static constexpr std::chrono::milliseconds kFinalizeBusy{5000};
    static constexpr double kMaxTimeScale = 100.0;

    explicit EmulatedDevice(const DeviceConfig& config);

    DeviceState state() const;
    const FaultPlan& faults() const { return faults_; }
    double timeScale() const { return timeScale_; }
    /// Human-readable summary, one "key: value" per line.
    std::string statusText() const;

    // Control, as the emulator's user changes the world around the device.
    /// False when it was attached already.
    bool plug();
    /// False when it was neither attached nor about to come back.
    bool unplug();
    void setHdmiConnected(bool connected);
    void setOtherStreaming(bool streaming);
    /// Replaces the running firmware's version (and forgets a flashed image not yet installed).
    void setVersion(const FirmwareVersion& version);
    /// Switches the USB mode; an attached device re-enumerates to do so. False when the device
    /// runs in that mode already.
    bool setUsbMode(int mode, TimePoint now);
    void changeFaults(const FaultChange& change);
    /// False for a factor below 0 or above kMaxTimeScale.
    bool setTimeScale(double factor);

    // Requests of the host, on the device as enumerated in `enumeration`.
    DeviceReply readHidReport(std::uint32_t enumeration);
    DeviceReply xuLength(std::uint32_t enumeration, std::uint8_t selector);
    DeviceReply xuGet(std::uint32_t enumeration, std::uint8_t selector, TimePoint now);
    DeviceReply xuSet(std::uint32_t enumeration, std::uint8_t selector,
                      const std::vector<std::uint8_t>& data, TimePoint now);

    /// A host program's camera stream, identified by `owner`, starts or stops. Only an
    /// attached device streams; false otherwise.
    bool setStreaming(std::uint64_t owner, bool on);
    /// Stops every stream of `owner` (its program went away).
    void releaseOwner(std::uint64_t owner);

    /// When the device next changes by itself; nothing when it waits for nobody.
    std::optional<TimePoint> nextDeadline() const { return returnAt_; }
    /// Carries out what is due at `now`.
    void advance(TimePoint now);

    /// Events since the last call, oldest first.
    std::vector<Event> takeEvents();

private:
    std::chrono::milliseconds scaled(std::chrono::milliseconds delay) const;
    bool current(std::uint32_t enumeration) const;
    void arrive();
    void leave();
    void reenumerate(TimePoint now);
    void publish(EventKind kind);
    void publishIfChanged();

    bool attached_ = false;
    bool hdmiConnected_ = false;
    bool otherStreaming_ = false;
    int usbMode_ = 3;
    std::optional<int> pendingUsbMode_;
    FirmwareVersion version_;
    double timeScale_ = 1.0;
    std::uint32_t enumeration_ = 0;
    std::optional<TimePoint> returnAt_;
    std::set<std::uint64_t> streamOwners_;
    FaultPlan faults_;
    ExtensionUnit unit_;
    std::vector<Event> events_;
    DeviceState published_;
};

} // namespace quendral::emulator
