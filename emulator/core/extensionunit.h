#pragma once

#include "faultplan.h"
#include "firmwareversion.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace quendral::emulator {

using TimePoint = std::chrono::steady_clock::time_point;

/// What a control request asks of the device beyond the unit itself.
enum class XuEffect : std::uint8_t { None, EnterUsb2, EnterUsb3, InstallFirmware, Vanish };

struct XuOutcome {
    int errorCode = 0; ///< errno-style; 0 on success
    std::vector<std::uint8_t> data;
    XuEffect effect = XuEffect::None;

    bool ok() const { return errorCode == 0; }
};

/// What the unit needs to know of the device around it.
struct UnitContext {
    FirmwareVersion version;
    int usbMode = 3;
    std::chrono::milliseconds finalizeBusy{0};
};

/// The camera chip's firmware extension unit: a command register (selector 1) answered in a
/// response register (selector 2), a data register that takes the image in 32-byte blocks
/// (selector 3), an update control register (selector 4) and its status (selector 5).
class ExtensionUnit {
public:
    static constexpr std::uint8_t kCommandSelector = 1;
    static constexpr std::uint8_t kResponseSelector = 2;
    static constexpr std::uint8_t kDataSelector = 3;
    static constexpr std::uint8_t kUpdateControlSelector = 4;
    static constexpr std::uint8_t kUpdateStatusSelector = 5;

    static constexpr std::size_t kRegisterBytes = 8;
    static constexpr std::size_t kDataBlockBytes = 32;
    static constexpr std::size_t kMaxImageBytes = 16 * 1024 * 1024;

    static constexpr std::uint8_t kStatusOk = 0x00;
    static constexpr std::uint8_t kStatusBusy = 0x01;
    static constexpr std::uint8_t kStatusRefused = 0x80;
    static constexpr std::uint8_t kStatusFailed = 0x82;

    /// The control's length as 2 bytes, little-endian.
    XuOutcome length(std::uint8_t selector) const;
    XuOutcome get(std::uint8_t selector, TimePoint now, const FaultPlan& faults);
    XuOutcome set(std::uint8_t selector, const std::vector<std::uint8_t>& data, TimePoint now,
                  const FaultPlan& faults, const UnitContext& context);

    /// Power loss: registers and any transfer in progress are gone.
    void reset();

    /// The version of an image that finished successfully and is not installed yet; taking it
    /// installs it.
    std::optional<FirmwareVersion> takeFlashedVersion();

    /// Bytes of image received in the current or last transfer.
    std::size_t receivedBytes() const { return image_.size(); }

private:
    enum class Phase : std::uint8_t { Idle, Receiving, Finalizing, Finished };

    XuOutcome command(const std::vector<std::uint8_t>& data, const FaultPlan& faults,
                      const UnitContext& context);
    XuOutcome dataBlock(const std::vector<std::uint8_t>& data, const FaultPlan& faults);
    XuOutcome updateControl(const std::vector<std::uint8_t>& data, TimePoint now,
                            const FaultPlan& faults, const UnitContext& context);
    std::uint8_t status(TimePoint now, const FaultPlan& faults);

    Phase phase_ = Phase::Idle;
    std::uint8_t idleStatus_ = kStatusOk;
    std::uint8_t finishedStatus_ = kStatusOk;
    std::vector<std::uint8_t> response_ = std::vector<std::uint8_t>(kRegisterBytes, 0);
    std::vector<std::uint8_t> image_;
    std::uint32_t dataWrites_ = 0;
    TimePoint finalizeDone_{};
    std::optional<FirmwareVersion> flashed_;
};

} // namespace quendral::emulator
