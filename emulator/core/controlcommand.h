#pragma once

#include "emulateddevice.h"
#include "faultplan.h"
#include "firmwareversion.h"

#include <optional>
#include <string>
#include <vector>

namespace quendral::emulator {

/// One control command, in the words the kestal-emulator program and its clients send:
///   plug | unplug | hdmi on|off | other-stream on|off | set-version X.Y.Z | usb 2|3 |
///   time-scale FACTOR | status | stop |
///   fail init | fail write K | fail finalize | fail busy |
///   fail vanish init|finalize|close|write K | fail read short|error [SELECTOR] |
///   fail hid short|error | fail clear
struct ControlCommand {
    enum class Kind : std::uint8_t {
        Plug,
        Unplug,
        Hdmi,
        OtherStream,
        SetVersion,
        Usb,
        TimeScale,
        Fail,
        Status,
        Stop,
    };

    Kind kind = Kind::Status;
    bool on = false;
    FirmwareVersion version;
    int usbMode = 3;
    double timeScale = 1.0;
    FaultChange fault;

    /// Nothing, with `error` set to a message for the user, when the words are not a command.
    static std::optional<ControlCommand> parse(const std::vector<std::string>& words,
                                               std::string* error);

    /// Carries the command out on `device` and returns what to tell the user. Stop is the
    /// daemon's business and only answered here.
    std::string applyTo(EmulatedDevice& device, TimePoint now) const;
};

/// One line per command form, for usage texts.
const char* controlCommandUsage();

} // namespace quendral::emulator
