#pragma once

// Client side of the emulated capture device.
//
// Every backend that can talk to the emulated device (tindrel's UVC access, castwell's HID
// status device, the Qt camera and audio plugins) goes through this one API. Nothing here does
// anything unless the environment variable KESTAL_EMULATOR names the daemon's socket: without
// it, connectFromEnvironment() returns null and the real backends stay in charge.
//
// Threads: EmulatorClient may be shared by any number of threads; each request holds the
// connection for its own round trip. An EventSubscription belongs to one thread at a time (the
// one that watches its fd, e.g. with a QSocketNotifier on the GUI thread); EventThread runs a
// subscription on a thread of its own and calls back there.

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "devicestate.h"

namespace quendral::emulator {

/// Environment variable holding the daemon's socket path.
inline constexpr const char* kSocketEnvVar = "KESTAL_EMULATOR";

/// Name of the emulated audio input (and the prefix of the emulated output).
inline constexpr const char* kAudioInputName = "Quendral Castwell (emulated)";

/// Product string of the emulated HID interface.
inline constexpr const char* kHidProductName = "Quendral Kestal (emulated)";

/// Outcome of a HID report read or an extension-unit access.
struct TransferResult {
    bool ok = false;
    /// errno-style code when !ok: ENODEV (device gone or the enumeration is stale), EIO (an
    /// injected failure), EINVAL (selector or length the device does not accept), EPROTO (out of
    /// order for the transfer), ENOTCONN (daemon unreachable).
    int errorCode = 0;
    std::vector<std::uint8_t> data; ///< bytes read; empty for writes
};

/// Outcome of a control command (the same words the kestal-emulator program takes).
struct ControlResult {
    bool ok = false;
    std::string text; ///< status text on success, error message on failure
};

/// A connection that receives device events. Watch fd() for readability (QSocketNotifier,
/// poll) and call readEvents() when it is readable.
class EventSubscription {
public:
    ~EventSubscription();
    EventSubscription(const EventSubscription&) = delete;
    EventSubscription& operator=(const EventSubscription&) = delete;

    /// Non-blocking socket; readable when events (or the end of the connection) are waiting.
    int fd() const { return fd_; }

    /// Appends every complete event that has arrived, without blocking. Returns false once the
    /// connection is lost; a DaemonLost event is then appended (once).
    bool readEvents(std::vector<Event>& out);

private:
    friend class EmulatorClient;
    explicit EventSubscription(int fd);

    int fd_ = -1;
    bool lost_ = false;
    std::vector<std::uint8_t> buffer_;
};

/// Runs a subscription on its own thread and calls `callback` there for every event, the final
/// DaemonLost included. The destructor stops the thread and waits for it; do not destroy the
/// EventThread from inside its own callback.
class EventThread {
public:
    EventThread(std::unique_ptr<EventSubscription> subscription,
                std::function<void(const Event&)> callback);
    ~EventThread();
    EventThread(const EventThread&) = delete;
    EventThread& operator=(const EventThread&) = delete;

private:
    void run();

    std::unique_ptr<EventSubscription> subscription_;
    std::function<void(const Event&)> callback_;
    int wakeFds_[2] = {-1, -1};
    std::thread thread_;
};

class EmulatorClient {
public:
    /// The socket path from KESTAL_EMULATOR, or nothing when the variable is unset or empty.
    static std::optional<std::string> socketPathFromEnvironment();

    /// Connects to the daemon named by KESTAL_EMULATOR. Null when the variable is unset (then
    /// `error` stays empty) or the daemon does not answer (then `error` says why).
    static std::unique_ptr<EmulatorClient> connectFromEnvironment(std::string* error = nullptr);

    /// Connects to the daemon listening on `socketPath`; null with `error` set on failure.
    static std::unique_ptr<EmulatorClient> connect(const std::string& socketPath,
                                                   std::string* error = nullptr);

    ~EmulatorClient();
    EmulatorClient(const EmulatorClient&) = delete;
    EmulatorClient& operator=(const EmulatorClient&) = delete;

    const std::string& socketPath() const { return socketPath_; }

    /// Current device state; nothing when the daemon cannot be reached.
    std::optional<DeviceState> state();

    /// Reads the 2-byte HID input report (report id 0) of the device as enumerated in
    /// `enumeration`.
    TransferResult readHidReport(std::uint32_t enumeration);

    /// Extension-unit access by selector (1..5), on the device as enumerated in `enumeration`.
    /// xuLength answers the control's length as data of 2 bytes, little-endian.
    TransferResult xuLength(std::uint32_t enumeration, std::uint8_t selector);
    TransferResult xuGet(std::uint32_t enumeration, std::uint8_t selector);
    TransferResult xuSet(std::uint32_t enumeration, std::uint8_t selector,
                         const std::vector<std::uint8_t>& data);

    /// Marks this client's camera stream as running or stopped; the HID stream bit follows.
    /// The daemon clears it when this client disconnects or the device leaves. False when the
    /// daemon cannot be reached or, for on, when the device is not attached.
    bool setStreaming(bool on);

    /// Sends a control command, e.g. {"hdmi", "on"} or {"fail", "write", "3"}.
    ControlResult control(const std::vector<std::string>& words);

    /// Opens a second connection that receives events from now on. Null when the daemon cannot
    /// be reached.
    std::unique_ptr<EventSubscription> subscribe(std::string* error = nullptr);

private:
    explicit EmulatorClient(std::string socketPath);
    bool ensureConnected(std::string* error);
    std::optional<std::vector<std::uint8_t>> roundTrip(const std::vector<std::uint8_t>& request);
    TransferResult transfer(const std::vector<std::uint8_t>& request);

    std::string socketPath_;
    std::mutex mutex_;
    int fd_ = -1;
};

} // namespace quendral::emulator
