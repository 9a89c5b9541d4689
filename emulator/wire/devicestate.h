#pragma once

#include <cstdint>
#include <string>

namespace quendral::emulator {

/// A snapshot of the emulated device.
struct DeviceState {
    bool attached = false;
    bool hdmiConnected = false;
    bool otherStreaming = false; ///< another program streams from the camera
    bool ourStreaming = false;   ///< a client of this emulator streams (setStreaming)
    int usbMode = 3;             ///< 2 or 3
    std::uint8_t versionMajor = 0;
    std::uint8_t versionMinor = 0;
    std::uint16_t versionBuild = 0;
    /// Changes every time the device arrives; requests name the enumeration they were opened
    /// in and fail once the device has left it, as a real handle goes stale on re-enumeration.
    std::uint32_t enumeration = 0;
    /// Interface paths; they carry "vid_xxxx&pid_xxxx" in lower case.
    std::string hidPath;
    std::string videoPath;
    /// System name of the camera; it contains "VID_xxxx&PID_xxxx".
    std::string cameraName;

    /// Byte 1 of the HID input report: 0x02 = HDMI source connected, 0x01 = a stream runs.
    std::uint8_t hidStatusByte() const;
    /// "X.Y.Z".
    std::string versionText() const;

    bool operator==(const DeviceState& other) const;
    bool operator!=(const DeviceState& other) const { return !(*this == other); }
};

enum class EventKind : std::uint8_t {
    Arrived = 1,      ///< the device (re)appeared; state carries its new paths and enumeration
    Removed = 2,      ///< the device left; state carries the paths it had
    StateChanged = 3, ///< HDMI, stream, version or USB mode changed
    DaemonLost = 4,   ///< the event connection broke; no further events will come
};

struct Event {
    EventKind kind = EventKind::StateChanged;
    DeviceState state;
};

} // namespace quendral::emulator
